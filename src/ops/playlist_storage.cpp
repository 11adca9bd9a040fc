#include "ops/playlist_storage.h"

#include "core/clock.h"
#include "core/content_id.h"
#include "core/file_snapshot.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/message_box.h"
#include "core/syslog.h"
#include "core/setting_ini.h"
#include "core/system_ini.h"
#include "core/time_utils.h"
#include "model/calendar_property.h"
#include "model/contents_store.h"
#include "model/playlist_property.h"
#include "model/schedule_edit_model.h"
#include "model/schedule_property.h"
#include "ops/content_file_remover.h"
#include "ops/frame_checks.h"

#include <functional>
#include <vector>

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

// Stores the record and saves its list; when either fails the list is as it
// was and the save-failure message of saveType is shown.
bool StoreAndSave(CContentsList &list, const CPropertyBase &record, int saveType, const std::function<bool()> &save)
{
    CRecordSnapshot snapshot(list, record.GetIndex());
    if (StoreRecord(list, record) && save())
        return true;
    snapshot.Restore();
    ShowSaveFailed(saveType);
    return false;
}

// Writes a group's lists again once the records of a failed save are taken
// out; when that fails too the files still hold them, which the log keeps.
void SaveTakenBack(CContentsStore &store, const QString &group, int which)
{
    if (!store.SaveGroupLists(group, which, 0))
        WriteSyslog(LOG_ERR_APP, "SaveGroupLists : the lists of group %s still hold the records of a failed save",
                    qUtf8Printable(group));
}

void RestoreAll(const std::vector<CFileSnapshot> &snapshots)
{
    for (const CFileSnapshot &files : snapshots)
        files.Restore();
}

// The end of a model's last row, as a record's length.
TimeValue EndOfLastRow(const CTimetableModel &model)
{
    TimeValue end;
    model.GetEndTime(model.GetRowCount() - 1, end);
    return end;
}

// The save of an edited list under a number, which can be taken back until
// it is done: the model's files go first (under the number's id prefix),
// then its record into the list and the list's file. Taking it back puts the
// stored files of the number and the list's record back as they were, and
// leaves the model still to be saved under its own id prefix. Done gives the
// model the number and, for a new number (counter >= 0), steps the type's
// counter on.
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
        , m_files(StoredFiles(model, type, index))
    {
        m_model.SetIdPrefix(ContentIdPrefix(index));
    }

    // Taken back, and the type's save-failure message shown, when a step fails.
    bool Save(const CPropertyBase &record, const std::function<bool()> &saveFiles,
              const std::function<bool()> &saveList)
    {
        if (saveFiles() && StoreRecord(m_list, record) && saveList())
            return true;
        RollBack();
        ShowSaveFailed(m_type);
        return false;
    }

    void RollBack()
    {
        m_record.Restore();
        m_files.Restore();
        m_model.SetIdPrefix(m_ownPrefix);
        m_model.SetModified(true);
    }

    void Done()
    {
        m_model.SetIndex(m_index);
        if (m_counter >= 0)
            AdvanceContentCounter(m_type, m_counter);
    }

private:
    CTimetableModel &m_model;
    int m_type;
    CContentsList &m_list;
    qint32 m_index;
    int m_counter;
    int m_ownPrefix;
    CRecordSnapshot m_record;
    CFileSnapshot m_files;
};

} // namespace

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

