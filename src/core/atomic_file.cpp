#include "core/atomic_file.h"

#include "core/last_error.h"
#include "core/staged_files.h"
#include "core/syslog.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cstdio>
#include <memory>

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

// Calls visit with every file of folder and its sub-folders; links are left
// out, so nothing outside the folder is reached.
template <class Visit>
void forEachFileIn(const QString &folder, Visit visit)
{
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        visit(it.fileInfo());
    }
}

bool isOpenToOthers(const QFileInfo &file)
{
    constexpr QFile::Permissions kOthers = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return (file.permissions() & kOthers) != 0;
}

// One expression for the whole name: any of the patterns ('*' any run of
// characters, everything else literal), with or without the damaged suffix.
QRegularExpression namesOrTheirDamagedCopies(const QStringList &patterns)
{
    QStringList alternatives;
    for (const QString &pattern : patterns)
        alternatives.append(QRegularExpression::escape(pattern).replace(QStringLiteral("\\*"), QStringLiteral(".*")));
    return QRegularExpression(QStringLiteral("^(?:%1)(?:%2)?$")
                                  .arg(alternatives.join(QLatin1Char('|')),
                                       QRegularExpression::escape(QLatin1String(kDamagedSuffix))));
}

} // namespace

QString TemporaryPathFor(const QString &path)
{
    const quint32 letters = QRandomGenerator::global()->generate();
    const QString tail = QLatin1Char('.') + QStringLiteral("%1").arg(letters, 8, 16, QLatin1Char('0'))
        + QLatin1String(kTemporarySuffix);
    // A file system holds a name to 255 bytes: a target's name near that
    // lends only as much of itself as leaves room for the tail.
    constexpr qsizetype kMaxFileNameBytes = 255;
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    QString name = path.mid(nameStart);
    while (name.toUtf8().size() + tail.size() > kMaxFileNameBytes)
        name.chop(name.size() >= 2 && name.back().isLowSurrogate() ? 2 : 1);
    return path.left(nameStart) + name + tail;
}

bool IsTemporaryName(const QString &fileName)
{
    const QLatin1String suffix(kTemporarySuffix);
    constexpr qsizetype kLetters = 8;
    const qsizetype dot = fileName.size() - suffix.size() - kLetters - 1;
    if (dot < 1 || !fileName.endsWith(suffix) || fileName[dot] != u'.')
        return false;
    for (qsizetype i = dot + 1; i < dot + 1 + kLetters; ++i) {
        const char16_t c = fileName[i].unicode();
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return false;
    }
    return true;
}

namespace {

// Makes a file under a fresh temporary name beside target with make, which
// fails with EEXIST when the name is taken; a taken name is tried again.
// The name made, or empty.
template <class Make>
QString makeUnderTemporaryName(const QString &target, Make make)
{
    constexpr int kNameAttempts = 8;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString path = TemporaryPathFor(target);
        if (make(QFile::encodeName(path)))
            return path;
        if (errno != EEXIST)
            break;
    }
    return QString();
}

} // namespace

QString LinkUnderTemporaryName(const QString &path)
{
    const QByteArray existing = QFile::encodeName(path);
    errno = 0;
    const QString link = makeUnderTemporaryName(
        path, [&existing](const QByteArray &name) { return ::link(existing.constData(), name.constData()) == 0; });
    if (!link.isEmpty())
        return link;
    // A file system without hard links (a FAT drive, some network shares)
    // still keeps the old contents, as a copy.
    if (errno == EPERM || errno == EOPNOTSUPP) {
        const QString copy = TemporaryPathFor(path);
        if (QFile::copy(path, copy))
            return copy;
    }
    SetWriteError(errno);
    return QString();
}

CAtomicFile::CAtomicFile(const QString &target, FileAccess access) : m_target(target), m_access(access) {}

CAtomicFile::~CAtomicFile()
{
    if (!m_committed)
        Discard();
}

// A file without a name in the target's folder, unless the file system
// cannot make one or /proc is not there to link it in place later.
int CAtomicFile::openUnnamed(mode_t mode)
{
    if (::access("/proc/self/fd", X_OK) != 0)
        return -1;
    const QByteArray folder = QFile::encodeName(QFileInfo(m_target).absolutePath());
    return ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
}

