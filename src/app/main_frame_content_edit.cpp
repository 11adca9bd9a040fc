// Editing contents after registration: control events and IP cameras in
// their dialogs, and the descriptive data of every content (category, title,
// play time), no-play periods, schedules' own data and touch-panel
// playlists. Each edit works on copies; the lists in memory change only
// together with their files, so a list file that cannot be written leaves
// the list as the file still has it.

#include "widgets/content_edit_dialogs.h"
#include "widgets/del_date_chg_dlg.h"
#include "app/frame_message_ids.h"
#include "app/main_frame.h"
#include "widgets/save_dialog_prompter.h"
#include "widgets/vod_set_dlg.h"
#include "core/atomic_file.h"
#include "core/clock.h"
#include "core/content_id.h"
#include "core/message_box.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "model/calendar_property.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/control_property.h"
#include "model/media_property.h"
#include "model/playlist_file.h"
#include "model/playlist_property.h"
#include "model/property_checks.h"
#include "model/schedule_file.h"
#include "model/schedule_property.h"
#include "model/streaming_property.h"
#include "ops/frame_checks.h"
#include "ops/list_undo.h"
#include "ops/playlist_storage.h"
#include "ops/save_number.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr quint32 kTextCalendar = 6005;
constexpr quint32 kTextNoPlayPeriod = 6006;
// A touch-panel playlist plays all day up to the daily end of playlists.
constexpr TimeValue kVodPlaylistEnd{23, 50, 0, 0};
constexpr DateValue kNeverDelete{9999, 12, 31};

using Records = std::vector<std::unique_ptr<CPropertyBase>>;

void logInvalidType(const char *operation, int type)
{
    WriteSyslog(LOG_ERR_APP, "%s : Invalid content type : type = %d", operation, type);
}

void logInvalidIndex(const char *operation, qint32 index)
{
    WriteSyslog(LOG_ERR_APP, "%s : Invalid content index : index = %d", operation, index);
}

bool hasPlayTime(int type)
{
    return type == CONTENT_MOVIE || type == CONTENT_FLASH || type == CONTENT_AUDIO;
}

// Copies of the records of the numbers found in the list (others logged).
Records copiesOf(CContentsList &list, const QList<qint32> &indexes, const char *operation)
{
    Records copies;
    for (qint32 index : indexes) {
        std::unique_ptr<CPropertyBase> copy = CreateProperty(list.GetContentType());
        const int position = list.FindCode(index);
        if (!copy || position < 0 || !list.Get(position, copy.get())) {
            logInvalidIndex(operation, index);
            continue;
        }
        copies.push_back(std::move(copy));
    }
    return copies;
}

// Writes the header texts and the deletion date of a record into its
// playlist or schedule file; false (logged) when it cannot be read or written.
bool rewriteTimetableFile(CTimetableFile &file, const QString &folder, const CPropertyBase &record,
                          const char *operation)
{
    if (file.LoadFrom(folder, record.GetIndex()) && file.SetTitle(record.GetTitle())
        && file.SetInfo(record.GetInfo()) && file.SetDeleteDate(record.GetDeleteDate()) && file.SaveTo(folder))
        return true;
    WriteSyslog(LOG_ERR_APP, "%s : Timetable file not written : index = %d : Error = %u", operation,
                record.GetIndex(), GetLastError());
    return false;
}

void takeHeader(CTimetableHeader &model, const CPropertyBase &record)
{
    model.SetTitle(record.GetTitle());
    model.SetInfo(record.GetInfo());
    model.SetDeleteDate(record.GetDeleteDate());
}

SimpleScheduleRecord simpleScheduleOf(const CScheduleProperty &schedule)
{
    return SimpleScheduleRecord{schedule.GetIndex(), -1, schedule.GetInfo(), schedule.GetTitle()};
}

