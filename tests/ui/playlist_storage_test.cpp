// Saving, showing and pasting playlists and schedules through the frame: the
// checks and the sample guard, new numbers and counters, the simple schedule
// and calendar row of a playlist save (also for another group), the check
// panes, the clipboard, and saves that fail.
#include "app/main_frame.h"
#include "core/content_id.h"
#include "core/path_utils.h"
#include "core/system_ini.h"
#include "model/calendar_property.h"
#include "model/contents_store.h"
#include "model/playlist_property.h"
#include "model/schedule_property.h"
#include "ops/clipboard_formats.h"
#include "fake_save_dialogs.h"
#include "shell_fixture.h"
#include "support/time_codes.h"
#include "ui/timetable/playlist_edit_dlg_view.h"
#include "ui/timetable/schedule_edit_dlg_view.h"
#include "ui/timetable/timetable_grid.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

void PlayStill(CTimetableModel &model, int track, const TimeValue &start, const TimeValue &end, int type = 2,
               qint32 number = 200000001)
{
    CTimetableItem item;
    ASSERT_TRUE(item.Set(number, start, end, type, 0));
    ASSERT_TRUE(model.InsertItem(track, item));
}

class PlaylistStorage : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        frame = startSetUpFrameWithGroups({QStringLiteral("G1"), QStringLiteral("G2")});
        ASSERT_NE(frame, nullptr);
        dialogs.block.groupName = QStringLiteral("G1");
        dialogs.block.startDate = DateValue{2026, 12, 1};
        dialogs.block.endDate = DateValue{2026, 12, 31};
        dialogs.block.startTime = Tc(9, 0);
        dialogs.block.endTime = Tc(20, 0);
        dialogs.block.weekdays = QStringLiteral("23456");
    }

    CMainFrame *frame = nullptr;
    FakeSaveDialogs dialogs;
};

} // namespace

TEST_F(PlaylistStorage, APlaylistSavesWithItsScheduleShowsInTheCheckPaneAndPastesAsANewList)
{
    CContentsStore &store = GetContentFolders();
    CPlaylistEditModel &model = *store.GetPlaylistModel(52);

    // Four seconds is too short.
    PlayStill(model, 1, Tc(0, 0), Tc(0, 0, 4));
    m_prompter.expect(5211, IDOK);
    EXPECT_FALSE(frame->PlaylistSave(52, false));

    model.Clear();
    PlayStill(model, 1, Tc(0, 0), Tc(0, 0, 10));
    model.SetTitle(QStringLiteral("first"));
    dialogs.block.setSchedule = true;
    m_prompter.answer(IDNO); // keep the list in the editor
    ASSERT_TRUE(frame->PlaylistSave(52, false));
    const qint32 number = model.GetIndex();
    ASSERT_GT(number, 0);
    EXPECT_FALSE(model.IsModified());
    CPlaylistProperty record;
    ASSERT_TRUE(store.GetList(52)->Get(store.GetList(52)->FindCode(number), &record));
    EXPECT_EQ(record.GetTitle(), QStringLiteral("first"));
    EXPECT_EQ(record.GetDuration(), Tc(0, 0, 10));
    EXPECT_EQ(PaneOf<CPlaylistEditDlgView>(frame, CMainFrame::PANE_PLAYLIST_EDIT)->GetListCaption(),
              FormatContentIdFixed(number) + QStringLiteral(" first"));

    // The schedule plays the playlist until the players switch off (18:00).
    ASSERT_EQ(store.GetList(51)->GetCount(), 1);
    const auto *schedule = dynamic_cast<const CScheduleProperty *>(store.GetList(51)->GetAt(0));
    EXPECT_EQ(schedule->GetEndTime(), Tc(18, 0));
    EXPECT_EQ(schedule->GetWeek(), QStringLiteral("23456"));
    ASSERT_EQ(store.GetList(50)->GetCount(), 1);
    const auto *row = dynamic_cast<const CCalendarProperty *>(store.GetList(50)->GetAt(0));
    EXPECT_EQ(row->GetSchedule(), schedule->GetIndex());
    EXPECT_EQ(row->GetFlag(), 1);

    // The check pane shows it; a number the list lacks says so.
    ASSERT_TRUE(frame->PlaylistCheckLoad(number, 52, false));
    EXPECT_EQ(store.GetSecondPlaylistModel(52)->GetRowCount(), 1);
    EXPECT_EQ(PaneOf<CPlaylistEditDlgView>(frame, CMainFrame::PANE_PLAYLIST_CHECK)->GetGrid()->model()->rowCount(), 1);
    m_prompter.answer(IDOK);
    EXPECT_FALSE(frame->PlaylistCheckLoad(520999998, 52, false));
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("イベントが存在しない")));

    // Pasting makes a new list with its own files; the source stays.
    frame->CopyPlaylist(52, {quint32(store.GetList(52)->FindCode(number))});
    ASSERT_TRUE(frame->PastePlaylist(52));
    ASSERT_EQ(store.GetList(52)->GetCount(), 2);
    const qint32 pasted = store.GetList(52)->GetAt(1)->GetIndex();
    EXPECT_NE(pasted, number);
    QString file;
    ASSERT_TRUE(MakePlaylistXmlPath(store.m_playlistFolder, pasted, file));
    EXPECT_TRUE(QFileInfo::exists(file));
    QGuiApplication::clipboard()->clear();
    m_prompter.expect(5331, IDOK);
    EXPECT_FALSE(frame->PastePlaylist(52));

    // A sample is not written over; declining a new number drops the edits.
    CPlaylistProperty sample;
    const qint32 sampleNumber = MakeContentId(5, 52, 999001);
    sample.SetIndex(sampleNumber);
    ASSERT_TRUE(store.GetList(52)->Add(&sample));
    model.SetIndex(sampleNumber);
    model.SetModified(true);
    m_prompter.expect(5002, IDNO);
    EXPECT_FALSE(frame->PlaylistSave(52, false));
    EXPECT_EQ(model.GetIndex(), -1);
}