// The temporary name is created exclusively, so an existing file or link of
// that name is never followed or reused.
int CAtomicFile::openNamed(mode_t mode)
{
    int fd = -1;
    m_temporaryPath = makeUnderTemporaryName(m_target, [&fd, mode](const QByteArray &path) {
        fd = ::open(path.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode);
        return fd >= 0;
    });
    return fd;
}

bool CAtomicFile::open(OpenMode mode)
{
    struct stat target {};
    const bool replaces = ::stat(QFile::encodeName(m_target).constData(), &target) == 0;
    const mode_t createMode = m_access == FileAccess::OwnerOnly ? 0600 : 0666;
    errno = 0;
    int fd = openUnnamed(createMode);
    if (fd < 0)
        fd = openNamed(createMode);
    if (fd < 0)
        return false;
    // The mode is right before a byte is written; a mode that cannot be set
    // is a failed open rather than a file others may read.
    const bool keepsMode = m_access == FileAccess::KeepMode && replaces;
    if ((keepsMode && ::fchmod(fd, target.st_mode & 07777) != 0)
        || !QFile::open(fd, mode | QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        const int error = errno;
        if (!isOpen())
            ::close(fd);
        Discard();
        errno = error;
        return false;
    }
    return true;
}

// Gives the unnamed file a temporary name beside its target, from which it
// is renamed in place.
bool CAtomicFile::linkUnnamed()
{
    const QByteArray handlePath = "/proc/self/fd/" + QByteArray::number(handle());
    m_temporaryPath = makeUnderTemporaryName(m_target, [&handlePath](const QByteArray &path) {
        return ::linkat(AT_FDCWD, handlePath.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) == 0;
    });
    return !m_temporaryPath.isEmpty();
}

bool CAtomicFile::Stage(FileDurability durability)
{
    if (!isOpen())
        return !m_temporaryPath.isEmpty();
    errno = 0;
    if (!flush() || (durability == FileDurability::Synced && ::fsync(handle()) != 0)) {
        SetWriteError(errno ? errno : ENOSPC);
        Discard();
        return false;
    }
    errno = 0;
    if (m_temporaryPath.isEmpty() && !linkUnnamed()) {
        SetWriteError(errno);
        Discard();
        return false;
    }
    close();
    return true;
}

bool CAtomicFile::Commit(FileDurability durability)
{
    if (isOpen() && !Stage(durability))
        return false;
    if (m_temporaryPath.isEmpty())
        return false;
    errno = 0;
    if (::rename(QFile::encodeName(m_temporaryPath).constData(), QFile::encodeName(m_target).constData()) != 0) {
        SetWriteError(errno);
        Discard();
        return false;
    }
    m_temporaryPath.clear();
    m_committed = true;
    SetLastError(ERROR_SUCCESS);
    return true;
}

namespace {

// Renames from to to unless to exists (EEXIST then): in one step where the
// file system can, else by a second name and the first one's removal.
bool renameExclusively(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL || ::link(from.constData(), to.constData()) != 0)
        return false;
    ::unlink(from.constData());
    return true;
}

bool syncFile(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

} // namespace

// The mode a written file would have before its first byte: the replaced
// target's, or its user's alone; a new file keeps the one it has.
bool CAtomicFile::takeAdoptedMode(const QByteArray &source) const
{
    if (m_access == FileAccess::OwnerOnly)
        return ::chmod(source.constData(), 0600) == 0;
    struct stat target {};
    if (::stat(QFile::encodeName(m_target).constData(), &target) != 0)
        return true;
    return ::chmod(source.constData(), target.st_mode & 07777) == 0;
}

bool CAtomicFile::Adopt(const QString &source, FileDurability durability)
{
    if (isOpen() || !m_temporaryPath.isEmpty())
        return FailWith(ERROR_INVALID_PARAMETER);
    const QByteArray from = QFile::encodeName(source);
    errno = 0;
    // Mode and flush come first: a file that then cannot be moved is left
    // whole where it was.
    if (!takeAdoptedMode(from) || (durability == FileDurability::Synced && !syncFile(from))) {
        SetWriteError(errno);
        return false;
    }
    m_temporaryPath = makeUnderTemporaryName(
        m_target, [&from](const QByteArray &path) { return renameExclusively(from, path); });
    if (m_temporaryPath.isEmpty()) {
        SetWriteError(errno);
        return false;
    }
    return true;
}

void CAtomicFile::Discard()
{
    close();
    if (m_temporaryPath.isEmpty())
        return;
    QFile::remove(m_temporaryPath);
    m_temporaryPath.clear();
}

bool WriteFileAtomically(const QString &path, const QByteArray &data, FileDurability durability,
                         FileAccess access)
{
    if (path.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    auto file = std::make_unique<CAtomicFile>(path, access);
    errno = 0;
    // Unbuffered, so a short write (full disk, size limit) shows in write()'s
    // count rather than only at the flush.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        SetOpenError(path, errno);
        return false;
    }
    errno = 0;
    if (file->write(data) != data.size()) {
        SetWriteError(errno ? errno : ENOSPC);
        return false;
    }
    CStagedFiles *staged = durability == FileDurability::Synced ? CStagedFiles::Open() : nullptr;
    return staged ? staged->Hold(std::move(file)) : file->Commit(durability);
}

bool SetDamagedFileAside(const QString &path)
{
    const QString aside = path + QLatin1String(kDamagedSuffix);
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

bool RenameNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    errno = 0;
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    // A file system that cannot refuse by itself is asked first; only the
    // program writes in the data tree, so nothing comes between.
    if (errno == EINVAL || errno == ENOSYS) {
        struct stat taken {};
        if (::lstat(target.constData(), &taken) == 0) {
            SetLastError(ERROR_ALREADY_EXISTS);
            return false;
        }
        if (::rename(source.constData(), target.constData()) == 0)
            return true;
    }
    SetLastError(errno == EEXIST || errno == ENOTEMPTY ? ERROR_ALREADY_EXISTS : ErrorFromErrno(errno));
    return false;
}

QString SetFileAsideUnderOwnName(const QString &path)
{
    constexpr int kNames = 100;
    for (int round = 1; round <= kNames; ++round) {
        const QString aside = round == 1 ? path + QLatin1String(kDamagedSuffix)
                                         : QStringLiteral("%1.%2%3").arg(path).arg(round).arg(QLatin1String(kDamagedSuffix));
        if (RenameNoReplace(path, aside)) {
            WriteSyslog(LOG_ERR_APP, "File set aside as %s : %s", qUtf8Printable(aside), qUtf8Printable(path));
            return aside;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    WriteSyslog(LOG_ERR_APP, "File could not be set aside : %s : Error = %u", qUtf8Printable(path), GetLastError());
    return QString();
}

int RemoveAtomicWriteLeftovers(const QString &folder)
{
    if (folder.isEmpty())
        return 0;
    int removed = 0;
    forEachFileIn(folder, [&removed](const QFileInfo &file) {
        if (!IsTemporaryName(file.fileName()) || !QFile::remove(file.filePath()))
            return;
        WriteSyslog(LOG_NOTICE, "Leftover temporary file removed : %s", qUtf8Printable(file.filePath()));
        ++removed;
    });
    return removed;
}

int NarrowFilesToOwner(const QString &folder, const QStringList &namePatterns)
{
    if (folder.isEmpty() || namePatterns.isEmpty())
        return 0;
    const QRegularExpression names = namesOrTheirDamagedCopies(namePatterns);
    int narrowed = 0;
    forEachFileIn(folder, [&](const QFileInfo &file) {
        if (!names.match(file.fileName()).hasMatch() || !isOpenToOthers(file))
            return;
        if (::chmod(QFile::encodeName(file.filePath()).constData(), 0600) != 0) {
            WriteSyslog(LOG_ERR_APP, "File could not be made private : %s : Error = %u", qUtf8Printable(file.filePath()),
                        SetLastErrorFromErrno(errno));
            return;
        }
        WriteSyslog(LOG_NOTICE, "File made private : %s", qUtf8Printable(file.filePath()));
        ++narrowed;
    });
    return narrowed;
}
