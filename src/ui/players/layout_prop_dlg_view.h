#pragma once
// The layout properties pane (dialog 2051, a window of its own): the title
// of the layout shown, its resolution and orientation. In playlist-layout
// mode it also offers the other layouts of the same display mode for the
// edited playlist, and closes the two layout windows. When no template has a
// layout of the resolution and orientation shown, it says so.

#include "app/pane_roles.h"
#include "app/titled_pane_dlg.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QPushButton;

class CLayoutPropDlgView : public CTitledPaneDlg, public ILayoutPropView {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2051;
    CLayoutPropDlgView();

    void GetLayoutResolution(qint32 &resolution, qint32 &displayMode) const override;
    void SetStandardLayout(const QString &title, qint32 resolution, qint32 orientation) override;
    void SetPlaylistLayout(const QString &title, qint32 resolution, qint32 orientation) override;
    void SetPlaylistLayoutMode(bool on) override { m_standard = !on; }
    bool IsPlaylistLayoutMode() const override { return !m_standard; }

    QString GetResolutionText() const;
    QString GetOrientationText() const;
    QComboBox *GetLayoutChoice() const { return m_choice; }
    // Says that no template has a layout of the resolution and orientation shown.
    QLabel *GetNotice() const { return m_notice; }
    QPushButton *GetCloseButton() const { return m_close; }

protected:
    bool OnInitDialog() override;

private:
    void showLayout(const QString &title, qint32 resolution, qint32 orientation);
    void refresh();
    void fillChoice();
    void onChoice(int position);

    qint32 m_resolution = 0;
    qint32 m_orientation = 0;
    bool m_standard = true;
    QLabel *m_resolutionText = nullptr;
    QLabel *m_orientationText = nullptr;
    QFormLayout *m_form = nullptr;
    QComboBox *m_choice = nullptr;
    QLabel *m_notice = nullptr;
    QPushButton *m_close = nullptr;
};
