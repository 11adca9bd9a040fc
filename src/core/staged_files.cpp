#include "core/staged_files.h"

#include "core/syslog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <mutex>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

namespace {

thread_local CStagedFiles *t_open = nullptr;
std::atomic<void (*)()> g_commitStepHook{nullptr};
std::atomic<void (*)(const QString &)> g_refusedPromptObserver{nullptr};

// Where a test stops a commit to see what a kill at that instant leaves.
void commitStep()
{
    if (void (*hook)() = g_commitStepHook.load())
        hook();
}

} // namespace

CStagedFiles::CStagedFiles()
{
    if (t_open)
        m_outer = t_open;
    else
        t_open = this;
}

CStagedFiles::~CStagedFiles()
{
    if (m_outer && !m_closed) {
        WriteSyslog(LOG_ERR_APP, "CStagedFiles : an inner change was not completed : the whole change is dropped");
        m_outer->m_innerFailed = true;
    }
    if (t_open == this)
        t_open = nullptr;
}

CStagedFiles *CStagedFiles::Open()
{
    return t_open;
}

CStagedFilesLoan::CStagedFilesLoan(CStagedFiles *set) : m_previous(t_open)
{
    t_open = set;
}

CStagedFilesLoan::~CStagedFilesLoan()
{
    t_open = m_previous;
}

void CStagedFiles::SetCommitStepHook(void (*hook)())
{
    g_commitStepHook.store(hook);
}

void CStagedFiles::dropHeld(const QString &target)
{
    std::erase_if(m_files, [&target](const auto &file) { return file->TargetName() == target; });
    m_removals.removeAll(target);
}

bool CStagedFiles::Hold(std::unique_ptr<CAtomicFile> file)
{
    if (m_outer)
        return m_outer->Hold(std::move(file));
    commitStep();
    if (!file->Stage(FileDurability::Synced))
        return false;
    dropHeld(file->TargetName());
    m_files.push_back(std::move(file));
    return true;
}

void CStagedFiles::HoldRemoval(const QString &path)
{
    if (m_outer) {
        m_outer->HoldRemoval(path);
        return;
    }
    dropHeld(path);
    m_removals.append(path);
}

void CStagedFiles::HoldFolderMove(const QString &from, const QString &to)
{
    if (m_outer) {
        m_outer->HoldFolderMove(from, to);
        return;
    }
    m_moves.emplace_back(from, to);
}

namespace {

std::mutex g_dataTreeMutex;
QString g_dataTree;
// A commit that could not undo itself left its journal for the next start;
// a later set could change the same files, which that start would then put
// back, so none changes anything before it.
std::atomic<bool> g_leftForTheStart{false};

QString dataTree()
{
    std::lock_guard lock(g_dataTreeMutex);
    return g_dataTree;
}

QByteArray nativeName(const QString &path)
{
    return QFile::encodeName(path);
}

// The real path of a path relative to the data tree whose real path is
// root: every part a plain name, none on the way a link, every one before
// the last a folder. Empty when it is not such a path. A part that does not
// exist ends the walk: nothing below it exists either.
QString realPathIn(const QString &root, const QString &relative)
{
    const QStringList parts = relative.split(QLatin1Char('/'));
    QString path = root;
    bool exists = true;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return QString();
        path += QLatin1Char('/') + part;
        if (!exists)
            continue;
        struct stat info {};
        if (::lstat(nativeName(path).constData(), &info) != 0) {
            if (errno != ENOENT)
                return QString();
            exists = false;
            continue;
        }
        if (S_ISLNK(info.st_mode) || (i + 1 < parts.size() && !S_ISDIR(info.st_mode)))
            return QString();
    }
    return path;
}

// The data tree of the sets: the path the program forms and the real one.
struct DataTree {
    QString formed;
    QString real;

    bool isSet() const { return !formed.isEmpty() && !real.isEmpty(); }

    // A path of the tree as the journal names it (relative, "/" between
    // parts), when it lies in the tree with no link on its way; else empty.
    QString relativeOf(const QString &path) const
    {
        const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        if (!clean.startsWith(formed + QLatin1Char('/')))
            return QString();
        const QString relative = clean.mid(formed.size() + 1);
        return realPathIn(real, relative).isEmpty() ? QString() : relative;
    }
};

