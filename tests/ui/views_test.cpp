// The navigation views: switching, the remembered arrangement, the questions
// before a settings page, and the guided first set-up.
#include "app/child_frame.h"
#include "app/guidance_bar.h"
#include "app/guide_bar.h"
#include "app/main_frame.h"
#include "core/app_ini.h"
#include "core/message_box.h"
#include "core/profile_ini.h"
#include "core/setting_ini.h"
#include "core/string_table.h"
#include "model/contents_store.h"
#include "shell_fixture.h"
#include "ui/contents/contents_dlg_view.h"
#include "ui/players/layout_dlg_view.h"
#include "ui/players/status_dlg_view.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>

namespace {

QRect StoredRect(int window)
{
    WinRect rect;
    if (!GetAppIni().GetWindowRect(window, rect))
        return QRect();
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

} // namespace

class NavigationViews : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        frame = startSetUpFrame();
        ASSERT_NE(frame, nullptr);
        ASSERT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_CONTENTS);
    }

    bool isShown(int pane) const
    {
        QWidget *window = frame->GetViewFrame(pane);
        return window ? window->isVisible() : frame->GetViewPane(pane)->isVisible();
    }

    CMainFrame *frame = nullptr;
};

TEST_F(NavigationViews, SwitchingWritesTheArrangementAndComingBackRestoresIt)
{
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_PLAYLIST, false));
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_PLAYLIST);
    // Leaving 1504 stored its pane; 1505 had nothing stored and was given
    // its default arrangement, stored at once.
    EXPECT_FALSE(StoredRect(10).isEmpty());
    for (int window : {11, 20, 22})
        EXPECT_FALSE(StoredRect(window).isEmpty()) << window;
    EXPECT_TRUE(isShown(CMainFrame::PANE_PLAYLIST_EDIT));
    EXPECT_TRUE(isShown(CMainFrame::PANE_LAYOUT_DISP));
    EXPECT_FALSE(isShown(CMainFrame::PANE_STATUS));
    EXPECT_EQ(frame->GetGuidanceBar()->GetGuidanceText(), LoadString(6111));
    EXPECT_EQ(dynamic_cast<CContentsDlgView *>(frame->GetViewPane(CMainFrame::PANE_CONTENTS))->GetViewMode(), 11);

    const QRect moved(5, 7, 700, 400);
    frame->GetViewFrame(CMainFrame::PANE_PLAYLIST_EDIT)->setGeometry(moved);
    frame->GetMdiClient()->setActiveSubWindow(frame->GetViewFrame(CMainFrame::PANE_PLAYLIST_EDIT));
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_CONTENTS, false));
    EXPECT_EQ(StoredRect(20), moved);
    EXPECT_EQ(GetAppIni().GetWindowActive(CMainFrame::VIEW_PLAYLIST), 20);
    EXPECT_EQ(GetAppIni().GetLastGuideSelect(), CMainFrame::VIEW_CONTENTS);

    frame->GetViewFrame(CMainFrame::PANE_PLAYLIST_EDIT)->setGeometry(QRect(50, 50, 800, 450));
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_PLAYLIST, false));
    EXPECT_EQ(frame->GetViewFrame(CMainFrame::PANE_PLAYLIST_EDIT)->geometry(), moved);
    EXPECT_EQ(frame->GetMdiClient()->activeSubWindow(), frame->GetViewFrame(CMainFrame::PANE_PLAYLIST_EDIT));

    // A player's contents and the communication status keep theirs too.
    for (const auto &[view, window] :
         {std::pair{CMainFrame::VIEW_PLAYER_CONTENTS, 17}, std::pair{CMainFrame::VIEW_COMM_STATUS, 43}}) {
        ASSERT_TRUE(frame->SwitchView(view, false)) << view;
        EXPECT_FALSE(StoredRect(window).isEmpty()) << window;
    }
}

TEST_F(NavigationViews, AViewWhoseStoredRectangleWasDeletedGetsItsDefaultArrangementStored)
{
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_BGM, false));
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_CONTENTS, false));
    CProfileIni(GetAppIni().GetFileName()).DeleteSection(QStringLiteral("Window_21"));
    ASSERT_TRUE(StoredRect(21).isEmpty());
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_BGM, false));
    // Top half the contents pane, bottom half the list editor.
    const QRect client = frame->GetMdiClient()->viewport()->rect();
    const QRect editor = frame->GetViewFrame(CMainFrame::PANE_BGM_EDIT)->geometry();
    EXPECT_EQ(editor, QRect(0, client.height() / 2, client.width(), client.height() - client.height() / 2));
    EXPECT_EQ(StoredRect(21), editor);
}

