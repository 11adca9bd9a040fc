// Registration steps that put a file into the library: the copy of a medium
// into the content folder of its type and the unpacking of a web package.
#include "ops/content_registration.h"

#include "cab/dlkx_cab.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "model/contents_store.h"
#include "model/property_base.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The longest file name (title and extension) a copy may have.
constexpr qsizetype kMaxFileName = 128;
// How many numbered names a copy tries once its own name and the numbered
// fallback are taken.
constexpr int kMaxNameAttempts = 100;
// One step of the copy: the cancel flag and the progress are looked at
// between steps.
constexpr size_t kMaterialCopyChunk = 8u << 20;
constexpr quint32 ERROR_REQUEST_ABORTED = 1235;
constexpr const char *kIndexPage = "index.html";

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    bool closeChecked()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

// title + extension, the title shortened so that both fit into 128
// characters; empty when nothing of the title would be left.
QString FitFileName(const QString &title, const QString &extension)
{
    const qsizetype excess = title.size() + extension.size() - kMaxFileName;
    if (excess <= 0)
        return title + extension;
    if (title.size() - excess < 1)
        return {};
    return title.left(title.size() - excess) + extension;
}

// The names a copy tries in turn: its own, then the number and an underscore
// before it, then the number and a count.
QString CandidateName(int attempt, qint32 number, const QString &title, const QString &extension)
{
    const QString numbered = QStringLiteral("%1_").arg(number, 9, 10, QLatin1Char('0'));
    if (attempt == 0)
        return FitFileName(title, extension);
    if (attempt == 1)
        return FitFileName(numbered + title, extension);
    return FitFileName(numbered + QString::number(attempt) + u'_' + title, extension);
}

// Copies a block with the kernel's copy where it can, else through a buffer.
// Returns the bytes copied, 0 at the end, -1 with errno.
ssize_t CopyChunk(int from, int to, std::vector<char> &buffer, bool &kernelCopy)
{
    if (kernelCopy) {
        const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, kMaterialCopyChunk, 0);
        if (copied >= 0)
            return copied;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
            return -1;
        kernelCopy = false;
    }
    buffer.resize(kMaterialCopyChunk);
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got <= 0)
        return got;
    for (ssize_t written = 0; written < got;) {
        const ssize_t step = ::write(to, buffer.data() + written, size_t(got - written));
        if (step < 0)
            return -1;
        written += step;
    }
    return got;
}

// The start page of an unpacked package: "index.html" in any case, as the
// packages are made on systems whose names ignore case; a regular file only.
QString FindIndexPage(const QString &folder)
{
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &entry : entries) {
        if (entry.fileName().compare(QLatin1String(kIndexPage), Qt::CaseInsensitive) != 0)
            continue;
        if (entry.isFile() && !entry.isSymLink())
            return entry.fileName();
    }
    return {};
}

} // namespace

// ---- Copy -------------------------------------------------------------------------