// Puts the edited records into their list and writes, together, the list
// (saveList), each record's own files (writeFiles) and what goes alongside.
// When a step fails every file and the list in memory are as they were, and
// the operator is told once the change is closed: the list's file error
// (5114), else the type's save failure.
bool storeTogether(QObject *owner, int type, CContentsList &list, const Records &records,
                   const std::function<bool()> &saveList,
                   const std::function<bool(const CPropertyBase &)> &writeFiles,
                   const std::function<bool()> &alongside = {})
{
    CListUndo undo(list);
    bool refused = false;
    bool listSaved = false;
    quint32 listError = 0;
    const bool written = WriteTogether([&] {
        refused = !std::all_of(records.begin(), records.end(), [&undo](const auto &record) { return undo.Put(*record); });
        if (refused)
            return false;
        listSaved = saveList();
        listError = GetLastError();
        return listSaved
            && std::all_of(records.begin(), records.end(),
                           [&writeFiles](const auto &record) { return writeFiles(*record); })
            && (!alongside || alongside());
    });
    if (written)
        return true;
    undo.Undo();
    if (!refused && !listSaved)
        ShowMessageFormat(owner, kTitleCaption, kExclamationStyle, kMsgFileError, listError);
    else if (!refused)
        ShowSaveFailed(type);
    return false;
}

} // namespace

// ---- Record editors ----------------------------------------------------------

void CMainFrame::EditControl(CControlProperty *record)
{
    IContentEditDialogs *dialogs = GetContentEditDialogs();
    CControlProperty edited;
    editRecord(CONTENT_CONTROL, "EditControl", record, edited, dialogs != nullptr, [&](qint32 newNumber) {
        return dialogs->RunControlEditDlg(this, edited, newNumber);
    });
}

void CMainFrame::EditStreaming(CStreamingProperty *record)
{
    IContentEditDialogs *dialogs = GetContentEditDialogs();
    CStreamingProperty edited;
    editRecord(CONTENT_STREAMING, "EditStreaming", record, edited, dialogs != nullptr, [&](qint32 newNumber) {
        return dialogs->RunIpCameraSetDlg(this, edited, newNumber);
    });
}

bool CMainFrame::editRecord(int type, const char *operation, const CPropertyBase *record, CPropertyBase &edited,
                            bool hasDialog, const std::function<bool(qint32)> &runDialog)
{
    CContentsStore &store = GetContentFolders();
    CContentsList *list = store.GetList(type);
    if (!list || !hasDialog) {
        logInvalidType(operation, type);
        return false;
    }
    if (record)
        edited.Copy(record);
    else if (IsListFull(*list, type)) {
        ShowListFull(this, type);
        return false;
    }
    int counter = 0;
    const qint32 newNumber = store.GetNewCode(type, counter);
    if (newNumber < 0 || !runDialog(newNumber))
        return false;
    edited.SetCreateDate(GetLocalTime());
    if (!storeEditedRecord(*list, edited))
        return false;
    if (edited.GetIndex() == newNumber)
        AdvanceContentCounter(type, counter);
    NotifyContentsListChanged(type, 0, 0);
    return true;
}

// ---- Category, title and play time ------------------------------------------

void CMainFrame::EditProperty(int type, qint32 index)
{
    editProperties(type, {index}, false);
}

void CMainFrame::EditPropertyMulti(int type, const QList<qint32> &indexes)
{
    editProperties(type, indexes, true);
}

