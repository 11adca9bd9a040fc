// Playlists, background-music lists and schedules: showing a stored one in
// the check panes, saving the edited one, and pasting copied ones.

#include "app/child_frame.h"
#include "app/frame_message_ids.h"
#include "app/main_frame.h"
#include "app/pane_roles.h"
#include "widgets/save_dialog_prompter.h"
#include "core/clock.h"
#include "core/content_id.h"
#include "core/message_box.h"
#include "core/setting_ini.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/playlist_property.h"
#include "model/schedule_property.h"
#include "ops/clipboard_formats.h"
#include "ops/frame_checks.h"
#include "ops/layout_selection.h"
#include "ops/playlist_storage.h"

#include <QDateTime>

#include <functional>

namespace {

constexpr quint32 kMsgClipboardEmpty = 5331;
constexpr quint32 kMsgResolutionDiffers = 5333;
constexpr quint32 kMsgSourceGroupMissing = 5334;

const char *const kEventMissing = "イベントが存在しないため、内容を表示できません。";

// Where an edited list is saved: a sample whose edits the operator drops
// starts its editor afresh, a full list is told, and so is a new number that
// cannot be had (the save failed); index -1 when the save must not go on.
SaveTarget ChooseTargetOf(QWidget *owner, const CTimetableModel &model, const CContentsList &list, int type,
                          bool saveAsNew, const std::function<void()> &startAfresh)
{
    const SaveTarget target = ChooseSaveTarget(model, list, type, saveAsNew);
    if (target.choice == SaveNumber::Discard) {
        startAfresh();
    } else if (target.choice == SaveNumber::ListFull) {
        ShowListFull(owner, type);
    } else if (target.index < 0) {
        WriteSyslog(LOG_ERR_APP, "ChooseSaveTarget : no number is free : type = %d", type);
        ShowSaveFailed(type);
    }
    return target;
}

const char *SavedQuestion(int type)
{
    switch (type) {
    case CONTENT_PLAYLIST:
        return "プレイリストを保存しました。\nすべての内容をクリアして、別のプレイリストを新規作成しますか？";
    case CONTENT_BGMLIST:
        return "BGMリストを保存しました。\nすべての内容をクリアして、別のBGMリストを新規作成しますか？";
    default:
        return "スケジュールを保存しました。\nすべての内容をクリアして、別のスケジュールを新規作成しますか？";
    }
}

bool AskNewAfterSave(QObject *owner, int type)
{
    return MessageBoxWithCaptionId(owner, QString::fromUtf8(SavedQuestion(type)), kTitleCaption,
                                   MB_YESNO | MB_ICONQUESTION) == IDYES;
}

} // namespace

// ---- Check panes ---------------------------------------------------------------

