#include "ops/playlist_storage.h"

#include "core/clock.h"
#include "core/content_id.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/message_box.h"
#include "core/syslog.h"
#include "core/setting_ini.h"
#include "core/staged_files.h"
#include "core/system_ini.h"
#include "core/time_utils.h"
#include "model/calendar_property.h"
#include "model/contents_store.h"
#include "model/playlist_property.h"
#include "model/schedule_edit_model.h"
#include "model/schedule_property.h"
#include "ops/frame_checks.h"
#include "ops/list_undo.h"

#include <functional>
#include <optional>

namespace {

// The messages of a failed save of a playlist and of a background-music list.
constexpr quint32 kMsgPlaylistSaveFailed = 5213;
constexpr quint32 kMsgBgmSaveFailed = 5349;
const char *const kScheduleSaveFailed = "スケジュールの保存に失敗しました。";
const char *const kSourceMissing = "コピー元素材(%1)がみつかりませんでした。貼り付けを中止します";

bool IsCurrentGroup(const CContentsStore &store, const QString &group)
{
    return group.compare(store.GetCurrentGroup(), Qt::CaseInsensitive) == 0;
}

// The schedule (51) or calendar (50) list of a group: the library's for the
// current group, else the work set's, loaded from the group's files.
CContentsList *GroupList(CContentsStore &store, const QString &group, int type, bool load)
{
    if (IsCurrentGroup(store, group))
        return store.GetList(type);
    if (load && !store.LoadGroupSchedules(group, 1))
        return nullptr;
    return store.GetWorkGroupList(type);
}

bool SaveGroupList(CContentsStore &store, const QString &group, int type)
{
    return IsCurrentGroup(store, group) ? store.SaveGroupLists(group, type, 0)
                                        : store.SaveWorkGroupLists(group, type, 0);
}

void ShowSourceMissing(qint32 number)
{
    MessageBoxWithCaptionId(nullptr, QString::fromUtf8(kSourceMissing).arg(FormatContentIdFixed(number)), kTitleCaption,
                            MB_OK | MB_ICONWARNING);
}

// The end of a model's last row, as a record's length.
TimeValue EndOfLastRow(const CTimetableModel &model)
{
    TimeValue end;
    model.GetEndTime(model.GetRowCount() - 1, end);
    return end;
}

// The save of an edited list under a number: the model's files (under the
// number's id prefix), its record in the list, the list's file and what else
// goes with it (a schedule's calendar row) are written together or not at
// all. A failed save leaves the stored files and the list's record as they
// were, and the model still to be saved under its own id prefix; a save done
// gives the model the number and, for a new number (counter >= 0), steps the
// type's counter on.
class CEditedListSave {
public:
    CEditedListSave(CTimetableModel &model, int type, CContentsList &list, qint32 index, int counter)
        : m_model(model)
        , m_type(type)
        , m_list(list)
        , m_index(index)
        , m_counter(counter)
        , m_ownPrefix(model.GetIdPrefix())
        , m_record(list, index)
    {
    }

    // The type's save-failure message is shown when a step fails.
    bool Save(const CPropertyBase &record, const std::function<bool()> &saveFiles,
              const std::function<bool()> &saveList, const std::function<bool()> &alongside = {})
    {
        m_model.SetIdPrefix(ContentIdPrefix(m_index));
        if (WriteTogether([&] {
                return saveFiles() && StoreRecord(m_list, record) && saveList() && (!alongside || alongside());
            })) {
            done();
            return true;
        }
        m_record.Restore();
        m_model.SetIdPrefix(m_ownPrefix);
        m_model.SetModified(true);
        ShowSaveFailed(m_type);
        return false;
    }

private:
    void done()
    {
        m_model.SetIndex(m_index);
        if (m_counter >= 0)
            AdvanceContentCounter(m_type, m_counter);
    }

