// Composing playlists, background-music lists and schedules in their panes:
// contents dragged from the contents pane onto the grid, cells moved and
// deleted, a time changed in the time dialog, the list saved, loaded again
// from the contents pane and emptied with the unsaved-changes question, and
// saves whose list cannot be written leaving everything as it was.
#include "app/main_frame.h"
#include "widgets/telv_edit_drop.h"
#include "widgets/time_code_ctrl.h"
#include "widgets/time_edit_dlg.h"
#include "core/message_box.h"
#include "core/system_ini.h"
#include "fake_save_dialogs.h"
#include "model/audio_property.h"
#include "model/calendar_property.h"
#include "model/contents_store.h"
#include "model/img_property.h"
#include "model/movie_property.h"
#include "model/playlist_property.h"
#include "model/schedule_edit_model.h"
#include "model/telop_property.h"
#include "ops/clipboard_formats.h"
#include "shell_fixture.h"
#include "support/time_codes.h"
#include "timetable_drops.h"
#include "ui/contents/contents_dlg_view.h"
#include "ui/contents/contents_list_ctrl.h"
#include "ui/contents/contents_list_dlg.h"
#include "ui/contents/contents_tab_ctrl.h"
#include "ui/contents/contents_columns.h"
#include "ui/contents/name_dlg.h"
#include "ui/contents/property_set_dlg.h"
#include "ui/timetable/playlist_edit_dlg_view.h"
#include "ui/timetable/schedule_edit_dlg_view.h"
#include "ui/timetable/timetable_editor.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include <memory>

namespace {

constexpr int kIdEdit = 57601;

template <class Record>
void AddContent(int type, qint32 number, const char *title, const PlayLength &playTime)
{
    Record record;
    ASSERT_TRUE(record.SetIndex(number));
    record.SetTitle(QString::fromUtf8(title));
    record.SetPlayTime(playTime);
    ASSERT_TRUE(GetContentFolders().GetList(type)->Add(&record));
}

// Answers the next time dialog with a time.
void AnswerTime(const TimeValue &time)
{
    OnNextModal<CTimeEditDlg>([time](CTimeEditDlg *dialog) {
        dialog->SetTime(time.hour, time.minute, time.second);
        dialog->accept();
    });
}

QString CellText(const CTimetableGrid &grid, int row, int column)
{
    return grid.model()->index(row, column).data().toString();
}

class TimetableEditing : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        frame = startSetUpFrameWithGroups({QStringLiteral("G1")});
        ASSERT_NE(frame, nullptr);
        frame->resize(1400, 900);
        AddContent<CMovieProperty>(1, 100000001, "Opening", PlayLength{0, 0, 30});
        AddContent<CImgProperty>(2, 200000001, "Poster", PlayLength{0, 0, 0}); // plays the last chosen time
        AddContent<CTelopProperty>(3, 300000001, "News", PlayLength{0, 0, 20});
        frame->NotifyContentsListChanged(0, 0, 0);
        contents = dynamic_cast<CContentsDlgView *>(frame->GetViewPane(CMainFrame::PANE_CONTENTS));
        ASSERT_NE(contents, nullptr);
        dialogs.block.groupName = QStringLiteral("G1");
        dialogs.block.startDate = DateValue{2026, 12, 1};
        dialogs.block.endDate = DateValue{2026, 12, 31};
        dialogs.block.startTime = Tc(10, 0);
        dialogs.block.endTime = Tc(18, 0);
    }

    // The contents pane's list of a type, its tab chosen.
    CContentsListCtrl *listOf(int type)
    {
        CContentsTabCtrl *tabs = contents->GetTabCtrl();
        for (int tab = 0; tab < tabs->count(); ++tab) {
            if (tabs->GetPage(tab) && tabs->GetPage(tab)->GetContentType() == type && contents->SelectTab(tab))
                return contents->GetVisibleList();
        }
        ADD_FAILURE() << "no tab of type " << type;
        return nullptr;
    }

    // The drag block the contents pane makes for the selected contents.
    QMimeData *dragOf(int type, const QList<qint32> &numbers)
    {
        CContentsListCtrl *list = listOf(type);
        list->SelectContentIndexes(numbers);
        return list->CreateDragData();
    }

    // The playlist editor shown, the movie and then the still dragged onto
    // its main track and the telop beside them.
    CPlaylistEditDlgView *composePlaylist()
    {
        EXPECT_TRUE(frame->SwitchView(CMainFrame::VIEW_PLAYLIST, true));
        auto *editor = PaneOf<CPlaylistEditDlgView>(frame, CMainFrame::PANE_PLAYLIST_EDIT);
        CTimetableGrid &grid = *editor->GetGrid();
        EXPECT_TRUE(DropOn(grid, dragOf(1, {100000001}), -1, 1));
        EXPECT_TRUE(DropOn(grid, dragOf(2, {200000001}), -1, 1));
        EXPECT_TRUE(DropOn(grid, dragOf(3, {300000001}), 0, 2));
        return editor;
    }

    // Saves the edited playlist under a new number, which it returns.
    qint32 saveNewPlaylist(CPlaylistEditDlgView &editor)
    {
        m_prompter.answer(IDNO);
        editor.GetButton(QStringLiteral("save"))->click();
        return playlist().GetIndex();
    }

    CPlaylistEditModel &playlist() { return *GetContentFolders().GetPlaylistModel(52); }

    CMainFrame *frame = nullptr;
    CContentsDlgView *contents = nullptr;
    FakeSaveDialogs dialogs;
};

} // namespace