CFileSnapshot StoredFiles(const CTimetableModel &model, int type, qint32 number)
{
    return CFileSnapshot(CContentFileRemover::TimetableFilePaths(type, number, model.GetListFolder(),
                                                                 model.GetSequenceFolder()));
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
    if (!save.Save(record, [&] { return model.Save(index, type); }, [&] { return store.SaveLists(type, 1); }))
        return false;
    save.Done();
    return true;
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
    CEditedListSave save(model, CONTENT_SCHEDULE, list, index, counter);
    if (!save.Save(record, [&] { return model.Save(index); },
                   [&] { return store.SaveGroupLists(block.groupName, CONTENT_SCHEDULE, 0); }))
        return false;
    bool calendarChanged = false;
    if (!SaveSimpleCalendar(store, SimpleScheduleRecord{index, -1, record.GetInfo(), record.GetTitle()}, block,
                            calendarChanged)) {
        save.RollBack();
        SaveTakenBack(store, block.groupName, CONTENT_SCHEDULE);
        return false;
    }
    save.Done();
    return true;
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

qint32 NewScheduleNumber(CContentsStore &store, const QString &group, int &counter)
{
    CContentsList *own = IsCurrentGroup(store, group) ? nullptr : GroupList(store, group, CONTENT_SCHEDULE, true);
    return store.GetNewCode(CONTENT_SCHEDULE, counter, own);
}

bool SaveSimpleSchedule(CContentsStore &store, const SimpleScheduleRecord &record, const ScheduleSetBlock &block,
                        const TimeValue &powerOff, bool &listChanged)
{
    listChanged = false;
    CContentsList *list = GroupList(store, block.groupName, CONTENT_SCHEDULE, true);
    QString scheduleFolder;
    QString sequenceFolder;
    if (!list) {
        WriteSyslog(LOG_ERR_APP, "SaveSimpleSchedule : Invalid content type : type = %d", CONTENT_SCHEDULE);
        return false;
    }
    if (!PrepareGroupScheduleFolders(store, block.groupName, scheduleFolder, sequenceFolder)) {
        ShowSaveFailed(CONTENT_SCHEDULE);
        return false;
    }
    // The item stops when the players switch off for the day.
    TimeValue end = block.endTime;
    if (CompareTimeCode(block.startTime, powerOff) < 0 && CompareTimeCode(powerOff, end) < 0)
        end = powerOff;
    CScheduleEditModel model;
    model.SetFolders(scheduleFolder, sequenceFolder);
    model.SetIdPrefix(ContentIdPrefix(record.scheduleIndex));
    model.SetTitle(record.title);
    model.SetInfo(record.info);
    CTimetableItem item;
    const CFileSnapshot files = StoredFiles(model, CONTENT_SCHEDULE, record.scheduleIndex);
    if (!item.Set(record.playlist, block.startTime, end, CONTENT_PLAYLIST, SCHEDULE_KIND_PLAYLIST)
        || !model.InsertItem(model.FindTrackForType(SCHEDULE_KIND_PLAYLIST), item)
        || !model.Save(record.scheduleIndex)) {
        files.Restore();
        ShowSaveFailed(CONTENT_SCHEDULE);
        return false;
    }
    CScheduleProperty schedule;
    schedule.SetIndex(record.scheduleIndex);
    schedule.SetInfo(record.info);
    schedule.SetTitle(record.title);
    schedule.SetStartTime(block.startTime);
    schedule.SetEndTime(end);
    ApplyScheduleBlock(schedule, block);
    schedule.SetCreateDate(GetLocalTime());
    if (!StoreAndSave(*list, schedule, CONTENT_SCHEDULE,
                      [&] { return SaveGroupList(store, block.groupName, CONTENT_SCHEDULE); })) {
        files.Restore();
        return false;
    }
    listChanged = IsCurrentGroup(store, block.groupName);
    return true;
}

bool SaveSimpleCalendar(CContentsStore &store, const SimpleScheduleRecord &record, const ScheduleSetBlock &block,
                        bool &listChanged)
{
    listChanged = false;
    CContentsList *list = GroupList(store, block.groupName, CONTENT_CALENDAR, !IsCurrentGroup(store, block.groupName));
    if (!list) {
        WriteSyslog(LOG_ERR_APP, "SaveSimpleCalendar : Invalid content type : type = %d", CONTENT_CALENDAR);
        return false;
    }
    CCalendarProperty row;
    // A row written again keeps how it plays (a forced play stays forced).
    const int held = list->FindCode(record.scheduleIndex);
    const bool kept = held >= 0 && list->Get(held, &row);
    row.SetIndex(record.scheduleIndex);
    row.SetSchedule(record.scheduleIndex);
    row.SetStartDate(block.startDate);
    row.SetEndDate(block.endDate);
    row.SetWeek(block.weekdays);
    if (!kept)
        row.SetFlag(1);
    row.SetStatus(1);
    row.SetCreateDate(GetLocalTime());
    if (!StoreAndSave(*list, row, CONTENT_SCHEDULE,
                      [&] { return SaveGroupList(store, block.groupName, CONTENT_CALENDAR); }))
        return false;
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
    // The files of the new lists, as they were before: none.
    std::vector<CFileSnapshot> written;
    int lastCounter = -1;
    for (quint32 position : positions) {
        if (IsListFull(*list, type)) {
            ShowListFull(nullptr, type);
            break;
        }
        std::unique_ptr<CPropertyBase> record = CreateProperty(type);
        if (!list->Get(int(position), record.get())) {
            ShowSourceMissing(-1);
            break;
        }
        const qint32 source = record->GetIndex();
        int counter = 0;
        const qint32 number = store.GetNewCode(type, counter);
        model->SetIdPrefix(ContentIdPrefix(source));
        if (number < 0 || !model->Load(source, type)) {
            ShowSourceMissing(source);
            break;
        }
        model->SetIdPrefix(ContentIdPrefix(number));
        record->SetIndex(number);
        record->SetCreateDate(GetLocalTime());
        written.push_back(StoredFiles(*model, type, number));
        if (!model->Save(number, type) || !list->Add(record.get())) {
            written.back().Restore();
            ShowSaveFailed(type);
            break;
        }
        added.append(number);
        lastCounter = counter;
    }
    model->Clear();
    // What was added before a stop is kept once the list is saved; the
    // counter moves on only then.
    if (added.isEmpty())
        return 0;
    if (!store.SaveLists(type, 1)) {
        for (qint32 number : added)
            list->Delete(list->FindCode(number));
        RestoreAll(written);
        ShowSaveFailed(type);
        return 0;
    }
    AdvanceContentCounter(type, lastCounter);
    return int(added.size());
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
    std::vector<CFileSnapshot> written;
    int lastCounter = -1;
    for (quint32 position : positions) {
        if (IsListFull(*list, CONTENT_SCHEDULE)) {
            ShowListFull(nullptr, CONTENT_SCHEDULE);
            break;
        }
        CScheduleProperty record;
        if (!source->Get(int(position), &record)) {
            ShowSourceMissing(-1);
            break;
        }
        const qint32 from = record.GetIndex();
        int counter = 0;
        const qint32 number = NewScheduleNumber(store, group, counter);
        CScheduleEditModel model;
        model.SetFolders(fromSchedules, fromSequences);
        model.SetIdPrefix(ContentIdPrefix(from));
        if (number < 0 || !model.Load(from)) {
            ShowSourceMissing(from);
            break;
        }
        model.SetFolders(toSchedules, toSequences);
        model.SetIdPrefix(ContentIdPrefix(number));
        record.SetIndex(number);
        record.SetCreateDate(GetLocalTime());
        CCalendarProperty row;
        row.SetIndex(number);
        row.SetSchedule(number);
        row.SetStartDate(record.GetStartDate());
        row.SetEndDate(record.GetEndDate());
        row.SetWeek(record.GetWeek());
        row.SetFlag(1);
        row.SetStatus(1);
        row.SetCreateDate(GetLocalTime());
        written.push_back(StoredFiles(model, CONTENT_SCHEDULE, number));
        if (!model.Save(number) || !list->Add(&record)) {
            written.back().Restore();
            ShowSaveFailed(CONTENT_SCHEDULE);
            break;
        }
        if (!calendar->Add(&row)) {
            list->Delete(list->FindCode(number));
            written.back().Restore();
            ShowSaveFailed(CONTENT_SCHEDULE);
            break;
        }
        added.append(number);
        lastCounter = counter;
    }
    if (added.isEmpty())
        return 0;
    if (!store.SaveGroupLists(group, 0, 0)) {
        for (qint32 number : added) {
            list->Delete(list->FindCode(number));
            calendar->Delete(calendar->FindCode(number));
        }
        SaveTakenBack(store, group, 0);
        RestoreAll(written);
        ShowSaveFailed(CONTENT_SCHEDULE);
        return 0;
    }
    AdvanceContentCounter(CONTENT_SCHEDULE, lastCounter);
    return int(added.size());
}
