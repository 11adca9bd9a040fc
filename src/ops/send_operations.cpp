#include "ops/send_operations.h"

#include "core/message_box.h"
#include "core/syslog.h"
#include "core/time_utils.h"
#include "model/app_data.h"
#include "model/calendar_list.h"
#include "model/calendar_property.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/schedule_property.h"
#include "ops/operation_texts.h"
#include "ops/send_info.h"
#include "player/dlk_request.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_request_send.h"
#include "transfer/transfer_status_xml.h"

namespace {

constexpr int kCalendarDone = 3;
constexpr int kCalendarFailed = 4;

const char *const kModeTexts[] = {
    "R40 preview.",          "R40 preview stop.",  "R40 play.",          "R40 play stop.",
    "R40 contents send.",    "R40 schedule send.", "R40 contents delete.", "R40 remote list get.",
    nullptr,                 nullptr,              nullptr,              nullptr,
    "R40 schedule stop.",    "R40 log get.",       "R40 update.",        "R40 status get.",
    "R40 remote play.",      "R40 remote play stop.",
};

} // namespace

std::unique_ptr<CPropertyBase> CopyOut(const char *operation, CContentsList &list, int type, qint32 index,
                                       int &position)
{
    position = list.FindCode(index);
    if (position < 0) {
        WriteSyslog(LOG_ERR_APP, "%s : CContentsList::FindCode error : cont type = %d : cont index = %d : error code = %d",
                    operation, type, index, int(list.GetLastError()));
        return nullptr;
    }
    std::unique_ptr<CPropertyBase> record = CreateProperty(type);
    if (!record || !list.Get(position, record.get())) {
        WriteSyslog(LOG_ERR_APP, "%s : CContentsList::Get error : cont type = %d : cont index = %d : error code = %d",
                    operation, type, index, int(list.GetLastError()));
        return nullptr;
    }
    return record;
}

namespace {

bool QueueSchedule(CSendInfoBuilder &builder, CContentsStore &store, qint32 index, const QList<qint32> &indexes,
                   int keepDays)
{
    CContentsList *schedules = store.GetList(CONTENT_SCHEDULE);
    auto *calendars = dynamic_cast<CCalendarList *>(store.GetList(CONTENT_CALENDAR));
    if (!schedules || !calendars)
        return false;
    int position = -1;
    std::unique_ptr<CPropertyBase> record = CopyOut("R40SendSchedule", *schedules, CONTENT_SCHEDULE, index, position);
    auto *schedule = dynamic_cast<CScheduleProperty *>(record.get());
    if (!schedule)
        return false;
    const DateValue deleteDate = AddDays(schedule->GetEndDate(), keepDays);
    if (calendars->FindOverlap(schedule->GetStartDate(), schedule->GetEndDate(), index, indexes) >= 0) {
        builder.ShowRefusal(QString::fromUtf8(OpText::kScheduleOverlap));
        return false;
    }
    // A no-play period has no schedule file: it reaches the players as its
    // calendar row alone, which plays nothing in its days.
    if (!schedule->IsNoPlayPeriod() && !builder.AddR40SendInfo(schedules, position, *schedule, &deleteDate, false))
        return false;
    int row = calendars->FindCode(index);
    if (row < 0) {
        WriteSyslog(LOG_ERR_APP, "R40SendSchedule : Schedule data break. : cont index = %d", index);
        return false;
    }
    std::unique_ptr<CPropertyBase> calendar = CopyOut("R40SendSchedule", *calendars, CONTENT_CALENDAR, index, row);
    if (!calendar)
        return false;
    if (CompareDate(deleteDate, calendar->GetDeleteDate()) > 0)
        calendar->SetDeleteDate(deleteDate);
    return builder.DeferUpdate(calendars, row, *calendar) && builder.AddRecord(*calendar, "R40SendSchedule");
}

} // namespace

const char *TransferModeLogText(int mode)
{
    if (mode < 0 || mode >= int(std::size(kModeTexts)) || !kModeTexts[mode])
        return "R40 send.";
    return kModeTexts[mode];
}

bool ReloadsRemoteLists(int mode)
{
    return mode == TRANSFER_MODE_PREVIEW || mode == TRANSFER_MODE_PLAY
        || (mode >= TRANSFER_MODE_CONTENTS_SEND && mode <= TRANSFER_MODE_SCHEDULE_STOP);
}