void CMainFrame::editProperties(int type, const QList<qint32> &indexes, bool categoryOnly)
{
    const char *operation = categoryOnly ? "EditPropertyMulti" : "EditProperty";
    CContentsList *list = GetContentFolders().GetList(type);
    IContentEditDialogs *dialogs = GetContentEditDialogs();
    if (!list || !dialogs || type == CONTENT_CALENDAR) {
        logInvalidType(operation, type);
        return;
    }
    if (indexes.isEmpty() || IsContentInTransfer(indexes, type, false))
        return;
    Records records = copiesOf(*list, indexes, operation);
    if (records.empty())
        return;
    PropertyValues values;
    values.info = records.front()->GetInfo();
    values.title = records.front()->GetTitle();
    values.titleLocked = categoryOnly;
    auto *media = dynamic_cast<CMediaProperty *>(records.front().get());
    if (!categoryOnly && media && hasPlayTime(type)) {
        values.hasPlayTime = true;
        values.playTime = media->GetPlayTime();
    }
    if (!dialogs->RunPropertySetDlg(this, values))
        return;
    for (auto &record : records) {
        bool accepted = record->SetInfo(values.info);
        if (!categoryOnly)
            accepted = accepted && record->SetTitle(values.title);
        if (values.hasPlayTime)
            accepted = accepted && static_cast<CMediaProperty *>(record.get())->SetPlayTime(values.playTime);
        if (!accepted) {
            logInvalidIndex(operation, record->GetIndex());
            return;
        }
    }
    if (type == CONTENT_SCHEDULE)
        storeScheduleRecords(records, operation);
    else if (type == CONTENT_PLAYLIST || type == CONTENT_BGMLIST)
        storePlaylistRecords(type, records, 1, operation);
    else if (storeRecords(*list, records, [type] { return GetContentFolders().SaveLists(type, 1); }))
        NotifyContentsListChanged(type, 0, 0);
}

bool CMainFrame::storeRecords(CContentsList &list, const std::vector<std::unique_ptr<CPropertyBase>> &records,
                              const std::function<bool()> &save)
{
    CListUndo undo(list);
    for (const auto &record : records) {
        if (!undo.Put(*record)) {
            undo.Undo();
            return false;
        }
    }
    return saveOrUndo({&undo}, save);
}

void CMainFrame::storePlaylistRecords(int type, const std::vector<std::unique_ptr<CPropertyBase>> &records,
                                      int saveFlag, const char *operation)
{
    CContentsStore &store = GetContentFolders();
    const auto writeFile = [&store, operation](const CPropertyBase &record) {
        CPlaylistFile file;
        return IsSampleIndex(record.GetIndex())
            || rewriteTimetableFile(file, store.m_playlistFolder, record, operation);
    };
    if (!storeTogether(this, type, *store.GetList(type), records,
                       [&store, type, saveFlag] { return store.SaveLists(type, saveFlag); }, writeFile))
        return;
    CPlaylistEditModel *edited = store.GetPlaylistModel(type);
    CPlaylistEditModel *checked = store.GetSecondPlaylistModel(type);
    for (const auto &record : records) {
        if (edited->GetIndex() == record->GetIndex()) {
            takeHeader(*edited, *record);
            NotifyEditListChanged(type, 0);
        }
        if (checked->GetIndex() == record->GetIndex()) {
            takeHeader(*checked, *record);
            NotifyCheckListChanged(type, 0);
        }
    }
    NotifyContentsListChanged(type, 0, 0);
}

bool CMainFrame::storeScheduleRecords(const std::vector<std::unique_ptr<CPropertyBase>> &records,
                                      const char *operation, const std::function<bool()> &alongside)
{
    CContentsStore &store = GetContentFolders();
    const QString group = m_currentGroup;
    QString scheduleFolder;
    QString sequenceFolder;
    const bool hasFolder = store.GetGroupScheduleFolders(group, scheduleFolder, sequenceFolder);
    // The calendar rows the schedules' files are written with, to take back
    // when the change fails.
    std::vector<std::unique_ptr<CRecordSnapshot>> rows;
    for (const auto &record : records)
        rows.push_back(std::make_unique<CRecordSnapshot>(*store.GetList(CONTENT_CALENDAR), record->GetIndex()));
    const auto writeFiles = [&](const CPropertyBase &record) {
        const auto &schedule = static_cast<const CScheduleProperty &>(record);
        // A no-play period has neither a schedule file nor a calendar row of its own making.
        if (schedule.IsNoPlayPeriod())
            return true;
        CScheduleFile file;
        bool calendarChanged = false;
        return hasFolder
            && (IsSampleIndex(schedule.GetIndex()) || rewriteTimetableFile(file, scheduleFolder, schedule, operation))
            && SaveSimpleCalendar(store, simpleScheduleOf(schedule), ScheduleBlockOf(schedule, group),
                                  calendarChanged);
    };
    if (!storeTogether(this, CONTENT_SCHEDULE, *store.GetList(CONTENT_SCHEDULE), records,
                       [&store, group] { return store.SaveGroupLists(group, CONTENT_SCHEDULE, 0); }, writeFiles,
                       alongside)) {
        for (const auto &row : rows)
            row->Restore();
        return false;
    }
    for (const auto &record : records) {
        if (store.GetScheduleModel()->GetIndex() == record->GetIndex()) {
            takeHeader(*store.GetScheduleModel(), *record);
            NotifyEditScheduleChanged(0);
        }
        if (store.GetSecondScheduleModel()->GetIndex() == record->GetIndex()) {
            takeHeader(*store.GetSecondScheduleModel(), *record);
            NotifyCheckScheduleChanged();
        }
    }
    NotifyContentsListChanged(0, 0, 0);
    NotifyContentsChanged(nullptr);
    return true;
}

