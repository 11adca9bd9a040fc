#include "app/preview_set_dlg.h"

#include "app/dialog_buttons.h"
#include "core/app_ini.h"
#include "core/message_box.h"
#include "model/app_data.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace {

constexpr quint32 kCaption = 1;
constexpr quint32 kMsgNoPreviewPlayer = 5263;
const char *const kTitle = "プレビュー機器設定";
const char *const kLabel = "KDP-R40：";

} // namespace

CPreviewSetDlg::CPreviewSetDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QString::fromUtf8(kTitle));
    auto *form = new QFormLayout(this);
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QString::number(kComboId));
    form->addRow(QString::fromUtf8(kLabel), m_combo);
    form->addRow(CreateOkCancelButtons(this));
}

CPreviewSetDlg::~CPreviewSetDlg() = default;

void CPreviewSetDlg::showEvent(QShowEvent *event)
{
    if (!m_initialised)
        OnInitDialog();
    QDialog::showEvent(event);
}

void CPreviewSetDlg::OnInitDialog()
{
    m_initialised = true;
    m_combo->clear();
    for (const PlayerRecord &player : GetAppData().GetPlayerXml().GetPlayers())
        m_combo->addItem(player.Name, player.Number);
    m_combo->setCurrentIndex(m_combo->findData(GetAppIni().GetLastPreviewSet()));
}

void CPreviewSetDlg::accept()
{
    if (m_combo->currentIndex() < 0) {
        ShowMessage(this, kMsgNoPreviewPlayer, kCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    GetAppIni().SetLastPreviewSet(m_combo->currentData().toInt());
    QDialog::accept();
}
