#pragma once
// The status pane: the document-wide transfer state as one line of text and a
// list of the players of the last transfer or command with each one's state,
// detail code, files sent of total and bytes sent of total, refreshed once a
// second from the transfer status document while a transfer runs. It keeps
// its view mode (40 advance delivery, 41 group delivery, 42 interrupt play,
// 43 communication status).

#include "app/pane_roles.h"
#include "app/titled_pane_dlg.h"
#include "core/win_types.h"

class QLabel;
class QTableWidget;
class QTimer;

class CStatusDlgView : public CTitledPaneDlg, public IStatusView {
    Q_OBJECT
public:
    static constexpr int kRefreshIntervalMs = 1000;
    // Object names of the controls.
    static constexpr const char *kStateLabelName = "1300";
    static constexpr const char *kPlayerListName = "1301";
    // Columns of the player list.
    enum Column { COLUMN_NAME, COLUMN_STATE, COLUMN_DETAIL, COLUMN_FILES, COLUMN_BYTES, COLUMN_COUNT };

    CStatusDlgView();

    void SetViewMode(int mode) override { m_mode = mode; }
    int GetViewMode() const override { return m_mode; }
    void StartRefresh() override;
    void StopRefresh() override;
    void UpdateState() override;
    void SetPlayers(const QList<qint32> &numbers) override;
    bool IsRefreshing() const { return m_busy; }
    QString GetStateText() const;

    // The text of one player's send state (0 to 9); empty for others.
    static QString PlayerStateText(int state);
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
    void updatePlayers();

    QLabel *m_state = nullptr;
    QTableWidget *m_players = nullptr;
    QList<qint32> m_numbers;
};
