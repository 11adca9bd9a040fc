#include "core/atomic_file.h"

#include "core/last_error.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cstdio>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A failed open names the missing folder as such, as callers tell "no such
// folder" (3) from "no such file" (2).
void SetOpenError(const QString &path, int errnoValue)
{
    if (!QFileInfo(path).absoluteDir().exists())
        SetLastError(ERROR_PATH_NOT_FOUND);
    else
        SetLastError(errnoValue != 0 ? ErrorFromErrno(errnoValue) : ERROR_ACCESS_DENIED);
}

// Write and commit errors come from the last system call; a failure without
// one is reported as an internal error rather than as success.
void SetWriteError(int errnoValue)
{
    SetLastError(errnoValue != 0 ? ErrorFromErrno(errnoValue) : ERROR_INTERNAL_ERROR);
}

// The name a temporary file of this writer gets: the target's name and six
// random letters.
bool IsLeftoverName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^.+\\.(ini|xml|jpg)\\.[A-Za-z]{6}$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(name).hasMatch();
}

// Writes a temporary file beside path and renames it over path, without
// flushing it to the disk first.
bool WriteUnsynced(const QString &path, const QByteArray &data)
{
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    errno = 0;
    if (!file.open()) {
        SetOpenError(path, errno);
        return false;
    }
    errno = 0;
    if (file.write(data) != data.size() || !file.flush()) {
        SetWriteError(errno ? errno : ENOSPC);
        return false;
    }
    file.close();
    errno = 0;
    if (::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        SetWriteError(errno);
        return false;
    }
    file.setAutoRemove(false);
    SetLastError(ERROR_SUCCESS);
    return true;
}

} // namespace

bool WriteFileAtomically(const QString &path, const QByteArray &data, FileDurability durability)
{
    if (path.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (durability == FileDurability::Unsynced)
        return WriteUnsynced(path, data);
    QSaveFile file(path);
    errno = 0;
    // Unbuffered, so a short write (full disk, size limit) shows in write()'s
    // count: a buffered save file flushes only at commit and can rename a
    // truncated file into place without reporting it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        SetOpenError(path, errno);
        return false;
    }
    errno = 0;
    if (file.write(data) != data.size()) {
        SetWriteError(errno ? errno : ENOSPC);
        file.cancelWriting();
        return false;
    }
    errno = 0;
    if (!file.commit()) {
        SetWriteError(errno);
        return false;
    }
    SetLastError(ERROR_SUCCESS);
    return true;
}

int RemoveAtomicWriteLeftovers(const QString &folder)
{
    if (folder.isEmpty())
        return 0;
    int removed = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (IsLeftoverName(it.fileName()) && QFile::remove(it.filePath()))
            ++removed;
    }
    return removed;
}

void KeepFilePrivate(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    ::fchmod(fd, 0600);
    ::close(fd);
}
