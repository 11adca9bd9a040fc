#include "ui/players/layout_prop_dlg_view.h"

#include <QLabel>

CLayoutPropDlgView::CLayoutPropDlgView() : CTitledPaneDlg(kTemplateId, QSize(260, 300), 0) {}

void CLayoutPropDlgView::GetLayoutResolution(qint32 &resolution, qint32 &displayMode) const
{
    resolution = m_resolution;
    displayMode = m_orientation == 1 ? 1 : 0;
}

void CLayoutPropDlgView::SetStandardLayout(const QString &title, qint32 resolution, qint32 orientation)
{
    m_standard = true;
    m_resolution = resolution;
    m_orientation = orientation;
    setWindowTitle(title);
    if (GetTitleLabel())
        GetTitleLabel()->setText(title);
}
