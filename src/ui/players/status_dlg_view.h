#pragma once
// STAND-IN for the status pane, until the delivery status view is built: the
// least the main frame needs of it. It shows the document-wide transfer state
// as one line of text, refreshed once a second while a transfer runs, and
// keeps its view mode (40 advance delivery, 41 group delivery, 42 interrupt
// play, 43 communication status). It lists no players.

#include "app/pane_roles.h"
#include "app/titled_pane_dlg.h"
#include "core/win_types.h"

class QLabel;
class QTimer;

class CStatusDlgView : public CTitledPaneDlg, public IStatusView {
    Q_OBJECT
public:
    static constexpr int kRefreshIntervalMs = 1000;

    CStatusDlgView();

    void SetViewMode(int mode) override { m_mode = mode; }
    int GetViewMode() const override { return m_mode; }
    void StartRefresh() override;
    void StopRefresh() override;
    void UpdateState() override;
    bool IsRefreshing() const { return m_busy; }
    QString GetStateText() const;

    // The text of a transfer state: states 5 (until the no-send period ends)
    // and 9 (until the delivery's start time) show the time; an unknown
    // state shows nothing.
    static QString StateText(int state, const TimeValue &time);

protected:
    bool OnInitDialog() override;

private:
    int m_mode = 40;
    bool m_busy = false;
    QTimer *m_refresh = nullptr;
    QLabel *m_state = nullptr;
};
