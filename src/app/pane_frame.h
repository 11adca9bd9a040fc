#pragma once
// What the panes, child frames and bars ask of the main frame. The main frame
// implements this interface and installs itself at start-up; tests install a
// fake. Without one, panes live outside any pane list and commands that only
// the frame handles stay disabled.

#include "app/cmd_ui.h"

class CTelvPaneDlg;

class IPaneFrame {
public:
    virtual ~IPaneFrame() = default;

    // The pane list: a created pane joins it (moving to the end when it is in
    // it already) and leaves it when its window is destroyed.
    virtual void AddView(CTelvPaneDlg *pane) = 0;
    virtual void RemoveView(CTelvPaneDlg *pane) = 0;

    // The state of a command that the pane itself does not handle.
    virtual void OnUpdateCommand(CCmdUI &cmdUi) = 0;
    // Runs a command that the pane itself does not handle; false when the
    // frame has no handler for it either.
    virtual bool OnCommand(int commandId) = 0;

    // Shows or hides one of the frame's bars (1501 guidance, 1502 navigation).
    virtual void ShowControlBar(int barId, bool show) = 0;
    // Switches the main view (the navigation bar's view buttons).
    virtual bool SwitchView(int viewId, bool forced) = 0;
    // False when a view is switched off by the settings, so its navigation
    // button is hidden for good.
    virtual bool IsViewUsed(int viewId) = 0;
};

// Installs the frame; nullptr removes it. The caller keeps ownership and
// removes it before destroying it.
void SetPaneFrame(IPaneFrame *frame);
IPaneFrame *GetPaneFrame();
