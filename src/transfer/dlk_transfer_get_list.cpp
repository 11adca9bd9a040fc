// Request kind 3: the player's content tables fetched into the worker's lists
// and saved as list files in the player folder, one list after another in
// the order of the list table below. The playlist, schedule and calendar
// tables are fetched in dlk_transfer_get_tables.cpp.

#include "transfer/dlk_transfer.h"

#include "core/last_error.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "core/time_utils.h"
#include "player/clst_command.h"
#include "player/dlk_request_remote_list.h"

#include <limits>

namespace {

// One list the player can be asked for: its mask bit, file, content type,
// content table ("CLST", 0 for none) and the control type of its rows.
struct PlayerListInfo {
    quint16 bit;
    const char *fileName;
    int contentType;
    int table;
    qint32 ctrlType;
};

// In fetch order; the three control tables share one list and file.
constexpr PlayerListInfo kPlayerLists[] = {
    {0x0001, "VideoList.xml", CONTENT_MOVIE, CLST_MOVIE, 0},
    {0x0002, "StillList.xml", CONTENT_IMAGE, CLST_STILL, 0},
    {0x0004, "TextList.xml", CONTENT_TELOP, CLST_TELOP, 0},
    {0x0008, "UrlList.xml", CONTENT_WEB, CLST_WEB, 0},
    {0x0010, "FlashList.xml", CONTENT_FLASH, CLST_FLASH, 0},
    {0x0020, "AudioList.xml", CONTENT_AUDIO, CLST_AUDIO, 0},
    {0x0040, "ControlList.xml", CONTENT_CONTROL, CLST_VOLUME_CONTROL, CControlProperty::CTRL_VOLUME},
    {0x0080, "ControlList.xml", CONTENT_CONTROL, CLST_COM_CONTROL, CControlProperty::CTRL_COM},
    {0x0100, "ControlList.xml", CONTENT_CONTROL, CLST_GPIO_CONTROL, CControlProperty::CTRL_GPIO},
    {0x2000, "PinPList.xml", CONTENT_PINP, CLST_PINP, CControlProperty::CTRL_PINP},
    {0x0200, "PlaylistList.xml", CONTENT_PLAYLIST, 0, 0},
    {0x0400, "ScheduleList.xml", CONTENT_SCHEDULE, 0, 0},
    {0x0800, "CalendarList.xml", CONTENT_CALENDAR, 0, 0},
    {0x1000, "StreamingList.xml", CONTENT_STREAMING, CLST_STREAMING, 0},
};

constexpr quint16 kPlaylistBit = 0x0200;
constexpr quint16 kScheduleBit = 0x0400;
constexpr quint16 kCalendarBit = 0x0800;

const PlayerListInfo *listInfoOfBit(quint16 bit)
{
    for (const PlayerListInfo &info : kPlayerLists) {
        if (info.bit == bit)
            return &info;
    }
    return nullptr;
}

} // namespace

QString CDlkTransfer::playerListPath(int contentType) const
{
    for (const PlayerListInfo &info : kPlayerLists) {
        if (info.contentType == contentType)
            return JoinPath(m_playerFolder, QString::fromLatin1(info.fileName));
    }
    return QString();
}

quint16 CDlkTransfer::getListInfo(quint16 &mask, CContentsList *&list, QString &path)
{
    for (const PlayerListInfo &info : kPlayerLists) {
        if (!(mask & info.bit))
            continue;
        mask &= quint16(~info.bit);
        for (CContentsList *candidate : workingLists()) {
            if (candidate->GetContentType() == info.contentType)
                list = candidate;
        }
        path = JoinPath(m_playerFolder, QString::fromLatin1(info.fileName));
        return info.bit;
    }
    WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::getListInfo : Invalid List Request Type : Type = %x",
                qUtf8Printable(m_name), unsigned(mask));
    setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
    mask = 0;
    return 0;
}