TEST_F(TimetableEditing, APlaylistIsComposedByDraggingContentsOntoItsTracks)
{
    CTimetableGrid &grid = *composePlaylist()->GetGrid();
    // Tracks are headed by their names.
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("メイン"));
    EXPECT_EQ(grid.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("サブ1"));
    // A content's play time is the event's length.
    EXPECT_EQ(playlist().GetItemCount(), 3);
    ASSERT_EQ(grid.model()->rowCount(), 3);
    EXPECT_EQ(CellText(grid, 0, 0), QStringLiteral("00:00:00 - 00:00:20"));
    EXPECT_EQ(CellText(grid, 0, 1), QStringLiteral("Opening"));
    EXPECT_EQ(CellText(grid, 1, 1), QStringLiteral("│"));
    EXPECT_EQ(CellText(grid, 2, 1), QStringLiteral("Poster"));
    EXPECT_EQ(CellText(grid, 0, 2), QStringLiteral("News"));
    TimeValue end;
    ASSERT_TRUE(playlist().GetEndTime(2, end));
    EXPECT_EQ(end, Tc(0, 0, 40));
    // The time column takes nothing.
    EXPECT_FALSE(DropOn(grid, dragOf(1, {100000001}), 0, 0));
}

TEST_F(TimetableEditing, AnEventMovesByDragToAnotherTrackAndDeleteRemovesIt)
{
    CPlaylistEditDlgView *editor = composePlaylist();
    CTimetableGrid &grid = *editor->GetGrid();
    grid.setCurrentIndex(grid.model()->index(0, 2));
    ASSERT_TRUE(DropOn(grid, editor->GetEditor()->CreateEventDragData(), 0, 3));
    EXPECT_EQ(CellText(grid, 0, 3), QStringLiteral("News"));
    EXPECT_EQ(CellText(grid, 0, 2), QString());
    grid.setCurrentIndex(grid.model()->index(0, 3));
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(playlist().GetItemCount(), 2);
}

TEST_F(TimetableEditing, TheTimeDialogSetsAnEventsEndAndSaysWhyItRefusesOne)
{
    CPlaylistEditDlgView *editor = composePlaylist();
    CTimetableGrid &grid = *editor->GetGrid();
    // An end that runs into the next event, and one at the start.
    grid.setCurrentIndex(grid.model()->index(0, 1));
    AnswerTime(Tc(0, 0, 35));
    m_prompter.answer(IDOK);
    editor->GetButton(QStringLiteral("time"))->click();
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("次のイベントと時間が重なります。")));
    AnswerTime(Tc(0, 0, 0));
    m_prompter.expect(5246, IDOK);
    editor->GetButton(QStringLiteral("time"))->click();
    TimeValue end;
    ASSERT_TRUE(playlist().GetEndTime(1, end));
    EXPECT_EQ(end, Tc(0, 0, 30));

    // The still plays until one minute in.
    grid.setCurrentIndex(grid.model()->index(2, 1));
    OnNextModal<CTimeEditDlg>([](CTimeEditDlg *dialog) {
        dialog->GetTimeCtrl()->SetMinute(1);
        dialog->GetTimeCtrl()->SetSecond(0);
        dialog->accept();
    });
    editor->GetButton(QStringLiteral("time"))->click();
    ASSERT_TRUE(playlist().GetEndTime(playlist().GetRowCount() - 1, end));
    EXPECT_EQ(end, Tc(0, 1, 0));
}

