#pragma once
// STAND-IN for the group settings page (view 1527): lists the groups and
// their players; it changes none.

#include "ui/players/settings_page_dlg_view.h"

class CSetGroupDlgView : public CSettingsPageDlgView {
    Q_OBJECT
public:
    CSetGroupDlgView();
    void LoadSettings() override;
};
