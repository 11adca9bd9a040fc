#include "ui/contents/contents_dlg_view.h"

CContentsDlgView::CContentsDlgView(int mode) : CTitledPaneDlg(kTemplateId, QSize(640, 360), kTitleId), m_mode(mode) {}
