// Contents registration: the files of a queued entry on the PC and their names
// on the player, in the same order. Names that come from stored records are
// joined to their folders only when they stay inside them.

#include "transfer/dlk_transfer.h"

#include "core/content_id.h"
#include "core/last_error.h"
#include "core/path_utils.h"
#include "core/remote_path.h"
#include "core/syslog.h"
#include "model/path_safety.h"
#include "transfer/dlk_request_send.h"
#include "transfer/web_package_files.h"

#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sequences of a schedule carry these layers in the middle digits of their
// number; every other layer belongs to a playlist or background-music list.
bool IsScheduleLayer(int layer)
{
    return layer == 12 || layer == 14 || layer == 20 || layer == 22;
}

// 0 when path is a regular file that can be opened for reading, else the
// error that stopped it.
quint32 CheckReadableFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return ErrorFromErrno(errno);
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

// The remote folder of a local web content: "/import/web/<letter><number>".
QString WebRemoteFolder(QChar letter, qint32 number)
{
    return RemoteWebRoot() + QStringLiteral("/%1%2").arg(letter).arg(FormatContentId(number));
}

} // namespace

bool CDlkTransfer::getSendLocalFilename(CDlkRequestSend *request, const CPropertyBase &entry, QStringList &files)
{
    files.clear();
    const int type = entry.GetContentType();
    const qint32 number = entry.GetIndex();
    bool made = true;
    switch (type) {
    case CONTENT_MOVIE:
    case CONTENT_IMAGE:
    case CONTENT_FLASH:
    case CONTENT_AUDIO:
        made = addContentFolderFile(type, static_cast<const CMediaProperty &>(entry).GetLink(), files);
        break;
    case CONTENT_TELOP:
        made = addTelopFiles(request, static_cast<const CTelopProperty &>(entry), files);
        break;
    case CONTENT_WEB:
        if (hasLocalFiles(request, entry))
            return addWebPageFiles(request, static_cast<const CWebProperty &>(entry), files);
        return true;
    case CONTENT_CALENDAR:
        files.append(JoinPath(m_playerFolder, m_registFileName));
        break;
    case CONTENT_SCHEDULE:
        MakeScheduleXmlPath(request->GetGroupScheduleFolder(), number, appendedPath(files));
        break;
    case CONTENT_PLAYLIST:
        made = addPlaylistFile(request, number, files);
        break;
    case CONTENT_SEQUENCE:
        made = addSequenceFile(request, number, files);
        break;
    case CONTENT_CONTROL:
    case CONTENT_STREAMING:
    case CONTENT_PINP:
        return true;
    default:
        WriteSyslog(LOG_ERR_APP,
                    "[%s] : CDlkTransfer::getSendLocalFilename : Invalid Contents Type : Contents Index = %d, Type = %d",
                    qUtf8Printable(m_name), number, type);
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    if (!made)
        return false;
    files.removeAll(QString());
    if (files.isEmpty()) {
        WriteSyslog(LOG_ERR_APP,
                    "[%s] : CDlkTransfer::getSendLocalFilename : LocalFileName Not Found : Contents Index = %d, Type = %d",
                    qUtf8Printable(m_name), number, type);
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    return true;
}

QString &CDlkTransfer::appendedPath(QStringList &files)
{
    files.append(QString());
    return files.last();
}

// A record's file name is one plain name in its type's content folder; a
// name with separators or ".." could reach any file and is refused (the
// caller reports the missing name).
bool CDlkTransfer::addContentFolderFile(int type, const QString &fileName, QStringList &files)
{
    QString folder;
    GetContentFolder(type, folder);
    if (!folder.isEmpty() && IsSafePathComponent(fileName))
        files.append(JoinPath(folder, fileName));
    return true;
}

bool CDlkTransfer::addTelopFiles(CDlkRequestSend *request, const CTelopProperty &entry, QStringList &files)
{
    const QStringList own = TelopFilePaths(request->GetTextFolder(), entry);
    if (own.isEmpty()) {
        WriteSyslog(LOG_ERR_APP,
                    "[%s] : CDlkTransfer::getSendLocalFilename : Telop file name make error : Contents Index = %d, "
                    "Type = %d",
                    qUtf8Printable(m_name), entry.GetIndex(), entry.GetContentType());
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    files.append(own);
    return true;
}

bool CDlkTransfer::addPlaylistFile(CDlkRequestSend *request, qint32 number, QStringList &files)
{
    if (!SplitContentId(number, nullptr, nullptr, nullptr)) {
        WriteSyslog(LOG_ERR_APP,
                    "[%s] : CDlkTransfer::getSendLocalFilename : Playlist Index Extract Error : Contents Index = %d, "
                    "Type = %d",
                    qUtf8Printable(m_name), number, int(CONTENT_PLAYLIST));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    MakePlaylistXmlPath(request->GetPlaylistFolder(), number, appendedPath(files));
    return true;
}

// A sequence lies beside the schedule or the playlist it belongs to; its
// layer tells which.
bool CDlkTransfer::addSequenceFile(CDlkRequestSend *request, qint32 number, QStringList &files)
{
    int layer = 0;
    if (!SplitContentId(number, nullptr, &layer, nullptr)) {
        WriteSyslog(LOG_ERR_APP,
                    "[%s] : CDlkTransfer::getSendLocalFilename : Sequence Index Extract Error : Contents Index = %d, "
                    "Type = %d",
                    qUtf8Printable(m_name), number, int(CONTENT_SEQUENCE));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    const QString folder = IsScheduleLayer(layer) ? request->GetGroupSequenceFolder() : request->GetSequenceFolder();
    MakeSequenceXmlPath(folder, number, appendedPath(files));
    return true;
}

QString CDlkTransfer::webPagePath(CDlkRequestSend *request, const CWebProperty &entry) const
{
    if (request->HasPackagePath())
        return request->GetPackagePath();
    const QString url = entry.GetUrl();
    if (IsAbsolutePath(url))
        return url;
    QString folder;
    GetContentFolder(CONTENT_WEB, folder);
    QString path;
    JoinInsideFolder(folder, url, path);
    return path;
}

bool CDlkTransfer::addWebPageFiles(CDlkRequestSend *request, const CWebProperty &entry, QStringList &files)
{
    const QString page = webPagePath(request, entry);
    const QByteArray name = m_name.toUtf8();
    const quint32 error = page.isEmpty() ? ERROR_FILE_NOT_FOUND : CheckReadableFile(page);
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        WriteSyslog(LOG_ERR_APP, "[%s] : Local URL File Not Found : Contents index = %d : (%s)", name.constData(),
                    entry.GetIndex(), qUtf8Printable(page));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_FILE_NOT_FOUND);
        return false;
    }
    if (error == ERROR_SHARING_VIOLATION) {
        WriteSyslog(LOG_ERR_APP, "[%s] : Local URL File Another Open : Contents index = %d : %s", name.constData(),
                    entry.GetIndex(), qUtf8Printable(page));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_FILE_IN_USE);
        return false;
    }
    if (error != ERROR_SUCCESS) {
        WriteSyslog(LOG_ERR_WIN, "[%s] : Local URL File Error : Contents index = %d : %s : GetLastError = %u",
                    name.constData(), entry.GetIndex(), qUtf8Printable(page), error);
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_FILE_NOT_FOUND);
        return false;
    }
    files.append(page);
    // A single-file web archive carries everything in itself.
    if (!page.endsWith(QLatin1String(".mht"), Qt::CaseInsensitive))
        files.append(ListWebPackageFiles(QFileInfo(page).path(), page, m_name));
    return true;
}

bool CDlkTransfer::getSendFiles(CDlkRequestSend *request, const CPropertyBase &entry, QChar letter,
                                QStringList &localFiles, QStringList &remoteFiles)
{
    if (!getSendLocalFilename(request, entry, localFiles)
        || !getSendRemoteFilename(request, entry, localFiles, letter, remoteFiles))
        return false;
    if (localFiles.size() == remoteFiles.size())
        return true;
    WriteSyslog(LOG_ERR_APP,
                "[%s] : CDlkTransfer::sendContentsFile : Local & Remote File Count No Match : Local = %d, Remote = %d",
                qUtf8Printable(m_name), int(localFiles.size()), int(remoteFiles.size()));
    setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
    return false;
}

bool CDlkTransfer::getSendRemoteFilename(CDlkRequestSend *request, const CPropertyBase &entry,
                                         const QStringList &localFiles, QChar letter, QStringList &remoteFiles)
{
    remoteFiles.clear();
    const qint32 number = entry.GetIndex();
    switch (entry.GetContentType()) {
    case CONTENT_MOVIE:
    case CONTENT_IMAGE:
    case CONTENT_TELOP:
    case CONTENT_FLASH:
    case CONTENT_AUDIO:
        for (const QString &file : localFiles)
            remoteFiles.append(MakeRemoteContentPath(entry.GetContentType(), letter, number, file));
        break;
    case CONTENT_WEB:
        if (!localFiles.isEmpty())
            addWebRemoteFiles(webPagePath(request, static_cast<const CWebProperty &>(entry)), localFiles, letter,
                              number, remoteFiles);
        break;
    case CONTENT_CALENDAR:
        remoteFiles.append(MakeRemoteCalendarPath(m_registFileName));
        break;
    case CONTENT_SCHEDULE:
        remoteFiles.append(MakeRemoteSchedulePath(number));
        break;
    case CONTENT_PLAYLIST:
        remoteFiles.append(MakeRemotePlaylistPath(number));
        break;
    case CONTENT_SEQUENCE:
        remoteFiles.append(MakeRemoteSequencePath(number));
        break;
    default:
        break;
    }
    return true;
}

void CDlkTransfer::addWebRemoteFiles(const QString &page, const QStringList &localFiles, QChar letter, qint32 number,
                                     QStringList &remoteFiles)
{
    const QString pageFolder = QFileInfo(page).path();
    const QString remoteFolder = WebRemoteFolder(letter, number);
    for (const QString &file : localFiles) {
        const QString remote = remoteFolder + QLatin1Char('/') + WebPackageRelativePath(pageFolder, file);
        WriteSyslog(LOG_DEBUG, "[%s] : Local URL File Change DLK Path : %s", qUtf8Printable(m_name),
                    qUtf8Printable(remote));
        remoteFiles.append(remote);
    }
}
