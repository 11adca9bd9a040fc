#include "ui/players/layout_prop_dlg_view.h"

#include "app/main_frame.h"
#include "core/string_table.h"
#include "model/app_data.h"
#include "ui/players/layout_drawing.h"
#include "ui/players/player_fields.h"
#include "ui/players/player_texts.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

constexpr quint32 kOrientationLabel = 6705; // "向き"
constexpr quint32 kLandscape = 6712;        // "横"
constexpr quint32 kPortrait = 6713;         // "縦"

} // namespace

CLayoutPropDlgView::CLayoutPropDlgView() : CTitledPaneDlg(kTemplateId, QSize(260, 200), 0) {}

bool CLayoutPropDlgView::OnInitDialog()
{
    CTitledPaneDlg::OnInitDialog();
    m_form = new QFormLayout;
    m_resolutionText = new QLabel(this);
    m_orientationText = new QLabel(this);
    m_choice = new QComboBox(this);
    m_choice->setObjectName(QStringLiteral("layoutChoice"));
    m_notice = new QLabel(MissingLayoutText(), this);
    m_notice->setObjectName(QStringLiteral("layoutMissing"));
    m_notice->setWordWrap(true);
    m_close = new QPushButton(QString::fromUtf8("閉じる"), this);
    m_close->setObjectName(QStringLiteral("close"));
    m_close->setAutoDefault(false);
    m_form->addRow(LoadString(kTextResolution), m_resolutionText);
    m_form->addRow(LoadString(kOrientationLabel), m_orientationText);
    m_form->addRow(QString::fromUtf8("レイアウト"), m_choice);
    GetBodyLayout()->addLayout(m_form);
    layout()->addWidget(m_notice);
    layout()->addWidget(m_close);
    connect(m_choice, &QComboBox::activated, this, &CLayoutPropDlgView::onChoice);
    connect(m_close, &QPushButton::clicked, this, [] {
        if (CMainFrame *frame = GetMainFrame())
            frame->CloseLayoutWindows(frame->GetEditPlaylistIndex());
    });
    refresh();
    return true;
}

void CLayoutPropDlgView::GetLayoutResolution(qint32 &resolution, qint32 &displayMode) const
{
    resolution = m_resolution;
    displayMode = m_orientation == 1 ? 1 : 0;
}

void CLayoutPropDlgView::SetStandardLayout(const QString &title, qint32 resolution, qint32 orientation)
{
    m_standard = true;
    showLayout(title, resolution, orientation);
}

void CLayoutPropDlgView::SetPlaylistLayout(const QString &title, qint32 resolution, qint32 orientation)
{
    m_standard = false;
    showLayout(title, resolution, orientation);
}

void CLayoutPropDlgView::showLayout(const QString &title, qint32 resolution, qint32 orientation)
{
    m_resolution = resolution;
    m_orientation = orientation;
    setWindowTitle(title);
    if (GetTitleLabel())
        GetTitleLabel()->setText(title);
    refresh();
}

QString CLayoutPropDlgView::GetResolutionText() const
{
    return m_resolutionText ? m_resolutionText->text() : QString();
}

QString CLayoutPropDlgView::GetOrientationText() const
{
    return m_orientationText ? m_orientationText->text() : QString();
}

void CLayoutPropDlgView::refresh()
{
    if (!m_choice)
        return;
    m_resolutionText->setText(ResolutionText(m_resolution, m_orientation));
    m_orientationText->setText(LoadString(m_orientation == 1 ? kPortrait : kLandscape));
    fillChoice();
    m_notice->setVisible(!GetAppData().GetLayoutTemplates().Has(m_resolution, m_orientation));
    // The standard layout is shown, not chosen: its row goes with its label.
    m_form->setRowVisible(m_choice, !m_standard);
    m_close->setVisible(!m_standard);
}

// The layouts of the templates in the playlist's display mode, each named by
// its screen size.
void CLayoutPropDlgView::fillChoice()
{
    const QSignalBlocker blocker(m_choice);
    m_choice->clear();
    for (const LayoutTemplate &layout : GetAppData().GetLayoutTemplates().Records()) {
        if (layout.DisplayMode == m_orientation)
            m_choice->addItem(ResolutionText(layout.Number, layout.DisplayMode), layout.Number);
    }
    m_choice->setCurrentIndex(m_choice->findData(m_resolution));
}

void CLayoutPropDlgView::onChoice(int position)
{
    const qint32 number = m_choice->itemData(position).toInt();
    CMainFrame *frame = GetMainFrame();
    if (number != m_resolution && frame)
        frame->ChoosePlaylistLayout(number);
    // A refused choice shows the layout kept.
    fillChoice();
}
