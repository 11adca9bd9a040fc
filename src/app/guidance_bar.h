#pragma once
// The guidance bar across the top of the main frame: a button that shows or
// hides the navigation bar, and a one-line guidance text for the current view.

#include "widgets/anchor_layout.h"
#include "widgets/telv_dlg_bar.h"

class CTelvBmpButton;
class QLabel;
class QLineEdit;

class CGuidanceBar : public CTelvDlgBar {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2006;
    static constexpr int kBarId = 1501;
    static constexpr quint32 kBarStyle = 0x2802;
    static constexpr int kGuideButtonId = 1016;
    static constexpr int kGuidanceTextId = 1127;
    // The bar that the button shows and hides.
    static constexpr int kNavigationBarId = 1502;

    CGuidanceBar();

    bool Create(QWidget *parent);
    void SetGuidanceText(const QString &text);
    QString GetGuidanceText() const;
    bool IsNavigationShown() const { return m_navigationShown; }

    // Button 1016: shows or hides the navigation bar.
    void OnGuideButton();

protected:
    void OnInitDialogBar() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showToggleBitmaps();

    CTelvBmpButton *m_guideButton = nullptr;
    QLabel *m_label = nullptr;
    QLineEdit *m_guidance = nullptr;
    bool m_navigationShown = true;
    CAnchorLayout m_anchors;
};