DataTree currentDataTree()
{
    DataTree tree;
    tree.formed = dataTree();
    if (!tree.formed.isEmpty())
        tree.real = QFileInfo(tree.formed).canonicalFilePath();
    return tree;
}

// A stored file a commit changes, and the second name that keeps its old
// contents until every change is in place (empty when there was no file),
// each also as the journal names it.
struct KeptFile {
    QString target;
    QString aside;
    QString journalTarget;
    QString journalAside;
    bool changed = false;
};

// A folder a commit renames, also as the journal names it.
struct FolderMove {
    QString from;
    QString to;
    QString journalFrom;
    QString journalTo;
};

bool renameFile(const QString &from, const QString &to)
{
    return ::rename(nativeName(from).constData(), nativeName(to).constData()) == 0;
}

// Takes the second names away (those of files put back are gone already).
void removeAsides(const std::vector<KeptFile> &kept)
{
    for (const KeptFile &file : kept) {
        if (file.aside.isEmpty() || !QFile::exists(file.aside))
            continue;
        commitStep();
        QFile::remove(file.aside);
    }
}

// Gives every existing target a second name; false (logged, the names made
// taken away again) when one cannot have it, a folder in a file's place
// included.
bool keepOldFiles(const DataTree &tree, const QStringList &targets, std::vector<KeptFile> &kept)
{
    for (const QString &target : targets) {
        const QFileInfo info(target);
        KeptFile file{info.absoluteFilePath(), QString(), tree.relativeOf(target), QString()};
        if (info.exists()) {
            commitStep();
            const QString aside = info.isDir() ? QString() : LinkUnderTemporaryName(target);
            if (aside.isEmpty()) {
                WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : not replaceable, nothing changed : %s",
                            qUtf8Printable(target));
                removeAsides(kept);
                kept.clear();
                return false;
            }
            file.aside = QFileInfo(aside).absoluteFilePath();
            file.journalAside = tree.relativeOf(aside);
        }
        kept.push_back(file);
    }
    return true;
}

// Undoes the changes made: every changed file takes its old contents back
// under its name, by renames and removals only, then every renamed folder
// its old name. False (logged) when one could not.
bool putOldFilesBack(const std::vector<KeptFile> &kept, const std::vector<FolderMove> &moves, size_t moved)
{
    bool allBack = true;
    for (const KeptFile &file : kept) {
        if (!file.changed)
            continue;
        commitStep();
        const bool back = file.aside.isEmpty() ? QFile::remove(file.target) : renameFile(file.aside, file.target);
        if (!back)
            WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : not put back : %s", qUtf8Printable(file.target));
        allBack = allBack && back;
    }
    while (moved > 0) {
        const FolderMove &move = moves[--moved];
        commitStep();
        const bool back = RenameNoReplace(move.to, move.from);
        if (!back)
            WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : folder not moved back : %s", qUtf8Printable(move.from));
        allBack = allBack && back;
    }
    return allBack;
}

// The journal's keys (docs/file-formats.md).
const QLatin1String kJournalTargets("targets");
const QLatin1String kJournalFile("file");
const QLatin1String kJournalOld("old");
const QLatin1String kJournalMoves("moves");
const QLatin1String kJournalFrom("from");
const QLatin1String kJournalTo("to");

// The journal folder of the tree, made when missing; empty (logged) when it
// is not a plain folder of the tree.
QString journalFolder(const DataTree &tree)
{
    const QString folder = tree.formed + QLatin1Char('/') + QLatin1String(kStagedJournalFolder);
    if (!realPathIn(tree.real, QLatin1String(kStagedJournalFolder)).isEmpty()) {
        QDir().mkdir(folder);
        struct stat info {};
        if (::lstat(nativeName(folder).constData(), &info) == 0 && S_ISDIR(info.st_mode))
            return folder;
    }
    WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : no journal folder, nothing changed : %s", qUtf8Printable(folder));
    return QString();
}

// A name no journal of the folder has.
QString freshJournalPath(const QString &folder)
{
    for (;;) {
        const QString path = QStringLiteral("%1/%2%3")
                                 .arg(folder)
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
                                 .arg(QLatin1String(kStagedJournalSuffix));
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return path;
    }
}

