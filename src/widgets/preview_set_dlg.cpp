#include "widgets/preview_set_dlg.h"

#include "widgets/name_fields.h"
#include "core/app_ini.h"
#include "core/message_box.h"
#include "model/app_data.h"

#include <QComboBox>

namespace {

constexpr quint32 kMsgNoPreviewPlayer = 5263;
const char *const kTitle = "プレビュー機器設定";
const char *const kLabel = "KDP-R40：";

} // namespace

CPreviewSetDlg::CPreviewSetDlg(QWidget *parent) : CSingleChoiceDlg(kTemplateId, kComboId, kTitle, kLabel, parent) {}

void CPreviewSetDlg::fillChoices()
{
    FitNameCombo(GetCombo());
    for (const PlayerRecord &player : GetAppData().GetPlayerXml().CopyPlayers())
        GetCombo()->addItem(player.Name, player.Number);
    GetCombo()->setCurrentIndex(GetCombo()->findData(GetAppIni().GetLastPreviewSet()));
}

void CPreviewSetDlg::accept()
{
    if (GetCombo()->currentIndex() < 0) {
        ShowMessage(this, kMsgNoPreviewPlayer, kTitleCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    GetAppIni().SetLastPreviewSet(GetCombo()->currentData().toInt());
    QDialog::accept();
}
