#pragma once
// STAND-IN for the layout properties pane (dialog 2051, a window of its
// own), until the layout views are built: the least the main frame needs of
// it. It keeps the layout being edited (resolution and orientation) and its
// title; it shows no properties.

#include "app/pane_roles.h"
#include "app/titled_pane_dlg.h"

class CLayoutPropDlgView : public CTitledPaneDlg, public ILayoutPropView {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2051;
    CLayoutPropDlgView();

    void GetLayoutResolution(qint32 &resolution, qint32 &displayMode) const override;
    void SetStandardLayout(const QString &title, qint32 resolution, qint32 orientation) override;
    bool IsStandardMode() const { return m_standard; }

private:
    qint32 m_resolution = 0;
    qint32 m_orientation = 0;
    bool m_standard = false;
};