TEST_F(NavigationViews, ClickingTheCurrentViewAgainDoesNothing)
{
    EXPECT_FALSE(frame->SwitchView(CMainFrame::VIEW_CONTENTS, false));
    EXPECT_TRUE(isShown(CMainFrame::PANE_CONTENTS));
}

TEST_F(NavigationViews, ScheduleViewsNeedAGroup)
{
    m_prompter.expect(5326, IDOK);
    EXPECT_FALSE(frame->SwitchView(CMainFrame::VIEW_SCHEDULE, false));
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_CONTENTS);
    addGroup(QStringLiteral("本店"));
    EXPECT_TRUE(frame->SwitchView(CMainFrame::VIEW_GROUP_DELIVERY, false));
    EXPECT_EQ(dynamic_cast<CStatusDlgView *>(frame->GetViewPane(CMainFrame::PANE_STATUS))->GetViewMode(), 41);
    EXPECT_TRUE(isShown(CMainFrame::PANE_CALENDAR_STATUS));
}

TEST_F(NavigationViews, EnteringASettingsPageAsksBeforeDiscardingEdits)
{
    GetContentFolders().GetPlaylistModel(52)->SetModified(true);
    m_prompter.expect(5012, IDNO);
    EXPECT_FALSE(frame->SwitchView(CMainFrame::VIEW_SET_OPTIONS, false));
    EXPECT_TRUE(GetContentFolders().GetPlaylistModel(52)->IsModified());
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_CONTENTS);

    m_prompter.expect(5012, IDYES);
    EXPECT_TRUE(frame->SwitchView(CMainFrame::VIEW_SET_OPTIONS, false));
    EXPECT_FALSE(GetContentFolders().GetPlaylistModel(52)->IsModified());
    EXPECT_TRUE(isShown(CMainFrame::PANE_SET_OPT));

    // While busy, no settings page opens.
    frame->SetBusyMode(1);
    m_prompter.expect(5295, IDOK);
    EXPECT_FALSE(frame->SwitchView(CMainFrame::VIEW_SET_SYSTEM, false));
    frame->SetBusyMode(0);
}

TEST_F(NavigationViews, UnknownViewIdsHideNothing)
{
    for (int id : {1503, 1512, 1521, 1524, 1530, 1532})
        EXPECT_FALSE(frame->ShowView(id)) << id;
    EXPECT_TRUE(isShown(CMainFrame::PANE_CONTENTS));
}

TEST_F(NavigationViews, LayoutSettingsShowTheStandardLayoutBesideOrBelowTheCanvas)
{
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_SET_LAYOUT, true));
    QWidget *canvas = frame->GetViewPane(CMainFrame::PANE_LAYOUT);
    QWidget *properties = frame->GetViewPane(CMainFrame::PANE_LAYOUT_PROP);
    EXPECT_TRUE(canvas->isVisible());
    EXPECT_TRUE(properties->isVisible());
    EXPECT_EQ(properties->windowTitle(), LoadString(5523));
    // The standard layout is only shown: no layout choice, nor its label.
    for (const QLabel *label : properties->findChildren<QLabel *>())
        EXPECT_FALSE(label->isVisible() && label->text() == QString::fromUtf8("レイアウト"));
    // Landscape: the properties go below the canvas.
    EXPECT_EQ(properties->pos().x(), canvas->pos().x());
    EXPECT_GE(properties->pos().y(), canvas->pos().y());
    // The areas are named as the playlist grid heads their tracks.
    const CLayoutCanvas *areas = dynamic_cast<CLayoutDlgView *>(canvas)->GetCanvas();
    EXPECT_EQ(areas->AreaLabel(0), QString::fromUtf8("メイン"));
    EXPECT_EQ(areas->AreaLabel(5), QString::fromUtf8("サブ5"));
    EXPECT_FALSE(StoredRect(67).isEmpty());
    EXPECT_FALSE(StoredRect(68).isEmpty());
}

TEST_F(NavigationViews, LayoutPanesStoredOnAScreenThatIsGoneComeBackToTheClientArea)
{
    GetAppIni().SetWindowRect(67, WinRect{5000, 3000, 5480, 3300});
    GetAppIni().SetWindowRect(68, WinRect{100, 100, 360, 400});
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_SET_LAYOUT, true));
    const QPoint origin = frame->GetMdiClient()->viewport()->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(frame->GetViewPane(CMainFrame::PANE_LAYOUT)->pos(), origin);
    EXPECT_EQ(frame->GetViewPane(CMainFrame::PANE_LAYOUT_PROP)->pos(), QPoint(100, 100));
}

