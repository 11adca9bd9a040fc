#include "ops/player_transfers.h"

#include "core/content_id.h"
#include "core/last_error.h"
#include "core/syslog.h"
#include "model/contents_list.h"
#include "model/calendar_property.h"
#include "model/control_property.h"
#include "model/playlist_file.h"
#include "model/property_base.h"
#include "model/schedule_file.h"
#include "model/schedule_property.h"
#include "ops/send_info.h"
#include "ops/player_protocol.h"
#include "player/calendar_table_command.h"
#include "player/content_play_command.h"
#include "player/delete_command.h"
#include "player/dlk_request_command.h"
#include "player/mode_command.h"
#include "player/plain_command.h"
#include "player/playlist_play_command.h"
#include "player/sequence_table_command.h"
#include "transfer/dlk_request_send.h"

namespace {

constexpr int kPinPMode = 1;
constexpr int kPlaylistTable = 1;
constexpr int kBackgroundLayer = 1;
// The user screen saver is schedule 0 and calendar row 0 on the players.
constexpr qint32 kScreenSaverIndex = 0;

int ControlKind(const CPropertyBase &record)
{
    const auto *control = dynamic_cast<const CControlProperty *>(&record);
    return control ? control->GetCtrlType() : 0;
}

// The id of the content play command of a record; 0 when it has none.
int RemotePlayId(const CPropertyBase &record, bool com2)
{
    switch (record.GetContentType()) {
    case 1: return 2;
    case 2: return 3;
    case 3: return 7;
    case 4: return 6;
    case 5: return 5;
    case 6: return 21;
    case 8: return 11;
    case 10: return 22;
    case 7:
        switch (ControlKind(record)) {
        case CControlProperty::CTRL_COM: return com2 ? 20 : 14;
        case CControlProperty::CTRL_VOLUME: return 12;
        case CControlProperty::CTRL_DISPLAY: return 22;
        default: return 0;
        }
    default: return 0;
    }
}

bool AddSequenceDeletes(CDlkRequestCommand &commands, qint32 number, qint32 index, int &count)
{
    CSequenceTableCommand playlistFile;
    if (!playlistFile.MakeRequest(SEQUENCE_TABLE_PLAYLIST, index) || !commands.Add(&playlistFile, index))
        return false;
    ++count;
    int first = 0;
    int kind = 0;
    int serial = 0;
    if (!SplitContentId(number, &first, &kind, &serial))
        return false;
    const bool playlist = kind == CONTENT_PLAYLIST;
    const int *layers = playlist ? kPlaylistSequenceKinds : kBgmSequenceKinds;
    const size_t layerCount = playlist ? std::size(kPlaylistSequenceKinds) : std::size(kBgmSequenceKinds);
    for (size_t i = 0; i < layerCount; ++i) {
        CSequenceTableCommand sequence;
        const int sequenceNumber = MakeContentId(first, layers[i], serial);
        if (sequenceNumber < 0 || !sequence.MakeRequest(SEQUENCE_TABLE_SEQUENCE, sequenceNumber)
            || !commands.Add(&sequence, index))
            return false;
        ++count;
    }
    return true;
}

} // namespace

int ContentPlayType(const CPropertyBase &record, bool com2)
{
    const int type = record.GetContentType();
    if (type == 7 && com2 && ControlKind(record) == CControlProperty::CTRL_COM)
        return 15;
    return GetContentCodes(record).play;
}

bool SetPlayParameters(CDlkRequestSend &request, int playType, qint32 index, int contentType,
                       const PlayChoice &choice)
{
    const qint32 mode = contentType == 10 ? kPinPMode : -1;
    return request.SetPlayParameter(playType, index, mode, -1, choice.telopPosition, choice.longPlay, -1, -1,
                                    choice.repeat, choice.playSeconds);
}

bool AddRemotePlayCommand(CDlkRequestCommand &commands, const CPropertyBase &record, bool com2,
                          const PlayChoice &choice)
{
    const int type = record.GetContentType();
    if (type == CONTENT_PLAYLIST || type == CONTENT_BGMLIST) {
        CPlaylistPlayCommand play;
        return play.MakeRequest(kPlaylistTable, record.GetIndex(), choice.repeat, choice.playSeconds)
            && commands.Add(&play, record.GetIndex());
    }
    const int id = RemotePlayId(record, com2);
    if (id == 0) {
        if (type == 7)
            WriteSyslog(LOG_ERR_APP, "R40PlayRemote : Control type invalid. : cont index = %d : type = %d",
                        record.GetIndex(), ControlKind(record));
        else
            WriteSyslog(LOG_ERR_APP, "R40PlayRemote : Content type invalid. : cont index = %d : type = %d",
                        record.GetIndex(), type);
        return false;
    }
    CContentPlayCommand play;
    const int mode = type == 10 ? kPinPMode : -1;
    return play.MakeRequest(id, record.GetIndex(), mode, -1, choice.telopPosition, choice.longPlay, -1, -1,
                            choice.repeat, choice.playSeconds)
        && commands.Add(&play, record.GetIndex());
}

