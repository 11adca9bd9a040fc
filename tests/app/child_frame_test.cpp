// Child frames: closing asks the pane and only hides, maximising fills the
// client area in the normal state, the pane's initial size is the minimum,
// and the focused control comes back on activation.
#include "app/child_frame.h"
#include "app/telv_pane_dlg.h"
#include "app_test_support.h"
#include "core/message_box.h"
#include "support/scripted_prompter.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr quint32 kDiscardChanges = 5007;

// A settings page: closing with unsaved changes asks first.
class SettingsPane : public CTelvPaneDlg {
public:
    SettingsPane() : CTelvPaneDlg(2010) {}

    bool QueryClose() override
    {
        if (!modified)
            return true;
        return ShowMessage(this, kDiscardChanges, 1, MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    void OnFrameActivate(bool active) override { activations.append(active); }

    bool modified = false;
    QList<bool> activations;
    QLineEdit *first = nullptr;
    QLineEdit *second = nullptr;

protected:
    bool OnInitDialog() override
    {
        resize(320, 240);
        first = new QLineEdit(this);
        first->setObjectName(QStringLiteral("1001"));
        first->setGeometry(10, 10, 100, 24);
        second = new QLineEdit(this);
        second->setObjectName(QStringLiteral("1002"));
        second->setGeometry(10, 40, 100, 24);
        return true;
    }
};

struct FrameFixture {
    FrameFixture()
    {
        client.resize(1200, 900);
        client.show();
        client.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&client));
    }
    CChildFrame *add(SettingsPane *pane, quint32 style = CChildFrame::kFramedStyle, const QRect &rect = QRect())
    {
        auto *child = new CChildFrame(pane);
        EXPECT_TRUE(child->Create(&client, QStringLiteral("page"), style, rect));
        return child;
    }

    FakePaneFrame frame;
    QMdiArea client;
};

} // namespace

TEST(ChildFrame, CloseAsksThePaneAndOnlyHides)
{
    FrameFixture f;
    auto *pane = new SettingsPane;
    QPointer<CChildFrame> child = f.add(pane);
    child->show();
    pane->modified = true;
    {
        ScriptedPrompter prompter;
        prompter.expect(kDiscardChanges, IDNO);
        child->close();
    }
    EXPECT_TRUE(child->isVisible());

    {
        ScriptedPrompter prompter;
        prompter.expect(kDiscardChanges, IDYES);
        child->close();
    }
    QCoreApplication::processEvents();
    ASSERT_FALSE(child.isNull()) << "closing never destroys the frame";
    EXPECT_FALSE(child->isVisible());
    EXPECT_EQ(f.frame.panes.IndexOf(pane), 0);
}

TEST(ChildFrame, SizesToThePaneAndKeepsItsMinimum)
{
    FrameFixture f;
    auto *pane = new SettingsPane;
    CChildFrame *child = f.add(pane);
    EXPECT_EQ(pane->size(), QSize(320, 240));
    EXPECT_EQ(child->size(), child->FrameSizeForClient(QSize(320, 240)));
    EXPECT_EQ(child->minimumSize(), child->FrameSizeForClient(pane->GetInitialSize()));

    pane->ResizeFrameToClient(QSize(500, 400));
    EXPECT_EQ(pane->size(), QSize(500, 400));
    EXPECT_EQ(child->size(), child->FrameSizeForClient(QSize(500, 400)));

    // A sizable frame created larger keeps its size and stretches the pane.
    auto *big = new SettingsPane;
    CChildFrame *large = f.add(big, CChildFrame::kFramedStyle, QRect(50, 60, 700, 600));
    EXPECT_EQ(large->geometry(), QRect(50, 60, 700, 600));
    EXPECT_EQ(big->size(), QSize(700, 600).shrunkBy(large->contentsMargins()));
    // A fixed frame does not.
    auto *fixedPane = new SettingsPane;
    CChildFrame *fixedFrame = f.add(fixedPane, CChildFrame::kFixedStyle, QRect(50, 60, 700, 600));
    EXPECT_EQ(fixedFrame->size(), fixedFrame->FrameSizeForClient(QSize(320, 240)));
}

TEST(ChildFrame, MaximiseFillsTheClientAreaAndStaysNormal)
{
    FrameFixture f;
    CChildFrame *child = f.add(new SettingsPane);
    child->move(100, 100);
    child->showMaximized();
    QCoreApplication::processEvents();
    EXPECT_FALSE(child->isMaximized());
    EXPECT_EQ(child->geometry(), f.client.viewport()->rect());

    // The frame's client rectangle; a maximised child is put back to normal at (0, 0).
    CChildFrame *other = f.add(new SettingsPane);
    other->setWindowState(Qt::WindowMaximized);
    QMdiSubWindow plain;
    f.client.addSubWindow(&plain);
    plain.showMaximized();
    const QRect clientRect = GetMdiClientRect(&f.client);
    EXPECT_EQ(clientRect, f.client.viewport()->rect());
    EXPECT_FALSE(plain.isMaximized());
    EXPECT_EQ(plain.geometry(), clientRect);
    f.client.removeSubWindow(&plain);
}

TEST(ChildFrame, FocusComesBackToTheRememberedControl)
{
    FrameFixture f;
    auto *pane = new SettingsPane;
    CChildFrame *child = f.add(pane);
    auto *otherPane = new SettingsPane;
    CChildFrame *other = f.add(otherPane);
    f.client.setActiveSubWindow(child);
    pane->second->setFocus();
    QCoreApplication::processEvents();

    f.client.setActiveSubWindow(other);
    QCoreApplication::processEvents();
    EXPECT_EQ(child->GetRememberedFocus(), pane->second);
    EXPECT_TRUE(pane->activations.contains(false));

    f.client.setActiveSubWindow(child);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), pane->second);
    EXPECT_EQ(child->GetRememberedFocus(), nullptr);
    EXPECT_EQ(pane->activations.last(), true);
}

namespace {

// Records what the hosting frame holds as its pane when the pane is hidden.
class HideWatcher : public QObject {
public:
    explicit HideWatcher(CChildFrame *frame) : m_frame(frame) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            paneAtHide.append(m_frame->GetPane() != nullptr);
        return false;
    }
    QList<bool> paneAtHide;

private:
    CChildFrame *m_frame;
};

} // namespace

TEST(ChildFrame, LetsGoOfAPaneBeforeItsTeardownHidesIt)
{
    FrameFixture f;
    auto *pane = new SettingsPane;
    CChildFrame *child = f.add(pane);
    f.client.setActiveSubWindow(child);
    pane->first->setFocus();
    QCoreApplication::processEvents();

    HideWatcher watcher(child);
    pane->installEventFilter(&watcher);
    delete pane;
    // The dialog's teardown hides it and moves the focus to the frame; the
    // frame must no longer hold the half-destroyed object then.
    ASSERT_FALSE(watcher.paneAtHide.isEmpty());
    EXPECT_FALSE(watcher.paneAtHide.contains(true));
    EXPECT_EQ(child->GetPane(), nullptr);
    child->setFocus();
    QCoreApplication::processEvents();

    // A frame destroyed with its pane deletes it without touching it afterwards.
    auto *second = new SettingsPane;
    QPointer<SettingsPane> watchSecond(second);
    delete f.add(second);
    EXPECT_TRUE(watchSecond.isNull());
}
