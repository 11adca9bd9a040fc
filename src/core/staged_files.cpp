#include "core/staged_files.h"

#include "core/syslog.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <cstdio>

namespace {

thread_local CStagedFiles *t_open = nullptr;

} // namespace

CStagedFiles::CStagedFiles()
{
    Q_ASSERT(!t_open);
    t_open = this;
}

CStagedFiles::~CStagedFiles()
{
    if (t_open == this)
        t_open = nullptr;
}

CStagedFiles *CStagedFiles::Open()
{
    return t_open;
}

void CStagedFiles::dropHeld(const QString &target)
{
    std::erase_if(m_files, [&target](const auto &file) { return file->TargetName() == target; });
    m_removals.removeAll(target);
}

bool CStagedFiles::Hold(std::unique_ptr<CAtomicFile> file)
{
    if (!file->Stage(FileDurability::Synced))
        return false;
    dropHeld(file->TargetName());
    m_files.push_back(std::move(file));
    return true;
}

void CStagedFiles::HoldRemoval(const QString &path)
{
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
        if (!file.aside.isEmpty() && QFile::exists(file.aside))
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
            aside = info.isDir() ? QString() : LinkUnderTemporaryName(target);
            if (aside.isEmpty()) {
                WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : not replaceable, nothing changed : %s",
                            qUtf8Printable(target));
                removeAsides(kept);
                kept.clear();
                return false;
            }
        }
        kept.push_back({target, aside});
    }
    return true;
}

// Undoes the changes made: every changed file takes its old contents back
// under its name, by renames and removals only.
void putOldFilesBack(const std::vector<KeptFile> &kept)
{
    for (const KeptFile &file : kept) {
        if (!file.changed)
            continue;
        const bool back = file.aside.isEmpty() ? QFile::remove(file.target) : renameFile(file.aside, file.target);
        if (!back)
            WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : not put back : %s", qUtf8Printable(file.target));
    }
}

} // namespace

QStringList CStagedFiles::targets() const
{
    QStringList targets;
    for (const auto &file : m_files)
        targets.append(file->TargetName());
    return targets + m_removals;
}

bool CStagedFiles::Commit()
{
    if (t_open == this)
        t_open = nullptr;
    std::vector<KeptFile> kept;
    bool applied = keepOldFiles(targets(), kept);
    for (size_t i = 0; applied && i < m_files.size(); ++i) {
        applied = m_files[i]->Commit();
        kept[i].changed = applied;
    }
    for (size_t i = m_files.size(); applied && i < kept.size(); ++i) {
        // A file to go that is not there is gone already.
        if (kept[i].aside.isEmpty())
            continue;
        applied = QFile::remove(kept[i].target);
        kept[i].changed = applied;
    }
    if (!applied) {
        WriteSyslog(LOG_ERR_APP, "CStagedFiles::Commit : a file could not be put in place : the change is undone");
        putOldFilesBack(kept);
    }
    removeAsides(kept);
    m_files.clear();
    m_removals.clear();
    return applied;
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
