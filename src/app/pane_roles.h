#pragma once
// What the main frame asks of particular panes beyond the notifications every
// pane gets. The panes live in the user-interface libraries above this one and
// implement the role that concerns them; the frame finds a role with
// dynamic_cast and does without it when a pane lacks it.

#include <QDate>
#include <QList>
#include <QString>
#include <QtGlobal>

// The contents pane: one pane object serves several navigation views, each in
// its own mode (10 to 16, 17 for the contents of one player); a mode change
// keeps the pane's state.
class IContentsView {
public:
    virtual ~IContentsView() = default;
    virtual void SetViewMode(int mode) = 0;
    virtual int GetViewMode() const = 0;
    // Shows only the playlists that fit the current layout, or all of them.
    virtual void SetPlaylistFilter(bool on) = 0;
};

// The status pane: the delivery state of the players, refreshed by timers
// while a transfer runs; view modes 40 to 43.
class IStatusView {
public:
    virtual ~IStatusView() = default;
    virtual void SetViewMode(int mode) = 0;
    virtual int GetViewMode() const = 0;
    virtual void StartRefresh() = 0;
    // Stops the refresh timers and clears the busy flag.
    virtual void StopRefresh() = 0;
    // Shows the document-wide transfer state and each listed player's.
    virtual void UpdateState() = 0;
    // The players listed: the targets of the transfer or command.
    virtual void SetPlayers(const QList<qint32> &numbers) = 0;
};

// A settings page: fills itself from the settings before it is shown. Whether
// it may be left is its QueryClose answer.
class ISettingsPage {
public:
    virtual ~ISettingsPage() = default;
    virtual void LoadSettings() = 0;
};

// The month calendar panes.
class ICalendarView {
public:
    virtual ~ICalendarView() = default;
    // Selects a day; negative values clear the selection.
    virtual void SelectDate(int year, int month, int day) = 0;
    // Selects the days from first to last and shows the month of the first.
    virtual void SelectPeriod(const QDate &first, const QDate &last) = 0;
};

// The group selector of the overview check.
class IScheduleView {
public:
    virtual ~IScheduleView() = default;
    virtual void FillGroupList() = 0;
};

// The two layout windows (canvas and properties): in playlist-layout mode
// they show the layout of the edited playlist, otherwise the standard layout.
class ILayoutView {
public:
    virtual ~ILayoutView() = default;
    virtual void SetPlaylistLayoutMode(bool on) = 0;
    virtual bool IsPlaylistLayoutMode() const = 0;
};

// The layout properties pane.
class ILayoutPropView : public ILayoutView {
public:
    // The resolution and display mode (1: the orientation flag is set) of the
    // layout being edited.
    virtual void GetLayoutResolution(qint32 &resolution, qint32 &displayMode) const = 0;
    // Edits the standard layout of a resolution and orientation under the
    // given title.
    virtual void SetStandardLayout(const QString &title, qint32 resolution, qint32 orientation) = 0;
    // Shows the edited playlist's layout of a resolution and orientation
    // under the given title.
    virtual void SetPlaylistLayout(const QString &title, qint32 resolution, qint32 orientation) = 0;
};

// The layout check pane: its layout-change button is offered where the
// edited playlist is shown.
class ILayoutCheckView {
public:
    virtual ~ILayoutCheckView() = default;
    virtual void ShowLayoutButton(bool show) = 0;
    // The preview table was filled anew: its pictures are read again.
    virtual void ReloadPreview() = 0;
};
