// The pane base: tool bar from a button table, pane list membership and
// notifications, keys that must not close a pane, and anchored controls.
#include "widgets/anchor_layout.h"
#include "app/child_frame.h"
#include "widgets/separator_cleanup.h"
#include "app/telv_pane_dlg.h"
#include "app/telv_tool_bar_ctrl.h"
#include "app_test_support.h"
#include "core/string_table.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// Command ids with texts in the string table.
constexpr int kDelete = 4017;
constexpr int kPlay = 4037;
constexpr int kStop = 4042;

const ToolBarButton kButtons[] = {
    {kDelete, TBSTATE_ENABLED, BTNS_BUTTON, {}, 804, 804, 803},
    {-1, 0, 0, {}, 0, 0, 0},
    {kPlay, TBSTATE_ENABLED, BTNS_BUTTON, {}, 804, 804, 803},
    {-1, 0, 0, {}, 0, 0, 0},
    {kStop, TBSTATE_ENABLED, BTNS_CHECK, {}, 803, 803, 804},
};

class TestPane : public CTelvPaneDlg {
public:
    explicit TestPane(int templateId = 3000) : CTelvPaneDlg(templateId) {}

    bool CanExecuteCommand(int commandId) override { return !refused.contains(commandId); }
    void OnUpdateCommand(CCmdUI &cmdUi) override
    {
        if (handled.contains(cmdUi.id))
            cmdUi.Enable(true);
    }
    bool OnCommand(int commandId) override
    {
        ran.append(commandId);
        return handled.contains(commandId);
    }
    void OnContentsChanged(QWidget *) override
    {
        ++contentsChanged;
        if (onContentsChanged)
            onContentsChanged();
    }

    QSet<int> refused;
    QSet<int> handled;
    QList<int> ran;
    int contentsChanged = 0;
    std::function<void()> onContentsChanged;

protected:
    bool OnInitDialog() override
    {
        resize(300, 200);
        auto *placeholder = new QWidget(this);
        placeholder->setObjectName(QString::number(kToolBarPlaceholderId));
        placeholder->setGeometry(8, 6, 200, 24);
        return !failInit;
    }

public:
    bool failInit = false;
};

QStringList actionLayout(const QWidget *bar)
{
    QStringList names;
    for (const QAction *action : bar->actions())
        names.append(action->isSeparator() ? QStringLiteral("|") : action->objectName());
    return names;
}

} // namespace

TEST(PaneToolBar, RefusedCommandIsLeftOutAndSeparatorsStay)
{
    FakePaneFrame frame;
    TestPane pane;
    pane.refused = {kPlay};
    ASSERT_TRUE(pane.Create(nullptr));
    ASSERT_TRUE(pane.CreateToolBar(kButtons, 5, false));

    CTelvToolBarCtrl *bar = pane.GetToolBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->objectName(), QStringLiteral("1500"));
    EXPECT_EQ(actionLayout(bar), (QStringList{"4017", "|", "|", "4042"}));
    EXPECT_EQ(bar->FindButton(kPlay), nullptr);
    // The bar sits at the placeholder's corner.
    EXPECT_EQ(bar->pos(), QPoint(8, 6));

    bar->RemoveExtraSeparators();
    EXPECT_EQ(actionLayout(bar), (QStringList{"4017", "|", "4042"}));
}

TEST(PaneToolBar, ListStyleShowsTextsAndEveryButtonHasItsTip)
{
    FakePaneFrame frame;
    TestPane listPane;
    ASSERT_TRUE(listPane.Create(nullptr));
    ASSERT_TRUE(listPane.CreateToolBar(kButtons, 5, true));
    QAction *play = listPane.GetToolBar()->FindButton(kPlay);
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->text(), LoadString(kPlay));
    EXPECT_EQ(play->toolTip(), LoadString(kPlay));
    EXPECT_EQ(listPane.GetToolBar()->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    EXPECT_TRUE(listPane.GetToolBar()->FindButton(kStop)->isCheckable());

    TestPane iconPane;
    ASSERT_TRUE(iconPane.Create(nullptr));
    ASSERT_TRUE(iconPane.CreateToolBar(kButtons, 5, false));
    play = iconPane.GetToolBar()->FindButton(kPlay);
    EXPECT_TRUE(play->text().isEmpty());
    EXPECT_EQ(play->toolTip(), LoadString(kPlay));
    EXPECT_EQ(iconPane.GetToolBar()->toolButtonStyle(), Qt::ToolButtonIconOnly);

    // An empty table builds nothing.
    EXPECT_FALSE(iconPane.CreateToolBar(kButtons, 0, false));
    EXPECT_EQ(iconPane.GetToolBar(), nullptr);
}