void ResetTransferStatus(CTransferStatusXml &status, const QList<qint32> &players, qint32 count)
{
    TransferStatusRecord record;
    for (qint32 number : players) {
        if (!status.GetPlayerStatus(number, record)) {
            // A player added since the document was filled: the document
            // takes the whole player list again.
            status.SetPlayers(GetAppData().GetPlayerNumbers(false));
            break;
        }
    }
    for (qint32 number : players) {
        status.SetSendStatus(number, 0);
        status.SetErrorCode(number, 0);
        status.SetErrorIndex(number, -1);
        status.SetSendRetryCount(number, 0);
        status.SetCheckFileCount(number, 0);
        status.SetSendFileCount(number, 0);
        status.SetSendContFileSize(number, 0);
        status.SetContFileSize(number, 0);
        status.SetCheckFileTotal(number, count);
        status.SetSendFileTotal(number, 0);
        // What an earlier status query learnt is not this operation's.
        status.SetVersion(number, QString());
        status.SetDiskSpace(number, 0, 0, 0, 0);
        status.SetPlayerDateTime(number, SystemTime{});
    }
}

bool StartModeTransfer(CDlkTransferManager &manager, CTransferStatusXml *status, int mode,
                       const QList<qint32> &targets, CDlkRequestList &requests, const SystemSettings &settings,
                       DlkTransferCallback callback, void *context)
{
    manager.EnableCallback(true, callback, context);
    manager.SetStatusDocument(status);
    manager.SetAppendSend(false);
    manager.SetPowerOn(false, 0);
    manager.SetDelayedStart(false);
    manager.SetMultiSend(true, quint32(settings.User));
    manager.SetTimeWindow(SystemTime{0, 0, 0, 0, settings.NotSendStartTime.hour, settings.NotSendStartTime.minute,
                                     settings.NotSendStartTime.second, 0},
                          SystemTime{0, 0, 0, 0, settings.NotSendEndTime.hour, settings.NotSendEndTime.minute,
                                     settings.NotSendEndTime.second, 0});
    if (mode == TRANSFER_MODE_PREVIEW || mode == TRANSFER_MODE_PLAY)
        manager.SetAppendSend(settings.R40AppendEnable);
    if (mode == TRANSFER_MODE_CONTENTS_SEND || mode == TRANSFER_MODE_SCHEDULE_SEND) {
        manager.SetAppendSend(settings.R40AppendEnable);
        manager.SetPowerOn(settings.R40RetryEnable, quint32(settings.R40RetryInterval));
        manager.SetDelayedStart(settings.AutoSend);
    }
    if (!manager.StartTransfer(targets, &requests))
        return false;
    WriteSyslog(LOG_NOTICE, "%s", TransferModeLogText(mode));
    return true;
}

bool QueueContents(CSendInfoBuilder &builder, CContentsStore &store, int type, const QList<qint32> &indexes,
                   const DateValue &deleteDate)
{
    CContentsList *list = store.GetList(type);
    if (!list)
        return false;
    for (qint32 index : indexes) {
        int position = -1;
        std::unique_ptr<CPropertyBase> record = CopyOut("R40SendContents", *list, type, index, position);
        if (!record || !builder.AddR40SendInfo(list, position, *record, &deleteDate, false))
            return false;
    }
    return true;
}

bool QueueSchedules(CSendInfoBuilder &builder, CContentsStore &store, const QList<qint32> &indexes, int keepDays)
{
    for (qint32 index : indexes) {
        if (!QueueSchedule(builder, store, index, indexes, keepDays))
            return false;
    }
    return true;
}

int ApplyCalendarStatus(CContentsList &calendars, const CDlkRequestList &requests, int status)
{
    auto *list = dynamic_cast<CCalendarList *>(&calendars);
    if (!list)
        return 0;
    int count = 0;
    for (int i = 0; i < requests.GetCount(); ++i) {
        const auto *send = dynamic_cast<const CDlkRequestSend *>(requests.GetAt(i));
        if (!send)
            continue;
        for (int position = 0; position < send->GetCount(); ++position) {
            std::unique_ptr<CPropertyBase> entry = send->CopyAt(position);
            const auto *row = dynamic_cast<const CCalendarProperty *>(entry.get());
            const int found = row ? list->FindCode(row->GetIndex()) : -1;
            if (found < 0)
                continue;
            const int value = status >= 0 ? status : row->GetStatus() == kCalendarDone ? kCalendarDone : kCalendarFailed;
            if (list->SetStatus(found, value))
                ++count;
        }
    }
    return count;
}

bool SaveListsForSend(CContentsStore &store, const char *operation, const QString &group)
{
    if (store.SaveLists(0, 1) && (group.isEmpty() || store.SaveGroupLists(group, 0, 1)))
        return true;
    WriteSyslog(LOG_ERR_APP, "%s : content list save error", operation);
    ShowText(nullptr, OpText::kListSaveFailed, MB_OK | MB_ICONWARNING);
    return false;
}