TEST_F(NavigationViews, SizesStoredLargerThanTheScreenAreFittedToIt)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int wide = screen.width() + 900;
    const int tall = screen.height() + 700;
    // A pane of the contents view and a layout window of their own.
    GetAppIni().SetWindowRect(68, WinRect{100, 100, 100 + wide, 100 + tall});
    GetAppIni().SetWindowRect(67, WinRect{0, 0, 300, 200});
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_SET_LAYOUT, true));
    EXPECT_TRUE(screen.contains(frame->GetViewPane(CMainFrame::PANE_LAYOUT_PROP)->geometry()));
    GetAppIni().SetWindowRect(10, WinRect{10, 10, 10 + wide, 10 + tall});
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_CONTENTS, true));
    EXPECT_LE(frame->GetViewFrame(CMainFrame::PANE_CONTENTS)->width(), screen.width());
    EXPECT_LE(frame->GetViewFrame(CMainFrame::PANE_CONTENTS)->height(), screen.height());
}

// A data folder used under one locale and opened under another: the fonts
// of the other are larger, so its bars leave the client area smaller than
// the panes were stored for.
TEST_F(NavigationViews, PanesStoredUnderSmallerFontsFitTheClientAreaOfLargerOnes)
{
    addGroup(QStringLiteral("本店"));
    const QList<int> views = {CMainFrame::VIEW_CONTENTS,         CMainFrame::VIEW_PLAYLIST,
                              CMainFrame::VIEW_BGM,              CMainFrame::VIEW_SCHEDULE,
                              CMainFrame::VIEW_ADVANCE_DELIVERY, CMainFrame::VIEW_GROUP_DELIVERY,
                              CMainFrame::VIEW_OVERVIEW,         CMainFrame::VIEW_COMM_STATUS};
    const QFont shown = QApplication::font();
    const auto restoreFont = qScopeGuard([shown] { QApplication::setFont(shown); });
    const auto client = [this] { return QRect(QPoint(0, 0), frame->GetMdiClient()->maximumViewportSize()); };
    QFont font(shown);
    font.setPixelSize(10);
    QApplication::setFont(font);
    // A font change lays the bars out again once its events have run.
    const QMenuBar *menu = frame->menuBar();
    ASSERT_TRUE(QTest::qWaitFor([menu] {
        return menu->fontInfo().pixelSize() == 10 && menu->height() == menu->sizeHint().height();
    }));
    for (int view : views)
        ASSERT_TRUE(frame->SwitchView(view, true)) << view;
    const QRect stored = client();

    font.setPixelSize(18);
    QApplication::setFont(font);
    ASSERT_TRUE(QTest::qWaitFor([&] { return client().height() < stored.height(); }));
    for (int view : views) {
        ASSERT_TRUE(frame->SwitchView(view, true)) << view;
        for (int pane = 0; pane < CMainFrame::PANE_COUNT; ++pane) {
            const QWidget *window = frame->GetViewFrame(pane);
            if (window && window->isVisible()) {
                EXPECT_TRUE(client().contains(window->geometry())) << "view " << view << " pane " << pane;
            }
        }
    }
}

TEST_F(NavigationViews, GuidedSetUpWalksThroughThePagesAndCompletes)
{
    // Back to the start of the set-up.
    GetSettingIni().SetInitSeq(0);
    frame->AdvanceSetupStep(CMainFrame::VIEW_SET_SYSTEM, false);
    EXPECT_EQ(GetSettingIni().Options().InitSeq, 1);
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_SET_PLAYERS);

    frame->GetGuideBar()->SetItemState(CMainFrame::VIEW_CONTENTS, CGuideBar::STATE_HIDDEN);
    frame->AdvanceSetupStep(CMainFrame::VIEW_SET_PLAYERS, false);
    EXPECT_EQ(GetSettingIni().Options().InitSeq, 7);
    // All views are offered again and the program returns to the last view.
    EXPECT_EQ(frame->GetGuideBar()->GetItemState(CMainFrame::VIEW_CONTENTS), int(CGuideBar::STATE_SHOWN));
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_CONTENTS);
    // The step was saved.
    GetSettingIni().Load();
    EXPECT_EQ(GetSettingIni().Options().InitSeq, 7);

    GetSettingIni().SetInitSeq(4);
    frame->AdvanceSetupStep(CMainFrame::VIEW_SET_OPTIONS, false);
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_SET_LAYOUT);
    EXPECT_FALSE(dynamic_cast<CContentsDlgView *>(frame->GetViewPane(CMainFrame::PANE_CONTENTS))->IsPlaylistFilterOn());
    GetSettingIni().SetInitSeq(7);
}

