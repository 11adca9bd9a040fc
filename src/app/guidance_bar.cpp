#include "app/guidance_bar.h"

#include "app/pane_frame.h"
#include "widgets/telv_bmp_button.h"

#include <QLabel>
#include <QLineEdit>

namespace {

// Bitmaps of the button: normal, pressed, current.
constexpr int kShownBitmaps[3] = {157, 158, 157};
constexpr int kHiddenBitmaps[3] = {159, 160, 159};
constexpr int kGap = 4;

} // namespace

CGuidanceBar::CGuidanceBar() : CTelvDlgBar(QSize(294, 18)) {}

bool CGuidanceBar::Create(QWidget *parent)
{
    return CTelvDlgBar::Create(parent, kTemplateId, kBarStyle, kBarId);
}

void CGuidanceBar::OnInitDialogBar()
{
    const QSize client = GetTemplateSize();
    m_guideButton = new CTelvBmpButton(this);
    m_guideButton->setObjectName(QString::number(kGuideButtonId));
    m_guideButton->setToolTip(QStringLiteral("オペレーションガイド"));
    showToggleBitmaps();
    m_guideButton->move(kGap, (client.height() - m_guideButton->height()) / 2);
    connect(m_guideButton, &QAbstractButton::clicked, this, &CGuidanceBar::OnGuideButton);

    m_label = new QLabel(QStringLiteral("ガイダンス："), this);
    m_label->adjustSize();
    m_label->move(m_guideButton->geometry().right() + 1 + 2 * kGap, (client.height() - m_label->height()) / 2);

    m_guidance = new QLineEdit(this);
    m_guidance->setObjectName(QString::number(kGuidanceTextId));
    m_guidance->setReadOnly(true);
    const int left = m_label->geometry().right() + 1 + kGap;
    const int height = qMin(m_guidance->sizeHint().height(), client.height());
    m_guidance->setGeometry(left, (client.height() - height) / 2, qMax(0, client.width() - left - kGap), height);

    // The text field follows the bar's width.
    m_anchors.AddControl(m_guidance, ANCHOR_LEFT | ANCHOR_RIGHT | ANCHOR_TOP);
}

void CGuidanceBar::SetGuidanceText(const QString &text)
{
    m_guidance->setText(text);
    m_guidance->setCursorPosition(0);
}

QString CGuidanceBar::GetGuidanceText() const
{
    return m_guidance->text();
}

void CGuidanceBar::OnGuideButton()
{
    m_navigationShown = !m_navigationShown;
    if (IPaneFrame *frame = GetPaneFrame())
        frame->ShowControlBar(kNavigationBarId, m_navigationShown);
    showToggleBitmaps();
}

void CGuidanceBar::showToggleBitmaps()
{
    const int *ids = m_navigationShown ? kShownBitmaps : kHiddenBitmaps;
    m_guideButton->SetBitmaps(QString(), ids[0], ids[1], ids[2]);
}

void CGuidanceBar::resizeEvent(QResizeEvent *event)
{
    CTelvDlgBar::resizeEvent(event);
    m_anchors.Apply(this);
}
