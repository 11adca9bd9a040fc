// The main frame: its panes in their order, the notifications, the busy
// checks, closing, the start view and the help documents.
#include "app/child_frame.h"
#include "app/guide_bar.h"
#include "app/main_frame.h"
#include "app/pane_factory.h"
#include "app/telv_q9_app.h"
#include "core/app_ini.h"
#include "core/message_box.h"
#include "core/shell_open.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "fake_shell_opener.h"
#include "shell_fixture.h"
#include "support/fake_clock.h"
#include "transfer/dlk_transfer_manager.h"
#include "transfer/transfer_status_xml.h"
#include "ui/contents/contents_dlg_view.h"
#include "ui/players/layout_prop_dlg_view.h"
#include "ui/timetable/calendar_dlg_view.h"
#include "ui/timetable/playlist_edit_dlg_view.h"
#include "ui/timetable/schedule_edit_dlg_view.h"
#include "widgets/help_page_dlg.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QMdiArea>
#include <QTextBrowser>

namespace {

// A pane that counts the notifications it gets, with their arguments.
class RecordingPane : public CTelvPaneDlg {
public:
    RecordingPane() : CTelvPaneDlg(0) {}
    void OnContentsChanged(QWidget *) override { record(QStringLiteral("ContentsChanged")); }
    void OnColorChanged() override { record(QStringLiteral("ColorChanged")); }
    void OnContentPicked(int kind, int index) override { record(QStringLiteral("ContentPicked %1 %2").arg(kind).arg(index)); }
    void OnLayoutChanged(QWidget *, int flag) override { record(QStringLiteral("LayoutChanged %1").arg(flag)); }
    void OnCheckPlaylistSelected(int index) override { record(QStringLiteral("CheckPlaylistSelected %1").arg(index)); }
    void OnEditPlaylistSelected(int index, int flag) override
    {
        record(QStringLiteral("EditPlaylistSelected %1 %2").arg(index).arg(flag));
    }
    void OnPlayerChanged() override { record(QStringLiteral("PlayerChanged")); }
    void OnGroupChanged() override { record(QStringLiteral("GroupChanged")); }
    void OnContentsListChanged(int type, int index, int flag) override
    {
        record(QStringLiteral("ContentsListChanged %1 %2 %3").arg(type).arg(index).arg(flag));
    }
    void OnRefreshLists() override { record(QStringLiteral("RefreshLists")); }
    void OnCheckListChanged(int type, int flag) override { record(QStringLiteral("CheckListChanged %1 %2").arg(type).arg(flag)); }
    void OnEditListChanged(int type, int flag) override { record(QStringLiteral("EditListChanged %1 %2").arg(type).arg(flag)); }
    void OnCheckScheduleChanged() override { record(QStringLiteral("CheckScheduleChanged")); }
    void OnEditScheduleChanged(int flag) override { record(QStringLiteral("EditScheduleChanged %1").arg(flag)); }

    QMap<QString, int> calls;

protected:
    bool OnInitDialog() override
    {
        resize(200, 120);
        return true;
    }

private:
    void record(const QString &what) { ++calls[what]; }
};

QString ClassOf(const QObject *object)
{
    return object ? QString::fromLatin1(object->metaObject()->className()) : QString();
}

} // namespace

using MainFrame = ShellTest;

