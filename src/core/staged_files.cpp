#include "core/staged_files.h"

#include "core/syslog.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <atomic>

#include <cstdio>
#include <cstring>

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

namespace {

// A stored file a commit changes, and the second name that keeps its old
// contents until every change is in place (empty when there was no file).
struct KeptFile {
    QString target;
    QString aside;
    bool changed = false;
};

bool renameFile(const QString &from, const QString &to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
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
bool keepOldFiles(const QStringList &targets, std::vector<KeptFile> &kept)
{
    for (const QString &target : targets) {
        const QFileInfo info(target);
        QString aside;
        if (info.exists() || info.isSymLink()) {
            commitStep();
            aside = info.isDir() ? QString() : LinkUnderTemporaryName(target);
            if (aside.isEmpty()) {
                WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : not replaceable, nothing changed : %s",
                            qUtf8Printable(target));
                removeAsides(kept);
                kept.clear();
                return false;
            }
        }
        kept.push_back({info.absoluteFilePath(), aside.isEmpty() ? QString() : QFileInfo(aside).absoluteFilePath()});
    }
    return true;
}

// Undoes the changes made: every changed file takes its old contents back
// under its name, by renames and removals only. False (logged) when one
// could not.
bool putOldFilesBack(const std::vector<KeptFile> &kept)
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
    return allBack;
}

// The journal's keys (docs/file-formats.md).
const QLatin1String kJournalTargets("targets");
const QLatin1String kJournalFile("file");
const QLatin1String kJournalOld("old");

QString journalPathFor(const QString &target)
{
    QString path = TemporaryPathFor(target);
    path.chop(qsizetype(std::strlen(kTemporarySuffix)));
    return path + QLatin1String(kStagedJournalSuffix);
}

// Writes the journal of a commit about to change the kept files: the path
// written, or empty (logged) when it cannot be written whole.
QString writeJournal(const std::vector<KeptFile> &kept)
{
    QJsonArray targets;
    for (const KeptFile &file : kept)
        targets.append(QJsonObject{{kJournalFile, file.target}, {kJournalOld, file.aside}});
    const QString path = journalPathFor(kept.front().target);
    commitStep();
    // No set is open on the thread any more, so the journal is written at once.
    if (!WriteFileAtomically(path,
                             QJsonDocument(QJsonObject{{kJournalTargets, targets}}).toJson(QJsonDocument::Compact))) {
        WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : journal not written, nothing changed : %s",
                    qUtf8Printable(path));
        return QString();
    }
    return path;
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
    std::vector<KeptFile> kept;
    if (!keepOldFiles(targets(), kept))
        return false;
    if (kept.empty())
        return true;
    const QString journal = writeJournal(kept);
    if (journal.isEmpty()) {
        removeAsides(kept);
        return false;
    }
    bool applied = true;
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
        if (!putOldFilesBack(kept)) {
            // The journal and the second names stay for the next start.
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

namespace {

bool isInside(const QString &root, const QString &path)
{
    return QDir::cleanPath(path).startsWith(root + QLatin1Char('/'));
}

// A journal's entry the start may act on: a file of the folder, and a second
// name of the program's temporary form beside it.
bool isSafeEntry(const QString &root, const QString &target, const QString &old)
{
    if (!QFileInfo(target).isAbsolute() || !isInside(root, target))
        return false;
    return old.isEmpty()
        || (QFileInfo(old).absolutePath() == QFileInfo(target).absolutePath()
            && QDir::cleanPath(old) == old && IsTemporaryName(QFileInfo(old).fileName()));
}

// Puts the targets of one journal back; false when it cannot be read.
bool undoJournal(const QString &root, const QString &journal)
{
    QFile file(journal);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject() || !document.object().value(kJournalTargets).isArray())
        return false;
    for (const QJsonValue &entry : document.object().value(kJournalTargets).toArray()) {
        const QString target = entry.toObject().value(kJournalFile).toString();
        const QString old = entry.toObject().value(kJournalOld).toString();
        if (!isSafeEntry(root, target, old)) {
            WriteSyslog(LOG_ERR_APP, "Interrupted save : entry outside the folder left alone : %s",
                        qUtf8Printable(target));
            continue;
        }
        // A second name that is gone was put back already (or there was no
        // old file, and the new one goes).
        const bool back = old.isEmpty() ? !QFile::exists(target) || QFile::remove(target)
                                        : !QFile::exists(old) || renameFile(old, target);
        if (!back)
            WriteSyslog(LOG_ERR_APP, "Interrupted save : not put back : %s", qUtf8Printable(target));
    }
    return true;
}

} // namespace

int UndoInterruptedStagedSets(const QString &folder)
{
    if (folder.isEmpty())
        return 0;
    const QString root = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QStringList journals;
    QDirIterator it(root, {QLatin1Char('*') + QLatin1String(kStagedJournalSuffix)},
                    QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext())
        journals.append(it.next());
    int undone = 0;
    for (const QString &journal : journals) {
        if (!undoJournal(root, journal)) {
            WriteSyslog(LOG_ERR_APP, "Interrupted save : journal not readable : %s", qUtf8Printable(journal));
            SetDamagedFileAside(journal);
            continue;
        }
        QFile::remove(journal);
        WriteSyslog(LOG_NOTICE, "Interrupted save put back as it was : %s", qUtf8Printable(journal));
        ++undone;
    }
    return undone;
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