// Writes the journal of a commit about to change the kept files and rename
// the folders: the path written, or empty (logged) when it cannot be written
// whole or would pass the bound.
QString writeJournal(const DataTree &tree, const std::vector<KeptFile> &kept, const std::vector<FolderMove> &moves)
{
    const QString folder = journalFolder(tree);
    if (folder.isEmpty())
        return QString();
    QJsonArray targets;
    for (const KeptFile &file : kept)
        targets.append(QJsonObject{{kJournalFile, file.journalTarget}, {kJournalOld, file.journalAside}});
    QJsonArray renamed;
    for (const FolderMove &move : moves)
        renamed.append(QJsonObject{{kJournalFrom, move.journalFrom}, {kJournalTo, move.journalTo}});
    const QByteArray text =
        QJsonDocument(QJsonObject{{kJournalTargets, targets}, {kJournalMoves, renamed}}).toJson(QJsonDocument::Compact);
    if (text.size() > kStagedJournalMaxBytes) {
        WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : too many files for one change, nothing changed : %s",
                    qUtf8Printable(kept.empty() ? moves.front().from : kept.front().target));
        return QString();
    }
    const QString path = freshJournalPath(folder);
    commitStep();
    // No set is open on the thread any more, so the journal is written at once.
    if (!WriteFileAtomically(path, text)) {
        WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : journal not written, nothing changed : %s",
                    qUtf8Printable(path));
        return QString();
    }
    return path;
}

// Whether a path lies in the folder at from or at to of a move.
bool insideMovedFolder(const QString &path, const std::vector<FolderMove> &moves)
{
    return std::any_of(moves.begin(), moves.end(), [&path](const FolderMove &move) {
        return path.startsWith(move.journalFrom + QLatin1Char('/')) || path.startsWith(move.journalTo + QLatin1Char('/'));
    });
}

// Every target and folder of the set as the journal names them; false
// (logged) when one lies outside the data tree, through a link, or in a
// folder the set renames.
bool placeInTree(const DataTree &tree, const std::vector<std::pair<QString, QString>> &held,
                 const QStringList &targets, std::vector<FolderMove> &moves)
{
    if (!tree.isSet()) {
        WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : no data tree, nothing changed");
        return false;
    }
    for (const auto &[from, to] : held) {
        FolderMove move{from, to, tree.relativeOf(from), tree.relativeOf(to)};
        if (move.journalFrom.isEmpty() || move.journalTo.isEmpty()
            || QFileInfo(move.journalFrom).path() != QFileInfo(move.journalTo).path()) {
            WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : folder not renamed within the data tree, nothing changed : %s",
                        qUtf8Printable(from));
            return false;
        }
        moves.push_back(move);
    }
    for (const QString &target : targets) {
        const QString relative = tree.relativeOf(target);
        if (relative.isEmpty() || insideMovedFolder(relative, moves)) {
            WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : not a file of the data tree, nothing changed : %s",
                        qUtf8Printable(target));
            return false;
        }
    }
    return true;
}

} // namespace

QStringList CStagedFiles::targets() const
{
    QStringList targets;
    for (const auto &file : m_files)
        targets.append(file->TargetName());
    return targets + m_removals;
}

// The renames and removals, between the journal's writing and removal.
bool CStagedFiles::apply()
{
    if (g_leftForTheStart.load()) {
        WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : an earlier change waits for the next start, nothing changed");
        return false;
    }
    std::vector<FolderMove> moves;
    std::vector<KeptFile> kept;
    const DataTree tree = currentDataTree();
    if (!placeInTree(tree, m_moves, targets(), moves) || !keepOldFiles(tree, targets(), kept))
        return false;
    if (kept.empty() && moves.empty())
        return true;
    const QString journal = writeJournal(tree, kept, moves);
    if (journal.isEmpty()) {
        removeAsides(kept);
        return false;
    }
    bool applied = true;
    size_t moved = 0; // the folders renamed, the first ones of moves
    for (; moved < moves.size(); ++moved) {
        commitStep();
        if (!RenameNoReplace(moves[moved].from, moves[moved].to)) {
            WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : folder not renamed : %s -> %s",
                        qUtf8Printable(moves[moved].from), qUtf8Printable(moves[moved].to));
            applied = false;
            break;
        }
    }
    for (size_t i = 0; applied && i < m_files.size(); ++i) {
        commitStep();
        applied = m_files[i]->Commit();
        kept[i].changed = applied;
    }
    for (size_t i = m_files.size(); applied && i < kept.size(); ++i) {
        // A file to go that is not there is gone already.
        if (kept[i].aside.isEmpty())
            continue;
        commitStep();
        applied = QFile::remove(kept[i].target);
        kept[i].changed = applied;
    }
    if (!applied) {
        WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : a file could not be put in place : the change is undone");
        if (!putOldFilesBack(kept, moves, moved)) {
            // The journal and the second names stay for the next start.
            g_leftForTheStart = true;
            WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : the change is put back at the next start : %s",
                        qUtf8Printable(journal));
            return false;
        }
    }
    // The set is whole (old or new) from here on: the old contents go.
    commitStep();
    if (!QFile::remove(journal))
        WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : journal not removed : %s", qUtf8Printable(journal));
    removeAsides(kept);
    return applied;
}