TEST_F(TimetableEditing, ASavedPlaylistIsLoadedAgainFromTheContentsPaneOnlyWhenAsked)
{
    CPlaylistEditDlgView *editor = composePlaylist();
    const qint32 number = saveNewPlaylist(*editor);
    ASSERT_GT(number, 0);
    EXPECT_FALSE(playlist().IsModified());
    CContentsList &list = *GetContentFolders().GetList(52);
    const auto *record = dynamic_cast<const CPlaylistProperty *>(list.GetAt(list.FindCode(number)));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->GetDuration(), Tc(0, 0, 40));

    // A change, then 編集 of the saved list: No keeps the change, Yes loads the stored list.
    ASSERT_TRUE(DropOn(*editor->GetGrid(), dragOf(3, {300000001}), -1, 2));
    CContentsListCtrl *playlists = listOf(52);
    playlists->SelectContentIndexes({number});
    m_prompter.answer(IDNO);
    playlists->OnCommand(kIdEdit);
    EXPECT_TRUE(playlist().IsModified());
    EXPECT_EQ(playlist().GetItemCount(), 4);
    m_prompter.answer(IDYES);
    playlists->OnCommand(kIdEdit);
    EXPECT_FALSE(playlist().IsModified());
    EXPECT_EQ(playlist().GetItemCount(), 3);
    EXPECT_EQ(playlist().GetIndex(), number);
}

TEST_F(TimetableEditing, NewAsksBeforeEmptyingAChangedPlaylist)
{
    CPlaylistEditDlgView *editor = composePlaylist();
    m_prompter.answer(IDNO);
    editor->GetButton(QStringLiteral("new"))->click();
    EXPECT_EQ(playlist().GetItemCount(), 3);
    m_prompter.answer(IDYES);
    editor->GetButton(QStringLiteral("new"))->click();
    EXPECT_EQ(playlist().GetItemCount(), 0);
    EXPECT_EQ(editor->GetGrid()->model()->rowCount(), 0);
}

TEST_F(TimetableEditing, TheCheckPaneShowsAStoredPlaylistAndClearEmptiesIt)
{
    const qint32 number = saveNewPlaylist(*composePlaylist());
    ASSERT_TRUE(frame->PlaylistCheckLoad(number, 52, true));
    auto *check = PaneOf<CPlaylistEditDlgView>(frame, CMainFrame::PANE_PLAYLIST_CHECK);
    EXPECT_EQ(check->GetGrid()->model()->rowCount(), 3);
    check->GetButton(QStringLiteral("clear"))->click();
    EXPECT_EQ(GetContentFolders().GetSecondPlaylistModel(52)->GetIndex(), -1);
    EXPECT_EQ(check->GetGrid()->model()->rowCount(), 0);
}

TEST_F(TimetableEditing, ABackgroundMusicListTakesAudioOnlyAndItsNameFromTheNameDialog)
{
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_BGM, true));
    auto *editor = PaneOf<CPlaylistEditDlgView>(frame, CMainFrame::PANE_BGM_EDIT);
    CTimetableGrid &grid = *editor->GetGrid();
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("BGM"));
    EXPECT_FALSE(editor->GetEditor()->Drop(nullptr, CellPoint(grid, -1, 1)));
    QMimeData movie;
    movie.setData(ClipboardMimeType(CLIPBOARD_CONTENTS), MakeContentsDataBlock(1, {100000001}));
    EXPECT_EQ(editor->GetEditor()->Drop(&movie, CellPoint(grid, -1, 1)), quint32(DROPEFFECT_NONE));

    OnNextModal<CNameDlg>([](CNameDlg *dialog) {
        dialog->GetEdit()->setText(QStringLiteral("Morning"));
        dialog->accept();
    });
    editor->GetButton(QStringLiteral("settings"))->click();
    CPlaylistEditModel &model = *GetContentFolders().GetPlaylistModel(53);
    EXPECT_EQ(model.GetTitle(), QStringLiteral("Morning"));
    EXPECT_TRUE(model.IsModified());

    // The name is the list's title: typing stops at the title's 40
    // characters, and a name that long opens again whole.
    const QString typed(45, u'k');
    OnNextModal<CNameDlg>([&typed](CNameDlg *dialog) {
        dialog->GetEdit()->clear();
        QTest::keyClicks(dialog->GetEdit(), typed);
        dialog->accept();
    });
    editor->GetButton(QStringLiteral("settings"))->click();
    EXPECT_EQ(model.GetTitle(), typed.left(CPropertyBase::kMaxTitle));
    QString reopened;
    OnNextModal<CNameDlg>([&reopened](CNameDlg *dialog) {
        reopened = dialog->GetEdit()->text();
        dialog->accept();
    });
    editor->GetButton(QStringLiteral("settings"))->click();
    EXPECT_EQ(reopened, model.GetTitle());
}

