#pragma once
// Drawing a player's screen scaled into a widget: where the screen goes and
// where a rectangle of the screen lands on it. The layout check and the
// layout canvas draw with these.

#include "core/win_types.h"

#include <QRect>
#include <QSize>
#include <QString>

// The screen of the given size (pixels) as large as it fits in bounds, kept
// in its proportions and centred; empty for an empty screen.
QRect FitScreen(const QSize &screen, const QRect &bounds);
// A rectangle of the screen (pixels) where it lands in the drawn screen.
QRect MapScreenRect(const WinRect &rect, const QSize &screen, const QRect &drawn);

// What the layout windows say when no template has a layout for the screen
// shown: its areas, and so what the players show, are unknown.
QString MissingLayoutText();