// ---- Deletion dates ---------------------------------------------------------------

void CMainFrame::EditDelDate(const QList<qint32> &indexes, int type)
{
    CContentsList *list = GetContentFolders().GetList(type);
    if (!list || type == CONTENT_CALENDAR) {
        logInvalidType("EditDelDate", type);
        return;
    }
    Records records = copiesOf(*list, indexes, "EditDelDate");
    if (records.empty())
        return;
    CDelDateChgDlg dialog(this);
    dialog.SetDate(records.front()->GetDeleteDate());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const SystemTime now = GetLocalTime();
    for (auto &record : records) {
        record->SetDeleteDate(dialog.GetDate());
        record->SetCreateDate(now);
    }
    if (type == CONTENT_SCHEDULE)
        storeScheduleDeleteDates(records);
    else if (type == CONTENT_PLAYLIST || type == CONTENT_BGMLIST)
        storePlaylistRecords(type, records, 0, "EditDelDate");
    else if (storeRecords(*list, records, [type] { return GetContentFolders().SaveLists(type, 0); }))
        NotifyContentsListChanged(type, 0, 0);
}

void CMainFrame::storeScheduleDeleteDates(const std::vector<std::unique_ptr<CPropertyBase>> &records)
{
    // The calendar rows of the schedules take the date with them, in the
    // same change. Each row is changed where it stands: a left-over second
    // row of a number is a record of its own, which a change by number would
    // never reach (it would overwrite the first row instead).
    CContentsStore &store = GetContentFolders();
    CContentsList &calendars = *store.GetList(CONTENT_CALENDAR);
    std::vector<std::pair<int, CCalendarProperty>> before;
    for (const auto &record : records) {
        for (int position = 0; position < calendars.GetCount(); ++position) {
            CCalendarProperty row;
            if (!calendars.Get(position, &row) || row.GetIndex() != record->GetIndex())
                continue;
            before.emplace_back(position, row);
            row.SetDeleteDate(record->GetDeleteDate());
            row.SetCreateDate(record->GetCreateDate());
            calendars.Update(position, &row);
        }
    }
    const QString group = m_currentGroup;
    if (storeScheduleRecords(records, "EditDelDate",
                             [&store, group] { return store.SaveGroupLists(group, CONTENT_CALENDAR, 0); }))
        return;
    for (const auto &[position, row] : before)
        calendars.Update(position, &row);
}

// ---- No-play periods -----------------------------------------------------------

