#pragma once
// STAND-IN for the option settings page (view 1529): edits the players'
// daily power-on and power-off times and the two password switches of the
// system options and saves them with OK; the other options are only shown.

#include "ui/players/settings_page_dlg_view.h"

class QCheckBox;
class QTimeEdit;

class CSetOptDlgView : public CSettingsPageDlgView {
    Q_OBJECT
public:
    // Controls of the page, by their ids.
    static constexpr int kPowerOnId = 1601;
    static constexpr int kPowerOffId = 1602;
    static constexpr int kRunPassUseId = 1603;
    static constexpr int kSetupPassUseId = 1604;

    CSetOptDlgView();
    void LoadSettings() override;

protected:
    bool OnInitDialog() override;
    bool SaveSettings() override;

private:
    QTimeEdit *m_powerOn = nullptr;
    QTimeEdit *m_powerOff = nullptr;
    QCheckBox *m_runPassUse = nullptr;
    QCheckBox *m_setupPassUse = nullptr;
    bool m_loading = false;
};
