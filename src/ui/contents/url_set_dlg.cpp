#include "ui/contents/url_set_dlg.h"

#include "widgets/app_resources.h"
#include "widgets/dialog_buttons.h"
#include "widgets/limited_text.h"
#include "app/main_frame.h"
#include "core/content_id.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "core/path_utils.h"
#include "core/setting_ini.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/path_safety.h"
#include "model/thumbnail_maker.h"
#include "ui/contents/content_dialog_messages.h"
#include "ui/contents/save_number_choice.h"
#include "ui/contents/url_thumb_view_dlg.h"

#include <QFileInfo>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr quint32 kMsgFileNotAccessible = 5201;
constexpr quint32 kMsgNoAccess = 5423;
constexpr quint32 kMsgNeedsScheme = 5447;
constexpr quint32 kMsgNeedsFullPath = 5448;

QString WithoutScheme(const QString &address)
{
    for (const char *scheme : {"http://", "https://"})
        if (address.startsWith(QLatin1String(scheme), Qt::CaseInsensitive))
            return address.mid(qsizetype(qstrlen(scheme)));
    return address;
}

QLineEdit *MakeEdit(QWidget *parent, int id, int maxLength)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace

CUrlSetDlg::CUrlSetDlg(QWidget *parent)
    : QDialog(parent),
      m_category(MakeEdit(this, IDC_CATEGORY, CPropertyBase::kMaxInfo)),
      m_title(MakeEdit(this, IDC_TITLE, CPropertyBase::kMaxTitle)),
      m_address(MakeEdit(this, IDC_ADDRESS, 255)),
      m_picture(new QLabel(this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("URL設定"));
    m_picture->setObjectName(QString::number(IDC_PICTURE));
    m_picture->setFixedSize(kPictureSide, kPictureSide);
    auto *thumbnail = new QPushButton(QStringLiteral("サムネイル設定"), this);
    thumbnail->setObjectName(QString::number(IDC_THUMBNAIL));
    connect(thumbnail, &QPushButton::clicked, this, &CUrlSetDlg::OnThumbnail);
    for (QLineEdit *edit : {m_category, m_title, m_address})
        connect(edit, &QLineEdit::textEdited, this, [this] { m_modified = true; });

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("分類："), m_category);
    form->addRow(QStringLiteral("タイトル："), m_title);
    form->addRow(QStringLiteral("アドレス："), m_address);
    auto *pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(m_picture);
    pictureColumn->addWidget(thumbnail);
    auto *row = new QHBoxLayout;
    row->addLayout(form, 1);
    row->addLayout(pictureColumn);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(CreateOkCancelButtons(this));
    m_address->setMinimumWidth(360);
    updatePreview();
}

void CUrlSetDlg::SetProperty(const CWebProperty &record)
{
    m_record.Copy(&record);
    m_category->setText(record.GetInfo());
    m_title->setText(record.GetTitle());
    SetTextWhole(m_address, record.GetUrl());
    updatePreview();
    m_modified = false;
}

void CUrlSetDlg::GetProperty(CWebProperty &record) const
{
    record.Copy(&m_record);
}

UrlSetResult CUrlSetDlg::GetResult() const
{
    return {m_large, m_small, m_copyFrom};
}

bool CUrlSetDlg::isLocalUrlOn() const
{
    return GetSettingIni().IsLocalUrlEnabled();
}

// ---- Preview ---------------------------------------------------------------------

QImage CUrlSetDlg::PreviewImage() const
{
    QImage image = m_small;
    const QString url = m_record.GetUrl();
    if (image.isNull() && m_record.GetIndex() != 0) {
        if (!IsHttpUrl(url)) {
            QString page = url;
            if (!IsAbsolutePath(url))
                JoinInsideFolder(GetContentFolders().GetContentFolder(CONTENT_WEB), url, page);
            if (!QFileInfo(page).isFile())
                return LoadBitmapResource(kBitmapNoPage).toImage();
        }
        QString path;
        if (MakeThumbnailPath(ThumbnailFolder(GetAppData().GetDataRoot(), CONTENT_WEB), m_record.GetIndex(), true,
                              path))
            image.load(path);
    }
    if (image.isNull())
        return LoadBitmapResource(kBitmapNoPage).toImage();
    QImage picture = LoadBitmapResource(kBitmapBackground).toImage();
    if (picture.isNull()) {
        picture = QImage(kPictureSide, kPictureSide, QImage::Format_RGB32);
        picture.fill(Qt::white);
    }
    picture = picture.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.drawImage((kPictureSide - image.width()) / 2, (kPictureSide - image.height()) / 2, image);
    return picture;
}

void CUrlSetDlg::updatePreview()
{
    m_picture->setPixmap(QPixmap::fromImage(PreviewImage()).scaled(kPictureSide, kPictureSide));
}

// ---- Thumbnail ------------------------------------------------------------------

void CUrlSetDlg::OnThumbnail()
{
    const QString address = m_address->text();
    if (address.isEmpty()) {
        ShowMessage(this, kMsgEmptyField, kTitleCaption, kWarningStyle);
        return;
    }
    if (!IsHttpUrl(address) && (!IsAbsolutePath(address) || !QFileInfo(address).isFile() || !isLocalUrlOn())) {
        ShowMessage(this, kMsgNoAccess, kTitleCaption, kWarningStyle);
        return;
    }
    runRangeDialog(address);
    updatePreview();
}

void CUrlSetDlg::runRangeDialog(const QString &address)
{
    CUrlThumbViewDlg range(m_record, address, &m_small, &m_large, this);
    range.exec();
}

// ---- OK and Cancel --------------------------------------------------------------

bool CUrlSetDlg::checkFields()
{
    QString category = m_category->text();
    QString title = m_title->text();
    QString address = m_address->text();
    const bool categoryBad = RemoveControlChars(category);
    const bool titleBad = RemoveControlChars(title);
    const bool addressBad = RemoveControlChars(address);
    if (categoryBad || titleBad || addressBad) {
        if (ShowMessage(this, kAskRemoveInvalid, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
            (categoryBad ? m_category : titleBad ? m_title : m_address)->setFocus();
            return false;
        }
    }
    m_record.SetInfo(category);
    if (address.isEmpty()) {
        ShowMessage(this, kMsgEmptyField, kTitleCaption, kWarningStyle);
        m_address->setFocus();
        return false;
    }
    if (!IsHttpUrl(address) && (!isLocalUrlOn() || !IsAbsolutePath(address))) {
        ShowMessage(this, isLocalUrlOn() ? kMsgNeedsFullPath : kMsgNeedsScheme, kTitleCaption, kWarningStyle);
        m_address->setFocus();
        return false;
    }
    // A page file that is not there would only fail when it is sent.
    if (!IsHttpUrl(address) && !QFileInfo(address).isFile()) {
        ShowMessage(this, kMsgFileNotAccessible, kTitleCaption, kWarningStyle);
        m_address->setFocus();
        return false;
    }
    m_record.SetUrl(address);
    if (title.isEmpty())
        title = WithoutScheme(address).left(CPropertyBase::kMaxTitle);
    m_record.SetTitle(title);
    return true;
}

void CUrlSetDlg::accept()
{
    if (!GetContentFolders().GetList(CONTENT_WEB) || !checkFields())
        return;
    // The copy takes over the thumbnails the operator did not make anew.
    AcceptUnderChosenNumber(*this, m_record, CONTENT_WEB, m_newIndex, [this](qint32 number) { m_copyFrom = number; });
}

void CUrlSetDlg::reject()
{
    if (MayDiscardEdits(this, m_modified))
        QDialog::reject();
}
