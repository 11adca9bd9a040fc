#include "app/window_placement.h"

#include "core/app_ini.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

QList<QRect> screenGeometries()
{
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->geometry());
    return screens;
}

QRect workArea()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? primary->availableGeometry() : QRect();
}

} // namespace

QRect ToQRect(const WinRect &rect)
{
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

WinRect ToWinRect(const QRect &rect)
{
    return WinRect{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

bool IsWindowRectVisible(const WinRect &rect, const QList<QRect> &screens)
{
    const QRect window = ToQRect(rect);
    for (const QRect &screen : screens) {
        if (screen.contains(window.center()))
            return true;
        const QRect shared = screen.intersected(window);
        if (shared.width() >= kVisibleMargin && shared.height() >= kVisibleMargin)
            return true;
    }
    return false;
}

bool IsWindowRectVisible(const WinRect &rect)
{
    return IsWindowRectVisible(rect, screenGeometries());
}

QRect FitInside(const QRect &rect, const QRect &area)
{
    QRect fitted(rect.topLeft(), rect.size().boundedTo(area.size()));
    fitted.moveLeft(qBound(area.left(), fitted.left(), area.right() - fitted.width() + 1));
    fitted.moveTop(qBound(area.top(), fitted.top(), area.bottom() - fitted.height() + 1));
    return fitted;
}

QRect WorkAreaAt(const QPoint &point)
{
    const QScreen *screen = QGuiApplication::screenAt(point);
    return screen ? screen->availableGeometry() : workArea();
}

QRect FitOnScreen(const QRect &rect)
{
    const QRect area = WorkAreaAt(rect.center());
    return area.isEmpty() ? rect : FitInside(rect, area);
}

QRect PlacementFromStored(const WinRect &stored, const QList<QRect> &screens, const QRect &workArea)
{
    if (stored.isEmpty())
        return workArea;
    if (IsWindowRectVisible(stored, screens))
        return ToQRect(stored);
    return QRect(0, 0, stored.width(), stored.height());
}

void RestoreWindowPlacement(QWidget *frame, const CAppIni &ini)
{
    if (!frame)
        return;
    WinRect stored;
    if (!ini.GetWindowRect(kMainFrameWindowNumber, stored))
        stored = WinRect();
    frame->setGeometry(PlacementFromStored(stored, screenGeometries(), workArea()));
}
