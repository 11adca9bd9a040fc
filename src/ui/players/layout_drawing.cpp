#include "ui/players/layout_drawing.h"

#include <QRectF>

QRect FitScreen(const QSize &screen, const QRect &bounds)
{
    if (screen.isEmpty() || bounds.isEmpty())
        return QRect();
    const QSize size = screen.scaled(bounds.size(), Qt::KeepAspectRatio);
    const QPoint origin(bounds.left() + (bounds.width() - size.width()) / 2,
                        bounds.top() + (bounds.height() - size.height()) / 2);
    return QRect(origin, size);
}

QRect MapScreenRect(const WinRect &rect, const QSize &screen, const QRect &drawn)
{
    if (screen.isEmpty())
        return QRect();
    const qreal sx = qreal(drawn.width()) / screen.width();
    const qreal sy = qreal(drawn.height()) / screen.height();
    const QRectF mapped(drawn.left() + rect.left * sx, drawn.top() + rect.top * sy, rect.width() * sx,
                        rect.height() * sy);
    return mapped.toRect();
}

QString MissingLayoutText()
{
    return QString::fromUtf8("この解像度と向きのレイアウトがありません。");
}
