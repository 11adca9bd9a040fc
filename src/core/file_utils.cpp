#include "core/file_utils.h"

#include "core/clock.h"
#include "core/last_error.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray NativePath(const QString &path)
{
    return QFile::encodeName(path);
}

quint32 FailWithErrno()
{
    return SetLastErrorFromErrno(errno);
}

// The name a temporary probe gets inside the folder (mkstemp/mkdtemp template).
QByteArray ProbeTemplate(const QString &folder)
{
    return NativePath(folder + QStringLiteral("/.q9probe_XXXXXX"));
}

quint32 ProbeTemporaryFile(const QString &folder)
{
    QByteArray name = ProbeTemplate(folder);
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return FailWithErrno();
    ::close(fd);
    ::unlink(name.constData());
    return ERROR_SUCCESS;
}

quint32 ProbeTemporaryFolder(const QString &folder)
{
    QByteArray name = ProbeTemplate(folder);
    if (!::mkdtemp(name.data()))
        return FailWithErrno();
    ::rmdir(name.constData());
    return ERROR_SUCCESS;
}

bool IsDirectory(const QByteArray &path)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates one folder; true when it was created, false when it already was a
// folder. Sets error when neither: a file in the way of the last folder
// "already exists", one in the way of a folder above it leaves no path.
bool MakeOneFolder(const QByteArray &path, bool last, quint32 &error)
{
    if (::mkdir(path.constData(), 0777) == 0)
        return true;
    const int cause = errno;
    if (cause == EEXIST && IsDirectory(path))
        return false;
    error = cause == EEXIST && !last ? quint32(ERROR_PATH_NOT_FOUND) : ErrorFromErrno(cause);
    return false;
}

// Removes the entries of an opened folder; keeps the first error in error.
void DeleteEntries(const QByteArray &folder, bool recursive, quint32 &error);

void KeepFirstError(quint32 &error, quint32 code)
{
    if (error == ERROR_SUCCESS)
        error = code;
}

void DeleteTree(const QByteArray &folder, bool recursive, quint32 &error)
{
    DeleteEntries(folder, recursive, error);
    if (::rmdir(folder.constData()) != 0)
        KeepFirstError(error, ErrorFromErrno(errno));
}

void DeleteEntries(const QByteArray &folder, bool recursive, quint32 &error)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir) {
        KeepFirstError(error, ErrorFromErrno(errno));
        return;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray path = folder + '/' + name;
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0) {
            KeepFirstError(error, ErrorFromErrno(errno));
        } else if (S_ISDIR(info.st_mode)) {
            if (recursive)
                DeleteTree(path, recursive, error);
        } else if (::unlink(path.constData()) != 0) {
            KeepFirstError(error, ErrorFromErrno(errno));
        }
    }
    ::closedir(dir);
}

// Hands out a folder the platform named; an empty name means there is none.
bool TakeFolder(const QString &found, QString &folder)
{
    if (found.isEmpty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    folder = found;
    return true;
}

} // namespace

quint32 CheckFolderWritable(const QString &folder)
{
    if (folder.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR_INVALID_PARAMETER;
    }
    if (!IsDirectory(NativePath(folder))) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return ERROR_PATH_NOT_FOUND;
    }
    const quint32 fileResult = ProbeTemporaryFile(folder);
    if (fileResult != ERROR_SUCCESS)
        return fileResult;
    return ProbeTemporaryFolder(folder);
}

int CreateFolderPath(const QString &path)
{
    if (path.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    int created = 0;
    qsizetype end = path.startsWith(QLatin1Char('/')) ? 1 : 0;
    while (end < path.size()) {
        end = path.indexOf(QLatin1Char('/'), end + 1);
        if (end < 0)
            end = path.size();
        quint32 error = ERROR_SUCCESS;
        if (MakeOneFolder(NativePath(path.left(end)), end >= path.size() - 1, error))
            ++created;
        else if (error != ERROR_SUCCESS) {
            SetLastError(error);
            return -1;
        }
    }
    if (created == 0)
        SetLastError(ERROR_ALREADY_EXISTS);
    return created;
}

bool DeleteFolderTree(const QString &folder, bool recursive)
{
    const QByteArray native = NativePath(folder);
    struct stat info {};
    if (folder.isEmpty() || ::lstat(native.constData(), &info) != 0) {
        SetLastError(folder.isEmpty() ? ERROR_INVALID_PARAMETER : ErrorFromErrno(errno));
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    quint32 error = ERROR_SUCCESS;
    DeleteTree(native, recursive, error);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return false;
    }
    return true;
}

bool GetFileWriteTime(const QString &path, FileTime &time)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(NativePath(path).constData(), &info) != 0) {
        SetLastError(path.isEmpty() ? ERROR_INVALID_PARAMETER : ErrorFromErrno(errno));
        return false;
    }
    const qint64 milliseconds = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    const FileTime subMillisecond = FileTime(info.st_mtim.tv_nsec % 1000000) / 100;
    time = ToFileTime(QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::LocalTime)) + subMillisecond;
    return true;
}

bool GetCurrentFolder(QString &folder)
{
    return TakeFolder(QDir::currentPath(), folder);
}

bool GetDesktopFolder(QString &folder)
{
    return TakeFolder(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation), folder);
}

void GetModuleFolder(QString &folder)
{
    // applicationDirPath needs the application object; before it exists the
    // kernel's link to the executable gives the same folder.
    if (QCoreApplication::instance())
        folder = QCoreApplication::applicationDirPath();
    else
        folder = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}
