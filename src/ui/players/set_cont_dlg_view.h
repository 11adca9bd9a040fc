#pragma once
// STAND-IN for the materials settings page (view 1528): shows which content
// types are in use; it changes none.

#include "ui/players/settings_page_dlg_view.h"

class CSetContDlgView : public CSettingsPageDlgView {
    Q_OBJECT
public:
    CSetContDlgView();
    void LoadSettings() override;
};