TEST_F(TimetableEditing, APlayTimeRoundsUpToTheWholeSecondInEventsListsAndTheDialog)
{
    // Play times keep milliseconds: 2.5 s, 4.92 s and 8.0457 s media.
    AddContent<CMovieProperty>(1, 100000002, "Short", PlayLength{0, 0, 2, 500});
    AddContent<CMovieProperty>(1, 100000003, "Clip", PlayLength{0, 0, 4, 920});
    AddContent<CAudioProperty>(6, 600000001, "Chime", PlayLength{0, 0, 8, 45});
    frame->NotifyContentsListChanged(0, 0, 0);
    TimeValue end;

    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_PLAYLIST, true));
    CTimetableGrid &grid = *PaneOf<CPlaylistEditDlgView>(frame, CMainFrame::PANE_PLAYLIST_EDIT)->GetGrid();
    ASSERT_TRUE(DropOn(grid, dragOf(1, {100000002, 100000003}), -1, 1));
    EXPECT_EQ(CellText(grid, 0, 0), QStringLiteral("00:00:00 - 00:00:03"));
    EXPECT_EQ(CellText(grid, 1, 0), QStringLiteral("00:00:03 - 00:00:08"));
    ASSERT_TRUE(GetContentFolders().GetPlaylistModel(52)->GetEndTime(1, end));
    EXPECT_EQ(end, Tc(0, 0, 8));

    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_BGM, true));
    ASSERT_TRUE(DropOn(*PaneOf<CPlaylistEditDlgView>(frame, CMainFrame::PANE_BGM_EDIT)->GetGrid(),
                       dragOf(6, {600000001}), -1, 1));
    ASSERT_TRUE(GetContentFolders().GetPlaylistModel(53)->GetEndTime(0, end));
    EXPECT_EQ(end, Tc(0, 0, 9));

    // The contents list, its tip and the property dialog give the clip the
    // same 5 s; the dialog closed as it shows keeps the stored 4.92 s.
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_CONTENTS, true));
    CContentsListCtrl *movies = listOf(1);
    movies->OnCommand(4022); // the list view
    int row = 0;
    while (row < movies->GetItemCount() && movies->GetItemText(row, COL_TITLE).trimmed() != QStringLiteral("Clip"))
        ++row;
    ASSERT_LT(row, movies->GetItemCount());
    EXPECT_EQ(movies->GetItemText(row, COL_PLAY_TIME).trimmed(), QStringLiteral("00:00:05"));
    EXPECT_TRUE(movies->ThumbnailToolTip(row).contains(QString::fromUtf8("再生時間：00:00:05")));
    QTime shown;
    OnNextModal<CPropertySetDlg>([&shown](CPropertySetDlg *dialog) {
        shown = dialog->findChild<QTimeEdit *>(QString::number(CPropertySetDlg::IDC_PLAY_TIME))->time();
        dialog->accept();
    });
    movies->SelectContentIndexes({100000003});
    movies->OnCommand(4004); // 分類・タイトルの変更
    EXPECT_EQ(shown, QTime(0, 0, 5));
    CContentsList &stored = *GetContentFolders().GetList(1);
    EXPECT_EQ(static_cast<const CMovieProperty *>(stored.GetAt(stored.FindCode(100000003)))->GetPlayTime(),
              (PlayLength{0, 0, 4, 920}));
}

