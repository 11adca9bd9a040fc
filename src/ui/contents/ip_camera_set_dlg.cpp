#include "ui/contents/ip_camera_set_dlg.h"

#include "widgets/dialog_buttons.h"
#include "widgets/ip_address_ctrl.h"
#include "widgets/limited_text.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "model/contents_store.h"
#include "ui/contents/content_dialog_messages.h"
#include "ui/contents/save_number_choice.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace {

constexpr quint32 kMsgNotDigits = 5235;
constexpr quint32 kMsgNotAlphanumeric = 5376;
constexpr quint32 kMsgCredentialTooShort = 5390;
constexpr int kMaxPort = 65535;
constexpr int kMaxCredential = 16;
constexpr int kMinCredential = 5;
constexpr int kDefaultPort = 80;

bool isAlphanumeric(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    });
}

} // namespace

CIpCameraSetDlg::CIpCameraSetDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("IP カメラ設定"));
    auto *form = new QFormLayout(this);
    m_category = addEdit(IDC_CATEGORY, CPropertyBase::kMaxInfo);
    m_title = addEdit(IDC_TITLE, CPropertyBase::kMaxTitle);
    m_address = new CIpAddressCtrl(this);
    m_address->setObjectName(QString::number(IDC_ADDRESS));
    m_port = addEdit(IDC_PORT, 5);
    m_user = addEdit(IDC_USER, kMaxCredential);
    m_password = addEdit(IDC_PASSWORD, kMaxCredential);
    m_password->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("分類："), m_category);
    form->addRow(QStringLiteral("タイトル："), m_title);
    form->addRow(QStringLiteral("IP アドレス："), m_address);
    form->addRow(QStringLiteral("HTTP ポート番号："), m_port);
    form->addRow(QStringLiteral("ユーザー名："), m_user);
    form->addRow(QStringLiteral("パスワード："), m_password);
    form->addRow(CreateOkCancelButtons(this));
    connect(m_address, &CIpAddressCtrl::FieldChanged, this, [this] { m_modified = true; });
}

QLineEdit *CIpCameraSetDlg::addEdit(int id, int maxLength)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QString::number(id));
    edit->setMaxLength(maxLength);
    connect(edit, &QLineEdit::textEdited, this, [this] { m_modified = true; });
    return edit;
}

void CIpCameraSetDlg::SetStreamingProperty(const CStreamingProperty &record)
{
    m_record.Copy(&record);
    m_category->setText(record.GetInfo());
    m_title->setText(record.GetTitle());
    m_address->SetAddress(record.GetAddress());
    m_port->setText(QString::number(record.GetPort() == 0 ? kDefaultPort : record.GetPort()));
    SetTextWhole(m_user, record.GetUser());
    SetTextWhole(m_password, record.GetPassword());
    m_modified = false;
}

void CIpCameraSetDlg::GetStreamingProperty(CStreamingProperty &record) const
{
    record.Copy(&m_record);
}

bool CIpCameraSetDlg::refuse(quint32 messageId, QWidget *field)
{
    ShowMessage(this, messageId, kTitleCaption, kWarningStyle);
    field->setFocus(Qt::OtherFocusReason);
    return false;
}

bool CIpCameraSetDlg::checkCredential(QLineEdit *field, QString &value)
{
    value = field->text();
    if (value.isEmpty())
        return true;
    if (!isAlphanumeric(value))
        return refuse(kMsgNotAlphanumeric, field);
    if (value.size() < kMinCredential)
        return refuse(kMsgCredentialTooShort, field);
    return true;
}

bool CIpCameraSetDlg::Validate()
{
    QString category = m_category->text();
    QString title = m_title->text();
    const bool categoryCleaned = RemoveControlChars(category);
    const bool titleCleaned = RemoveControlChars(title);
    if (categoryCleaned || titleCleaned) {
        if (ShowMessage(this, kAskRemoveInvalid, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
            (categoryCleaned ? m_category : m_title)->setFocus(Qt::OtherFocusReason);
            return false;
        }
        m_category->setText(category);
        m_title->setText(title);
    }
    m_record.SetInfo(category);
    // An empty field is an address not yet typed whole, never a 0.
    const std::array<int, 4> fields = m_address->GetFields();
    const int emptyField = m_address->FirstEmptyField();
    if (emptyField >= 0 || fields[0] == 0 || fields[3] == 0) {
        ShowMessage(this, kMsgEmptyField, kTitleCaption, kWarningStyle);
        m_address->SetFieldFocus(emptyField >= 0 ? emptyField : (fields[0] == 0 ? 0 : 3));
        return false;
    }
    const QString address = m_address->GetAddress();
    m_record.SetAddress(address);
    const QString portText = m_port->text();
    if (portText.isEmpty())
        return refuse(kMsgEmptyField, m_port);
    if (!IsDecimalDigits(portText))
        return refuse(kMsgNotDigits, m_port);
    const int port = portText.toInt();
    if (port < 1 || port > kMaxPort) {
        ShowMessageFormat(this, kTitleCaption, kWarningStyle, kMsgOutOfRange, 1, kMaxPort);
        m_port->setFocus(Qt::OtherFocusReason);
        return false;
    }
    m_record.SetPort(port);
    QString user;
    QString password;
    if (!checkCredential(m_user, user) || !checkCredential(m_password, password))
        return false;
    m_record.SetUser(user);
    m_record.SetPassword(password);
    if (title.isEmpty())
        title = QStringLiteral("%1:%2").arg(address).arg(port);
    m_record.SetTitle(title);
    m_record.SetMode(1);
    return true;
}

void CIpCameraSetDlg::accept()
{
    if (!Validate() || !GetContentFolders().GetList(CONTENT_STREAMING))
        return;
    AcceptUnderChosenNumber(*this, m_record, CONTENT_STREAMING, m_newIndex);
}

void CIpCameraSetDlg::reject()
{
    if (MayDiscardEdits(this, m_modified))
        QDialog::reject();
}
