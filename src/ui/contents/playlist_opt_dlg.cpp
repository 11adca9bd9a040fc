#include "ui/contents/playlist_opt_dlg.h"

#include "app/dialog_buttons.h"
#include "core/app_ini.h"
#include "core/message_box.h"
#include "model/app_data.h"
#include "model/contents_store.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace {

constexpr quint32 kCaption = 1;
constexpr quint32 kMsgLayoutKeepsValues = 5374;
const char *const kTitle = "解像度の設定";
const char *const kLabel = "解像度：";

// The item data of a choice: the id in the low 16 bits, the orientation in the high.
int packPair(qint32 id, qint32 orientation)
{
    return int((quint32(orientation) << 16) | (quint32(id) & 0xFFFF));
}

} // namespace

CPlaylistOptDlg::CPlaylistOptDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QString::fromUtf8(kTitle));
    auto *form = new QFormLayout(this);
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QString::number(kComboId));
    form->addRow(QString::fromUtf8(kLabel), m_combo);
    form->addRow(CreateOkCancelButtons(this));
}

CPlaylistOptDlg::~CPlaylistOptDlg() = default;

void CPlaylistOptDlg::showEvent(QShowEvent *event)
{
    if (!m_initialised)
        OnInitDialog();
    QDialog::showEvent(event);
}

void CPlaylistOptDlg::OnInitDialog()
{
    m_initialised = true;
    m_combo->clear();
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
        m_combo->addItem(text, packPair(id, orientation));
    }
    const int current = m_combo->findData(packPair(m_resolution, m_orientation));
    m_combo->setCurrentIndex(current >= 0 ? current : (m_combo->count() > 0 ? 0 : -1));
}

void CPlaylistOptDlg::accept()
{
    if (m_combo->currentIndex() < 0) {
        // No player gives a resolution: there is no choice to keep.
        QDialog::reject();
        return;
    }
    const quint32 data = m_combo->currentData().toUInt();
    const qint32 id = qint32(data & 0xFFFF);
    const qint32 orientation = qint32(data >> 16);
    GetAppIni().SetLastResolution(id);
    GetAppIni().SetLastOrientation(orientation);
    const CPlaylistEditModel *edited = GetContentFolders().GetPlaylistModel(52);
    if (edited && edited->GetItemCount() > 0 && (id != m_resolution || orientation != m_orientation))
        ShowMessage(this, kMsgLayoutKeepsValues, kCaption, MB_OK | MB_ICONWARNING);
    m_resolution = id;
    m_orientation = orientation;
    QDialog::accept();
}
