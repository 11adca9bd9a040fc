// Contents registration: the registration files a player loads with "LTBL".
// A content goes into a property file, a playlist, schedule, sequence or
// calendar file is named in the group file, and the group file lists what to
// load; all of them are written into the player folder and uploaded with the
// entry's files.

#include "transfer/dlk_transfer.h"

#include "core/clock.h"
#include "core/path_utils.h"
#include "core/remote_path.h"
#include "core/syslog.h"
#include "transfer/calendar_file_xml.h"
#include "transfer/dlk_request_send.h"
#include "transfer/group_xml.h"
#include "transfer/property_xml.h"

#include <QFileInfo>

namespace {

// The value of "signal" in the movie rows; players take 0 as their own setting.
constexpr qint32 kMovieSignal = 0;

} // namespace

QString CDlkTransfer::registFileName(const char *stem) const
{
    if (m_multiSend)
        return QStringLiteral("%1%2.xml").arg(QLatin1String(stem)).arg(m_sendNumber);
    return QStringLiteral("%1.xml").arg(QLatin1String(stem));
}

bool CDlkTransfer::makeCalendarFile(CDlkRequestSend *request, int position)
{
    const QByteArray name = m_name.toUtf8();
    CCalendarFileXml file;
    for (int i = 0; i < request->GetCount(); ++i) {
        if (checkStopRequest())
            return false;
        const std::unique_ptr<CPropertyBase> entry = request->CopyAt(i);
        if (!entry) {
            WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::makeCalendarFile : Contents Property Get Error : Index = %d",
                        name.constData(), i);
            setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
            return false;
        }
        if (entry->GetContentType() != CONTENT_CALENDAR)
            continue;
        if (!file.Add(static_cast<const CCalendarProperty *>(entry.get()))) {
            WriteSyslog(LOG_ERR_APP, "[%s] : Calendar File Add Property Error : GetLastError = %u", name.constData(),
                        file.GetLastError());
            setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
            return false;
        }
    }
    if (file.GetCount() == 0) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::makeCalendarFile : No calendar Error : Index = %d",
                    name.constData(), position);
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    if (!file.Save(m_playerFolder, m_registFileName, GetLocalTime())) {
        WriteSyslog(LOG_ERR_APP, "[%s] : Calendar File Save Error : GetLastError = %u : File Name = %s/%s",
                    name.constData(), file.GetLastError(), qUtf8Printable(m_playerFolder),
                    qUtf8Printable(m_registFileName));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    return true;
}

bool CDlkTransfer::makeRegistXml(const CPropertyBase &entry, QStringList &localFiles, QStringList &remoteFiles,
                                 bool updateOnly)
{
    const SystemTime now = GetLocalTime();
    const QString fileName = remoteFiles.isEmpty() ? QString() : QFileInfo(remoteFiles.first()).fileName();
    CGroupXml group;
    bool added = false;
    switch (entry.GetContentType()) {
    case CONTENT_CALENDAR:
        added = group.AddCalendarFile(m_registFileName, now);
        break;
    case CONTENT_SCHEDULE:
        added = group.AddScheduleFile(fileName, now);
        break;
    case CONTENT_PLAYLIST:
        added = group.AddPlaylistFile(fileName, now);
        break;
    case CONTENT_SEQUENCE:
        added = group.AddSequenceFile(fileName, now);
        break;
    default:
        if (!writePropertyFile(entry, remoteFiles.isEmpty() ? QString() : remoteFiles.first(), updateOnly, now))
            return false;
        added = group.AddPropertyList(registFileName("property"), now);
        localFiles.append(JoinPath(m_playerFolder, registFileName("property")));
        remoteFiles.append(MakeRemotePropertyPath(registFileName("property")));
        break;
    }
    if (!added) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CGroupXml::Add Error", qUtf8Printable(m_name));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    const QString groupPath = JoinPath(m_playerFolder, m_groupFileName);
    if (!group.Save(groupPath, now)) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CGroupXml::Save Error", qUtf8Printable(m_name));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    localFiles.append(groupPath);
    remoteFiles.append(MakeRemoteGroupPath(m_groupFileName));
    return true;
}

// The content's row with the player's path of its first file as its link.
bool CDlkTransfer::writePropertyFile(const CPropertyBase &entry, const QString &link, bool updateOnly,
                                     const SystemTime &now)
{
    CPropertyXml property;
    const char *step = nullptr;
    bool added = false;
    switch (entry.GetContentType()) {
    case CONTENT_MOVIE:
        step = "AddMovie";
        added = property.AddMovie(static_cast<const CMovieProperty *>(&entry), link, updateOnly);
        break;
    case CONTENT_IMAGE:
        step = "AddImage";
        added = property.AddImage(static_cast<const CImgProperty *>(&entry), link, updateOnly);
        break;
    case CONTENT_TELOP:
        step = "AddTelop";
        added = property.AddTelop(static_cast<const CTelopProperty *>(&entry), link, updateOnly);
        break;
    case CONTENT_WEB:
        step = "AddWeb";
        added = property.AddWeb(static_cast<const CWebProperty *>(&entry), link, updateOnly);
        break;
    case CONTENT_FLASH:
        step = "AddFlash";
        added = property.AddFlash(static_cast<const CFlashProperty *>(&entry), link, updateOnly);
        break;
    case CONTENT_AUDIO:
        step = "AddAudio";
        added = property.AddAudio(static_cast<const CAudioProperty *>(&entry), link, updateOnly);
        break;
    case CONTENT_CONTROL:
        step = "AddControl";
        added = property.AddControl(static_cast<const CControlProperty *>(&entry), updateOnly);
        break;
    case CONTENT_STREAMING:
        step = "AddStreaming";
        added = property.AddStreaming(static_cast<const CStreamingProperty *>(&entry), updateOnly);
        break;
    case CONTENT_PINP:
        step = "AddPinP";
        added = property.AddPinP(static_cast<const CPinPProperty *>(&entry), updateOnly);
        break;
    default:
        WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::makeRegistXml : Invalid Contents Type : Contents Index = %d : "
                    "Type = %d", qUtf8Printable(m_name), entry.GetIndex(), entry.GetContentType());
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    if (!added) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CPropertyXml::%s Error", qUtf8Printable(m_name), step);
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    if (!property.Save(JoinPath(m_playerFolder, registFileName("property")), now, kMovieSignal)) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CPropertyXml::Save Error", qUtf8Printable(m_name));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    return true;
}