    CTimetableModel &m_model;
    int m_type;
    CContentsList &m_list;
    qint32 m_index;
    int m_counter;
    int m_ownPrefix;
    CRecordSnapshot m_record;
};

// The calendar row that plays a schedule from the block's dates and days; a
// row the list holds for it keeps how it plays (a forced play stays forced).
CCalendarProperty CalendarRowOf(CContentsList &calendar, qint32 schedule, const ScheduleSetBlock &block)
{
    CCalendarProperty row;
    const int held = calendar.FindCode(schedule);
    const bool kept = held >= 0 && calendar.Get(held, &row);
    row.SetIndex(schedule);
    row.SetSchedule(schedule);
    row.SetStartDate(block.startDate);
    row.SetEndDate(block.endDate);
    row.SetWeek(block.weekdays);
    if (!kept)
        row.SetFlag(1);
    row.SetStatus(1);
    row.SetCreateDate(GetLocalTime());
    return row;
}

// The record of a simple schedule that plays one playlist from the block's
// start to end.
CScheduleProperty SimpleScheduleOf(qint32 number, const SimpleScheduleRecord &playlist, const ScheduleSetBlock &block,
                                   const TimeValue &end)
{
    CScheduleProperty schedule;
    schedule.SetIndex(number);
    schedule.SetInfo(playlist.info);
    schedule.SetTitle(playlist.title);
    schedule.SetStartTime(block.startTime);
    schedule.SetEndTime(end);
    ApplyScheduleBlock(schedule, block);
    schedule.SetCreateDate(GetLocalTime());
    return schedule;
}

// Writes the file, the record and the calendar row of a simple schedule of
// the block's group under a new number, all together; false (logged) when
// the group's lists cannot be read, no number is free or a step fails, with
// every stored file and list as it was.
bool WritePlaylistSchedule(CContentsStore &store, SimpleScheduleRecord &playlist, const ScheduleSetBlock &block,
                           const TimeValue &powerOff)
{
    const QString &group = block.groupName;
    CContentsList *schedules = GroupList(store, group, CONTENT_SCHEDULE, true);
    CContentsList *calendar = GroupList(store, group, CONTENT_CALENDAR, false);
    if (!schedules || !calendar) {
        WriteSyslog(LOG_ERR_APP, "SavePlaylistSchedule : the schedule lists of group %s cannot be read",
                    qUtf8Printable(group));
        return false;
    }
    int counter = 0;
    const qint32 number =
        store.GetNewCode(CONTENT_SCHEDULE, counter, IsCurrentGroup(store, group) ? nullptr : schedules);
    if (number < 0) {
        WriteSyslog(LOG_ERR_APP, "SavePlaylistSchedule : no schedule number is free for group %s",
                    qUtf8Printable(group));
        return false;
    }
    QString scheduleFolder;
    QString sequenceFolder;
    if (!PrepareGroupScheduleFolders(store, group, scheduleFolder, sequenceFolder))
        return false;
    // The item stops when the players switch off for the day.
    TimeValue end = block.endTime;
    if (CompareTimeCode(block.startTime, powerOff) < 0 && CompareTimeCode(powerOff, end) < 0)
        end = powerOff;
    CScheduleEditModel model;
    model.SetFolders(scheduleFolder, sequenceFolder);
    model.SetIdPrefix(ContentIdPrefix(number));
    model.SetTitle(playlist.title);
    model.SetInfo(playlist.info);
    CTimetableItem item;
    CRecordSnapshot scheduleRecord(*schedules, number);
    CRecordSnapshot calendarRecord(*calendar, number);
    if (!WriteTogether([&] {
            return item.Set(playlist.playlist, block.startTime, end, CONTENT_PLAYLIST, SCHEDULE_KIND_PLAYLIST)
                && model.InsertItem(model.FindTrackForType(SCHEDULE_KIND_PLAYLIST), item) && model.Save(number)
                && StoreRecord(*schedules, SimpleScheduleOf(number, playlist, block, end))
                && SaveGroupList(store, group, CONTENT_SCHEDULE)
                && StoreRecord(*calendar, CalendarRowOf(*calendar, number, block))
                && SaveGroupList(store, group, CONTENT_CALENDAR);
        })) {
        WriteSyslog(LOG_ERR_APP, "SavePlaylistSchedule : the schedule of group %s was not written : Error = %u",
                    qUtf8Printable(group), GetLastError());
        scheduleRecord.Restore();
        calendarRecord.Restore();
        return false;
    }
    AdvanceContentCounter(CONTENT_SCHEDULE, counter);
    playlist.scheduleIndex = number;
    return true;
}

// Why a paste stopped before its last source, told once its files are
// settled: the list at its type's limit, or a source that cannot be read
// (its number, -1 when not even its record could be).
struct PasteStop {
    bool full = false;
    std::optional<qint32> sourceMissing;