bool CMainFrame::PlaylistCheckLoad(qint32 index, int type, bool keepPanes)
{
    CContentsStore &store = GetContentFolders();
    CPlaylistEditModel *model = store.GetSecondPlaylistModel(type);
    CContentsList *list = store.GetList(type);
    if (!model || !list) {
        WriteSyslog(LOG_ERR_APP, "PlaylistCheckLoad : Invalid content type : type = %d", type);
        return false;
    }
    const int position = list->FindCode(index);
    const auto *record = position >= 0 ? dynamic_cast<const CPlaylistProperty *>(list->GetAt(position)) : nullptr;
    if (!record) {
        MessageBoxWithCaptionId(this, QString::fromUtf8(kEventMissing), kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    model->SetIdPrefix(ContentIdPrefix(index));
    if (!model->Load(index, type)) {
        ShowLoadFailed(type);
        PlaylistCheckClear(type, false);
        return false;
    }
    model->SetResolution(record->GetResolution());
    model->SetOrientation(record->GetOrientation());
    ApplyCheckPlaylistLayout();
    NotifyCheckListChanged(type, 1);
    if (!keepPanes)
        SelectCheckPlaylist(-1);
    m_checkListWindow = type == CONTENT_PLAYLIST ? kCheckPlaylistWindow : kCheckBgmWindow;
    if (!keepPanes && GetCurrentView() == VIEW_OVERVIEW) {
        showPane(type == CONTENT_PLAYLIST ? PANE_PLAYLIST_CHECK : PANE_BGM_CHECK);
        if (CChildFrame *other = GetViewFrame(type == CONTENT_PLAYLIST ? PANE_BGM_CHECK : PANE_PLAYLIST_CHECK))
            other->hide();
    }
    return true;
}

bool CMainFrame::ScheduleCheckLoad(qint32 index, CalendarDay day)
{
    CContentsStore &store = GetContentFolders();
    CContentsList *list = store.GetList(CONTENT_SCHEDULE);
    const int position = list ? list->FindCode(index) : -1;
    CScheduleProperty record;
    if (position < 0 || !list->Get(position, &record)) {
        ScheduleCheckClear(CheckPanes::Keep, CalendarDay::Clear);
        return false;
    }
    if (day == CalendarDay::SelectSchedule) {
        // The group's calendars show the days of the schedule checked: the
        // send view's, where the schedule check is chosen, and the overview's.
        const DateValue &start = record.GetStartDate();
        const DateValue &end = record.GetEndDate();
        for (int pane : {PANE_CALENDAR_STATUS, PANE_CALENDAR_GROUP}) {
            if (auto *calendar = paneRole<ICalendarView>(pane))
                calendar->SelectPeriod(QDate(start.year, start.month, start.day), QDate(end.year, end.month, end.day));
        }
    }
    QString scheduleFolder;
    QString sequenceFolder;
    CScheduleEditModel *model = store.GetSecondScheduleModel();
    if (!store.GetGroupScheduleFolders(m_currentGroup, scheduleFolder, sequenceFolder)) {
        ScheduleCheckClear(CheckPanes::Keep, CalendarDay::Keep);
        return false;
    }
    model->SetFolders(scheduleFolder, sequenceFolder);
    model->SetIdPrefix(ContentIdPrefix(index));
    if (!model->Load(index)) {
        ScheduleCheckClear(CheckPanes::Keep, CalendarDay::Keep);
        return false;
    }
    NotifyCheckScheduleChanged();
    return true;
}

// ---- Saving ------------------------------------------------------------------------

bool CMainFrame::PlaylistSave(int type, bool saveAsNew)
{
    CContentsStore &store = GetContentFolders();
    CPlaylistEditModel *model = store.GetPlaylistModel(type);
    CContentsList *list = store.GetList(type);
    if (!model || !list) {
        WriteSyslog(LOG_ERR_APP, "PlaylistSave : Invalid content type : type = %d", type);
        return false;
    }
    if (!CheckPlaylist(type) || !CheckPlaylistAreas(*model, GetAppData().GetLayoutTemplates()))
        return false;
    const SaveTarget target =
        ChooseTargetOf(this, *model, *list, type, saveAsNew, [this, type] { PlaylistNew(type, true); });
    const qint32 index = target.index;
    const int counter = target.counter;
    if (index < 0)
        return false;
    if (counter < 0 && IsContentInTransfer({index}, type, false))
        return false;

    ScheduleSetBlock block = DefaultScheduleBlock(m_currentGroup);
    if (type == CONTENT_PLAYLIST) {
        if (!PromptScheduleSet(this, block))
            return false;
    } else {
        QString info = model->GetInfo();
        QString title = model->GetTitle();
        if (!PromptProperty(this, info, title))
            return false;
        if (title.isEmpty())
            title = Clock().now().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
        model->SetInfo(info);
        model->SetTitle(title);
    }
    if (!SavePlaylist(store, *model, *list, type, index, counter))
        return false;
    NotifyContentsListChanged(type, 0, 0);

    if (type == CONTENT_PLAYLIST && block.setSchedule)
        saveSimpleScheduleOf(index, model->GetInfo(), model->GetTitle(), block);
    if (store.GetSecondPlaylistModel(type)->GetIndex() == index)
        PlaylistCheckLoad(index, type, true);
    if (AskNewAfterSave(this, type))
        PlaylistNew(type, true);
    else
        NotifyEditListChanged(type, 0);
    return true;
}

void CMainFrame::saveSimpleScheduleOf(qint32 playlist, const QString &info, const QString &title,
                                      const ScheduleSetBlock &block)
{
    SimpleScheduleRecord record{-1, playlist, info, title};
    bool currentGroupChanged = false;
    if (!SavePlaylistSchedule(GetContentFolders(), record, block, GetSettingIni().Options().PowerOffTime,
                              currentGroupChanged)
        || !currentGroupChanged)
        return;
    NotifyContentsListChanged(CONTENT_SCHEDULE, 0, 0);
    NotifyContentsListChanged(CONTENT_CALENDAR, 0, 0);
    NotifyContentsChanged(nullptr);
}

bool CMainFrame::ScheduleSave(bool saveAsNew)
{
    CContentsStore &store = GetContentFolders();
    CScheduleEditModel *model = store.GetScheduleModel();
    CContentsList *list = store.GetList(CONTENT_SCHEDULE);
    if (!list) {
        WriteSyslog(LOG_ERR_APP, "ScheduleSave : Invalid content type : type = %d", CONTENT_SCHEDULE);
        return false;
    }
    if (!CheckSchedule())
        return false;
    const SaveTarget target =
        ChooseTargetOf(this, *model, *list, CONTENT_SCHEDULE, saveAsNew, [this] { ScheduleNew(true); });
    const qint32 index = target.index;
    const int counter = target.counter;
    if (index < 0)
        return false;
    if (counter < 0 && IsContentInTransfer({index}, CONTENT_SCHEDULE, false))
        return false;

    // A stored schedule keeps its dates and days; a new one asks for them.
    ScheduleSetBlock block = DefaultScheduleBlock(m_currentGroup);
    block.setSchedule = true;
    if (counter >= 0 && !PromptScheduleSet(this, block))
        return false;
    if (!SaveSchedule(store, *model, *list, index, counter, block))
        return false;
    NotifyContentsListChanged(CONTENT_SCHEDULE, 0, 0);
    NotifyContentsChanged(nullptr);
    if (store.GetSecondScheduleModel()->GetIndex() == index)
        ScheduleCheckLoad(index, CalendarDay::SelectSchedule);
    if (AskNewAfterSave(this, CONTENT_SCHEDULE))
        ScheduleNew(true);
    else
        NotifyEditScheduleChanged(0);
    return true;
}

// ---- Pasting -----------------------------------------------------------------------

bool CMainFrame::PastePlaylist(int type)
{
    CContentsStore &store = GetContentFolders();
    CContentsList *list = store.GetList(type);
    QList<quint32> positions;
    const QByteArray block = GetClipboardBlock(PlaylistCopyFormat(type));
    if (!list || block.isEmpty() || !ReadPlaylistCopyBlock(block, list->GetCount(), positions)) {
        ShowMessage(this, kMsgClipboardEmpty, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    const int added = PastePlaylists(store, type, positions);
    if (added > 0)
        NotifyContentsListChanged(type, 0, 0);
    return added == positions.size();
}

bool CMainFrame::PasteSchedule()
{
    ScheduleCopyBlock copy;
    const QByteArray block = GetClipboardBlock(CLIPBOARD_SCHEDULE_COPY);
    if (block.isEmpty() || !ReadScheduleCopyBlock(block, copy)) {
        ShowMessage(this, kMsgClipboardEmpty, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    const CQ9GroupXml &groups = GetAppData().GetGroupXml();
    CGroupRecord current;
    const int currentPosition = groups.FindGroupByName(m_currentGroup);
    if (currentPosition < 0 || !groups.GetGroup(currentPosition, current)
        || quint32(current.ResolutionId) != copy.resolutionId || quint32(current.Orientation) != copy.orientation) {
        ShowMessage(this, kMsgResolutionDiffers, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    QString sourceGroup;
    CGroupRecord group;
    for (int position = 0; groups.GetGroup(position, group); ++position) {
        if (quint32(group.Number) == copy.groupNumber)
            sourceGroup = group.Name;
    }
    CContentsStore &store = GetContentFolders();
    const bool sourceIsCurrent = sourceGroup.compare(m_currentGroup, Qt::CaseInsensitive) == 0;
    if (sourceGroup.isEmpty() || (!sourceIsCurrent && !store.LoadGroupSchedules(sourceGroup, 1))) {
        ShowMessage(this, kMsgSourceGroupMissing, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    const CContentsList *source =
        sourceIsCurrent ? store.GetList(CONTENT_SCHEDULE) : store.GetWorkGroupList(CONTENT_SCHEDULE);
    if (!source || !AreIndexesBelow(copy.indexes, source->GetCount())) {
        ShowMessage(this, kMsgClipboardEmpty, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    const int added = PasteSchedules(store, sourceGroup, copy.indexes);
    if (added > 0) {
        NotifyContentsListChanged(CONTENT_SCHEDULE, 0, 0);
        NotifyContentsChanged(nullptr);
    }
    return added == copy.indexes.size();
}
