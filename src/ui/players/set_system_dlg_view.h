#pragma once
// STAND-IN for the system settings page (view 1525): shows the values of the
// system settings file; it changes none of them.

#include "ui/players/settings_page_dlg_view.h"

class CSetSystemDlgView : public CSettingsPageDlgView {
    Q_OBJECT
public:
    CSetSystemDlgView();
    void LoadSettings() override;
};
