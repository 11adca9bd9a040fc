#pragma once
// The layout canvas (dialog 2052, a window of its own): the screen of the
// layout in use with each of its areas in use. In playlist-layout mode an
// area is labelled by the track of the edited playlist that plays in it, and
// by the content the selected row plays there; otherwise by its number.
// Editing the templates is not done here.

#include "app/pane_roles.h"
#include "app/telv_pane_dlg.h"

class CLayoutCanvas : public QWidget {
    Q_OBJECT
public:
    explicit CLayoutCanvas(QWidget *parent);
    void SetPlaylistMode(bool on);
    bool IsPlaylistMode() const { return m_playlistMode; }
    // Where the screen is drawn; empty when the layout has no screen size.
    QRect GetScreenRect() const;
    // The label of an area (0 to 5) as drawn.
    QString AreaLabel(int area) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_playlistMode = false;
};

class CLayoutDlgView : public CTelvPaneDlg, public ILayoutView {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2052;
    CLayoutDlgView();

    void SetPlaylistLayoutMode(bool on) override;
    bool IsPlaylistLayoutMode() const override;
    CLayoutCanvas *GetCanvas() const { return m_canvas; }

    void OnLayoutChanged(QWidget *sender, int flag) override;
    void OnEditPlaylistSelected(int listIndex, int flag) override;
    void OnEditListChanged(int contentType, int flag) override;

protected:
    bool OnInitDialog() override;

private:
    CLayoutCanvas *m_canvas = nullptr;
};