bool CStagedFiles::Commit()
{
    if (m_closed)
        return m_applied;
    m_closed = true;
    if (t_open == this)
        t_open = nullptr;
    if (m_outer)
        m_applied = true;
    else if (m_innerFailed)
        WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : a part of the change failed : nothing changed");
    else
        m_applied = apply();
    m_files.clear();
    m_removals.clear();
    m_moves.clear();
    return m_applied;
}

bool RemoveStoredFiles(const QStringList &paths)
{
    if (CStagedFiles *staged = CStagedFiles::Open()) {
        for (const QString &path : paths)
            staged->HoldRemoval(path);
        return true;
    }
    bool removed = true;
    for (const QString &path : paths) {
        if (QFile::exists(path) && !QFile::remove(path)) {
            WriteSyslog(LOG_WARNING, "RemoveStoredFiles : not removed : %s", qUtf8Printable(path));
            removed = false;
        }
    }
    return removed;
}

void SetStagedFilesDataTree(const QString &tree)
{
    std::lock_guard lock(g_dataTreeMutex);
    g_dataTree = tree.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(tree).absoluteFilePath());
}

namespace {

// One entry of a journal, as it names its paths and as they lie.
struct JournalEntry {
    QString named;   // for the log
    QString target;  // a file, or a folder's new name
    QString old;     // the second name, or the folder's old name
    bool folder = false;
};

// Whether old is a second name of the program's temporary form beside
// target: in its folder, "<target's name, maybe cut>.<8 hex digits>" and the
// suffix.
bool isSecondNameOf(const QString &old, const QString &target)
{
    const QFileInfo oldInfo(old);
    const QFileInfo targetInfo(target);
    const QString name = oldInfo.fileName();
    // ".<8 hex digits>" and the suffix; IsTemporaryName leaves a letter before it.
    const qsizetype tail = qsizetype(std::strlen(kTemporarySuffix)) + 9;
    return oldInfo.path() == targetInfo.path() && IsTemporaryName(name)
        && targetInfo.fileName().startsWith(name.left(name.size() - tail));
}

// The journal's entries with their real paths; false (logged) when one is
// refused: every path must lie in the tree with no link on its way, a second
// name be one of its target, a folder keep its parent.
bool readEntries(const QString &root, const QJsonObject &journal, std::vector<JournalEntry> &entries)
{
    const auto refuse = [](const QString &named) {
        WriteSyslog(LOG_ERR_APP, "Interrupted save : entry refused, the save is not put back : %s",
                    qUtf8Printable(named));
        return false;
    };
    for (const QJsonValue &value : journal.value(kJournalTargets).toArray()) {
        const QString file = value.toObject().value(kJournalFile).toString();
        const QString old = value.toObject().value(kJournalOld).toString();
        JournalEntry entry{file, realPathIn(root, file), old.isEmpty() ? QString() : realPathIn(root, old), false};
        if (entry.target.isEmpty() || (!old.isEmpty() && (entry.old.isEmpty() || !isSecondNameOf(old, file))))
            return refuse(file);
        entries.push_back(entry);
    }
    for (const QJsonValue &value : journal.value(kJournalMoves).toArray()) {
        const QString from = value.toObject().value(kJournalFrom).toString();
        const QString to = value.toObject().value(kJournalTo).toString();
        JournalEntry entry{to, realPathIn(root, to), realPathIn(root, from), true};
        if (entry.target.isEmpty() || entry.old.isEmpty() || QFileInfo(from).path() != QFileInfo(to).path()
            || from == to)
            return refuse(to);
        entries.push_back(entry);
    }
    return true;
}

// Puts one entry back; false (logged) when it cannot be.
bool putEntryBack(const JournalEntry &entry)
{
    bool back = true;
    if (entry.folder) {
        // A folder still under its old name was never moved.
        back = QFileInfo::exists(entry.old) || !QFileInfo::exists(entry.target) || RenameNoReplace(entry.target, entry.old);
    } else if (entry.old.isEmpty()) {
        // There was no old file: the new one goes.
        back = !QFileInfo::exists(entry.target) || QFile::remove(entry.target);
    } else {
        // A second name that is gone was put back already.
        back = !QFileInfo::exists(entry.old) || renameFile(entry.old, entry.target);
    }
    if (!back)
        WriteSyslog(LOG_ERR_APP, "Interrupted save : not put back : %s", qUtf8Printable(entry.named));
    return back;
}

// Reads a journal whole, within the bound; false (logged) when it is not a
// plain file, too large or not a journal.
bool readJournal(const QString &path, QJsonObject &journal)
{
    struct stat info {};
    if (::lstat(nativeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        WriteSyslog(LOG_ERR_APP, "Interrupted save : journal not a plain file : %s", qUtf8Printable(path));
        return false;
    }
    if (info.st_size > kStagedJournalMaxBytes) {
        WriteSyslog(LOG_ERR_APP, "Interrupted save : journal too large : %s", qUtf8Printable(path));
        return false;
    }
    QFile file(path);
    QByteArray text;
    if (file.open(QIODevice::ReadOnly))
        text = file.read(kStagedJournalMaxBytes + 1);
    const QJsonDocument document = QJsonDocument::fromJson(text);
    journal = document.object();
    if (!document.isObject() || text.size() > kStagedJournalMaxBytes || !journal.value(kJournalTargets).isArray()
        || !(journal.value(kJournalMoves).isArray() || journal.value(kJournalMoves).isUndefined())) {
        WriteSyslog(LOG_ERR_APP, "Interrupted save : journal not readable : %s", qUtf8Printable(path));
        return false;
    }
    return true;
}

// Puts the set of one journal back: its files first, then its folders in
// the reverse order of their moves. False when it cannot be put back whole.
bool undoJournal(const QString &root, const QString &path)
{
    QJsonObject journal;
    std::vector<JournalEntry> entries;
    if (!readJournal(path, journal) || !readEntries(root, journal, entries))
        return false;
    bool whole = true;
    for (auto entry = entries.begin(); entry != entries.end() && !entry->folder; ++entry)
        whole = putEntryBack(*entry) && whole;
    for (auto entry = entries.rbegin(); entry != entries.rend() && entry->folder; ++entry)
        whole = putEntryBack(*entry) && whole;
    return whole;
}

} // namespace

QStringList UndoInterruptedStagedSets(const QString &tree)
{
    QStringList setAside;
    const QString root = tree.isEmpty() ? QString() : QFileInfo(tree).canonicalFilePath();
    const QString folder = root.isEmpty() ? QString() : realPathIn(root, QLatin1String(kStagedJournalFolder));
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return setAside;
    const QStringList names = QDir(folder).entryList({QLatin1Char('*') + QLatin1String(kStagedJournalSuffix)},
                                                     QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                                     QDir::Name);
    for (const QString &name : names) {
        const QString journal = folder + QLatin1Char('/') + name;
        if (undoJournal(root, journal)) {
            QFile::remove(journal);
            WriteSyslog(LOG_NOTICE, "Interrupted save put back as it was : %s", qUtf8Printable(journal));
            continue;
        }
        // Never run again: what it names may be another save's by then.
        const QString aside = SetFileAsideUnderOwnName(journal);
        setAside << (aside.isEmpty() ? journal : aside);
    }
    return setAside;
}

bool PromptAllowedNow(const QString &what)
{
    if (!t_open)
        return true;
    WriteSyslog(LOG_ERR_APP, "A prompt was refused while a change of stored files is open : %s", qUtf8Printable(what));
    if (void (*observer)(const QString &) = g_refusedPromptObserver.load())
        observer(what);
    return false;
}

void SetRefusedPromptObserver(void (*observer)(const QString &what))
{
    g_refusedPromptObserver.store(observer);
}