TEST(PaneToolBar, CommandStatesAskThePaneThenTheFrame)
{
    FakePaneFrame frame;
    TestPane pane;
    pane.handled = {kDelete};
    frame.enabledCommands = {kPlay};
    ASSERT_TRUE(pane.Create(nullptr));
    ASSERT_TRUE(pane.CreateToolBar(kButtons, 5, false));
    pane.show();
    CTelvToolBarCtrl *bar = pane.GetToolBar();
    bar->OnIdleUpdateCmdUI();
    EXPECT_TRUE(bar->FindButton(kDelete)->isEnabled());
    EXPECT_TRUE(bar->FindButton(kPlay)->isEnabled());
    EXPECT_FALSE(bar->FindButton(kStop)->isEnabled()) << "nobody handles it";

    // A click goes to the pane first and to the frame when the pane has no handler.
    bar->FindButton(kDelete)->trigger();
    bar->FindButton(kPlay)->trigger();
    EXPECT_EQ(pane.ran, (QList<int>{kDelete, kPlay}));
    EXPECT_EQ(frame.commands, (QList<int>{kPlay}));
}

TEST(PaneList, MembershipFollowsCreationAndDestruction)
{
    FakePaneFrame frame;
    auto *first = new TestPane;
    auto *second = new TestPane;
    ASSERT_TRUE(first->Create(nullptr));
    ASSERT_TRUE(second->Create(nullptr));
    EXPECT_EQ(frame.panes.GetCount(), 2);

    // Created again: once in the list, at the end.
    ASSERT_TRUE(first->Create(nullptr));
    ASSERT_EQ(frame.panes.GetCount(), 2);
    EXPECT_EQ(frame.panes.GetAt(0), second);
    EXPECT_EQ(frame.panes.GetAt(1), first);

    delete first;
    EXPECT_EQ(frame.panes.GetCount(), 1);
    EXPECT_EQ(frame.panes.IndexOf(second), 0);

    TestPane failing;
    failing.failInit = true;
    EXPECT_FALSE(failing.Create(nullptr));
    EXPECT_EQ(frame.panes.GetCount(), 1);
    EXPECT_EQ(failing.GetInitialSize(), QSize(0, 0));
    delete second;
    EXPECT_EQ(frame.panes.GetCount(), 0);
}

TEST(PaneList, NotificationSkipsAPaneDestroyedOnTheWay)
{
    FakePaneFrame frame;
    auto *first = new TestPane;
    QPointer<TestPane> second = new TestPane;
    auto *third = new TestPane;
    for (TestPane *p : {first, second.data(), third})
        ASSERT_TRUE(p->Create(nullptr));
    first->onContentsChanged = [&] { delete second.data(); };

    frame.panes.NotifyContentsChanged(nullptr);
    EXPECT_TRUE(second.isNull());
    EXPECT_EQ(first->contentsChanged, 1);
    EXPECT_EQ(third->contentsChanged, 1);
    EXPECT_EQ(frame.panes.GetCount(), 2);

    // A pane added during a broadcast is not reached by it.
    TestPane *added = nullptr;
    first->onContentsChanged = [&] {
        if (!added) {
            added = new TestPane;
            added->Create(nullptr);
        }
    };
    frame.panes.NotifyContentsChanged(nullptr);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->contentsChanged, 0);
    delete added;
    delete first;
    delete third;
}

