#pragma once
// The status pane: the document-wide transfer state as one line of text and a
// list of exactly the players of the running or last transfer, command or log
// collection, with each one's state, detail code, files and bytes of the whole
// job, and what the player last answered to a status query (version, free
// space, clock), refreshed once a second while a transfer runs. It keeps its
// view mode (40 advance delivery, 41 group delivery, 42 interrupt play,
// 43 communication status) and offers the player operations of that mode:
// every mode fetches the status and the content lists of players; the
// communication status view also collects logs and updates the players'
// firmware. The controls rest while a transfer, command or log collection
// runs; then 停止 stops the transfer or command, in every view mode.

#include "app/pane_roles.h"
#include "app/titled_pane_dlg.h"
#include "core/win_types.h"

#include <vector>

class QBoxLayout;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;
struct TransferStatusRecord;

class CStatusDlgView : public CTitledPaneDlg, public IStatusView {
    Q_OBJECT
public:
    static constexpr int kRefreshIntervalMs = 1000;
    // Object names of the controls.
    static constexpr const char *kStateLabelName = "1300";
    static constexpr const char *kPlayerListName = "1301";
    enum ControlId {
        ID_PLAYER = 1302,         // the player the "selected" operations address
        ID_STATUS_SELECTED = 1303,
        ID_STATUS_ALL = 1304,
        ID_REMOTE_LIST = 1305,    // the selected player's content lists
        ID_UPDATE_SELECTED = 1306,
        ID_UPDATE_ALL = 1307,
        ID_LOG_APPLICATION = 1308, // this program's data and logs
        ID_LOG_PLAYER = 1309,      // the selected player's log
        ID_LOG_ALL = 1310,         // every player's log and this program's data
        ID_STOP = 1311,            // stops the running transfer or command
    };
    // Columns of the player list.
    enum Column {
        COLUMN_NAME,
        COLUMN_STATE,
        COLUMN_DETAIL,
        COLUMN_FILES,
        COLUMN_BYTES,
        COLUMN_VERSION,
        COLUMN_FREE,
        COLUMN_FREE_AV,
        COLUMN_CLOCK,
        COLUMN_COUNT
    };

    CStatusDlgView();

    void SetViewMode(int mode) override;
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
    // The cells of one player's row.
    static QStringList RowTexts(const QString &name, const TransferStatusRecord &record);

protected:
    bool OnInitDialog() override;
    void OnPlayerChanged() override;

private:
    struct Control {
        QPushButton *button;
        bool needsPlayer;
        bool maintenanceOnly;
    };
    QBoxLayout *makeControls();
    void addControl(QLayout *row, int id, const char *text, bool needsPlayer, bool maintenanceOnly,
                    void (CStatusDlgView::*action)());
    void fillPlayers();
    void onPlayerChosen(int index);
    void updateControls();
    void updatePlayers();
    // Widens each column to its widest text; a column never narrows, so
    // the rows do not jump while a send counts up.
    void fitColumns();
    qint32 selectedPlayer() const;
    QList<qint32> allPlayers() const;

    void getSelectedStatus();
    void getAllStatus();
    void getRemoteLists();
    void updateSelected();
    void updateAll();
    void collectApplicationLog();
    void collectPlayerLog();
    void collectAllLogs();

    int m_mode = 40;
    bool m_busy = false;
    QTimer *m_refresh = nullptr;
    QLabel *m_state = nullptr;
    QTableWidget *m_players = nullptr;
    QComboBox *m_player = nullptr;
    std::vector<Control> m_controls;
    QPushButton *m_stop = nullptr;
    QList<qint32> m_numbers;
};
