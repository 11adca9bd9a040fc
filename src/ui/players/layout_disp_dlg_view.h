#pragma once
// STAND-IN for the layout check pane, until the layout views are built: a
// titled pane; it draws no layout.

#include "app/titled_pane_dlg.h"

class CLayoutDispDlgView : public CTitledPaneDlg {
    Q_OBJECT
public:
    CLayoutDispDlgView();
};
