// The drop target's callbacks, the event tracker's top and bottom handles, and
// the bitmap button's pushed look.
#include "widgets/telv_bmp_button.h"
#include "widgets/telv_drop_tracker.h"
#include "widgets/telv_edit_drop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct DropLog {
    QList<QString> events;
    quint32 overEffect = DROPEFFECT_COPY;
    quint32 scrollEffect = DROPEFFECT_NONE;
};

quint32 onOver(void *context, QWidget *, const QMimeData *data, quint32 keyState, const QPoint &point)
{
    auto *log = static_cast<DropLog *>(context);
    log->events.append(QStringLiteral("over %1 %2 %3,%4").arg(data->text()).arg(keyState).arg(point.x()).arg(point.y()));
    return log->overEffect;
}

quint32 onScroll(void *context, QWidget *, quint32, const QPoint &)
{
    auto *log = static_cast<DropLog *>(context);
    log->events.append(QStringLiteral("scroll"));
    return log->scrollEffect;
}

quint32 onDrop(void *context, QWidget *, const QMimeData *data, quint32 defaultEffect, quint32 allowed, const QPoint &)
{
    auto *log = static_cast<DropLog *>(context);
    log->events.append(QStringLiteral("drop %1 %2 %3").arg(data->text()).arg(defaultEffect).arg(allowed));
    return DROPEFFECT_MOVE;
}

void onLeave(void *context, QWidget *)
{
    static_cast<DropLog *>(context)->events.append(QStringLiteral("leave"));
}

// The drop target with its event entry open to the test: drag events sent
// outside a real drag are not delivered by the application.
class TestDrop : public CTelvEditDrop {
public:
    using CTelvEditDrop::eventFilter;
};

// Hands a drag event to the target as the window system would and returns
// whether it was accepted.
bool send(TestDrop &drop, QWidget *target, QEvent::Type type, const QMimeData &data,
          Qt::DropAction *action = nullptr)
{
    const QPoint point(10, 20);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    std::unique_ptr<QDropEvent> event;
    if (type == QEvent::Drop)
        event = std::make_unique<QDropEvent>(QPointF(point), actions, &data, Qt::LeftButton, Qt::ShiftModifier);
    else if (type == QEvent::DragEnter)
        event = std::make_unique<QDragEnterEvent>(point, actions, &data, Qt::LeftButton, Qt::ShiftModifier);
    else
        event = std::make_unique<QDragMoveEvent>(point, actions, &data, Qt::LeftButton, Qt::ShiftModifier);
    event->ignore();
    EXPECT_TRUE(drop.eventFilter(target, event.get()));
    if (action)
        *action = event->dropAction();
    return event->isAccepted();
}

class CountingButton : public CTelvBmpButton {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        CTelvBmpButton::paintEvent(event);
    }
};

} // namespace

TEST(EditDrop, WithoutCallbacksNothingIsAccepted)
{
    QWidget window;
    TestDrop drop;
    ASSERT_TRUE(drop.Register(&window));
    EXPECT_TRUE(window.acceptDrops());
    QMimeData data;
    data.setText(QStringLiteral("x"));
    EXPECT_FALSE(send(drop, &window, QEvent::DragEnter, data));
    EXPECT_FALSE(send(drop, &window, QEvent::DragMove, data));
    EXPECT_FALSE(send(drop, &window, QEvent::Drop, data));
    EXPECT_EQ(drop.OnDrop(&window, &data, DROPEFFECT_COPY, DROPEFFECT_COPY, QPoint()), DROPEFFECT_NONE);
}

TEST(EditDrop, CallbacksGetTheirContextAndDecide)
{
    QWidget window;
    TestDrop drop;
    drop.Register(&window);
    DropLog log;
    drop.SetDragOverHandler(onOver, &log);
    drop.SetDragScrollHandler(onScroll, &log);
    drop.SetDropHandler(onDrop, &log);
    drop.SetDragLeaveHandler(onLeave, &log);
    QMimeData data;
    data.setText(QStringLiteral("clip"));

    Qt::DropAction action = Qt::IgnoreAction;
    EXPECT_TRUE(send(drop, &window, QEvent::DragMove, data, &action));
    EXPECT_EQ(action, Qt::CopyAction);
    EXPECT_EQ(log.events.takeFirst(), QStringLiteral("scroll"));
    EXPECT_EQ(log.events.takeFirst(), QStringLiteral("over clip %1 10,20").arg(MK_LBUTTON | MK_SHIFT));

    // Refused over this point, but the drag stays with the window.
    log.overEffect = DROPEFFECT_NONE;
    EXPECT_TRUE(send(drop, &window, QEvent::DragEnter, data, &action));
    EXPECT_EQ(action, Qt::IgnoreAction);
    EXPECT_FALSE(send(drop, &window, QEvent::DragMove, data));

    // While the scroll callback scrolls, its effect answers and over is not asked.
    log.events.clear();
    log.scrollEffect = DROPEFFECT_SCROLL | DROPEFFECT_MOVE;
    EXPECT_TRUE(send(drop, &window, QEvent::DragMove, data, &action));
    EXPECT_EQ(action, Qt::MoveAction);
    EXPECT_EQ(log.events, QList<QString>{QStringLiteral("scroll")});

    EXPECT_TRUE(send(drop, &window, QEvent::Drop, data, &action));
    EXPECT_EQ(action, Qt::MoveAction);
    // Shift held: the default of the drag is a move.
    EXPECT_EQ(log.events.last(), QStringLiteral("drop clip %1 %2").arg(DROPEFFECT_MOVE).arg(DROPEFFECT_COPY | DROPEFFECT_MOVE));
    QDragLeaveEvent leave;
    drop.eventFilter(&window, &leave);
    EXPECT_EQ(log.events.last(), QStringLiteral("leave"));

    drop.Revoke();
    EXPECT_FALSE(window.acceptDrops());
}