TEST_F(TimetableEditing, AScheduleTakesAPlaylistOnItsEmptyCellAndSavesWithItsCalendarRow)
{
    // A stored playlist of one minute.
    CPlaylistEditModel &list = *GetContentFolders().GetPlaylistModel(52);
    ASSERT_TRUE(list.PlaceItem(1, Tc(0, 0), 60 * 30, 100000001, 1));
    m_prompter.answer(IDYES);
    ASSERT_TRUE(frame->PlaylistSave(52, false));
    const qint32 playlist = GetContentFolders().GetList(52)->GetAt(0)->GetIndex();

    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_SCHEDULE, true));
    auto *editor = PaneOf<CScheduleEditDlgView>(frame, CMainFrame::PANE_SCHEDULE_EDIT);
    CTimetableGrid &grid = *editor->GetGrid();
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("プレイリスト"));
    EXPECT_EQ(grid.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("BGMリスト"));
    editor->GetButton(QStringLiteral("new"))->click();
    ASSERT_EQ(grid.model()->rowCount(), 1); // the one empty cell

    // On the list track it plays from power-on for the list's length; a
    // playlist refuses the background-music track.
    EXPECT_FALSE(DropOn(grid, dragOf(52, {playlist}), 0, 2));
    ASSERT_TRUE(DropOn(grid, dragOf(52, {playlist}), 0, 1));
    CScheduleEditModel &model = *GetContentFolders().GetScheduleModel();
    TimeValue start;
    TimeValue end;
    ASSERT_TRUE(model.GetStartTime(0, start));
    ASSERT_TRUE(model.GetEndTime(0, end));
    EXPECT_EQ(start, Tc(10, 0));
    EXPECT_EQ(end, Tc(10, 1));
    // A changed time is checked against the operating hours (power-off at 18:00).
    grid.setCurrentIndex(grid.model()->index(0, 1));
    for (const auto &[time, message] : {std::pair{Tc(10, 0, 4), 5246u}, std::pair{Tc(19, 0), 5354u}}) {
        AnswerTime(time);
        m_prompter.expect(message, IDOK);
        editor->GetButton(QStringLiteral("time"))->click();
    }
    ASSERT_TRUE(model.GetEndTime(0, end));
    EXPECT_EQ(end, Tc(10, 1));

    m_prompter.answer(IDNO);
    editor->GetButton(QStringLiteral("save"))->click();
    EXPECT_EQ(dialogs.scheduleAsks, 2); // the playlist's save, then the schedule's
    ASSERT_GT(model.GetIndex(), 0);
    CContentsList &calendar = *GetContentFolders().GetList(50);
    ASSERT_EQ(calendar.GetCount(), 1);
    EXPECT_EQ(dynamic_cast<CCalendarProperty *>(calendar.GetAt(0))->GetSchedule(), model.GetIndex());

    // 編集 of the saved schedule in the contents pane beside the editor opens it there.
    const qint32 saved = model.GetIndex();
    editor->GetButton(QStringLiteral("new"))->click();
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_SCHEDULE, true));
    CContentsListCtrl *schedules = listOf(51);
    ASSERT_NE(schedules, nullptr);
    schedules->SelectContentIndexes({saved});
    schedules->OnCommand(kIdEdit);
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_SCHEDULE);
    EXPECT_EQ(model.GetIndex(), saved);
}

TEST_F(TimetableEditing, ASaveOrPasteWhoseListCannotBeWrittenLeavesListsAndCountersAsTheyWere)
{
    CContentsStore &store = GetContentFolders();
    CPlaylistEditModel &model = *store.GetPlaylistModel(52);
    ASSERT_TRUE(model.PlaceItem(1, Tc(0, 0), 60 * 30, 100000001, 1));
    m_prompter.answer(IDNO);
    ASSERT_TRUE(frame->PlaylistSave(52, false));
    const qint32 first = model.GetIndex();
    ASSERT_TRUE(model.PlaceItem(2, Tc(0, 0), 10 * 30, 300000001, 3));

    // A folder where the list file goes: the list cannot be written.
    const QString path = store.GetListPath(52);
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/held")));
    const int counter = GetSystemIni().GetContentIndex(52);

    m_prompter.expect(5213, IDOK);
    EXPECT_FALSE(frame->PlaylistSave(52, true));
    EXPECT_EQ(store.GetList(52)->GetCount(), 1);
    EXPECT_EQ(GetSystemIni().GetContentIndex(52), counter);
    EXPECT_EQ(model.GetIndex(), first);
    EXPECT_TRUE(model.IsModified());

    // In place: the record keeps its old length.
    m_prompter.expect(5213, IDOK);
    EXPECT_FALSE(frame->PlaylistSave(52, false));
    EXPECT_EQ(dynamic_cast<CPlaylistProperty *>(store.GetList(52)->GetAt(0))->GetDuration(), Tc(0, 1, 0));

    frame->CopyPlaylist(52, {0});
    m_prompter.expect(5213, IDOK);
    EXPECT_FALSE(frame->PastePlaylist(52));
    EXPECT_EQ(store.GetList(52)->GetCount(), 1);
    EXPECT_EQ(GetSystemIni().GetContentIndex(52), counter);
}

TEST(TimetableGrid, TheEmptyRowShowsOnTheGridAtOnce)
{
    const CScheduleEditModel schedule;
    CTimetableGrid grid;
    grid.ShowModel(schedule, CScheduleEditDlgView::TrackNames(schedule));
    grid.GetTableModel()->SetEmptyRow(true);
    EXPECT_EQ(grid.verticalHeader()->count(), 1);
}
