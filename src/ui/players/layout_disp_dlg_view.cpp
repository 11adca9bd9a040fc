#include "ui/players/layout_disp_dlg_view.h"

CLayoutDispDlgView::CLayoutDispDlgView() : CTitledPaneDlg(0, QSize(320, 200), 5506) {}