TEST_F(PlaylistStorage, ASimpleScheduleForAnotherGroupTakesANumberThatGroupDoesNotHold)
{
    CContentsStore &store = GetContentFolders();
    // G2 already holds the number the counter gives next.
    int counter = 0;
    const qint32 next = store.GetNewCode(51, counter);
    ASSERT_TRUE(store.LoadGroupSchedules(QStringLiteral("G2"), 1));
    CScheduleProperty held;
    held.SetIndex(next);
    held.SetTitle(QStringLiteral("G2's own"));
    ASSERT_TRUE(store.GetWorkGroupList(51)->Add(&held));
    ASSERT_TRUE(store.SaveWorkGroupLists(QStringLiteral("G2"), 51, 0));

    CPlaylistEditModel &model = *store.GetPlaylistModel(52);
    PlayStill(model, 1, Tc(0, 0), Tc(0, 1));
    dialogs.block.setSchedule = true;
    dialogs.block.groupName = QStringLiteral("G2");
    m_prompter.answer(IDYES); // empty the editor afterwards
    ASSERT_TRUE(frame->PlaylistSave(52, false));
    EXPECT_EQ(model.GetIndex(), -1);

    ASSERT_TRUE(store.LoadGroupSchedules(QStringLiteral("G2"), 1));
    CContentsList &g2 = *store.GetWorkGroupList(51);
    ASSERT_EQ(g2.GetCount(), 2);
    EXPECT_EQ(g2.GetAt(g2.FindCode(next))->GetTitle(), QStringLiteral("G2's own"));
    EXPECT_EQ(store.GetList(51)->GetCount(), 0); // the current group's list is untouched
}

