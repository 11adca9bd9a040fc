#pragma once
// The player settings page (view 1526): the players of "Player.xml" in a
// list, and the fields of one player below it. Add takes the fields as a new
// player, Change writes them over the selected one, Remove drops the selected
// one; each change is checked first and refused with its message. The
// maintenance buttons send one command to the selected stored player, at the
// address, port and password the page shows for it (changed or not yet
// saved); they rest while a transfer or command runs. The serial number and
// time zone that the player reported are shown, not edited. OK creates every
// player's folder and saves the players (and the groups' member lists)
// atomically; until then nothing is stored. A player is not removed while a
// transfer or command runs.

#include "ui/players/player_group_page_dlg_view.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CSetR40ListDlgView : public CPlayerGroupPageDlgView {
    Q_OBJECT
public:
    // Controls of the page, by their ids.
    static constexpr int kListId = 1400;
    static constexpr int kNameId = 1411;
    static constexpr int kAddressId = 1412;
    static constexpr int kPortId = 1413;
    static constexpr int kGroupId = 1414;
    static constexpr int kResolutionId = 1415;
    static constexpr int kOrientationId = 1416;
    static constexpr int kCommunicateId = 1417;
    static constexpr int kMacId = 1418;
    static constexpr int kPasswordId = 1419;
    // What the selected stored player reported of itself (shown only).
    static constexpr int kSerialId = 1424;
    static constexpr int kTimeZoneId = 1425;
    static constexpr int kAddId = 1421;
    static constexpr int kChangeId = 1422;
    static constexpr int kRemoveId = 1423;
    // Maintenance commands on the selected player.
    static constexpr int kCheckConnectId = 1431;
    static constexpr int kQueryTimeId = 1432;
    static constexpr int kRestartId = 1433;
    static constexpr int kPowerOnId = 1434;
    static constexpr int kPowerOffId = 1435;

    // List columns.
    enum Column : int {
        COL_NUMBER,
        COL_NAME,
        COL_ADDRESS,
        COL_PORT,
        COL_GROUP,
        COL_RESOLUTION,
        COL_COMMUNICATE,
        COL_MAC,
        COL_COUNT
    };

    CSetR40ListDlgView();

    void OnAdd() override;
    void OnChange() override;

protected:
    bool OnInitDialog() override;
    void refill() override;
    void showSelected() override;
    void removeAt(int row) override;

private:
    QLayout *makeFields();
    QLayout *makeCommandButtons();
    // The commands need a selected player and an idle frame.
    void updateCommandButtons();
    // The serial number and time zone the selected player's stored record
    // keeps; a connection check or status query may fill them at any time.
    void showReportedFacts();
    void startCommand(int mode);
    // The number of the selected player when it is stored, else -1.
    qint32 selectedStoredPlayer() const;
    // The record the fields describe; false (with its message) when the port is not a number.
    bool recordFromFields(PlayerRecord &record);

    QLineEdit *m_name = nullptr;
    QLineEdit *m_address = nullptr;
    QLineEdit *m_port = nullptr;
    QComboBox *m_group = nullptr;
    QComboBox *m_resolution = nullptr;
    QComboBox *m_orientation = nullptr;
    QCheckBox *m_communicate = nullptr;
    QLineEdit *m_mac = nullptr;
    QLineEdit *m_password = nullptr;
    QLineEdit *m_serial = nullptr;
    QLineEdit *m_timeZone = nullptr;
    std::vector<QPushButton *> m_commands;
};
