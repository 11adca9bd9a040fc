#include "widgets/dialog_units.h"

#include <QFontMetrics>

namespace {

// The font's average character width and its height.
QSize baseUnits(const QFont &font)
{
    const QFontMetrics metrics(font);
    static const QString sample = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int average = (metrics.horizontalAdvance(sample) / 26 + 1) / 2;
    return QSize(qMax(1, average), qMax(1, metrics.height()));
}

int scale(int value, int base, int divisor)
{
    return int((qint64(value) * base + divisor / 2) / divisor);
}

} // namespace

QSize DialogUnitsToPixels(const QFont &font, const QSize &units)
{
    const QSize base = baseUnits(font);
    return QSize(scale(units.width(), base.width(), 4), scale(units.height(), base.height(), 8));
}

QRect DialogUnitsToPixels(const QFont &font, const QRect &units)
{
    const QSize base = baseUnits(font);
    return QRect(scale(units.x(), base.width(), 4), scale(units.y(), base.height(), 8),
                 scale(units.width(), base.width(), 4), scale(units.height(), base.height(), 8));
}
