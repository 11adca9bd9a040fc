// The player's playlist, schedule and calendar tables fetched into lists: the
// rows of a table in one query, and for every playlist and schedule its file,
// from which the row's play length or time span is taken.

#include "transfer/dlk_transfer.h"

#include "core/content_id.h"
#include "core/syslog.h"
#include "core/time_utils.h"
#include "model/playlist_file.h"
#include "model/schedule_file.h"
#include "player/stbl_command.h"

namespace {

// The latest end of a schedule starts from midnight, its earliest start from
// the last frame of the day.
constexpr TimeValue kDayStart{0, 0, 0, 0};
constexpr TimeValue kDayLastFrame{23, 59, 59, 29};

// A calendar row carries the fields of the calendar registration file: its
// number as plain decimal and its schedule by table ("SC510900001_TBL"); the
// list keeps both as nine-digit numbers.
void NormaliseCalendarField(R40Field &field)
{
    bool plainNumber = false;
    const int index = field.name == QLatin1String("index") ? field.text.toInt(&plainNumber) : -1;
    const int schedule = field.name == QLatin1String("schedule") ? ParseScheduleTableName(field.text) : -1;
    if (plainNumber && IsValidContentId(index))
        field.text = FormatContentId(index);
    else if (schedule >= 0)
        field.text = FormatContentId(schedule);
}

bool FillCalendarList(const CStblCommand &command, CContentsList &list)
{
    for (int i = 0; i < command.GetRowCount(); ++i) {
        R40Row row = command.GetRow(i);
        for (R40Field &field : row.fields)
            NormaliseCalendarField(field);
        CCalendarProperty record;
        if (!row.FillRecord(record) || !list.Add(&record))
            return false;
    }
    return true;
}

} // namespace

bool CDlkTransfer::sendTableQuery(CR40Request &command, bool &empty)
{
    empty = false;
    if (!m_http.SendCommand(&command)) {
        setCommandError();
        return false;
    }
    int code = 0;
    if (command.GetErrorCode(code) && code == kSerrNoRows) {
        empty = true;
        return true;
    }
    return checkReplyStatus(command);
}

bool CDlkTransfer::fetchTableRows(int table, int flag, CContentsList &list)
{
    CStblCommand command;
    if (!commandBuilt(command.MakeRequest(table, -1, flag), command))
        return false;
    bool empty = false;
    if (!sendTableQuery(command, empty))
        return false;
    if (!empty && !(table == STBL_CALENDAR ? FillCalendarList(command, list) : command.GetList(list))) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CContentsList::Add Error", qUtf8Printable(m_name));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    return true;
}

bool CDlkTransfer::fetchTableFile(int table, qint32 number, CTimetableFile &file)
{
    CStblCommand command;
    if (!commandBuilt(command.MakeFileRequest(table, number), command))
        return false;
    if (!exchangeCommand(command))
        return false;
    if (!file.Load(command.GetDownloadedFile()) || file.GetIndex() != number) {
        WriteSyslog(LOG_ERR_APP, "[%s] : Table File Load Error : File Name = %s", qUtf8Printable(m_name),
                    qUtf8Printable(command.GetDownloadedFile()));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    return true;
}

bool CDlkTransfer::failTableStep(const char *what, int index)
{
    if (index < 0)
        WriteSyslog(LOG_ERR_APP, "[%s] : %s", qUtf8Printable(m_name), what);
    else
        WriteSyslog(LOG_ERR_APP, "[%s] : %s : Index = %d", qUtf8Printable(m_name), what, index);
    setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
    return false;
}

bool CDlkTransfer::sendGetCalendarList(CContentsList &list, bool count)
{
    const QByteArray name = m_name.toUtf8();
    WriteSyslog(LOG_DEBUG, "[%s] : R40 Get Calendar List", name.constData());
    if (count) {
        addSendFileTotal(1);
        notifyOwner(DLK_NOTICE_UNITS_ADDED, 1, 0);
    }
    if (!fetchTableRows(STBL_CALENDAR, -1, list))
        return false;
    WriteSyslog(LOG_DEBUG, "[%s] : R40 Send Command : OK", name.constData());
    if (count)
        countUnitDone();
    WriteSyslog(LOG_DEBUG, "[%s] : R40 Get Calendar List : OK", name.constData());
    return true;
}

bool CDlkTransfer::sendGetPlaylistList(CContentsList &list, int flag)
{
    const QByteArray name = m_name.toUtf8();
    WriteSyslog(LOG_DEBUG, "[%s] : R40 Get Playlist List", name.constData());
    if (!fetchTableRows(STBL_PLAYLIST, flag, list))
        return false;
    const int count = list.GetCount();
    addSendFileTotal(count);
    notifyOwner(DLK_NOTICE_UNITS_ADDED, quint32(count), 0);

    for (int i = 0; i < count; ++i) {
        CPlaylistProperty record;
        if (!list.Get(i, &record))
            return failTableStep("CPlaylistList::Get Error");
        CPlaylistFile file;
        if (!fetchTableFile(STBL_PLAYLIST, record.GetIndex(), file))
            return false;
        // The list plays until its last sequence ends.
        TimeValue duration = kDayStart;
        for (int item = 0; item < file.GetItemCount(); ++item) {
            CPlaylistFileItem entry;
            if (!file.GetItem(item, entry))
                return failTableStep("CPlaylistFile::Get Error", item);
            if (CompareTimeCode(entry.GetEndTime(), duration) > 0)
                duration = entry.GetEndTime();
        }
        if (!record.SetDuration(duration))
            return failTableStep("CPlaylistProperty::SetDuration Error");
        if (!list.Update(i, &record))
            return failTableStep("CPlaylistList::Update Error");
        countUnitDone();
    }
    WriteSyslog(LOG_DEBUG, "[%s] : R40 Get Playlist List : OK", name.constData());
    return true;
}

bool CDlkTransfer::sendGetScheduleList(CContentsList &list)
{
    const QByteArray name = m_name.toUtf8();
    WriteSyslog(LOG_DEBUG, "[%s] : R40 Get Schedule List", name.constData());
    if (!fetchTableRows(STBL_SCHEDULE, -1, list))
        return false;
    const int count = list.GetCount();
    addSendFileTotal(count);
    notifyOwner(DLK_NOTICE_UNITS_ADDED, quint32(count), 0);

    for (int i = 0; i < count; ++i) {
        CScheduleProperty record;
        if (!list.Get(i, &record))
            return failTableStep("CScheduleList::Get Error");
        CScheduleFile file;
        if (!fetchTableFile(STBL_SCHEDULE, record.GetIndex(), file))
            return false;
        // The schedule spans from its earliest start to its latest end.
        TimeValue start = kDayLastFrame;
        TimeValue end = kDayStart;
        for (int item = 0; item < file.GetItemCount(); ++item) {
            CScheduleFileItem entry;
            if (!file.GetItem(item, entry))
                return failTableStep("CScheduleFile::Get Error", item);
            if (CompareTimeCode(entry.GetStartTime(), start) < 0)
                start = entry.GetStartTime();
            if (CompareTimeCode(entry.GetEndTime(), end) > 0)
                end = entry.GetEndTime();
        }
        if (!record.SetStartTime(start))
            return failTableStep("CScheduleProperty::SetStartTime Error");
        if (!record.SetEndTime(end))
            return failTableStep("CScheduleProperty::SetEndTime Error");
        if (!list.Update(i, &record))
            return failTableStep("CScheduleList::Update Error");
        countUnitDone();
    }
    WriteSyslog(LOG_DEBUG, "[%s] : R40 Get Schedule List : OK", name.constData());
    return true;
}
