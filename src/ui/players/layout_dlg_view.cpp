#include "ui/players/layout_dlg_view.h"

CLayoutDlgView::CLayoutDlgView() : CTitledPaneDlg(kTemplateId, QSize(480, 300), 5507) {}
