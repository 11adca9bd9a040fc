#include "ui/contents/playlist_opt_dlg.h"

#include "core/app_ini.h"
#include "core/message_box.h"
#include "model/app_data.h"
#include "model/contents_store.h"

#include <QComboBox>

namespace {

constexpr quint32 kMsgLayoutKeepsValues = 5374;
const char *const kResolutionTitle = "解像度の設定";
const char *const kLabel = "解像度：";

// The item data of a choice: the id in the low 16 bits, the orientation in the high.
int packPair(qint32 id, qint32 orientation)
{
    return int((quint32(orientation) << 16) | (quint32(id) & 0xFFFF));
}

} // namespace

CPlaylistOptDlg::CPlaylistOptDlg(QWidget *parent)
    : CSingleChoiceDlg(kTemplateId, kComboId, kResolutionTitle, kLabel, parent)
{
}

void CPlaylistOptDlg::fillChoices()
{
    QComboBox *combo = GetCombo();
    const ResolutionEntry *table = CAppData::GetResolutionTable();
    for (const auto &[id, orientation] : GetAppData().GetResolutionPairs()) {
        const int position = CAppData::FindResolution(id);
        if (position < 0)
            continue;
        const ResolutionEntry &entry = table[position];
        const bool portrait = orientation != 0;
        const QString text = QStringLiteral("%1 x %2")
                                 .arg(portrait ? entry.Height : entry.Width)
                                 .arg(portrait ? entry.Width : entry.Height);
        combo->addItem(text, packPair(id, orientation));
    }
    const int current = combo->findData(packPair(m_resolution, m_orientation));
    combo->setCurrentIndex(current >= 0 ? current : (combo->count() > 0 ? 0 : -1));
}

void CPlaylistOptDlg::accept()
{
    if (GetCombo()->currentIndex() < 0) {
        // No player gives a resolution: there is no choice to keep.
        QDialog::reject();
        return;
    }
    const quint32 data = GetCombo()->currentData().toUInt();
    const qint32 id = qint32(data & 0xFFFF);
    const qint32 orientation = qint32(data >> 16);
    GetAppIni().SetLastResolution(id);
    GetAppIni().SetLastOrientation(orientation);
    const CPlaylistEditModel *edited = GetContentFolders().GetPlaylistModel(CONTENT_PLAYLIST);
    if (edited && edited->GetItemCount() > 0 && (id != m_resolution || orientation != m_orientation))
        ShowMessage(this, kMsgLayoutKeepsValues, kTitleCaption, MB_OK | MB_ICONWARNING);
    m_resolution = id;
    m_orientation = orientation;
    QDialog::accept();
}
