#pragma once
// The pane classes the main frame creates, by kind. The panes themselves live
// in the user-interface libraries above this one; each library registers a
// maker for its kinds at start-up, and the frame asks for a new pane of a kind
// with the set-up values of its row (a content type, a mode). A kind without
// a maker gives no pane, and the frame stops creating panes there.

#include <functional>

class CTelvPaneDlg;

enum PaneKind : int {
    PANE_KIND_CONTENTS,       // CContentsDlgView: mode
    PANE_KIND_PLAYLIST_EDIT,  // CPlaylistEditDlgView: type 52 or 53, mode 1 editing / 0 viewing
    PANE_KIND_LAYOUT_DISP,    // CLayoutDispDlgView
    PANE_KIND_SCHEDULE_EDIT,  // CScheduleEditDlgView: mode 1 editing / 0 viewing
    PANE_KIND_CALENDAR,       // CCalendarDlgView: data type 50, 51 or 52
    PANE_KIND_LAYOUT,         // CLayoutDlgView (a window of its own)
    PANE_KIND_LAYOUT_PROP,    // CLayoutPropDlgView (a window of its own)
    PANE_KIND_STATUS,         // CStatusDlgView
    PANE_KIND_SET_SYSTEM,     // CSetSystemDlgView
    PANE_KIND_SET_R40_LIST,   // CSetR40ListDlgView
    PANE_KIND_SET_GROUP,      // CSetGroupDlgView
    PANE_KIND_SET_CONT,       // CSetContDlgView
    PANE_KIND_SET_OPT,        // CSetOptDlgView
    PANE_KIND_SCHEDULE_VIEW,  // CScheduleViewDlgView
    PANE_KIND_COUNT
};

// Makes a pane from its row's content type and mode (0 where the row has none).
using PaneMaker = std::function<CTelvPaneDlg *(int type, int mode)>;

// Registers the maker of a kind, replacing an earlier one; an empty maker
// removes it.
void RegisterPaneMaker(PaneKind kind, PaneMaker maker);
// A new pane of the kind, owned by the caller; null without a maker.
CTelvPaneDlg *MakePane(PaneKind kind, int type, int mode);