TEST_F(MainFrame, CreatesTheTwentyOnePanesInOrder)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    const QStringList classes = {
        "CContentsDlgView",   "CContentsDlgView",     "CPlaylistEditDlgView", "CLayoutDispDlgView",
        "CPlaylistEditDlgView", "CScheduleEditDlgView", "CCalendarDlgView",   "CCalendarDlgView",
        "CLayoutDlgView",     "CLayoutPropDlgView",   "CStatusDlgView",       "CSetSystemDlgView",
        "CSetR40ListDlgView", "CSetGroupDlgView",     "CSetContDlgView",      "CSetOptDlgView",
        "CScheduleViewDlgView", "CScheduleEditDlgView", "CPlaylistEditDlgView", "CPlaylistEditDlgView",
        "CCalendarDlgView"};
    ASSERT_EQ(frame->GetPaneList().GetCount(), CMainFrame::PANE_COUNT);
    for (int i = 0; i < CMainFrame::PANE_COUNT; ++i) {
        EXPECT_EQ(ClassOf(frame->GetPaneList().GetAt(i)), classes[i]) << "pane " << i;
        EXPECT_EQ(frame->GetPaneList().GetAt(i), frame->GetViewPane(i)) << "pane " << i;
    }
    // The layout panes are windows of their own; every other pane has a child frame.
    EXPECT_EQ(frame->GetChildFrames().size(), CMainFrame::PANE_COUNT - 2);
    EXPECT_EQ(frame->GetViewFrame(CMainFrame::PANE_LAYOUT), nullptr);
    EXPECT_TRUE(frame->GetViewPane(CMainFrame::PANE_LAYOUT)->isWindow());
    EXPECT_EQ(frame->GetViewPane(CMainFrame::PANE_LAYOUT)->windowTitle(), QStringLiteral("画面レイアウト"));

    EXPECT_EQ(frame->GetViewFrame(CMainFrame::PANE_CONTENTS)->windowTitle(), QStringLiteral("コンテンツ管理"));
    EXPECT_EQ(frame->GetViewFrame(CMainFrame::PANE_SCHEDULE_VIEW)->windowTitle(), QStringLiteral("確認グループ"));
    EXPECT_EQ(frame->GetViewFrame(CMainFrame::PANE_STATUS)->windowTitle(), QStringLiteral("通信ステータス"));
    EXPECT_TRUE(frame->GetViewFrame(CMainFrame::PANE_BGM_EDIT)->IsSizable());
    EXPECT_FALSE(frame->GetViewFrame(CMainFrame::PANE_CALENDAR_MONTH)->IsSizable());

    // The set-up of each row.
    EXPECT_EQ(dynamic_cast<CContentsDlgView *>(frame->GetViewPane(CMainFrame::PANE_PLAYER_CONTENTS))->GetViewMode(), 17);
    const auto *bgm = dynamic_cast<CPlaylistEditDlgView *>(frame->GetViewPane(CMainFrame::PANE_BGM_EDIT));
    EXPECT_EQ(bgm->GetListType(), 53);
    EXPECT_TRUE(bgm->IsEditing());
    const auto *check = dynamic_cast<CPlaylistEditDlgView *>(frame->GetViewPane(CMainFrame::PANE_PLAYLIST_CHECK));
    EXPECT_EQ(check->GetListType(), 52);
    EXPECT_FALSE(check->IsEditing());
    EXPECT_FALSE(dynamic_cast<CScheduleEditDlgView *>(frame->GetViewPane(CMainFrame::PANE_SCHEDULE_CHECK))->IsEditing());
    const int calendars[] = {CMainFrame::PANE_CALENDAR_MONTH, CMainFrame::PANE_CALENDAR_STATUS,
                             CMainFrame::PANE_CALENDAR_GROUP};
    const int types[] = {50, 51, 52};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dynamic_cast<CCalendarDlgView *>(frame->GetViewPane(calendars[i]))->GetDataType(), types[i]);
    // The single-instance marker is on the frame.
    EXPECT_EQ(frame->property("Q9Mutex").toInt(), 1);
}

TEST_F(MainFrame, AFailingPaneLeavesTheLaterOnesUncreatedAndTheFrameOpens)
{
    RegisterPaneMaker(PANE_KIND_STATUS, {});
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetPaneList().GetCount(), int(CMainFrame::PANE_STATUS));
    EXPECT_EQ(frame->GetViewPane(CMainFrame::PANE_SET_SYSTEM), nullptr);
}

