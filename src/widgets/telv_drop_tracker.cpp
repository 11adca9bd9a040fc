#include "widgets/telv_drop_tracker.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace {

// Runs a drag: follows the mouse over the window until the button is released
// or Escape is pressed.
class DragLoop : public QObject {
public:
    DragLoop(CTelvDropTracker &tracker, QWidget *window, int handle, const QPoint &origin)
        : m_tracker(tracker), m_window(window), m_handle(handle), m_origin(origin), m_start(tracker.GetRect())
    {
    }

    bool run()
    {
        qApp->installEventFilter(this);
        m_window->grabMouse();
        m_loop.exec();
        if (m_window)
            m_window->releaseMouse();
        qApp->removeEventFilter(this);
        if (m_cancelled)
            m_tracker.SetRect(m_start);
        return !m_cancelled && m_tracker.GetRect() != m_start;
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseMove:
            m_tracker.SetRect(m_tracker.TrackTo(m_handle, m_start, m_origin, pointOf(event)));
            return true;
        case QEvent::MouseButtonRelease:
            m_tracker.SetRect(m_tracker.TrackTo(m_handle, m_start, m_origin, pointOf(event)));
            m_loop.quit();
            return true;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
                m_cancelled = true;
                m_loop.quit();
            }
            return true;
        default:
            return false;
        }
    }

private:
    QPoint pointOf(QEvent *event) const
    {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        return m_window ? m_window->mapFromGlobal(mouse->globalPosition().toPoint()) : m_origin;
    }

    CTelvDropTracker &m_tracker;
    QPointer<QWidget> m_window;
    int m_handle;
    QPoint m_origin;
    QRect m_start;
    QEventLoop m_loop;
    bool m_cancelled = false;
};

} // namespace

CTelvDropTracker::CTelvDropTracker() = default;

void CTelvDropTracker::SetResizeHandler(ResizeHandler handler, void *context)
{
    m_resize = handler;
    m_resizeContext = context;
}

QRect CTelvDropTracker::handleRect(int handle) const
{
    const int half = m_handleSize / 2;
    const int x = m_rect.center().x() - half;
    if (handle == hitTop)
        return QRect(x, m_rect.top() - half, m_handleSize, m_handleSize);
    return QRect(x, m_rect.bottom() - half, m_handleSize, m_handleSize);
}

int CTelvDropTracker::HitTest(const QPoint &point) const
{
    for (int handle : {hitTop, hitBottom}) {
        if (handleRect(handle).contains(point))
            return handle;
    }
    return m_rect.contains(point) ? hitMiddle : hitNothing;
}

bool CTelvDropTracker::Track(QWidget *window, const QPoint &point)
{
    const int handle = HitTest(point);
    if (!window || (handle != hitTop && handle != hitBottom))
        return false;
    DragLoop loop(*this, window, handle, point);
    const QRect before = m_rect;
    const bool changed = loop.run();
    DrawTrackerRect(before, window);
    DrawTrackerRect(m_rect, window);
    return changed;
}

QRect CTelvDropTracker::TrackTo(int handle, const QRect &start, const QPoint &origin, const QPoint &point)
{
    const int dy = point.y() - origin.y();
    QRect rect = start;
    if (handle == hitTop)
        rect.setTop(std::min(start.top() + dy, start.bottom()));
    else if (handle == hitBottom)
        rect.setBottom(std::max(start.bottom() + dy, start.top()));
    const QRect before = rect;
    AdjustRect(handle, &rect);
    if (m_resize)
        m_resize(m_resizeContext, handle, before, &rect);
    return rect;
}

void CTelvDropTracker::AdjustRect(int handle, QRect *rect)
{
    if (rect->height() >= m_minimumHeight)
        return;
    if (handle == hitTop)
        rect->setTop(rect->bottom() - m_minimumHeight + 1);
    else
        rect->setBottom(rect->top() + m_minimumHeight - 1);
}

void CTelvDropTracker::DrawTrackerRect(const QRect &rect, QWidget *window)
{
    if (window)
        window->update(QRect(0, rect.top(), window->width(), rect.height()));
}

void CTelvDropTracker::Draw(QPainter &painter) const
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(Qt::black, Qt::BDiagPattern));
    const int border = m_handleSize / 2;
    const QRegion frame = QRegion(m_rect.adjusted(-border, -border, border, border)) - QRegion(m_rect);
    painter.setClipRegion(frame);
    painter.drawRect(m_rect.adjusted(-border, -border, border, border));
    painter.setClipping(false);
    painter.setBrush(Qt::black);
    painter.drawRect(handleRect(hitTop));
    painter.drawRect(handleRect(hitBottom));
    painter.restore();
}
