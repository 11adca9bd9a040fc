#include "ops/playlist_storage.h"

#include "core/clock.h"
#include "core/content_id.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/message_box.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "core/time_utils.h"
#include "model/calendar_property.h"
#include "model/contents_store.h"
#include "model/schedule_edit_model.h"
#include "model/schedule_property.h"

#include <functional>

namespace {

constexpr quint32 kMsgMaxCount = 5101;
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

bool RoomFor(const CContentsList &list, int type)
{
    const int limit = GetSystemIni().GetMaxCount(type);
    if (list.GetCount() < limit)
        return true;
    ShowMessageFormat(nullptr, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgMaxCount, limit);
    return false;
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

void AdvanceContentCounter(int type, int counter)
{
    CSystemIni &ini = GetSystemIni();
    ini.SetContentIndex(type, counter);
    ini.AdvanceContentIndex(type);
    ini.SaveContentIndex(type);
}

void ShowLoadFailed(int type)
{
    const char *text = type == 52   ? "プレイリストの読み込みに失敗しました。"
                       : type == 53 ? "BGMリストの読み込みに失敗しました。"
                                    : "スケジュールの読み込みに失敗しました。";
    MessageBoxWithCaptionId(nullptr, QString::fromUtf8(text), kTitleCaption, MB_OK | MB_ICONERROR);
}

void ShowSaveFailed(int type, quint32 icon)
{
    if (type == 52 || type == 53) {
        ShowMessage(nullptr, type == 52 ? kMsgPlaylistSaveFailed : kMsgBgmSaveFailed, kTitleCaption, MB_OK | icon);
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
    CContentsList *own = IsCurrentGroup(store, group) ? nullptr : GroupList(store, group, 51, true);
    return store.GetNewCode(51, counter, own);
}

bool SaveSimpleSchedule(CContentsStore &store, const SimpleScheduleRecord &record, const ScheduleSetBlock &block,
                        const TimeValue &powerOff, bool &listChanged)
{
    listChanged = false;
    CContentsList *list = GroupList(store, block.groupName, 51, true);
    QString scheduleFolder;
    QString sequenceFolder;
    if (!list) {
        WriteSyslog(LOG_ERR_APP, "SaveSimpleSchedule : Invalid content type : type = %d", 51);
        return false;
    }
    if (!PrepareGroupScheduleFolders(store, block.groupName, scheduleFolder, sequenceFolder)) {
        ShowSaveFailed(51);
        return false;
    }
    // The item stops when the players switch off for the day.
    TimeValue end = block.endTime;
    if (CompareTimeCode(block.startTime, powerOff) < 0 && CompareTimeCode(powerOff, end) < 0)
        end = powerOff;
    CScheduleEditModel model;
    model.SetFolders(scheduleFolder, sequenceFolder);
    int prefix = 0;
    SplitContentId(record.scheduleIndex, &prefix, nullptr, nullptr);
    model.SetIdPrefix(prefix);
    model.SetTitle(record.title);
    model.SetInfo(record.info);
    CTimetableItem item;
    if (!item.Set(record.playlist, block.startTime, end, 52, 1)
        || !model.InsertItem(model.FindTrackForType(1), item) || !model.Save(record.scheduleIndex)) {
        ShowSaveFailed(51);
        return false;
    }
    CScheduleProperty schedule;
    schedule.SetIndex(record.scheduleIndex);
    schedule.SetInfo(record.info);
    schedule.SetTitle(record.title);
    schedule.SetStartTime(block.startTime);
    schedule.SetEndTime(end);
    schedule.SetStartDate(block.startDate);
    schedule.SetEndDate(block.endDate);
    schedule.SetWeek(block.weekdays);
    schedule.SetBgColor(block.background);
    schedule.SetCreateDate(GetLocalTime());
    if (!StoreAndSave(*list, schedule, 51, [&] { return SaveGroupList(store, block.groupName, 51); }))
        return false;
    listChanged = IsCurrentGroup(store, block.groupName);
    return true;
}

bool SaveSimpleCalendar(CContentsStore &store, const SimpleScheduleRecord &record, const ScheduleSetBlock &block,
                        bool &listChanged)
{
    listChanged = false;
    CContentsList *list = GroupList(store, block.groupName, 50, !IsCurrentGroup(store, block.groupName));
    if (!list) {
        WriteSyslog(LOG_ERR_APP, "SaveSimpleCalendar : Invalid content type : type = %d", 50);
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
    if (!StoreAndSave(*list, row, 51, [&] { return SaveGroupList(store, block.groupName, 50); }))
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
    int lastCounter = -1;
    for (quint32 position : positions) {
        if (!RoomFor(*list, type))
            break;
        std::unique_ptr<CPropertyBase> record = CreateProperty(type);
        if (!list->Get(int(position), record.get())) {
            ShowSourceMissing(-1);
            break;
        }
        const qint32 source = record->GetIndex();
        int counter = 0;
        const qint32 number = store.GetNewCode(type, counter);
        int sourcePrefix = 0;
        SplitContentId(source, &sourcePrefix, nullptr, nullptr);
        model->SetIdPrefix(sourcePrefix);
        if (number < 0 || !model->Load(source, type)) {
            ShowSourceMissing(source);
            break;
        }
        int prefix = 0;
        SplitContentId(number, &prefix, nullptr, nullptr);
        model->SetIdPrefix(prefix);
        record->SetIndex(number);
        record->SetCreateDate(GetLocalTime());
        if (!model->Save(number, type) || !list->Add(record.get())) {
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
        ShowSaveFailed(type);
        return 0;
    }
    AdvanceContentCounter(type, lastCounter);
    return int(added.size());
}

int PasteSchedules(CContentsStore &store, const QString &sourceGroup, const QList<quint32> &positions)
{
    const QString group = store.GetCurrentGroup();
    CContentsList *list = store.GetList(51);
    CContentsList *calendar = store.GetList(50);
    CContentsList *source = GroupList(store, sourceGroup, 51, true);
    QString fromSchedules, fromSequences, toSchedules, toSequences;
    if (!list || !calendar || !source || !store.GetGroupScheduleFolders(sourceGroup, fromSchedules, fromSequences)
        || !PrepareGroupScheduleFolders(store, group, toSchedules, toSequences))
        return 0;
    QList<qint32> added;
    int lastCounter = -1;
    for (quint32 position : positions) {
        if (!RoomFor(*list, 51))
            break;
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
        int sourcePrefix = 0;
        SplitContentId(from, &sourcePrefix, nullptr, nullptr);
        model.SetIdPrefix(sourcePrefix);
        if (number < 0 || !model.Load(from)) {
            ShowSourceMissing(from);
            break;
        }
        model.SetFolders(toSchedules, toSequences);
        int prefix = 0;
        SplitContentId(number, &prefix, nullptr, nullptr);
        model.SetIdPrefix(prefix);
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
        if (!model.Save(number) || !list->Add(&record)) {
            ShowSaveFailed(51);
            break;
        }
        if (!calendar->Add(&row)) {
            list->Delete(list->FindCode(number));
            ShowSaveFailed(51);
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
        // The files hold the lists as they were before the paste.
        store.SaveGroupLists(group, 0, 0);
        ShowSaveFailed(51);
        return 0;
    }
    AdvanceContentCounter(51, lastCounter);
    return int(added.size());
}
