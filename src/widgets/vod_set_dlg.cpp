#include "widgets/vod_set_dlg.h"

#include "widgets/dialog_buttons.h"
#include "core/content_id.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "core/printf_format.h"
#include "model/contents_store.h"
#include "ops/save_number.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr quint32 kMsgRange = 5108;
constexpr quint32 kMsgEmpty = 5286;
constexpr quint32 kMsgEmptyTitle = 5316;
constexpr quint32 kMsgControlChars = 5375;
constexpr int kMaxCategory = 20;
constexpr int kMaxTitle = 40;
constexpr int kFirstIndex = 1;
constexpr int kLastIndex = 9;

const char *const kDialogTitle = "Touch Panel Mode プレイリスト設定";
const char *const kIndexLabel = "インデックス：";
const char *const kIndexPrefix = "99900000";
const char *const kCategoryLabel = "分類：";
const char *const kTitleLabel = "タイトル：";
// A new touch-panel playlist must not replace one of the same number unasked.
const char *const kOverwriteQuestion = "インデックス %s の Touch Panel Mode プレイリストは既に登録されています。\n上書きしますか？";

QLineEdit *makeEdit(QWidget *parent, int id, int maxLength)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace

CVodSetDlg::CVodSetDlg(qint32 number, QWidget *parent)
    : QDialog(parent), m_isNew(number < 0), m_number(number < 0 ? kIndexBase + kFirstIndex : number)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QString::fromUtf8(kDialogTitle));
    auto *form = new QFormLayout(this);
    auto *indexRow = new QHBoxLayout;
    indexRow->addWidget(new QLabel(QString::fromLatin1(kIndexPrefix), this));
    m_indexEdit = makeEdit(this, kIndexId, 1);
    m_indexEdit->setText(QString::number(m_number - kIndexBase));
    // An existing touch-panel playlist keeps its number.
    m_indexEdit->setReadOnly(number > kIndexBase);
    indexRow->addWidget(m_indexEdit);
    indexRow->addStretch();
    form->addRow(QString::fromUtf8(kIndexLabel), indexRow);
    m_categoryEdit = makeEdit(this, kCategoryId, kMaxCategory);
    m_categoryEdit->setText(m_category);
    form->addRow(QString::fromUtf8(kCategoryLabel), m_categoryEdit);
    m_titleEdit = makeEdit(this, kTitleId, kMaxTitle);
    m_titleEdit->setText(m_title);
    form->addRow(QString::fromUtf8(kTitleLabel), m_titleEdit);
    form->addRow(CreateOkCancelButtons(this));
}

CVodSetDlg::~CVodSetDlg() = default;

void CVodSetDlg::SetCategory(const QString &category)
{
    m_category = category;
    m_categoryEdit->setText(category);
}

void CVodSetDlg::SetTitle(const QString &title)
{
    m_title = title;
    m_titleEdit->setText(title);
}

bool CVodSetDlg::refuseField(QLineEdit *field)
{
    field->setFocus();
    return false;
}

bool CVodSetDlg::Validate()
{
    const QString indexText = m_indexEdit->text();
    if (indexText.isEmpty()) {
        ShowMessage(this, kMsgEmpty, kTitleCaption, MB_OK | MB_ICONWARNING);
        return refuseField(m_indexEdit);
    }
    bool isNumber = false;
    const int index = indexText.toInt(&isNumber);
    // The full-width zero reads as a number to the platform's parser too.
    if (indexText == QStringLiteral("0") || indexText == QStringLiteral("０") || !isNumber || index < kFirstIndex
        || index > kLastIndex) {
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgRange, kFirstIndex, kLastIndex);
        return refuseField(m_indexEdit);
    }
    m_number = kIndexBase + index;
    QString category = m_categoryEdit->text();
    QString title = m_titleEdit->text();
    const bool categoryCleaned = RemoveControlChars(category);
    const bool titleCleaned = RemoveControlChars(title);
    if ((categoryCleaned || titleCleaned)
        && ShowMessage(this, kMsgControlChars, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return refuseField(categoryCleaned ? m_categoryEdit : m_titleEdit);
    m_category = category;
    m_title = title;
    if (m_title.isEmpty()) {
        ShowMessage(this, kMsgEmptyTitle, kTitleCaption, MB_OK | MB_ICONWARNING);
        return refuseField(m_titleEdit);
    }
    return true;
}

bool CVodSetDlg::mayStore()
{
    CContentsList *list = GetContentFolders().GetList(CONTENT_PLAYLIST);
    if (!list)
        return false;
    if (list->FindCode(m_number) >= 0) {
        if (!m_isNew)
            return true;
        const QString question = FormatPrintf(QString::fromUtf8(kOverwriteQuestion), {PrintfArg(FormatContentIdFixed(m_number))});
        return MessageBoxWithCaptionId(this, question, kTitleCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    if (!IsListFull(*list, CONTENT_PLAYLIST))
        return true;
    ShowListFull(this, CONTENT_PLAYLIST);
    return false;
}

void CVodSetDlg::accept()
{
    if (Validate() && mayStore())
        QDialog::accept();
}
