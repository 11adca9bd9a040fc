#include "ui/contents/telop_view_dlg.h"

#include "app/main_frame.h"
#include "app/window_placement.h"
#include "core/app_ini.h"
#include "core/content_id.h"
#include "core/data_folders.h"
#include "core/last_error.h"
#include "core/message_box.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/property_checks.h"
#include "model/telop_property.h"
#include "ops/save_number.h"
#include "ops/telop_files.h"
#include "ui/contents/content_dialog_messages.h"
#include "ui/contents/telop_edit_ctrl.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr quint32 kMsgSaveUnderIndex = 5000;
constexpr quint32 kMsgTooWide = 5220;
constexpr quint32 kMsgSaveFailed = 5221;
constexpr quint32 kStrDefaultCategory = 5758;
constexpr quint32 kStrUserDefined = 5774;
constexpr quint32 kSizeNames[] = {5929, 5930, 5931};
constexpr int kUserDefined = -1;

} // namespace

CTelopViewDlg::CTelopViewDlg(QWidget *parent)
    : QDialog(parent)
    , m_sizeList(new QComboBox(this))
    , m_pixelEdit(new QLineEdit(this))
    , m_apply(new QPushButton(QStringLiteral("適用"), this))
    , m_preview(new CTelopEditCtrl(false, this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("テロップ確認"));
    // The editor stays enabled behind its preview; only its input is blocked.
    setWindowModality(Qt::WindowModal);
    m_sizeList->setObjectName(QString::number(kSizeListId));
    m_pixelEdit->setObjectName(QString::number(kPixelEditId));
    m_pixelEdit->setMaxLength(3);
    m_pixelEdit->setValidator(new QIntValidator(0, 999, m_pixelEdit));
    m_apply->setObjectName(QString::number(kApplyId));
    m_apply->setAutoDefault(false);
    const CSystemIni &system = GetSystemIni();
    m_preview->SetTransparentColor(system.Settings().ColorTransparent);

    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(new QLabel(QStringLiteral("サイズ："), this));
    sizeRow->addWidget(m_sizeList);
    sizeRow->addWidget(m_pixelEdit);
    sizeRow->addWidget(new QLabel(QStringLiteral("(ピクセル)"), this));
    sizeRow->addWidget(m_apply);
    sizeRow->addStretch();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(sizeRow);
    layout->addWidget(m_preview);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CTelopViewDlg::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &CTelopViewDlg::reject);
    connect(m_sizeList, &QComboBox::activated, this, &CTelopViewDlg::OnSelectSize);
    connect(m_apply, &QPushButton::clicked, this, [this] { ApplySize(true); });

    fillSizeList();
    WinRect stored;
    if (GetAppIni().GetWindowRect(kWindowNumber, stored) && IsWindowRectVisible(stored))
        move(ToQRect(stored).topLeft());
    buttons->button(QDialogButtonBox::Ok)->setFocus();
}

CTelopViewDlg::~CTelopViewDlg()
{
    GetAppIni().SetWindowRect(kWindowNumber, ToWinRect(geometry()));
}

void CTelopViewDlg::fillSizeList()
{
    const CSystemIni &system = GetSystemIni();
    for (int i = 0; i < 3; ++i)
        m_sizeList->addItem(LoadString(kSizeNames[i]), system.GetTextSize(i));
    m_sizeList->addItem(LoadString(kStrUserDefined), kUserDefined);
}

int CTelopViewDlg::SetTextData(const QString &records)
{
    const int result = m_preview->SetTextData(records);
    m_preview->JoinLines(m_breaks);
    return result;
}

// The window keeps the height of one line of the size; only its width changes.
void CTelopViewDlg::SetFont(const QString &face, int size, bool select)
{
    m_preview->SetFont(face, size);
    const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    m_preview->setFixedHeight(size + frame + m_preview->horizontalScrollBar()->sizeHint().height());
    if (select) {
        int entry = m_sizeList->count() - 1;
        for (int i = 0; i + 1 < m_sizeList->count(); ++i) {
            if (m_sizeList->itemData(i).toInt() == size) {
                entry = i;
                break;
            }
        }
        m_sizeList->setCurrentIndex(entry);
        m_selectedSize = entry;
    }
    m_customSize = size;
    UpdateSizeEdit();
    layout()->activate();
    setMinimumWidth(qMax(minimumWidth(), sizeHint().width()));
    setFixedHeight(sizeHint().height());
    fitWidthToText();
}

// Wide enough to show the whole telop where the screen has room for it, so
// that it is read without scrolling.
void CTelopViewDlg::fitWidthToText()
{
    const QMargins margins = layout()->contentsMargins();
    const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int wanted = m_preview->GetTotalWidth() + frame + margins.left() + margins.right();
    const int room = screen() ? screen()->availableGeometry().width() * 9 / 10 : wanted;
    resize(qMax(minimumWidth(), qMin(wanted, room)), height());
}

void CTelopViewDlg::UpdateSizeEdit()
{
    const int size = m_sizeList->currentData().toInt();
    const bool custom = size == kUserDefined;
    m_pixelEdit->setText(QString::number(custom ? m_customSize : size));
    m_pixelEdit->setEnabled(custom);
    m_apply->setVisible(custom);
}