bool CContentRegistration::RegContCopyFile(int type, qint32 number, QString &path, int &kind, quint32 &detail)
{
    QString title;
    QString extension;
    if (!SplitPath(path, nullptr, nullptr, &title, &extension)) {
        WriteSyslog(LOG_ERR_APP, "RegContCopyFile : SplitPath error : File name = %s", qUtf8Printable(path));
        kind = REGIST_INTERNAL;
        return false;
    }
    const QString folder = store().GetContentFolder(type);
    if (folder.isEmpty()) {
        WriteSyslog(LOG_ERR_APP, "RegContCopyFile : GetContentsFolder error : content type = %d", type);
        kind = REGIST_INTERNAL;
        return false;
    }
    if (CreateFolderPath(folder) < 0) {
        kind = REGIST_FILE_ERROR;
        detail = GetLastError();
        return false;
    }
    struct stat source {};
    if (::stat(QFile::encodeName(path).constData(), &source) != 0) {
        kind = REGIST_FILE_ERROR;
        detail = SetLastErrorFromErrno(errno);
        return false;
    }
    if (!checkFreeSpace(folder, quint64(source.st_size), kind, detail))
        return false;

    QString destination;
    FileDescriptor out;
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        const QString name = CandidateName(attempt, number, title, extension);
        if (name.isEmpty()) {
            WriteSyslog(LOG_ERR_APP, "RegContCopyFile : Invalid filename : file name = %s",
                        qUtf8Printable(title + extension));
            kind = REGIST_INTERNAL;
            return false;
        }
        destination = JoinPath(folder, name);
        // Created exclusively: another content's file is never written over.
        out.reset(::open(QFile::encodeName(destination).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        if (out.get() >= 0 || errno != EEXIST)
            break;
    }
    if (out.get() < 0) {
        kind = REGIST_FILE_ERROR;
        detail = SetLastErrorFromErrno(errno == EEXIST ? EEXIST : errno);
        return false;
    }
    const bool copied = copyData(path, out.get(), kind, detail);
    if (!out.closeChecked() && copied) {
        kind = REGIST_FILE_ERROR;
        detail = SetLastErrorFromErrno(errno);
    }
    if (kind != REGIST_OK) {
        // No partial copy stays behind.
        QFile::remove(destination);
        return false;
    }
    path = destination;
    return true;
}

bool CContentRegistration::checkFreeSpace(const QString &folder, quint64 size, int &kind, quint32 &detail) const
{
    quint64 available = 0;
    if (!queryFreeSpace(folder, available)) {
        kind = REGIST_FILE_ERROR;
        detail = GetLastError();
        return false;
    }
    const quint64 margin = GetSystemIni().Settings().RegContMinFree;
    if (available >= size && available - size >= margin)
        return true;
    kind = REGIST_DISK_FULL;
    detail = 0;
    return false;
}

bool CContentRegistration::copyData(const QString &source, int destination, int &kind, quint32 &detail)
{
    FileDescriptor in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC));
    struct stat facts {};
    if (in.get() < 0 || ::fstat(in.get(), &facts) != 0) {
        kind = REGIST_FILE_ERROR;
        detail = SetLastErrorFromErrno(errno);
        return false;
    }
    const quint64 total = quint64(facts.st_size);
    quint64 done = 0;
    std::vector<char> buffer;
    bool kernelCopy = true;
    while (true) {
        if (!CopyProgressRoutine(total, done)) {
            kind = REGIST_CANCELLED;
            detail = ERROR_REQUEST_ABORTED;
            return false;
        }
        const ssize_t copied = CopyChunk(in.get(), destination, buffer, kernelCopy);
        if (copied < 0) {
            kind = REGIST_FILE_ERROR;
            detail = SetLastErrorFromErrno(errno);
            return false;
        }
        if (copied == 0)
            break;
        done += quint64(copied);
    }
    CopyProgressRoutine(total, done);
    return true;
}

bool CContentRegistration::CopyProgressRoutine(quint64 total, quint64 transferred)
{
    if (isCancelled())
        return false;
    setProgress(total, transferred);
    return true;
}

// ---- Web package ------------------------------------------------------------------

bool CContentRegistration::RegCont(qint32 number, QString &path, int &kind, quint32 &detail)
{
    const QString folder = PackageFolder(number);
    if (folder.isEmpty()) {
        WriteSyslog(LOG_ERR_APP, "RegCont : MakeContentIdPath error : content index = %d", number);
        kind = REGIST_INTERNAL;
        return false;
    }
    // Unpacked beside its place and renamed into it only when complete, so a
    // broken package never leaves a half content folder.
    const QString staging = folder + QStringLiteral(".unpacking");
    DeleteFolderTree(staging, true);
    if (CreateFolderPath(staging) < 0) {
        kind = REGIST_FILE_ERROR;
        detail = GetLastError();
        return false;
    }
    const int result = DLKxDecompressCab({path, staging});
    if (result != 0) {
        WriteSyslog(LOG_ERR_APP, "RegCont : RegContCopyFile : CAB Decompress Error : CAB Result = %d", result);
        DeleteFolderTree(staging, true);
        kind = REGIST_PACKAGE_BROKEN;
        return false;
    }
    const QString page = FindIndexPage(staging);
    if (page.isEmpty()) {
        WriteSyslog(LOG_ERR_APP, "RegCont : RegContCopyFile : Not URL File : Filename = %s", qUtf8Printable(path));
        DeleteFolderTree(staging, true);
        kind = REGIST_PACKAGE_NO_INDEX;
        return false;
    }
    DeleteFolderTree(folder, true);
    if (::rename(QFile::encodeName(staging).constData(), QFile::encodeName(folder).constData()) != 0) {
        detail = SetLastErrorFromErrno(errno);
        DeleteFolderTree(staging, true);
        kind = REGIST_FILE_ERROR;
        return false;
    }
    path = QStringLiteral("%1\\%2").arg(number, 9, 10, QLatin1Char('0')).arg(page);
    return true;
}
