#pragma once
// Dialog units: the windows are designed in units of a quarter of the font's
// average character width and an eighth of its height, so they scale with
// the font as the designs assume.

#include <QFont>
#include <QRect>
#include <QSize>

QSize DialogUnitsToPixels(const QFont &font, const QSize &units);
QRect DialogUnitsToPixels(const QFont &font, const QRect &units);
