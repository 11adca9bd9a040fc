#pragma once
// STAND-IN for the player settings page (view 1526): lists the managed
// players; it registers, changes and finds none.

#include "ui/players/settings_page_dlg_view.h"

class CSetR40ListDlgView : public CSettingsPageDlgView {
    Q_OBJECT
public:
    CSetR40ListDlgView();
    void LoadSettings() override;
};