void CMainFrame::EditNoPlayDate(qint32 index)
{
    CContentsStore &store = GetContentFolders();
    CContentsList *schedules = store.GetList(CONTENT_SCHEDULE);
    CContentsList *calendars = store.GetList(CONTENT_CALENDAR);
    IContentEditDialogs *dialogs = GetContentEditDialogs();
    if (!schedules || !calendars || !dialogs) {
        logInvalidType("EditNoPlayDate", schedules ? CONTENT_CALENDAR : CONTENT_SCHEDULE);
        return;
    }
    CScheduleProperty schedule;
    CCalendarProperty calendar;
    PeriodValues values;
    int counter = -1;
    qint32 number = index;
    if (index < 1) {
        if (IsListFull(*schedules, CONTENT_SCHEDULE)) {
            ShowListFull(this, CONTENT_SCHEDULE);
            return;
        }
        if ((number = store.GetNewCode(CONTENT_SEQUENCE, counter)) < 0)
            return;
    } else {
        if (IsContentInTransfer({index}, CONTENT_CALENDAR, false))
            return;
        const int schedulePosition = schedules->FindCode(index);
        const int calendarPosition = calendars->FindCode(index);
        if (schedulePosition < 0 || calendarPosition < 0 || !schedules->Get(schedulePosition, &schedule)
            || !calendars->Get(calendarPosition, &calendar)) {
            logInvalidIndex("EditNoPlayDate", index);
            return;
        }
        values = PeriodValues{calendar.GetStartDate(), calendar.GetEndDate(), calendar.GetWeek()};
    }
    if (!dialogs->RunNoPlayDateSetDlg(this, values))
        return;
    if (!storeNoPlayPeriod(number, values, schedule, calendar))
        return;
    if (counter >= 0)
        AdvanceContentCounter(CONTENT_SCHEDULE, counter);
    NotifyContentsListChanged(0, 0, 0);
    NotifyContentsChanged(nullptr);
}

bool CMainFrame::storeNoPlayPeriod(qint32 number, const PeriodValues &values, CScheduleProperty &schedule,
                                   CCalendarProperty &calendar)
{
    const QString info = LoadString(kTextCalendar);
    const QString title = LoadString(kTextNoPlayPeriod);
    const SystemTime now = GetLocalTime();
    for (CPeriodProperty *period : {static_cast<CPeriodProperty *>(&schedule), static_cast<CPeriodProperty *>(&calendar)}) {
        period->SetIndex(number);
        period->SetStartDate(values.start);
        period->SetEndDate(values.end);
        period->SetWeek(values.week);
        period->SetInfo(info);
        period->SetTitle(title);
        period->SetCreateDate(now);
    }
    calendar.SetSchedule(number);
    calendar.SetFlag(CCalendarProperty::FLAG_NOTPLAY);
    calendar.SetStatus(1);

    CContentsStore &store = GetContentFolders();
    CListUndo scheduleUndo(*store.GetList(CONTENT_SCHEDULE));
    CListUndo calendarUndo(*store.GetList(CONTENT_CALENDAR));
    // Both records or neither: a period half stored would play on one side only.
    if (!scheduleUndo.Put(schedule) || !calendarUndo.Put(calendar)) {
        WriteSyslog(LOG_ERR_APP, "EditNoPlayDate : Period not stored : index = %d", number);
        scheduleUndo.Undo();
        calendarUndo.Undo();
        return false;
    }
    const QString group = m_currentGroup;
    return saveOrUndo({&scheduleUndo, &calendarUndo}, [&store, group] { return store.SaveGroupLists(group, 0, 0); });
}

// ---- A schedule's own data -------------------------------------------------------

void CMainFrame::EditSchedule(qint32 index)
{
    CContentsStore &store = GetContentFolders();
    CContentsList *list = store.GetList(CONTENT_SCHEDULE);
    if (!list) {
        logInvalidType("EditSchedule", CONTENT_SCHEDULE);
        return;
    }
    if (IsContentInTransfer({index}, CONTENT_SCHEDULE, false))
        return;
    CScheduleProperty schedule;
    const int position = list->FindCode(index);
    if (position < 0 || !list->Get(position, &schedule)) {
        logInvalidIndex("EditSchedule", index);
        return;
    }
    ScheduleSetBlock block = ScheduleBlockOf(schedule, m_currentGroup);
    if (!PromptScheduleSet(this, block))
        return;
    ApplyScheduleBlock(schedule, block);
    schedule.SetCreateDate(GetLocalTime());
    Records records;
    records.push_back(std::make_unique<CScheduleProperty>(schedule));
    storeScheduleRecords(records, "EditSchedule");
    if (store.GetSecondScheduleModel()->GetIndex() == index)
        ScheduleCheckLoad(index, CalendarDay::SelectSchedule);
}

