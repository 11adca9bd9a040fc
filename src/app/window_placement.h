#pragma once
// The main frame's window placement: restored at start from window number 1
// of the per-user state file, moved back onto the screens when the screens
// have changed since.
//
// The stored rectangle is the frame's normal geometry (QWidget::normalGeometry
// when saved), left, top, width and height.

#include "core/win_types.h"

#include <QList>
#include <QRect>

class CAppIni;
class QWidget;

// The window number of the main frame in the per-user state file.
constexpr int kMainFrameWindowNumber = 1;
// The window numbers of the layout windows in playlist-layout mode.
constexpr int kPlaylistCanvasWindow = 81;
constexpr int kPlaylistPropWindow = 82;
// How much of a window must lie on a screen for it to count as visible.
constexpr int kVisibleMargin = 50;

// A stored rectangle (left, top, right, bottom) as a widget geometry and back.
QRect ToQRect(const WinRect &rect);
WinRect ToWinRect(const QRect &rect);

// True when the rectangle can be reached on one of the screens: its centre
// lies on a screen, or at least 50 by 50 pixels of it do.
bool IsWindowRectVisible(const WinRect &rect, const QList<QRect> &screens);
// The same for the screens of the running system.
bool IsWindowRectVisible(const WinRect &rect);

// A rectangle shrunk to the area where it is larger, and moved into it.
QRect FitInside(const QRect &rect, const QRect &area);
// The work area of the screen that holds the point, else the primary screen's.
QRect WorkAreaAt(const QPoint &point);
// A stored window rectangle fitted to the work area of the screen that holds
// its centre, so that a size remembered under other fonts or on another
// screen keeps its buttons in reach.
QRect FitOnScreen(const QRect &rect);

// Where a stored rectangle puts the frame: an empty one gives the work area,
// one that is not visible goes to (0, 0) with its size.
QRect PlacementFromStored(const WinRect &stored, const QList<QRect> &screens, const QRect &workArea);

// Reads window 1 from the state file and gives the frame that geometry,
// without showing or activating it.
void RestoreWindowPlacement(QWidget *frame, const CAppIni &ini);
