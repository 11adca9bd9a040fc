#pragma once
// Removes the separators that a menu or tool bar shows without purpose: at
// the start, at the end, and every separator that follows another one.

class QWidget;

// Works on the actions of a QMenu, a QToolBar or any widget with actions.
// Returns the number of separators removed.
int RemoveExtraSeparatorActions(QWidget *widget);