bool AddStopCommand(CDlkRequestCommand &commands, int type)
{
    if (type == CONTENT_PLAYLIST || type == CONTENT_BGMLIST) {
        CPlainCommand stop;
        return stop.MakeRequest() && commands.Add(&stop, 0);
    }
    CModeCommand stop;
    return stop.MakeRequest(GetContentCodes(type, 0).stop, type == 10 ? kPinPMode : -1) && commands.Add(&stop, 0);
}

int AddRemoteDeleteCommands(CDlkRequestCommand &commands, CContentsList &remoteList, int type,
                            const QList<qint32> &indexes)
{
    int count = 0;
    for (qint32 index : indexes) {
        const int position = remoteList.FindCode(index);
        const CPropertyBase *record = position >= 0 ? remoteList.GetAt(position) : nullptr;
        if (!record)
            continue;
        if (type == CONTENT_PLAYLIST && !AddSequenceDeletes(commands, record->GetIndex(), index, count))
            return -1;
        if (type != CONTENT_SCHEDULE) {
            CDeleteCommand remove;
            if (!remove.MakeRequest(GetContentCodes(*record).remove, index) || !commands.Add(&remove, index))
                return -1;
            ++count;
        }
        // Only a schedule has a calendar row and schedule tables of its own
        // number; for another content the player would refuse the row's
        // deletion and a delete that worked would end as an error.
        if (type != CONTENT_SCHEDULE)
            continue;
        const int before = commands.GetCount();
        if (!AddContentSendItems(commands, index, index))
            return -1;
        count += commands.GetCount() - before;
    }
    return count;
}

quint16 RemoteListMask(int type)
{
    switch (type) {
    case 1: return 0x0001;
    case 2: return 0x0002;
    case 3: return 0x0004;
    case 4: return 0x0008;
    case 5: return 0x0010;
    case 6: return 0x0020;
    case 7: return 0x01C0;
    case 8: return 0x1000;
    case 10: return 0x2000;
    case 51: return 0x0C00;
    case 52: return 0x0200;
    default: return 0x0FFF;
    }
}

bool IsBackgroundOnly(const QString &playlistFolder, qint32 playlistIndex)
{
    CPlaylistFile playlist;
    if (!playlist.LoadFrom(playlistFolder, playlistIndex))
        return false;
    for (int i = 0; i < playlist.GetItemCount(); ++i) {
        CTimetableItem item;
        int layer = 0;
        if (!playlist.GetItem(i, item) || !SplitContentId(item.GetIndex(), nullptr, &layer, nullptr)
            || layer != kBackgroundLayer)
            return false;
    }
    return true;
}

bool AddScreenSaverSchedule(CSendInfoBuilder &builder, const QString &scheduleFolder, qint32 playlistIndex)
{
    const QString info = QString::fromUtf8("ユーザー変更 スクリーンセーバー");
    const QString title = QString::fromUtf8("スクリーンセーバー");
    CScheduleFile schedule;
    CTimetableItem item;
    const TimeValue start{0, 0, 0, 0};
    const TimeValue end{23, 59, 59, 29};
    if (!schedule.SetIndex(kScreenSaverIndex) || !schedule.SetTitle(title) || !schedule.SetInfo(info)
        || !item.Set(playlistIndex, start, end, CONTENT_PLAYLIST, SCHEDULE_KIND_PLAYLIST) || !schedule.AddItem(item)
        || !schedule.SaveTo(scheduleFolder)) {
        WriteSyslog(LOG_ERR_APP, "R40SendScreenSaver : schedule file error : error = %u", GetLastError());
        return false;
    }
    const SystemTime now = builder.GetSendTime();
    CScheduleProperty scheduleRecord;
    CCalendarProperty calendar;
    const bool made = scheduleRecord.SetIndex(kScreenSaverIndex) && scheduleRecord.SetTitle(title)
        && scheduleRecord.SetInfo(info) && scheduleRecord.SetStartTime(start) && scheduleRecord.SetEndTime(end)
        && scheduleRecord.SetStartDate(DateOf(now)) && scheduleRecord.SetEndDate(kNeverDeleteDate)
        && scheduleRecord.SetCreateDate(now) && scheduleRecord.SetDeleteDate(kNeverDeleteDate)
        && calendar.SetIndex(kScreenSaverIndex) && calendar.SetSchedule(kScreenSaverIndex)
        && calendar.SetFlag(CCalendarProperty::FLAG_PLAY) && calendar.SetStartDate(DateOf(now))
        && calendar.SetEndDate(kNeverDeleteDate) && calendar.SetCreateDate(now);
    return made && builder.AddRecord(scheduleRecord, "R40SendScreenSaver")
        && builder.AddRecord(calendar, "R40SendScreenSaver");
}

bool AddScreenSaverRemoval(CDlkRequestCommand &commands)
{
    CCalendarTableCommand calendarRow;
    CSequenceTableCommand scheduleFile;
    return calendarRow.MakeRequest(kScreenSaverIndex) && commands.Add(&calendarRow, kScreenSaverIndex)
        && scheduleFile.MakeRequest(SEQUENCE_TABLE_SCHEDULE, kScreenSaverIndex)
        && commands.Add(&scheduleFile, kScreenSaverIndex);
}