bool CTelopViewDlg::ApplySize(bool fromEdit)
{
    QString face;
    int current = 0;
    m_preview->GetFont(face, current);
    const int entrySize = m_sizeList->currentData().toInt();
    if (entrySize != kUserDefined) {
        SetFont(face, entrySize, false);
        return true;
    }
    const int size = fromEdit ? m_pixelEdit->text().toInt() : m_customSize;
    if (size < kMinSize || size > kMaxSize) {
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONEXCLAMATION, kMsgOutOfRange, kMinSize, kMaxSize);
        m_pixelEdit->setFocus();
        return false;
    }
    SetFont(face, size, false);
    return true;
}

void CTelopViewDlg::OnSelectSize()
{
    if (m_sizeList->currentIndex() == m_selectedSize)
        return;
    ApplySize(false);
    UpdateSizeEdit();
    m_selectedSize = m_sizeList->currentIndex();
}

void CTelopViewDlg::finish(int result)
{
    if (m_ended)
        return;
    m_ended = true;
    hide();
    emit Ended(result);
}

void CTelopViewDlg::reject()
{
    finish(RESULT_BACK);
}

void CTelopViewDlg::closeEvent(QCloseEvent *event)
{
    event->ignore();
    finish(RESULT_BACK);
}

// A stored telop is saved under its number when the operator says so (not a
// sample, not being sent); otherwise, and for a new telop, under the new one.
bool CTelopViewDlg::settleNumber()
{
    CContentsList *list = GetContentFolders().GetList(CONTENT_TELOP);
    const qint32 number = m_property->GetIndex();
    if (number <= 0) {
        if (m_property->GetInfo().isEmpty())
            m_property->SetInfo(LoadString(kStrDefaultCategory));
        return m_property->SetIndex(m_newNumber);
    }
    if (!list || !IsValidContentId(number)) {
        finish(RESULT_BACK);
        return false;
    }
    const SaveNumber choice = ChooseSaveNumber(this, *list, CONTENT_TELOP, number, [&] {
        return ShowMessageFormat(this, kTitleCaption, MB_YESNO | MB_ICONQUESTION, kMsgSaveUnderIndex,
                                 FormatContentIdFixed(number))
            != IDYES;
    });
    switch (choice) {
    case SaveNumber::Stored: {
        CMainFrame *frame = GetMainFrame();
        return !(frame && frame->IsContentInTransfer({number}, CONTENT_TELOP, false));
    }
    case SaveNumber::New:
    case SaveNumber::NewFromSample:
        return m_property->SetIndex(m_newNumber);
    case SaveNumber::Discard:
        finish(RESULT_DISCARDED);
        return false;
    case SaveNumber::ListFull:
        ShowListFull(this, CONTENT_TELOP);
        // A sample that cannot be copied is left; any other telop stays open.
        if (IsSampleIndex(number))
            finish(RESULT_BACK);
        return false;
    }
    return false;
}

void CTelopViewDlg::OnOK()
{
    if (!ApplySize(true))
        return;
    if (!m_preview->IsWithinWidthLimit()) {
        ShowMessage(this, kMsgTooWide, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!m_property || !m_stage || !GetContentFolders().GetList(CONTENT_TELOP)) {
        finish(RESULT_BACK);
        return;
    }
    if (m_property->GetTitle().isEmpty()) {
        QString title = m_preview->GetText().replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        title.truncate(CPropertyBase::kMaxTitle);
        if (!title.isEmpty() && title.back().isHighSurrogate())
            title.chop(1);
        m_property->SetTitle(title);
    }
    if (!settleNumber())
        return;
    if (!SaveTelopData()) {
        ShowMessage(this, kMsgSaveFailed, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
        finish(RESULT_BACK);
        return;
    }
    finish(RESULT_SAVED);
}

bool CTelopViewDlg::SaveTelopData()
{
    m_preview->SplitLines(m_breaks);
    m_breaks.clear();
    QByteArray bitmap;
    if (!m_preview->GetBmpData(bitmap, GetSystemIni().Settings().Text24BitColor)) {
        WriteSyslog(LOG_ERR_WIN, "CTelopViewDlg::SaveTelopData : GetBmpData failed. : Error = %d", int(GetLastError()));
        return false;
    }
    QString face;
    int size = 0;
    m_preview->GetFont(face, size);
    m_property->SetSize(quint64(bitmap.size()));
    m_property->SetWidth(m_preview->GetTotalWidth());
    m_property->SetHeight(size);
    m_property->SetLineHeight(size);
    QString records;
    if (!m_preview->GetTextData(records)) {
        WriteSyslog(LOG_ERR_APP, "CTelopViewDlg::SaveTelopData : Out of memory.");
        return false;
    }
    if (!m_stage->Stage(TextFolderOf(GetAppData().GetDataRoot()), m_property->GetIndex(), bitmap, records)) {
        WriteSyslog(LOG_ERR_WIN, "CTelopViewDlg::SaveTelopData : Writing the telop files failed. : Error = %u",
                    GetLastError());
        return false;
    }
    return true;
}
