#pragma once
// STAND-IN for the layout canvas (dialog 2052, a window of its own), until
// the layout views are built: a titled pane; it edits no layout.

#include "app/titled_pane_dlg.h"

class CLayoutDlgView : public CTitledPaneDlg {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2052;
    CLayoutDlgView();
};