    void Show(int type) const
    {
        if (full)
            ShowListFull(nullptr, type);
        else if (sourceMissing)
            ShowSourceMissing(*sourceMissing);
    }
};

// False, noted in stop, when the list holds its type's limit.
bool HasRoom(const CContentsList &list, int type, PasteStop &stop)
{
    stop.full = IsListFull(list, type);
    return !stop.full;
}

// Takes the records of numbers out of a list again (those it holds).
void TakeOut(CContentsList &list, const QList<qint32> &numbers)
{
    for (qint32 number : numbers) {
        const int position = list.FindCode(number);
        if (position >= 0)
            list.Delete(position);
    }
}

// Ends a paste: one whose files were not written takes its records out of
// the lists again and says so; else why it stopped is told, and the type's
// counter steps on past the numbers taken. The number of new records.
int EndPaste(bool written, int type, const QList<CContentsList *> &lists, const QList<qint32> &added,
             const PasteStop &stop, int lastCounter)
{
    if (!written) {
        for (CContentsList *list : lists)
            TakeOut(*list, added);
        ShowSaveFailed(type);
        return 0;
    }
    stop.Show(type);
    if (added.isEmpty())
        return 0;
    AdvanceContentCounter(type, lastCounter);
    return int(added.size());
}

} // namespace

bool WriteTogether(const std::function<bool()> &change)
{
    CStagedFiles staged;
    return change() && staged.Commit();
}

CRecordSnapshot::CRecordSnapshot(CContentsList &list, qint32 index) : m_list(list), m_index(index)
{
    const int position = list.FindCode(index);
    if (position < 0)
        return;
    m_old = CreateProperty(list.GetContentType());
    if (m_old && !list.Get(position, m_old.get()))
        m_old.reset();
}

CRecordSnapshot::~CRecordSnapshot() = default;

void CRecordSnapshot::Restore()
{
    const int position = m_list.FindCode(m_index);
    if (m_old && position >= 0)
        m_list.Update(position, m_old.get());
    else if (m_old)
        m_list.Add(m_old.get());
    else if (position >= 0)
        m_list.Delete(position);
}

bool StoreRecord(CContentsList &list, const CPropertyBase &record)
{
    const int position = list.FindCode(record.GetIndex());
    return position >= 0 ? list.Update(position, &record) : list.Add(&record);
}

SaveTarget ChooseSaveTarget(const CTimetableModel &model, const CContentsList &list, int type, bool saveAsNew)
{
    const qint32 index = model.GetIndex();
    const bool stored = !saveAsNew && index > 0 && list.FindCode(index) >= 0;
    SaveTarget target{ChooseSaveNumber(nullptr, list, type, stored ? index : -1, [] { return false; })};
    if (target.choice == SaveNumber::Stored)
        target.index = index;
    else if (target.choice == SaveNumber::New || target.choice == SaveNumber::NewFromSample)
        target.index = GetContentFolders().GetNewCode(type, target.counter);
    return target;
}

ScheduleSetBlock DefaultScheduleBlock(const QString &group)
{
    ScheduleSetBlock block;
    block.groupName = group;
    // A week from today, so that every weekday ticked by default lies in it.
    const QDate today = Clock().now().date();
    block.startDate = ToDateValue(today);
    block.endDate = ToDateValue(today.addDays(6));
    const SystemOptions options = GetSettingIni().Options();
    block.startTime = options.PowerOnTime;
    // The day's item cannot pass midnight: when the players switch off only
    // after it (or never), it runs to the end of the day.
    block.endTime = CompareTimeCode(options.PowerOnTime, options.PowerOffTime) < 0 ? options.PowerOffTime
                                                                                   : TimeValue{23, 59, 59, 0};
    return block;
}

ScheduleSetBlock ScheduleBlockOf(const CScheduleProperty &schedule, const QString &group)
{
    ScheduleSetBlock block;
    block.setSchedule = true;
    block.groupName = group;
    block.background = schedule.GetBgColor();
    block.startDate = schedule.GetStartDate();
    block.endDate = schedule.GetEndDate();
    block.startTime = schedule.GetStartTime();
    block.endTime = schedule.GetEndTime();
    block.weekdays = schedule.GetWeek();
    return block;
}

void ApplyScheduleBlock(CScheduleProperty &schedule, const ScheduleSetBlock &block)
{
    schedule.SetStartDate(block.startDate);
    schedule.SetEndDate(block.endDate);
    schedule.SetWeek(block.weekdays);
    schedule.SetBgColor(block.background);
}

bool SavePlaylist(CContentsStore &store, CPlaylistEditModel &model, CContentsList &list, int type, qint32 index,
                  int counter)
{
    CPlaylistProperty record(type);
    const int held = list.FindCode(index);
    if (held >= 0)
        list.Get(held, &record);
    record.SetIndex(index);
    record.SetResolution(model.GetResolution());
    record.SetOrientation(model.GetOrientation());
    record.SetTitle(model.GetTitle());
    record.SetInfo(model.GetInfo());
    record.SetCreateDate(GetLocalTime());
    record.SetDuration(EndOfLastRow(model));
    CEditedListSave save(model, type, list, index, counter);
    return save.Save(record, [&] { return model.Save(index, type); }, [&] { return store.SaveLists(type, 1); });
}