TEST_F(MainFrame, EveryNotificationReachesEveryPaneOnce)
{
    for (int kind = 0; kind < PANE_KIND_COUNT; ++kind)
        RegisterPaneMaker(PaneKind(kind), [](int, int) { return new RecordingPane; });
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->GetPaneList().GetCount(), CMainFrame::PANE_COUNT);
    for (int i = 0; i < CMainFrame::PANE_COUNT; ++i)
        static_cast<RecordingPane *>(frame->GetViewPane(i))->calls.clear();

    frame->NotifyContentsChanged(frame);
    frame->NotifyColorChanged();
    frame->NotifyContentPicked(3, 7);
    frame->NotifyLayoutChanged(frame, 2);
    frame->SelectCheckPlaylist(4);
    frame->SelectEditPlaylist(5, 1);
    frame->NotifyPlayerChanged();
    frame->NotifyGroupChanged();
    frame->NotifyContentsListChanged(53, 4, 1);
    frame->NotifyRefreshLists();
    frame->NotifyCheckListChanged(52, 1);
    frame->NotifyEditListChanged(53, 0);
    frame->NotifyCheckScheduleChanged();
    frame->NotifyEditScheduleChanged(1);

    const QStringList expected = {
        "ContentsChanged",         "ColorChanged",       "ContentPicked 3 7",
        "LayoutChanged 2",         "CheckPlaylistSelected 4", "EditPlaylistSelected 5 1",
        "PlayerChanged",           "GroupChanged",       "ContentsListChanged 53 4 1",
        "RefreshLists",            "CheckListChanged 52 1", "EditListChanged 53 0",
        "CheckScheduleChanged",    "EditScheduleChanged 1"};
    for (int i = 0; i < CMainFrame::PANE_COUNT; ++i) {
        const auto *pane = static_cast<RecordingPane *>(frame->GetViewPane(i));
        EXPECT_EQ(pane->calls.keys().size(), expected.size()) << "pane " << i;
        for (const QString &call : expected)
            EXPECT_EQ(pane->calls.value(call), 1) << "pane " << i << ": " << call.toStdString();
    }
    EXPECT_EQ(frame->GetCheckPlaylistIndex(), 4);
    EXPECT_EQ(frame->GetEditPlaylistIndex(), 5);
}

TEST_F(MainFrame, ClosingWithEditsAndATransferAsksBothQuestionsAndStopsOnlyOnYesYes)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    GetContentFolders().GetPlaylistModel(52)->SetModified(true);
    CDlkTransferManager &manager = GetTransferManager();
    ASSERT_TRUE(manager.StartTransfer({}, &frame->GetRequestList()));
    ASSERT_TRUE(frame->IsBusy());

    m_prompter.expect(5011, IDNO);
    EXPECT_FALSE(frame->ExitApplication(false));
    EXPECT_TRUE(manager.IsRunning());

    m_prompter.expect(5011, IDYES).expect(5013, IDNO);
    EXPECT_FALSE(frame->ExitApplication(false));
    EXPECT_TRUE(manager.IsRunning());
    EXPECT_TRUE(GetContentFolders().GetPlaylistModel(52)->IsModified());

    m_prompter.expect(5011, IDYES).expect(5013, IDYES);
    EXPECT_TRUE(frame->ExitApplication(false));
    EXPECT_FALSE(manager.IsRunning());
    EXPECT_FALSE(frame->IsBusy());
    WinRect placement;
    EXPECT_TRUE(GetAppIni().GetWindowRect(1, placement));
}

TEST_F(MainFrame, SessionEndAsksNothingStopsTheTransferAndSavesThePlacement)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    GetContentFolders().GetScheduleModel()->SetModified(true);
    ASSERT_TRUE(GetTransferManager().StartTransfer({}, &frame->GetRequestList()));
    frame->OnQueryEndSession();
    EXPECT_FALSE(GetTransferManager().IsRunning());
    WinRect placement;
    EXPECT_TRUE(GetAppIni().GetWindowRect(1, placement));
    EXPECT_TRUE(m_prompter.prompts().isEmpty());
}

TEST_F(MainFrame, CanStartOperationRefusesInTheNoSendPeriodAndWhileBusy)
{
    ScopedFakeClock clock(QDateTime(QDate(2026, 4, 1), QTime(12, 0, 0)));
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    writeIni("Q9S.ini", QStringLiteral("Option"), QStringLiteral("NotSendStartTime"), QStringLiteral("11:00:00"));
    writeIni("Q9S.ini", QStringLiteral("Option"), QStringLiteral("NotSendEndTime"), QStringLiteral("13:00:00"));
    GetSystemIni().Load();

    m_prompter.expect(5350, IDOK);
    EXPECT_FALSE(frame->CanStartOperation(false, false));
    EXPECT_TRUE(frame->CanStartOperation(true, false));

    // A period that passes midnight does not hold noon.
    writeIni("Q9S.ini", QStringLiteral("Option"), QStringLiteral("NotSendStartTime"), QStringLiteral("22:00:00"));
    writeIni("Q9S.ini", QStringLiteral("Option"), QStringLiteral("NotSendEndTime"), QStringLiteral("06:00:00"));
    GetSystemIni().Load();
    EXPECT_TRUE(frame->CanStartOperation(false, false));

    frame->SetBusyMode(1);
    m_prompter.expect(5295, IDOK);
    EXPECT_FALSE(frame->CanStartOperation(false, true));
    GetPlayerStatusStore()->SetTransferState(TRANSFER_STATE_START_WAIT);
    m_prompter.expect(5393, IDOK).expect(5295, IDOK);
    EXPECT_FALSE(frame->CanStartOperation(false, true));
    EXPECT_FALSE(frame->CanStartOperation(false, false));
    EXPECT_EQ(m_prompter.last().style & MB_ICONMASK, quint32(MB_ICONWARNING));
    GetPlayerStatusStore()->SetTransferState(TRANSFER_STATE_IDLE);
    frame->SetBusyMode(0);
}