// ---- Touch-panel playlists -------------------------------------------------------

void CMainFrame::EditVODPlaylist(qint32 index)
{
    CContentsStore &store = GetContentFolders();
    CContentsList *list = store.GetList(CONTENT_PLAYLIST);
    if (!list) {
        logInvalidType("EditVODPlaylist", CONTENT_PLAYLIST);
        return;
    }
    CPlaylistProperty record;
    const int position = index >= 1 ? list->FindCode(index) : -1;
    if (position >= 0 && (IsContentInTransfer({index}, CONTENT_PLAYLIST, false) || !list->Get(position, &record)))
        return;
    CVodSetDlg dialog(position >= 0 ? index : -1, this);
    if (position >= 0) {
        dialog.SetCategory(record.GetInfo());
        dialog.SetTitle(record.GetTitle());
    }
    if (dialog.exec() != QDialog::Accepted)
        return;
    const qint32 number = dialog.GetContentNumber();
    if (IsContentInTransfer({number}, CONTENT_PLAYLIST, false))
        return;
    // A number the operator chose to overwrite keeps its other fields.
    if (position < 0 && list->FindCode(number) >= 0)
        list->Get(list->FindCode(number), &record);
    record.SetIndex(number);
    record.SetInfo(dialog.GetCategory());
    record.SetTitle(dialog.GetTitle());
    record.SetDuration(kVodPlaylistEnd);
    record.SetDeleteDate(kNeverDelete);
    record.SetCreateDate(GetLocalTime());
    if (storeVodPlaylist(record))
        NotifyContentsListChanged(CONTENT_PLAYLIST, 0, 0);
}

bool CMainFrame::storeVodPlaylist(const CPlaylistProperty &record)
{
    CContentsStore &store = GetContentFolders();
    CPlaylistFile file;
    CTimetableItem item;
    int layer = 0;
    SplitContentId(record.GetIndex(), nullptr, &layer, nullptr);
    QString path;
    const bool made = file.SetIndex(record.GetIndex()) && file.SetTitle(record.GetTitle())
                      && file.SetInfo(record.GetInfo()) && file.SetDeleteDate(record.GetDeleteDate())
                      && item.Set(record.GetIndex(), TimeValue{}, kVodPlaylistEnd, CONTENT_SEQUENCE, layer)
                      && file.AddItem(item) && file.MakePath(store.m_playlistFolder, record.GetIndex(), path);
    // The file goes in place only once the list names it, so a failed list
    // save leaves the stored playlist file as it was.
    const QString staged = path + QLatin1String(kTemporarySuffix);
    if (!made || !file.Save(staged)) {
        WriteSyslog(LOG_ERR_APP, "EditVODPlaylist : Playlist file not written : index = %d : Error = %u",
                    record.GetIndex(), GetLastError());
        QFile::remove(staged);
        ShowSaveFailed(CONTENT_PLAYLIST);
        return false;
    }
    Records records;
    records.push_back(std::make_unique<CPlaylistProperty>(record));
    if (!storeRecords(*store.GetList(CONTENT_PLAYLIST), records,
                      [&store] { return store.SaveLists(CONTENT_PLAYLIST, 1); })) {
        QFile::remove(staged);
        return false;
    }
    if (std::rename(QFile::encodeName(staged).constData(), QFile::encodeName(path).constData()) != 0) {
        WriteSyslog(LOG_ERR_WIN, "EditVODPlaylist : Playlist file not put in place : Error = %d", errno);
        ShowSaveFailed(CONTENT_PLAYLIST);
    }
    return true;
}