bool SaveSchedule(CContentsStore &store, CScheduleEditModel &model, CContentsList &list, qint32 index, int counter,
                  const ScheduleSetBlock &chosen)
{
    ScheduleSetBlock block = chosen;
    block.groupName = store.GetCurrentGroup();
    QString scheduleFolder;
    QString sequenceFolder;
    if (!PrepareGroupScheduleFolders(store, block.groupName, scheduleFolder, sequenceFolder)) {
        ShowSaveFailed(CONTENT_SCHEDULE);
        return false;
    }
    model.SetFolders(scheduleFolder, sequenceFolder);
    CScheduleProperty record;
    const int held = list.FindCode(index);
    if (held >= 0 && list.Get(held, &record))
        block = ScheduleBlockOf(record, block.groupName); // a stored schedule keeps its dates and days

    TimeValue start;
    model.GetStartTime(0, start);
    record.SetIndex(index);
    record.SetTitle(model.GetTitle());
    record.SetInfo(model.GetInfo());
    record.SetStartTime(start);
    record.SetEndTime(EndOfLastRow(model));
    ApplyScheduleBlock(record, block);
    record.SetCreateDate(GetLocalTime());
    // The calendar row is written again with the schedule, or neither is.
    CContentsList &calendar = *store.GetList(CONTENT_CALENDAR);
    CRecordSnapshot calendarRecord(calendar, index);
    CEditedListSave save(model, CONTENT_SCHEDULE, list, index, counter);
    if (save.Save(
            record, [&] { return model.Save(index); },
            [&] { return store.SaveGroupLists(block.groupName, CONTENT_SCHEDULE, 0); },
            [&] {
                return StoreRecord(calendar, CalendarRowOf(calendar, index, block))
                    && store.SaveGroupLists(block.groupName, CONTENT_CALENDAR, 0);
            }))
        return true;
    calendarRecord.Restore();
    return false;
}

void AdvanceContentCounter(int type, int counter)
{
    CSystemIni &ini = GetSystemIni();
    ini.SetContentIndex(type, counter);
    ini.AdvanceContentIndex(type);
    ini.SaveContentIndex(type);
}

void ShowLoadFailed(int type)
{
    const char *text = type == CONTENT_PLAYLIST  ? "プレイリストの読み込みに失敗しました。"
                       : type == CONTENT_BGMLIST ? "BGMリストの読み込みに失敗しました。"
                                                 : "スケジュールの読み込みに失敗しました。";
    MessageBoxWithCaptionId(nullptr, QString::fromUtf8(text), kTitleCaption, MB_OK | MB_ICONERROR);
}

void ShowSaveFailed(int type, quint32 icon)
{
    if (type == CONTENT_PLAYLIST || type == CONTENT_BGMLIST) {
        ShowMessage(nullptr, type == CONTENT_PLAYLIST ? kMsgPlaylistSaveFailed : kMsgBgmSaveFailed, kTitleCaption,
                    MB_OK | icon);
        return;
    }
    MessageBoxWithCaptionId(nullptr, QString::fromUtf8(kScheduleSaveFailed), kTitleCaption, MB_OK | icon);
}

bool PrepareGroupScheduleFolders(CContentsStore &store, const QString &group, QString &scheduleFolder,
                                 QString &sequenceFolder)
{
    if (!store.GetGroupScheduleFolders(group, scheduleFolder, sequenceFolder))
        return false;
    if (CreateFolderPath(sequenceFolder) < 0) {
        WriteSyslog(LOG_ERR_WIN, "PrepareGroupScheduleFolders : CreateDirectory Failed : %s : Error = %d",
                    qUtf8Printable(sequenceFolder), int(GetLastError()));
        return false;
    }
    return true;
}

bool SavePlaylistSchedule(CContentsStore &store, SimpleScheduleRecord &playlist, const ScheduleSetBlock &block,
                          const TimeValue &powerOff, bool &currentGroupChanged)
{
    currentGroupChanged = false;
    if (!WritePlaylistSchedule(store, playlist, block, powerOff)) {
        ShowSaveFailed(CONTENT_SCHEDULE);
        return false;
    }
    currentGroupChanged = IsCurrentGroup(store, block.groupName);
    return true;
}

