#include "ui/players/set_cont_dlg_view.h"

#include "widgets/color_dialog.h"
#include "app/main_frame.h"
#include "core/message_box.h"
#include "core/string_table.h"
#include "core/system_ini.h"
#include "ui/contents/color_button.h"
#include "ui/contents/color_info_dlg.h"
#include "ui/players/settings_fields.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr quint32 kTextUse = 6739;
constexpr quint32 kTextLimit = 6740;
constexpr quint32 kTextTransparent = 6741;
constexpr quint32 kTextColorNames = 6742;

// The rows of the page: a type, its caption, whether it can be switched off
// and whether it has a limit.
struct TypeEntry {
    int type;
    quint32 captionId;
    bool switchable;
    bool limited;
};
constexpr TypeEntry kTypes[] = {
    {1, 5681, true, true},    {8, 5682, true, true},    {2, 5683, true, true},    {4, 5684, true, true},
    {5, 5685, true, true},    {3, 5686, true, true},    {6, 5687, true, true},    {7, 5688, true, true},
    {10, 5689, true, false},  {52, 5690, false, true},  {53, 5691, false, true},  {51, 5692, false, true},
};

} // namespace

CSetContDlgView::CSetContDlgView() : CSettingsPageDlgView(1528, QSize(480, 520), 5516) {}

bool CSetContDlgView::OnInitDialog()
{
    if (!CSettingsPageDlgView::OnInitDialog())
        return false;
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(LoadString(kTextUse), this), 0, 1);
    grid->addWidget(new QLabel(LoadString(kTextLimit), this), 0, 2);
    for (const TypeEntry &entry : kTypes) {
        const int line = int(m_rows.size()) + 1;
        TypeRow row{entry.type, nullptr, nullptr};
        grid->addWidget(new QLabel(LoadString(entry.captionId).trimmed(), this), line, 0);
        if (entry.switchable) {
            row.use = MakeCheckField(this, QString(), kUseBaseId + entry.type);
            WatchChanges(row.use);
            grid->addWidget(row.use, line, 1);
        }
        if (entry.limited) {
            row.limit = MakeSpinField(this, kMaxBaseId + entry.type, 0, CSystemIni::kMaxCountLimit);
            WatchChanges(row.limit);
            grid->addWidget(row.limit, line, 2);
        }
        m_rows.append(row);
    }
    auto *colors = new QHBoxLayout;
    colors->addWidget(new QLabel(LoadString(kTextTransparent), this));
    m_transparent = new CColorButton(this);
    m_transparent->setObjectName(QString::number(kTransparentId));
    m_transparent->setCheckable(false);
    connect(m_transparent, &CColorButton::clicked, this, &CSetContDlgView::OnTransparentColor);
    colors->addWidget(m_transparent);
    colors->addStretch(1);
    auto *names = new QPushButton(LoadString(kTextColorNames), this);
    names->setObjectName(QString::number(kColorNamesId));
    connect(names, &QPushButton::clicked, this, &CSetContDlgView::OnColorNames);
    colors->addWidget(names);
    auto *column = new QVBoxLayout;
    column->addLayout(grid);
    column->addLayout(colors);
    column->addStretch(1);
    AddContent(column);
    return true;
}

void CSetContDlgView::LoadSettings()
{
    const CSystemIni &ini = GetSystemIni();
    SetFilling(true);
    for (const TypeRow &row : std::as_const(m_rows)) {
        if (row.use)
            row.use->setChecked(ini.IsContentTypeUsed(row.type));
        if (row.limit)
            row.limit->setValue(ini.GetMaxCount(row.type));
    }
    if (m_transparent)
        m_transparent->SetColor(ini.Settings().ColorTransparent);
    SetFilling(false);
    SetModified(false);
}

void CSetContDlgView::OnTransparentColor()
{
    ColorRef chosen = m_transparent->GetColor();
    if (!PromptColor(this, m_transparent->GetColor(), chosen) || chosen == m_transparent->GetColor())
        return;
    m_transparent->SetColor(chosen);
    SetModified(true);
}

void CSetContDlgView::OnColorNames()
{
    CColorInfoDlg dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (CMainFrame *frame = GetMainFrame())
        frame->NotifyColorChanged();
}

bool CSetContDlgView::SaveSettings()
{
    if (!IsModified() || !m_transparent)
        return true;
    QList<QPair<int, bool>> used;
    QList<QPair<int, int>> limits;
    for (const TypeRow &row : std::as_const(m_rows)) {
        if (row.use)
            used.append({row.type, row.use->isChecked()});
        if (row.limit)
            limits.append({row.type, row.limit->value()});
    }
    CSystemIni &ini = GetSystemIni();
    SystemSettings settings = ini.Settings();
    settings.ColorTransparent = m_transparent->GetColor();
    if (!ini.SaveContentTypes(used, limits) || !ini.SaveSettings(settings)) {
        ShowMessage(this, kMsgSaveFailed, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}
