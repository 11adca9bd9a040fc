#pragma once
// Editing on a timetable grid, shared by the playlist, background-music list
// and schedule editors: contents dragged from the contents pane drop on a
// track at a row or, below the last row, at the end of the track; cells move
// by drag within the grid; Delete removes the current cell's item, or on the
// time column every item that starts in the row; a double-click or the
// context menu edits an item's start or end in the time dialog; the bottom
// edge of the current item can be dragged to a later row's end.
//
// The editor owns the grid's drop target and event tracker and sets their
// callbacks. After every change it calls the pane's changed function, which
// tells the frame's panes; refusals are shown through the message prompter.

#include "widgets/telv_drop_tracker.h"
#include "core/win_types.h"

#include <QObject>

#include <functional>

class CTelvEditDrop;
class CTimetableGrid;
class CTimetableModel;
class QMenu;
class QMimeData;

class CTimetableEditor : public QObject {
    Q_OBJECT
public:
    struct Setup {
        // The model the grid shows (the store's edit model).
        std::function<CTimetableModel *()> model;
        // Called after every change of the model.
        std::function<void()> changed;
        // Where the first item of an empty model starts.
        std::function<TimeValue()> firstStart;
        // Refusal of one more item: the pane's own message.
        std::function<void()> tooMany;
        // The format of cells dragged within the grid.
        int eventFormat = 0;
        // An editor's own check of an item's new start and end, which says
        // why it refuses; none when unset.
        std::function<bool(const TimeValue &start, const TimeValue &end)> checkTimes;
    };

    CTimetableEditor(CTimetableGrid *grid, Setup setup);
    ~CTimetableEditor() override;

    // The drag data of the grid's current cell; null for an unused cell.
    QMimeData *CreateEventDragData() const;
    // Places dropped contents or moves a dropped cell; the effect taken.
    quint32 Drop(const QMimeData *data, const QPoint &point);
    // Deletes the current cell's item (or row on the time column).
    bool DeleteCurrent();
    // Asks a new start (or end) for the current cell's item in the time
    // dialog; false when cancelled or refused.
    bool EditCurrentTime(bool end);
    // Adds the editing commands to a menu.
    void AddCommands(QMenu &menu);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static quint32 onDragOver(void *context, QWidget *window, const QMimeData *data, quint32 keyState,
                              const QPoint &point);
    static quint32 onDrop(void *context, QWidget *window, const QMimeData *data, quint32 defaultEffect,
                          quint32 allowedEffects, const QPoint &point);
    static void onResize(void *context, int handle, const QRect &before, QRect *after);

    bool acceptsAt(const QMimeData *data, const QPoint &point) const;
    bool dropContents(const QByteArray &block, int row, int track);
    bool dropEvent(const QByteArray &block, int row, int track);
    // The item of the current cell: its row where it starts and its track.
    bool currentItem(int &row, int &track) const;
    bool trackBottomEdge(const QPoint &point);
    // Gives the item of a cell a new start and end, or says why not.
    bool retime(int row, int track, const TimeValue &start, const TimeValue &end);
    void showRefusal();

    CTimetableGrid *m_grid;
    // Compared with, never called: the grid's events still reach this filter
    // while the grid is being destroyed, when it can no longer be asked for it.
    const QObject *m_viewport;
    Setup m_setup;
    CTelvEditDrop *m_drop;
    CTelvDropTracker m_tracker;
    QPoint m_pressPoint;
};
