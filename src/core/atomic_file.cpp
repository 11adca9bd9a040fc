#include "core/atomic_file.h"

#include "core/last_error.h"
#include "core/syslog.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

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

} // namespace

QString TemporaryPathFor(const QString &path)
{
    const quint32 letters = QRandomGenerator::global()->generate();
    return path + QLatin1Char('.') + QStringLiteral("%1").arg(letters, 8, 16, QLatin1Char('0'))
        + QLatin1String(kTemporarySuffix);
}

bool IsTemporaryName(const QString &fileName)
{
    const QLatin1String suffix(kTemporarySuffix);
    return fileName.size() > suffix.size() && fileName.endsWith(suffix);
}

CAtomicFile::CAtomicFile(const QString &target) : m_target(target) {}

CAtomicFile::~CAtomicFile()
{
    if (!m_committed)
        Discard();
}

// The temporary name is created exclusively, so an existing file or link of
// that name is never followed or reused; a taken name is tried again.
bool CAtomicFile::open(OpenMode mode)
{
    constexpr int kNameAttempts = 8;
    struct stat target {};
    const bool replaces = ::stat(QFile::encodeName(m_target).constData(), &target) == 0;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        setFileName(TemporaryPathFor(m_target));
        errno = 0;
        if (QFile::open(mode | QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (replaces)
                ::fchmod(handle(), target.st_mode & 07777);
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    setFileName(QString());
    return false;
}

bool CAtomicFile::Commit(FileDurability durability)
{
    if (!isOpen())
        return false;
    errno = 0;
    if (!flush() || (durability == FileDurability::Synced && ::fsync(handle()) != 0)) {
        SetWriteError(errno ? errno : ENOSPC);
        Discard();
        return false;
    }
    close();
    errno = 0;
    if (::rename(QFile::encodeName(fileName()).constData(), QFile::encodeName(m_target).constData()) != 0) {
        SetWriteError(errno);
        Discard();
        return false;
    }
    m_committed = true;
    SetLastError(ERROR_SUCCESS);
    return true;
}

void CAtomicFile::Discard()
{
    if (fileName().isEmpty())
        return;
    close();
    QFile::remove(fileName());
    setFileName(QString());
}

bool WriteFileAtomically(const QString &path, const QByteArray &data, FileDurability durability)
{
    if (path.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    CAtomicFile file(path);
    errno = 0;
    // Unbuffered, so a short write (full disk, size limit) shows in write()'s
    // count rather than only at the flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        SetOpenError(path, errno);
        return false;
    }
    errno = 0;
    if (file.write(data) != data.size()) {
        SetWriteError(errno ? errno : ENOSPC);
        return false;
    }
    return file.Commit(durability);
}

bool SetDamagedFileAside(const QString &path)
{
    const QString aside = path + QStringLiteral(".damaged");
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) != 0) {
        const quint32 error = SetLastErrorFromErrno(errno);
        WriteSyslog(LOG_ERR_APP, "Damaged file could not be set aside : %s : Error = %u", qUtf8Printable(path), error);
        return false;
    }
    WriteSyslog(LOG_ERR_APP, "Damaged file set aside as %s : started afresh : %s", qUtf8Printable(aside),
                qUtf8Printable(path));
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
        if (!IsTemporaryName(it.fileName()) || !QFile::remove(it.filePath()))
            continue;
        WriteSyslog(LOG_NOTICE, "Leftover temporary file removed : %s", qUtf8Printable(it.filePath()));
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
