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

#include <QImage>

#include <array>

class QPushButton;

// The drawing of the preview table. Its pictures are read from their files
// once per filling of the table, not on every repaint.
class CLayoutPreviewCanvas : public QWidget {
    Q_OBJECT
public:
    explicit CLayoutPreviewCanvas(QWidget *parent);
    // Where the screen is drawn; empty when there is no screen to draw.
    QRect GetScreenRect() const;
    // What the canvas says over the screen: that no layout fits the
    // playlist; empty when one does.
    QString GetNotice() const;
    // The table was filled anew: its pictures are read at the next repaint.
    void ReloadPreview();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void readPictures();

    bool m_picturesRead = false;
    std::array<QImage, LayoutTemplate::kAreaCount> m_pictures;
};

class CLayoutDispDlgView : public CTelvPaneDlg, public ILayoutCheckView {
    Q_OBJECT
public:
    CLayoutDispDlgView();

    void ShowLayoutButton(bool show) override;
    void ReloadPreview() override;
    CLayoutPreviewCanvas *GetCanvas() const { return m_canvas; }
    QPushButton *GetLayoutButton() const { return m_layoutButton; }

protected:
    bool OnInitDialog() override;

private:
    CLayoutPreviewCanvas *m_canvas = nullptr;
    QPushButton *m_layoutButton = nullptr;
};
