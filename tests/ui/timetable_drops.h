#pragma once
// Drops on a timetable grid as the window system gives them: where a cell
// lies in the grid's viewport, and a drag that enters there and drops.

#include "ui/timetable/timetable_grid.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>

#include <gtest/gtest.h>

#include <memory>

// Where a cell lies in the grid's viewport; row -1 is below the last row.
inline QPoint CellPoint(const CTimetableGrid &grid, int row, int column)
{
    const int rows = grid.model()->rowCount();
    const int y = row >= 0 ? grid.rowViewportPosition(row) + 2
                           : (rows > 0 ? grid.rowViewportPosition(rows - 1) + grid.rowHeight(rows - 1) + 5 : 5);
    return QPoint(grid.columnViewportPosition(column) + 5, y);
}

// Drops the data as the window system would; whether it was taken.
inline bool DropOn(CTimetableGrid &grid, QMimeData *data, int row, int column)
{
    std::unique_ptr<QMimeData> owned(data);
    if (!data) {
        ADD_FAILURE() << "nothing to drag";
        return false;
    }
    const QPoint at = CellPoint(grid, row, column);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    // The window takes the drag as it enters, then the drop.
    QDragEnterEvent enter(at, actions, data, Qt::LeftButton, {});
    QApplication::sendEvent(grid.viewport(), &enter);
    QDropEvent event(QPointF(at), actions, data, Qt::LeftButton, {});
    event.ignore();
    QApplication::sendEvent(grid.viewport(), &event);
    return event.isAccepted() && event.dropAction() != Qt::IgnoreAction;
}