TEST_F(MainFrame, SelectGroupAsksBeforeDiscardingAModifiedSchedule)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    GetContentFolders().GetScheduleModel()->SetModified(true);
    m_prompter.expect(5005, IDNO);
    EXPECT_FALSE(frame->SelectGroup(QStringLiteral("本店"), 0));
    EXPECT_TRUE(frame->GetCurrentGroupName().isEmpty());
    m_prompter.expect(5005, IDYES);
    EXPECT_TRUE(frame->SelectGroup(QStringLiteral("本店"), 0));
    EXPECT_EQ(frame->GetCurrentGroupName(), QStringLiteral("本店"));
    EXPECT_FALSE(GetContentFolders().GetScheduleModel()->IsModified());
}

struct StartViewCase {
    int initSeq;
    int lastGuideSelect;
    bool settingsOpen;
    int expectedView;
};

class MainFrameStartView : public ShellTest, public ::testing::WithParamInterface<StartViewCase> {};

TEST_P(MainFrameStartView, FollowsTheSetUpStepAndTheLastView)
{
    const StartViewCase &c = GetParam();
    writeIni("Y5.ini", QStringLiteral("Sysytem"), QStringLiteral("InitSeq"), QString::number(c.initSeq));
    writeIni("Q9A.ini", QStringLiteral("Window"), QStringLiteral("LastGuideSelect"), QString::number(c.lastGuideSelect));
    writeIni("Q9A.ini", QStringLiteral("Window"), QStringLiteral("SettingsOpen"), c.settingsOpen ? "1" : "0");
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetCurrentView(), c.expectedView);
    // Before the set-up is complete only the settings group is offered.
    const int mainState = frame->GetGuideBar()->GetItemState(CMainFrame::VIEW_CONTENTS);
    EXPECT_EQ(mainState, c.initSeq < 7 ? int(CGuideBar::STATE_HIDDEN) : int(CGuideBar::STATE_SHOWN));
    // The view's panes are shown.
    EXPECT_TRUE(frame->GetMdiClient()->activeSubWindow() != nullptr);
}

INSTANTIATE_TEST_SUITE_P(InitSeq, MainFrameStartView,
                         ::testing::Values(StartViewCase{0, -1, true, 1525}, StartViewCase{1, -1, true, 1526},
                                           StartViewCase{7, -1, true, 1504}, StartViewCase{7, 1508, true, 1508},
                                           // A settings page while the group is closed is not available.
                                           StartViewCase{7, 1527, false, 1504}, StartViewCase{7, 1527, true, 1527}));

