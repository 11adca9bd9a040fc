#pragma once
// The rectangle tracker of an event in the timetable lists: it offers only the
// top and bottom handles, so an event's start and end can be dragged but not
// its column. After each step of a drag the owning list's resize callback may
// adjust the new rectangle (to snap it to the grid); instead of drawing a
// tracking frame, the band of the window between the rectangle's top and
// bottom is redrawn, so the list paints the moving edge itself.

#include <QRect>
#include <QSize>

class QPainter;
class QWidget;

class CTelvDropTracker {
public:
    enum Hit : int {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8,
    };
    enum Style : int {
        solidLine = 1,
        dottedLine = 2,
        hatchedBorder = 4,
        resizeInside = 8,
        resizeOutside = 16,
        hatchInside = 32,
    };
    // (context, handle, rectangle before the adjustment, rectangle after it,
    // which the callback may change).
    using ResizeHandler = void (*)(void *context, int handle, const QRect &before, QRect *after);

    CTelvDropTracker();
    virtual ~CTelvDropTracker() = default;

    void SetRect(const QRect &rect) { m_rect = rect; }
    QRect GetRect() const { return m_rect; }
    int GetStyle() const { return m_style; }
    void SetResizeHandler(ResizeHandler handler, void *context);
    // The smallest height a drag leaves.
    void SetMinimumHeight(int height) { m_minimumHeight = height; }

    // Bit n set: handle n is offered (top and bottom only).
    unsigned GetHandleMask() const { return 0x50; }
    // The handle or part of the rectangle under a point.
    int HitTest(const QPoint &point) const;

    // Drags the handle under point with the mouse until its button is
    // released; Escape cancels. True when the rectangle changed.
    bool Track(QWidget *window, const QPoint &point);
    // One step of a drag of a handle: the rectangle as the mouse at point
    // makes it, adjusted and passed to the resize callback.
    QRect TrackTo(int handle, const QRect &start, const QPoint &origin, const QPoint &point);

    // Draws the hatched border and the two handles.
    void Draw(QPainter &painter) const;

protected:
    // Keeps the rectangle at least the minimum height.
    virtual void AdjustRect(int handle, QRect *rect);
    // Redraws the band of the window that the rectangle spans.
    virtual void DrawTrackerRect(const QRect &rect, QWidget *window);

private:
    QRect handleRect(int handle) const;

    QRect m_rect;
    int m_style = hatchedBorder;
    int m_handleSize = 6;
    int m_minimumHeight = 1;
    ResizeHandler m_resize = nullptr;
    void *m_resizeContext = nullptr;
};
