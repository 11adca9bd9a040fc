#pragma once
// The option settings page (view 1529): the players' daily operating hours
// (power on and off), the daily no-communication period, how many players
// are served at once, the default player port, the switches of local web
// files, display and COM control and touch-panel playlists, and the start-up
// and settings passwords with their switches. A password switch turned on
// without a password asks for one first (CSetPasswordDlg); the passwords are
// written with the other options when OK is pressed.

#include "ui/players/settings_page_dlg_view.h"

class QCheckBox;
class QSpinBox;
class QTimeEdit;

class CSetOptDlgView : public CSettingsPageDlgView {
    Q_OBJECT
public:
    // Controls of the page, by their ids.
    static constexpr int kPowerOnId = 1601;
    static constexpr int kPowerOffId = 1602;
    static constexpr int kRunPassUseId = 1603;
    static constexpr int kSetupPassUseId = 1604;
    static constexpr int kNotSendStartId = 1605;
    static constexpr int kNotSendEndId = 1606;
    static constexpr int kMaxSessionId = 1607;
    static constexpr int kHttpPortId = 1608;
    static constexpr int kLocalUrlId = 1609;
    static constexpr int kControlId = 1610;
    static constexpr int kTouchPanelId = 1611;
    static constexpr int kRunPasswordId = 1612;
    static constexpr int kSetupPasswordId = 1613;

    CSetOptDlgView();
    void LoadSettings() override;

    // The password buttons: a new password through CSetPasswordDlg in its
    // setting mode; false when it was cancelled.
    bool SetPassword(int mode);

protected:
    bool OnInitDialog() override;
    bool SaveSettings() override;

private:
    QTimeEdit *makeTime(int id);
    QCheckBox *makeCheck(quint32 textId, int id);
    QLayout *passwordRow(QCheckBox *use, int mode, int buttonId);
    void onPasswordUseToggled(QCheckBox *use, int mode, bool on);

    QTimeEdit *m_powerOn = nullptr;
    QTimeEdit *m_powerOff = nullptr;
    QTimeEdit *m_notSendStart = nullptr;
    QTimeEdit *m_notSendEnd = nullptr;
    QSpinBox *m_maxSession = nullptr;
    QSpinBox *m_httpPort = nullptr;
    QCheckBox *m_localUrl = nullptr;
    QCheckBox *m_control = nullptr;
    QCheckBox *m_touchPanel = nullptr;
    QCheckBox *m_runPassUse = nullptr;
    QCheckBox *m_setupPassUse = nullptr;
    // The passwords as they will be stored.
    QString m_runPassword;
    QString m_setupPassword;
};