bool CDlkTransfer::transferGetList(CDlkRequestRemoteList *request)
{
    const QByteArray name = m_name.toUtf8();
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Get List", name.constData());
    quint16 mask = request->GetMask();
    if (mask == 0) {
        WriteSyslog(LOG_ERR_APP, "CDlkTransfer::transferGetList : Invalid Parameter");
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    clearLists();
    while (mask != 0) {
        if (checkStopRequest())
            return false;
        CContentsList *list = nullptr;
        QString path;
        const quint16 bit = getListInfo(mask, list, path);
        if (bit == 0)
            return false;
        bool fetched = false;
        if (bit == kCalendarBit) {
            fetched = sendGetCalendarList(*list, true);
        } else if (bit == kPlaylistBit) {
            fetched = sendGetPlaylistList(*list, request->GetFlag());
        } else if (bit == kScheduleBit) {
            fetched = sendGetScheduleList(*list);
        } else {
            QList<qint32> indexes;
            fetched = sendGetContentsIndexList(bit, indexes)
                      && (indexes.isEmpty() || sendGetContentsList(bit, indexes, *list));
        }
        if (!fetched)
            return false;
        if (!list->Save(path, 0)) {
            WriteSyslog(LOG_ERR_APP, "[%s] : CContentsList::Save Error : File Name = %s", name.constData(),
                        qUtf8Printable(path));
            setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
            return false;
        }
    }
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Get List OK", name.constData());
    return true;
}

bool CDlkTransfer::sendGetContentsIndexList(quint16 bit, QList<qint32> &indexes)
{
    const QByteArray name = m_name.toUtf8();
    WriteSyslog(LOG_DEBUG, "[%s] : R40 Get Contents Index List", name.constData());
    indexes.clear();
    const PlayerListInfo *info = listInfoOfBit(bit);
    CClstCommand command;
    // A list without a content table (the calendar) cannot be asked for.
    if (!commandBuilt(command.MakeRequest(info ? info->table : 0), command))
        return false;
    bool empty = false;
    if (!sendTableQuery(command, empty))
        return false;
    if (!empty)
        indexes = command.GetIndexList();
    addSendFileTotal(qint32(indexes.size()));
    notifyOwner(DLK_NOTICE_UNITS_ADDED, quint32(indexes.size()), 0);
    WriteSyslog(LOG_DEBUG, "[%s] : R40 Get Contents Index List : OK", name.constData());
    return true;
}

bool CDlkTransfer::sendGetContentsList(quint16 bit, const QList<qint32> &indexes, CContentsList &list)
{
    const QByteArray name = m_name.toUtf8();
    WriteSyslog(LOG_DEBUG, "[%s] : R40 Get Contents List", name.constData());
    const PlayerListInfo *info = listInfoOfBit(bit);
    for (qint32 index : indexes) {
        if (checkStopRequest())
            return false;
        std::unique_ptr<CPropertyBase> record = CreateProperty(list.GetContentType());
        if (!record || !info || !prepareRowRecord(*record, info->ctrlType)) {
            WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::sendGetContentsList : Record Make Error : Type = %x",
                        name.constData(), unsigned(bit));
            setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
            return false;
        }
        CClstCommand command;
        if (!commandBuilt(command.MakeRequest(info->table, index), command))
        return false;
        if (!exchangeCommand(command))
            return false;
        // A row the record does not take is passed over; the others are kept.
        if (!command.GetRecord(*record)) {
            if (GetLastError() == ERROR_INVALID_DATA)
                continue;
            WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::sendGetContentsList : Row Read Error : Index = %d",
                        name.constData(), index);
            setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
            return false;
        }
        if (!setRowPlayTime(*record))
            return false;
        if (!list.Add(record.get())) {
            WriteSyslog(LOG_ERR_APP, "[%s] : CContentsList::Add Error", name.constData());
            setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
            return false;
        }
        countUnitDone();
    }
    WriteSyslog(LOG_DEBUG, "[%s] : R40 Get Contents List : OK", name.constData());
    return true;
}

bool CDlkTransfer::prepareRowRecord(CPropertyBase &record, qint32 ctrlType)
{
    if (auto *control = dynamic_cast<CControlProperty *>(&record); control && ctrlType != 0)
        return control->SetCtrlType(ctrlType);
    if (auto *telop = dynamic_cast<CTelopProperty *>(&record))
        return telop->SetFormat(1);
    return true;
}

bool CDlkTransfer::setRowPlayTime(CPropertyBase &record)
{
    const char *className = nullptr;
    bool clearFrames = false;
    switch (record.GetContentType()) {
    case CONTENT_MOVIE:
        className = "CMovieProperty";
        clearFrames = true;
        break;
    case CONTENT_FLASH:
        className = "CFlashProperty";
        break;
    case CONTENT_AUDIO:
        className = "CAudioProperty";
        break;
    default:
        return true;
    }
    // The player keeps the length as a frame count at 30 frames per second.
    auto &media = static_cast<CMediaProperty &>(record);
    TimeValue playTime;
    const quint64 frames = media.GetDuration();
    bool set = frames <= quint64(std::numeric_limits<qint64>::max()) && FramesToTimeCode(qint64(frames), playTime);
    if (set) {
        if (clearFrames)
            playTime.frame = 0;
        // Flash and audio rows keep the time code's frames in the length's
        // last field, as the stored lists of these rows always have.
        set = media.SetPlayTime(PlayLength::FromFields(playTime));
    }
    if (!set) {
        WriteSyslog(LOG_ERR_APP, "[%s] : %s::SetPlayTime Error", qUtf8Printable(m_name), className);
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
    }
    return set;
}

void CDlkTransfer::countUnitDone()
{
    addSendFileCount(1);
    notifyOwner(DLK_NOTICE_PLAYER, quint32(m_playerIndex), 0);
    notifyOwner(DLK_NOTICE_UNIT_DONE, 0, 0);
}