TEST_F(PlaylistStorage, AScheduleSavedAgainKeepsItsCalendarRowsPlayFlag)
{
    CContentsStore &store = GetContentFolders();
    CScheduleEditModel &model = *store.GetScheduleModel();
    ASSERT_TRUE(model.SetTimeRange(Tc(10, 0), Tc(18, 0)));
    PlayStill(model, model.FindTrackForType(1), Tc(10, 0), Tc(11, 0), 52, 520000001);
    model.SetTitle(QStringLiteral("day"));
    m_prompter.answer(IDNO);
    ASSERT_TRUE(frame->ScheduleSave(false));
    const qint32 number = model.GetIndex();
    EXPECT_EQ(dialogs.scheduleAsks, 1);
    CContentsList &calendar = *store.GetList(50);
    ASSERT_EQ(calendar.GetCount(), 1);
    auto *row = dynamic_cast<CCalendarProperty *>(calendar.GetAt(0));
    ASSERT_TRUE(row->SetFlag(-1)); // forced to play

    // Saved again in place: no dialog, the row keeps its flag.
    model.SetModified(true);
    m_prompter.answer(IDNO);
    ASSERT_TRUE(frame->ScheduleSave(false));
    EXPECT_EQ(model.GetIndex(), number);
    EXPECT_EQ(dialogs.scheduleAsks, 1);
    ASSERT_EQ(calendar.GetCount(), 1);
    EXPECT_EQ(dynamic_cast<CCalendarProperty *>(calendar.GetAt(0))->GetFlag(), -1);

    // The check pane shows it.
    ASSERT_TRUE(frame->ScheduleCheckLoad(number, CMainFrame::CalendarDay::SelectSchedule));
    EXPECT_EQ(store.GetSecondScheduleModel()->GetIndex(), number);
    // Number and title, then the schedule's operating hours.
    EXPECT_EQ(PaneOf<CScheduleEditDlgView>(frame, CMainFrame::PANE_SCHEDULE_CHECK)->GetListCaption(),
              FormatContentIdFixed(number) + QStringLiteral(" day    運用時間 10:00:00 - 18:00:00"));
}

// A schedule that cannot be saved with its calendar row is not saved, which
// the frame tells, keeping the edits (that the stored files stay as they
// were is the ops tests' part).
TEST_F(PlaylistStorage, AScheduleSaveThatFailsIsToldAndKeepsTheEdits)
{
    CContentsStore &store = GetContentFolders();
    auto *playlists = PaneOf<CPlaylistEditDlgView>(frame, CMainFrame::PANE_PLAYLIST_EDIT);
    CPlaylistEditModel &playlist = *store.GetPlaylistModel(52);
    QString scheduleFolder;
    QString sequenceFolder;
    ASSERT_TRUE(store.GetGroupScheduleFolders(QStringLiteral("G1"), scheduleFolder, sequenceFolder));
    ASSERT_TRUE(QDir().mkpath(scheduleFolder + QStringLiteral("/CalendarList.xml/held")));

    // The playlist is saved, its schedule is not: both are said.
    PlayStill(playlist, 1, Tc(0, 0), Tc(0, 0, 10));
    dialogs.block.setSchedule = true;
    m_prompter.answer(IDOK).answer(IDNO);
    playlists->GetButton(QStringLiteral("save"))->click();
    ASSERT_GT(playlist.GetIndex(), 0);
    ASSERT_EQ(m_prompter.prompts().size(), 2);
    EXPECT_EQ(m_prompter.prompts()[0].text, QStringLiteral("スケジュールの保存に失敗しました。"));
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("プレイリストを保存しました。")));
    EXPECT_EQ(store.GetList(51)->GetCount(), 0);

    // A schedule whose calendar row cannot be written is not saved either.
    auto *schedules = PaneOf<CScheduleEditDlgView>(frame, CMainFrame::PANE_SCHEDULE_EDIT);
    CScheduleEditModel &schedule = *store.GetScheduleModel();
    ASSERT_TRUE(schedule.SetTimeRange(Tc(10, 0), Tc(18, 0)));
    PlayStill(schedule, schedule.FindTrackForType(1), Tc(10, 0), Tc(11, 0), 52, 520000001);
    m_prompter.answer(IDOK);
    schedules->GetButton(QStringLiteral("save"))->click();
    EXPECT_EQ(m_prompter.last().text, QStringLiteral("スケジュールの保存に失敗しました。"));
    EXPECT_TRUE(schedule.IsModified());
    EXPECT_EQ(store.GetList(51)->GetCount(), 0);

    // No number to be had: told the same, before any dialog.
    ASSERT_TRUE(GetSystemIni().SetContentIndex(51, 0));
    const int asks = dialogs.scheduleAsks;
    m_prompter.answer(IDOK);
    schedules->GetButton(QStringLiteral("save"))->click();
    ASSERT_EQ(m_prompter.prompts().size(), 4);
    EXPECT_EQ(m_prompter.last().text, QStringLiteral("スケジュールの保存に失敗しました。"));
    EXPECT_EQ(dialogs.scheduleAsks, asks);
}