TEST(Pane, EnterAndEscapeDoNotClose)
{
    FakePaneFrame frame;
    TestPane pane;
    ASSERT_TRUE(pane.Create(nullptr));
    auto *button = new QPushButton(QStringLiteral("OK"), &pane);
    button->setDefault(true);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));

    QTest::keyClick(&pane, Qt::Key_Escape);
    QTest::keyClick(&pane, Qt::Key_Return);
    pane.close();
    EXPECT_TRUE(pane.isVisible());
    EXPECT_EQ(pane.result(), 0);
    EXPECT_EQ(clicks, 1) << "Enter still presses the default button";
}

TEST(Pane, AnchorsFollowOnlyARestoredSize)
{
    FakePaneFrame frame;
    QMdiArea client;
    client.resize(1000, 800);
    client.show();
    auto *pane = new TestPane;
    auto *child = new CChildFrame(pane);
    ASSERT_TRUE(child->Create(&client, QStringLiteral("pane"), CChildFrame::kFramedStyle));
    auto *edit = new QWidget(pane);
    edit->setGeometry(10, 40, 280, 150); // 10 from the right, 10 from the bottom
    auto *ok = new QWidget(pane);
    ok->setGeometry(220, 170, 70, 20);
    pane->GetAnchorLayout().AddControl(edit, ANCHOR_RIGHT | ANCHOR_BOTTOM);
    pane->GetAnchorLayout().AddControl(ok, ANCHOR_RIGHT | ANCHOR_BOTTOM | ANCHOR_KEEP_WIDTH | ANCHOR_KEEP_HEIGHT);

    pane->resize(400, 300);
    EXPECT_EQ(edit->geometry(), QRect(10, 40, 380, 250));
    EXPECT_EQ(ok->geometry(), QRect(320, 270, 70, 20));

    child->showMinimized();
    QCoreApplication::processEvents();
    const QRect whileMinimised = edit->geometry();
    pane->resize(600, 500);
    EXPECT_EQ(edit->geometry(), whileMinimised) << "no anchor pass while minimised";

    child->showNormal();
    QCoreApplication::processEvents();
    pane->resize(500, 400);
    EXPECT_EQ(edit->geometry(), QRect(10, 40, 480, 350));
    EXPECT_EQ(ok->geometry(), QRect(420, 370, 70, 20));
}

TEST(AnchorLayout, PlacesByFlags)
{
    const QMargins margins(10, 20, 30, 40);
    const QRect current(10, 20, 60, 40); // in a 100 x 100 client
    const QSize client(200, 300);
    EXPECT_EQ(CAnchorLayout::PlaceControl(current, margins, ANCHOR_LEFT | ANCHOR_TOP, client), current);
    EXPECT_EQ(CAnchorLayout::PlaceControl(current, margins, ANCHOR_RIGHT, client), QRect(10, 20, 160, 40));
    EXPECT_EQ(CAnchorLayout::PlaceControl(current, margins, ANCHOR_RIGHT | ANCHOR_KEEP_WIDTH, client),
              QRect(110, 20, 60, 40));
    EXPECT_EQ(CAnchorLayout::PlaceControl(current, margins, ANCHOR_BOTTOM | ANCHOR_KEEP_HEIGHT, client),
              QRect(10, 220, 60, 40));
    // A client smaller than the margins gives an empty control, never a negative one.
    EXPECT_EQ(CAnchorLayout::PlaceControl(current, margins, ANCHOR_RIGHT | ANCHOR_BOTTOM, QSize(20, 30)).size(),
              QSize(0, 0));
}

TEST(SeparatorCleanup, MenuKeepsOneSeparatorBetweenItems)
{
    QMenu menu;
    menu.addSeparator();
    menu.addAction(QStringLiteral("a"));
    menu.addSeparator();
    menu.addSeparator();
    menu.addAction(QStringLiteral("b"));
    menu.addSeparator();
    EXPECT_EQ(RemoveExtraSeparatorActions(&menu), 3);
    QStringList layout;
    for (const QAction *action : menu.actions())
        layout.append(action->isSeparator() ? QStringLiteral("|") : action->text());
    EXPECT_EQ(layout, (QStringList{"a", "|", "b"}));

    QMenu onlySeparators;
    onlySeparators.addSeparator();
    onlySeparators.addSeparator();
    RemoveExtraSeparatorActions(&onlySeparators);
    EXPECT_TRUE(onlySeparators.actions().isEmpty());
}