namespace {

struct SnapLog {
    QList<QRect> before;
};

// Snaps the moving edges to a 10-pixel grid.
void snapToGrid(void *context, int handle, const QRect &before, QRect *after)
{
    static_cast<SnapLog *>(context)->before.append(before);
    if (handle == CTelvDropTracker::hitTop)
        after->setTop(after->top() / 10 * 10);
    else
        after->setBottom(after->bottom() / 10 * 10 + 9);
}

} // namespace

TEST(DropTracker, OnlyTopAndBottomMoveAndTheListSnaps)
{
    CTelvDropTracker tracker;
    EXPECT_EQ(tracker.GetHandleMask(), 0x50u);
    EXPECT_EQ(tracker.GetStyle(), CTelvDropTracker::hatchedBorder);
    tracker.SetRect(QRect(20, 100, 80, 60)); // top 100, bottom 159
    EXPECT_EQ(tracker.HitTest(QPoint(60, 100)), CTelvDropTracker::hitTop);
    EXPECT_EQ(tracker.HitTest(QPoint(60, 159)), CTelvDropTracker::hitBottom);
    EXPECT_EQ(tracker.HitTest(QPoint(21, 101)), CTelvDropTracker::hitMiddle) << "no corner handles";
    EXPECT_EQ(tracker.HitTest(QPoint(5, 5)), CTelvDropTracker::hitNothing);

    SnapLog log;
    tracker.SetResizeHandler(snapToGrid, &log);
    const QRect start = tracker.GetRect();
    QRect moved = tracker.TrackTo(CTelvDropTracker::hitTop, start, QPoint(60, 100), QPoint(75, 73));
    EXPECT_EQ(moved, QRect(QPoint(20, 70), start.bottomRight())) << "sideways movement is ignored";
    EXPECT_EQ(log.before.last().top(), 73);
    moved = tracker.TrackTo(CTelvDropTracker::hitBottom, start, QPoint(60, 159), QPoint(60, 400));
    EXPECT_EQ(moved.bottom(), 409);
    EXPECT_EQ(moved.top(), 100);
    // The top never passes the bottom.
    tracker.SetResizeHandler(nullptr, nullptr);
    moved = tracker.TrackTo(CTelvDropTracker::hitTop, start, QPoint(60, 100), QPoint(60, 900));
    EXPECT_LE(moved.top(), moved.bottom());
}

TEST(DropTracker, TrackFollowsTheMouseUntilReleased)
{
    QWidget window;
    window.resize(200, 400);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    CTelvDropTracker tracker;
    tracker.SetRect(QRect(20, 100, 80, 60));
    const auto post = [&](QEvent::Type type, int y) {
        const QPoint local(60, y);
        QCoreApplication::postEvent(&window, new QMouseEvent(type, local, window.mapToGlobal(local), Qt::LeftButton,
                                                             type == QEvent::MouseButtonRelease ? Qt::NoButton
                                                                                                : Qt::LeftButton,
                                                             Qt::NoModifier));
    };
    post(QEvent::MouseMove, 120);
    post(QEvent::MouseMove, 190);
    post(QEvent::MouseButtonRelease, 190);
    EXPECT_TRUE(tracker.Track(&window, QPoint(60, 159)));
    EXPECT_EQ(tracker.GetRect(), QRect(QPoint(20, 100), QPoint(99, 190)));

    // Escape puts the rectangle back.
    post(QEvent::MouseMove, 300);
    QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_FALSE(tracker.Track(&window, QPoint(60, 190)));
    EXPECT_EQ(tracker.GetRect(), QRect(QPoint(20, 100), QPoint(99, 190)));
    // A press on no handle tracks nothing.
    EXPECT_FALSE(tracker.Track(&window, QPoint(150, 10)));
}

TEST(BmpButton, BitmapsSizeAndPushedLook)
{
    QWidget host;
    auto *button = new CountingButton;
    button->setParent(&host);
    EXPECT_FALSE(button->SetBitmaps(QStringLiteral("x"), 99999, 116, 119));
    ASSERT_TRUE(button->SetBitmaps(QStringLiteral("view"), 115, 116, 119));
    EXPECT_EQ(button->size(), QPixmap(QStringLiteral(":/bitmaps/115.png")).size());
    EXPECT_EQ(button->text(), QStringLiteral("view"));
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));

    button->SetPushed(true);
    QCoreApplication::processEvents();
    const int afterPush = button->paints;
    EXPECT_TRUE(button->IsPushed());
    button->SetPushed(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(button->paints, afterPush) << "pushing a pushed button redraws nothing";

    // The pushed look differs from the normal one.
    const QImage pushed = button->grab().toImage();
    button->SetPushed(false);
    EXPECT_NE(button->grab().toImage(), pushed);
}
