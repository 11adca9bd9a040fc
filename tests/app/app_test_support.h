#pragma once
// Fakes for the window tests: a main frame that keeps a pane list and records
// what the panes and bars ask of it, installed for its lifetime.

#include "app/pane_frame.h"
#include "app/pane_list.h"

#include <QList>
#include <QPair>
#include <QSet>

#include <functional>

class FakePaneFrame final : public IPaneFrame {
public:
    FakePaneFrame() { SetPaneFrame(this); }
    ~FakePaneFrame() override { SetPaneFrame(nullptr); }
    FakePaneFrame(const FakePaneFrame &) = delete;
    FakePaneFrame &operator=(const FakePaneFrame &) = delete;

    void AddView(CTelvPaneDlg *pane) override { panes.AddView(pane); }
    void RemoveView(CTelvPaneDlg *pane) override { panes.RemoveView(pane); }
    void OnUpdateCommand(CCmdUI &cmdUi) override
    {
        if (enabledCommands.contains(cmdUi.id))
            cmdUi.Enable(true);
    }
    bool OnCommand(int commandId) override
    {
        commands.append(commandId);
        return enabledCommands.contains(commandId);
    }
    void ShowControlBar(int barId, bool show) override { bars.append({barId, show}); }
    bool SwitchView(int viewId, bool forced) override
    {
        views.append({viewId, forced});
        return true;
    }
    bool IsViewUsed(int viewId) override { return !viewsOff.contains(viewId); }

    CPaneList panes;
    QSet<int> enabledCommands; // commands the frame handles (enabled)
    QSet<int> viewsOff;        // views switched off by the settings
    QList<int> commands;
    QList<QPair<int, bool>> bars;
    QList<QPair<int, bool>> views;
};
