#include "ui/contents/color_change_dlg.h"

#include "widgets/dialog_buttons.h"
#include "widgets/color_dialog.h"
#include "core/message_box.h"
#include "ui/contents/color_button.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr quint32 kMsgTransparentColor = 5003;
constexpr int kColumns = 5;

bool isSwatchIndex(int index)
{
    return index >= 0 && index < CColorChangeDlg::kSwatchCount;
}

} // namespace

CColorChangeDlg::CColorChangeDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("テロップの色の設定"));

    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    auto *grid = new QGridLayout;
    for (int i = 0; i < kSwatchCount; ++i) {
        auto *swatch = new CColorButton(this);
        swatch->setObjectName(QString::number(kSwatchIds[size_t(i)]));
        group->addButton(swatch);
        grid->addWidget(swatch, i / kColumns, i % kColumns);
        m_swatches[size_t(i)] = swatch;
    }

    auto *change = new QPushButton(QStringLiteral("色の変更"), this);
    change->setObjectName(QString::number(kChangeButtonId));
    change->setAutoDefault(false);
    connect(change, &QPushButton::clicked, this, &CColorChangeDlg::OnChangeColor);

    QDialogButtonBox *buttons = CreateOkCancelButtons(this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(change, 0, Qt::AlignLeft);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool CColorChangeDlg::SetColor(int index, ColorRef color)
{
    if (!isSwatchIndex(index))
        return false;
    m_colors[size_t(index)] = color;
    return true;
}

bool CColorChangeDlg::GetColor(int index, ColorRef &color) const
{
    if (!isSwatchIndex(index))
        return false;
    color = m_colors[size_t(index)];
    return true;
}

CColorButton *CColorChangeDlg::GetSwatch(int index) const
{
    return isSwatchIndex(index) ? m_swatches[size_t(index)] : nullptr;
}

void CColorChangeDlg::showEvent(QShowEvent *event)
{
    if (!m_started) {
        m_started = true;
        for (int i = 0; i < kSwatchCount; ++i)
            m_swatches[size_t(i)]->SetColor(m_colors[size_t(i)]);
        checkSelectedSwatch();
    }
    QDialog::showEvent(event);
}

void CColorChangeDlg::checkSelectedSwatch()
{
    for (CColorButton *swatch : m_swatches) {
        if (swatch->GetColor() == m_selected) {
            swatch->setChecked(true);
            return;
        }
    }
    m_swatches[0]->setChecked(true);
}

int CColorChangeDlg::checkedSwatch() const
{
    for (int i = 0; i < kSwatchCount; ++i) {
        if (m_swatches[size_t(i)]->IsChecked())
            return i;
    }
    return -1;
}

bool CColorChangeDlg::chooseColor(ColorRef initial, ColorRef &chosen)
{
    // The transparent colour would vanish on the player, so it is taken only
    // on a Yes; a No asks for another colour.
    ColorRef offered = initial;
    while (PromptColor(this, offered, chosen)) {
        if (chosen != m_transparent)
            return true;
        if (ShowMessage(this, kMsgTransparentColor, kTitleCaption, MB_YESNO | MB_ICONQUESTION) == IDYES)
            return true;
        offered = chosen;
    }
    return false;
}

void CColorChangeDlg::OnChangeColor()
{
    const int index = checkedSwatch();
    if (index < 0)
        return;
    CColorButton *swatch = m_swatches[size_t(index)];
    ColorRef chosen = 0;
    if (chooseColor(swatch->GetColor(), chosen))
        swatch->SetColor(chosen);
}

void CColorChangeDlg::accept()
{
    for (int i = 0; i < kSwatchCount; ++i)
        m_colors[size_t(i)] = m_swatches[size_t(i)]->GetColor();
    const int index = checkedSwatch();
    if (index >= 0)
        m_selected = m_colors[size_t(index)];
    QDialog::accept();
}