TEST_F(MainFrame, HelpDocumentsAreLookedForBesideTheProgramThenInTheCurrentFolder)
{
    FakeOpener opener;
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    // Missing everywhere: nothing is opened, and the message names the
    // document and the folder it belongs in.
    const struct {
        int command;
        const char *name;
    } documents[] = {{CMainFrame::ID_HELP_SETUP_MANUAL, "SetupManualJ.pdf"},
                     {CMainFrame::ID_HELP_MANUAL, "TELV-Q9ManualJ.pdf"},
                     {CMainFrame::ID_HELP_SPEC_SHEET, "SpecsJ.htm"}};
    for (const auto &document : documents) {
        m_prompter.expect(5430, IDOK);
        EXPECT_TRUE(frame->OnCommand(document.command));
        EXPECT_TRUE(m_prompter.last().text.contains(QString::fromLatin1(document.name)));
        EXPECT_TRUE(m_prompter.last().text.contains(QCoreApplication::applicationDirPath()));
    }
    EXPECT_TRUE(opener.opened.isEmpty());

    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_home.path()));
    QFile document(QDir(m_home.path()).filePath(QStringLiteral("SpecsJ.htm")));
    ASSERT_TRUE(document.open(QIODevice::WriteOnly));
    document.close();
    EXPECT_EQ(CMainFrame::FindHelpDocument(QStringLiteral("SpecsJ.htm")), document.fileName());
    // Found, but no program opens it: the message names what is needed.
    m_prompter.expect(5322, IDOK);
    frame->OnHelpCommand(CMainFrame::ID_HELP_SPEC_SHEET);
    opener.result = true;
    frame->OnHelpCommand(CMainFrame::ID_HELP_SPEC_SHEET);
    EXPECT_EQ(opener.opened.size(), 2);
    QDir::setCurrent(current);
    document.remove();

    // Beside the program wins over the current folder.
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("SpecsJ.htm"));
    QFile besideFile(beside);
    ASSERT_TRUE(besideFile.open(QIODevice::WriteOnly));
    besideFile.close();
    const QString found = CMainFrame::FindHelpDocument(QStringLiteral("SpecsJ.htm"));
    QFile::remove(beside);
    EXPECT_EQ(found, QFileInfo(beside).absoluteFilePath());
}

// The error-code table needs no other program: it opens in the program's own
// window from the menu, from the page the build writes beside the program, or
// from the program's own codes where that page is missing.
TEST_F(MainFrame, TheErrorCodeTableOpensInTheProgramsOwnWindow)
{
    FakeOpener opener;
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    auto *item = frame->findChild<QAction *>(QString::number(CMainFrame::ID_HELP_ERROR_LIST));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("エラーコード表(&E)"));
    const QString current = QDir::currentPath();
    auto tableText = [&](const QString &folder) {
        EXPECT_TRUE(QDir::setCurrent(folder));
        item->trigger();
        QDir::setCurrent(current);
        const auto windows = frame->findChildren<CHelpPageDlg *>();
        EXPECT_EQ(windows.size(), 1);
        if (windows.size() != 1)
            return QString();
        EXPECT_TRUE(windows[0]->isVisible());
        EXPECT_EQ(windows[0]->windowTitle(), QStringLiteral("エラーコード表"));
        const QString text = windows[0]->GetBrowser()->toPlainText();
        windows[0]->close();
        delete windows[0];
        return text;
    };
    const QString programFolder = QFileInfo(QStringLiteral(TELV_Q9_BINARY)).absolutePath();
    for (const QString &folder : {programFolder, m_home.path()}) {
        const QString text = tableText(folder);
        EXPECT_TRUE(text.contains(QStringLiteral("1003"))) << qPrintable(text);
        EXPECT_TRUE(text.contains(QStringLiteral("KDP-R40に接続できません(ユーザー名またはパスワードが違います)。")));
        EXPECT_TRUE(text.contains(QStringLiteral("0120"))) << qPrintable(text);
    }
    EXPECT_TRUE(opener.opened.isEmpty());
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);
}

TEST_F(MainFrame, SelectPlayerFindsTheNameAndGroupNumbersAreFoundByName)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    PlayerRecord player;
    player.Number = 12;
    player.Name = QStringLiteral("入口");
    GetAppData().GetPlayerXml().AddPlayer(player);
    frame->SelectPlayer(12);
    EXPECT_EQ(frame->GetCurrentPlayerId(), 12);
    EXPECT_EQ(frame->GetCurrentPlayerName(), QStringLiteral("入口"));
    EXPECT_EQ(GetContentFolders().GetCurrentPlayer().Number, 12);
    frame->SelectPlayer(99);
    EXPECT_EQ(frame->GetCurrentPlayerId(), 99);
    EXPECT_TRUE(frame->GetCurrentPlayerName().isEmpty());

    addGroup(QStringLiteral("Shop A"));
    addGroup(QStringLiteral("Shop B"));
    EXPECT_EQ(frame->GetGroupNo(QStringLiteral("shop b")), 2);
    EXPECT_EQ(frame->GetGroupNo(QStringLiteral("Shop C")), -1);
    ASSERT_TRUE(frame->SelectGroup(QStringLiteral("Shop A"), 0));
    EXPECT_EQ(frame->GetGroupNo(QString()), 1);
}