TEST_F(NavigationViews, EveryViewShowsItsPanesAndHidesTheOthers)
{
    addGroup(QStringLiteral("本店"));
    const QList<QPair<int, QList<int>>> views = {
        {CMainFrame::VIEW_CONTENTS, {CMainFrame::PANE_CONTENTS}},
        {CMainFrame::VIEW_PLAYLIST, {CMainFrame::PANE_CONTENTS, CMainFrame::PANE_PLAYLIST_EDIT, CMainFrame::PANE_LAYOUT_DISP}},
        {CMainFrame::VIEW_BGM, {CMainFrame::PANE_CONTENTS, CMainFrame::PANE_BGM_EDIT}},
        {CMainFrame::VIEW_SCHEDULE, {CMainFrame::PANE_CONTENTS, CMainFrame::PANE_SCHEDULE_EDIT, CMainFrame::PANE_CALENDAR_MONTH}},
        {CMainFrame::VIEW_ADVANCE_DELIVERY, {CMainFrame::PANE_CONTENTS, CMainFrame::PANE_STATUS}},
        {CMainFrame::VIEW_GROUP_DELIVERY, {CMainFrame::PANE_CONTENTS, CMainFrame::PANE_STATUS, CMainFrame::PANE_CALENDAR_STATUS}},
        {CMainFrame::VIEW_OVERVIEW,
         {CMainFrame::PANE_SCHEDULE_VIEW, CMainFrame::PANE_CALENDAR_GROUP, CMainFrame::PANE_SCHEDULE_CHECK,
          CMainFrame::PANE_LAYOUT_DISP, CMainFrame::PANE_PLAYLIST_CHECK}},
        {CMainFrame::VIEW_INTERRUPT_PLAY, {CMainFrame::PANE_CONTENTS, CMainFrame::PANE_STATUS}},
        {CMainFrame::VIEW_PLAYER_CONTENTS, {CMainFrame::PANE_PLAYER_CONTENTS}},
        {CMainFrame::VIEW_COMM_STATUS, {CMainFrame::PANE_STATUS}},
        {CMainFrame::VIEW_SET_SYSTEM, {CMainFrame::PANE_SET_SYSTEM}},
        {CMainFrame::VIEW_SET_PLAYERS, {CMainFrame::PANE_SET_R40_LIST}},
        {CMainFrame::VIEW_SET_GROUPS, {CMainFrame::PANE_SET_GROUP}},
        {CMainFrame::VIEW_SET_MATERIALS, {CMainFrame::PANE_SET_CONT}},
        {CMainFrame::VIEW_SET_OPTIONS, {CMainFrame::PANE_SET_OPT}},
        {CMainFrame::VIEW_SET_LAYOUT, {CMainFrame::PANE_LAYOUT, CMainFrame::PANE_LAYOUT_PROP}},
    };
    for (const auto &[view, panes] : views) {
        ASSERT_TRUE(frame->SwitchView(view, true)) << view;
        EXPECT_EQ(frame->GetCurrentView(), view);
        for (int pane = 0; pane < CMainFrame::PANE_COUNT; ++pane)
            EXPECT_EQ(isShown(pane), panes.contains(pane)) << "view " << view << " pane " << pane;
        // Remembered views are the main ones; settings pages are not.
        const bool remembered = view <= CMainFrame::VIEW_COMM_STATUS;
        EXPECT_EQ(GetAppIni().GetLastGuideSelect() == view, remembered) << view;
    }
    const auto *status = dynamic_cast<CStatusDlgView *>(frame->GetViewPane(CMainFrame::PANE_STATUS));
    EXPECT_EQ(status->GetViewMode(), 43);
}

TEST_F(NavigationViews, OpeningAPlaylistThatIsNotStoredChangesNothing)
{
    EXPECT_EQ(frame->OpenPlaylistEdit(101000001, 52), 0);
    EXPECT_EQ(frame->OpenPlaylistEdit(101000001, 7), 0);
    EXPECT_FALSE(frame->OpenScheduleEdit(900001));
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_CONTENTS);
}