bool SaveSimpleCalendar(CContentsStore &store, const SimpleScheduleRecord &record, const ScheduleSetBlock &block,
                        bool &listChanged)
{
    listChanged = false;
    CContentsList *list = GroupList(store, block.groupName, CONTENT_CALENDAR, !IsCurrentGroup(store, block.groupName));
    if (!list) {
        WriteSyslog(LOG_ERR_APP, "SaveSimpleCalendar : the calendar list of group %s cannot be read",
                    qUtf8Printable(block.groupName));
        return false;
    }
    CRecordSnapshot row(*list, record.scheduleIndex);
    if (!StoreRecord(*list, CalendarRowOf(*list, record.scheduleIndex, block))
        || !SaveGroupList(store, block.groupName, CONTENT_CALENDAR)) {
        row.Restore();
        return false;
    }
    listChanged = IsCurrentGroup(store, block.groupName);
    return true;
}

int PastePlaylists(CContentsStore &store, int type, const QList<quint32> &positions)
{
    CContentsList *list = store.GetList(type);
    CPlaylistEditModel *model = store.GetScratchPlaylistModel(type);
    if (!list || !model)
        return 0;
    QList<qint32> added;
    PasteStop stop;
    int lastCounter = -1;
    const bool written = WriteTogether([&] {
        for (quint32 position : positions) {
            if (!HasRoom(*list, type, stop))
                break;
            std::unique_ptr<CPropertyBase> record = CreateProperty(type);
            if (!list->Get(int(position), record.get())) {
                stop.sourceMissing = -1;
                break;
            }
            const qint32 source = record->GetIndex();
            int counter = 0;
            const qint32 number = store.GetNewCode(type, counter);
            model->SetIdPrefix(ContentIdPrefix(source));
            if (number < 0 || !model->Load(source, type)) {
                stop.sourceMissing = source;
                break;
            }
            model->SetIdPrefix(ContentIdPrefix(number));
            record->SetIndex(number);
            record->SetCreateDate(GetLocalTime());
            if (!model->Save(number, type) || !list->Add(record.get()))
                return false;
            added.append(number);
            lastCounter = counter;
        }
        // What was added before a stop is kept once the list is saved.
        return added.isEmpty() || store.SaveLists(type, 1);
    });
    model->Clear();
    return EndPaste(written, type, {list}, added, stop, lastCounter);
}

int PasteSchedules(CContentsStore &store, const QString &sourceGroup, const QList<quint32> &positions)
{
    const QString group = store.GetCurrentGroup();
    CContentsList *list = store.GetList(CONTENT_SCHEDULE);
    CContentsList *calendar = store.GetList(CONTENT_CALENDAR);
    CContentsList *source = GroupList(store, sourceGroup, CONTENT_SCHEDULE, true);
    QString fromSchedules, fromSequences, toSchedules, toSequences;
    if (!list || !calendar || !source || !store.GetGroupScheduleFolders(sourceGroup, fromSchedules, fromSequences)
        || !PrepareGroupScheduleFolders(store, group, toSchedules, toSequences))
        return 0;
    QList<qint32> added;
    // The calendar rows the paste puts (a left-over row of a new number is
    // overwritten), taken back when its files are not written.
    CListUndo rows(*calendar);
    PasteStop stop;
    int lastCounter = -1;
    const bool written = WriteTogether([&] {
        for (quint32 position : positions) {
            if (!HasRoom(*list, CONTENT_SCHEDULE, stop))
                break;
            CScheduleProperty record;
            if (!source->Get(int(position), &record)) {
                stop.sourceMissing = -1;
                break;
            }
            const qint32 from = record.GetIndex();
            int counter = 0;
            const qint32 number = store.GetNewCode(CONTENT_SCHEDULE, counter);
            CScheduleEditModel model;
            model.SetFolders(fromSchedules, fromSequences);
            model.SetIdPrefix(ContentIdPrefix(from));
            if (number < 0 || !model.Load(from)) {
                stop.sourceMissing = from;
                break;
            }
            model.SetFolders(toSchedules, toSequences);
            model.SetIdPrefix(ContentIdPrefix(number));
            record.SetIndex(number);
            record.SetCreateDate(GetLocalTime());
            if (!model.Save(number) || !list->Add(&record))
                return false;
            added.append(number);
            // Updated or added, as a save does.
            if (!rows.Put(CalendarRowOf(*calendar, number, ScheduleBlockOf(record, group))))
                return false;
            lastCounter = counter;
        }
        return added.isEmpty() || store.SaveGroupLists(group, 0, 0);
    });
    if (!written)
        rows.Undo();
    return EndPaste(written, CONTENT_SCHEDULE, {list}, added, stop, lastCounter);
}
