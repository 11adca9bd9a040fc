#pragma once
// The layout check pane: the screen of the shown playlist at its resolution
// and orientation, scaled to the pane, with each area of the selected row at
// its place showing its picture (the content store's preview table, filled
// by the main frame when the selected row changes). Beside the edited
// playlist it offers the layout-change button, which opens the layout
// windows on the playlist's layout.

#include "app/pane_roles.h"
#include "app/telv_pane_dlg.h"
#include "model/layout_template_store.h"

class QPushButton;

// The drawing of the preview table.
class CLayoutPreviewCanvas : public QWidget {
    Q_OBJECT
public:
    explicit CLayoutPreviewCanvas(QWidget *parent);
    // Where the screen is drawn; empty when there is no screen to draw.
    QRect GetScreenRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

class CLayoutDispDlgView : public CTelvPaneDlg, public ILayoutCheckView {
    Q_OBJECT
public:
    CLayoutDispDlgView();

    void ShowLayoutButton(bool show) override;
    CLayoutPreviewCanvas *GetCanvas() const { return m_canvas; }
    QPushButton *GetLayoutButton() const { return m_layoutButton; }

protected:
    bool OnInitDialog() override;

private:
    CLayoutPreviewCanvas *m_canvas = nullptr;
    QPushButton *m_layoutButton = nullptr;
};
