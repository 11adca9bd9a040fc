#include "ui/contents/control_edit_dlg.h"

#include "app/app_message.h"
#include "widgets/dialog_buttons.h"
#include "app/frame_worker.h"
#include "app/main_frame.h"
#include "widgets/process_dlg.h"
#include "core/app_ini.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "core/printf_format.h"
#include "core/setting_ini.h"
#include "model/app_data.h"
#include "ops/operation_texts.h"
#include "ops/send_targets.h"
#include "player/r40_com_command.h"
#include "player/r40_http.h"
#include "ui/contents/content_dialog_messages.h"
#include "ui/contents/save_number_choice.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kMaxVolumeDigits = 3;

const char *const kSendDataWrong = "送信データに誤りがあります。入力内容を確認してください。";
const char *const kResponseDataWrong = "応答データに誤りがあります。入力内容を確認してください。";

struct TypeItem {
    const char *text;
    qint32 type;
};
constexpr TypeItem kTypeItems[] = {
    {"音量 制御", CControlProperty::CTRL_VOLUME},
    {"ディスプレイ 制御", CControlProperty::CTRL_DISPLAY},
    {"COM 制御", CControlProperty::CTRL_COM},
};
const char *const kVolumeKinds[] = {"ミュート", "システム設定", "ユーザー定義"};

bool isHexKey(const QString &text)
{
    if (text.size() != 1 || text[0].unicode() < 32)
        return true; // editing and clipboard keys
    const QChar c = text[0];
    return c == u' ' || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

} // namespace

CControlEditDlg::CControlEditDlg(QWidget *parent)
    : QDialog(parent), m_type(new QComboBox(this)), m_volumeKind(new QComboBox(this)),
      m_sendLabel(new QLabel(this)), m_responseLabel(new QLabel(QStringLiteral("応答データ："), this)),
      m_volumeUnit(new QLabel(QStringLiteral("%"), this)),
      m_receivedLabel(new QLabel(QStringLiteral("受信データ："), this)), m_testTarget(new QComboBox(this)),
      m_test(new QPushButton(QStringLiteral("COMC 実行"), this)), m_process(std::make_unique<CProcessDlg>())
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("制御編集"));
    m_category = addEdit(IDC_CATEGORY, CPropertyBase::kMaxInfo);
    m_title = addEdit(IDC_TITLE, CPropertyBase::kMaxTitle);
    m_send = addEdit(IDC_SEND, kMaxHexText);
    m_response = addEdit(IDC_RESPONSE, kMaxHexText);
    m_volume = addEdit(IDC_VOLUME, kMaxVolumeDigits);
    m_received = addEdit(IDC_RECEIVED, 0);
    m_received->setMaxLength(32767);
    m_received->setReadOnly(true);
    m_type->setObjectName(QString::number(IDC_TYPE));
    m_volumeKind->setObjectName(QString::number(IDC_VOLUME_KIND));
    m_testTarget->setObjectName(QString::number(IDC_TEST_TARGET));
    m_test->setObjectName(QString::number(IDC_TEST));
    for (const TypeItem &item : kTypeItems)
        m_type->addItem(QString::fromUtf8(item.text), item.type);
    for (int kind = VOLUME_MUTE; kind <= VOLUME_USER; ++kind)
        m_volumeKind->addItem(QString::fromUtf8(kVolumeKinds[kind]), kind);
    m_send->installEventFilter(this);
    m_response->installEventFilter(this);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("分類："), this), 0, 0);
    grid->addWidget(m_category, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("タイトル："), this), 1, 0);
    grid->addWidget(m_title, 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("種類："), this), 2, 0);
    grid->addWidget(m_type, 2, 1, 1, 3);
    grid->addWidget(m_sendLabel, 3, 0);
    auto *sendRow = new QHBoxLayout;
    sendRow->addWidget(m_volumeKind);
    sendRow->addWidget(m_send);
    sendRow->addWidget(m_volume);
    sendRow->addWidget(m_volumeUnit);
    grid->addLayout(sendRow, 3, 1, 1, 3);
    grid->addWidget(m_responseLabel, 4, 0);
    grid->addWidget(m_response, 4, 1, 1, 3);
    grid->addWidget(m_receivedLabel, 5, 0);
    grid->addWidget(m_received, 5, 1, 1, 3);
    grid->addWidget(m_testTarget, 6, 2);
    grid->addWidget(m_test, 6, 3);
    grid->addWidget(CreateOkCancelButtons(this), 7, 0, 1, 4);

    connect(m_type, &QComboBox::currentIndexChanged, this, [this] { showFieldsOfType(); });
    connect(m_volumeKind, &QComboBox::currentIndexChanged, this, [this] { showVolumeEdit(); });
    connect(m_test, &QPushButton::clicked, this, &CControlEditDlg::OnTest);
    m_process->Create(this);
    SetControlProperty(CControlProperty());
}

CControlEditDlg::~CControlEditDlg() = default;

QLineEdit *CControlEditDlg::addEdit(int id, int maxLength)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QString::number(id));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    connect(edit, &QLineEdit::textEdited, this, [this] { m_modified = true; });
    return edit;
}

bool CControlEditDlg::controlsEnabled() const
{
    return GetSettingIni().Options().SIControl;
}

qint32 CControlEditDlg::selectedType() const
{
    if (m_record.GetCtrlType() == CControlProperty::CTRL_GPIO)
        return CControlProperty::CTRL_GPIO;
    return m_type->currentData().toInt();
}

bool CControlEditDlg::isHexType() const
{
    const qint32 type = selectedType();
    return type == CControlProperty::CTRL_COM || type == CControlProperty::CTRL_DISPLAY;
}

void CControlEditDlg::SetControlProperty(const CControlProperty &record)
{
    m_record.Copy(&record);
    m_category->setText(record.GetInfo());
    m_title->setText(record.GetTitle());
    const qint32 type = record.GetCtrlType();
    m_shownType = type;
    // A kind the editor does not offer shows no kind and keeps its data.
    m_type->setCurrentIndex(m_type->findData(type));
    m_type->setEnabled(record.GetIndex() < 1 && controlsEnabled() && type != CControlProperty::CTRL_GPIO);
    m_volumeKind->setCurrentIndex(VOLUME_MUTE);
    m_volume->clear();
    if (type == CControlProperty::CTRL_VOLUME) {
        const int level = record.GetCtrlParam1().toInt();
        m_volumeKind->setCurrentIndex(level == -1 ? VOLUME_SYSTEM : level == 0 ? VOLUME_MUTE : VOLUME_USER);
        if (level > 0)
            m_volume->setText(QString::number(level));
        m_send->clear();
        m_response->clear();
    } else {
        m_send->setText(SpacedHexPairs(record.GetCtrlParam1()));
        m_response->setText(SpacedHexPairs(record.GetCtrlParam2()));
    }
    showFieldsOfType();
    m_modified = false;
}

void CControlEditDlg::GetControlProperty(CControlProperty &record) const
{
    record.Copy(&m_record);
}

void CControlEditDlg::showFieldsOfType()
{
    const qint32 type = selectedType();
    if (type != m_shownType) {
        m_send->clear();
        m_response->clear();
        m_shownType = type;
    }
    const bool volume = type == CControlProperty::CTRL_VOLUME;
    const bool hex = isHexType() || type == CControlProperty::CTRL_GPIO;
    const bool testable = isHexType() && controlsEnabled();
    m_sendLabel->setText(volume ? QStringLiteral("音量：") : QStringLiteral("送信データ："));
    m_volumeKind->setVisible(volume);
    m_send->setVisible(hex);
    m_responseLabel->setVisible(hex);
    m_response->setVisible(hex);
    m_send->setEnabled(testable);
    m_response->setEnabled(testable);
    m_receivedLabel->setVisible(testable);
    m_received->setVisible(testable);
    m_testTarget->setVisible(testable);
    m_test->setVisible(testable);
    if (testable)
        fillTestTargets();
    showVolumeEdit();
}

void CControlEditDlg::showVolumeEdit()
{
    const bool shown = selectedType() == CControlProperty::CTRL_VOLUME && m_volumeKind->currentIndex() == VOLUME_USER;
    m_volume->setVisible(shown);
    m_volumeUnit->setVisible(shown);
}

void CControlEditDlg::fillTestTargets()
{
    m_testTarget->clear();
    m_testTarget->addItem(QStringLiteral("COM1"), 1);
    m_testTarget->addItem(QStringLiteral("COM2"), 2);
    if (const auto preview = GetAppData().GetPlayerXml().CopyPlayer(GetAppIni().GetLastPreviewSet())) {
        const int displays = preview->DispTotalX * preview->DispTotalY;
        for (int n = 1; n <= displays; ++n)
            m_testTarget->addItem(QStringLiteral("ディスプレイ %1").arg(n), kComTargetDisplayBase + n);
    }
    m_testTarget->setCurrentIndex(0);
}

ControlFields CControlEditDlg::GetFields() const
{
    ControlFields fields;
    fields.ctrlType = selectedType();
    fields.volumeKind = m_volumeKind->currentIndex();
    fields.volume = m_volume->text();
    fields.send = m_send->text();
    fields.response = m_response->text();
    return fields;
}

int CControlEditDlg::CheckControlData() const
{
    if (selectedType() == CControlProperty::CTRL_GPIO)
        return CONTROL_DATA_OK;
    return ::CheckControlData(GetFields());
}

bool CControlEditDlg::refuseData(int check)
{
    switch (check) {
    case CONTROL_VOLUME_OUT_OF_RANGE:
        ShowMessageFormat(this, kTitleCaption, kWarningStyle, kMsgOutOfRange, kMinVolume, kMaxVolume);
        m_volume->setFocus(Qt::OtherFocusReason);
        break;
    case CONTROL_SEND_DATA_WRONG:
        MessageBoxWithCaptionId(this, QString::fromUtf8(kSendDataWrong), kTitleCaption, kWarningStyle);
        m_send->setFocus(Qt::OtherFocusReason);
        m_send->selectAll();
        break;
    case CONTROL_RESPONSE_DATA_WRONG:
        MessageBoxWithCaptionId(this, QString::fromUtf8(kResponseDataWrong), kTitleCaption, kWarningStyle);
        m_response->setFocus(Qt::OtherFocusReason);
        break;
    case CONTROL_VOLUME_EMPTY:
    case CONTROL_SEND_DATA_EMPTY:
        ShowMessage(this, kMsgEmptyItem, kTitleCaption, kWarningStyle);
        (check == CONTROL_VOLUME_EMPTY ? m_volume : m_send)->setFocus(Qt::OtherFocusReason);
        break;
    default:
        return true;
    }
    return false;
}

bool CControlEditDlg::UpdateControlProperty(bool askControlChars)
{
    const qint32 type = selectedType();
    ControlValues values;
    if (type == CControlProperty::CTRL_GPIO) {
        values = ControlValues{m_record.GetCtrlParam1(), m_record.GetCtrlParam2(), m_record.GetInfo(),
                               m_record.GetTitle()};
    } else {
        values = MakeControlValues(GetFields());
    }
    QString category = m_category->text();
    QString title = m_title->text();
    const bool categoryCleaned = RemoveControlChars(category);
    const bool titleCleaned = RemoveControlChars(title);
    if (askControlChars && (categoryCleaned || titleCleaned)
        && ShowMessage(this, kAskRemoveInvalid, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        (categoryCleaned ? m_category : m_title)->setFocus(Qt::OtherFocusReason);
        return false;
    }
    m_record.SetInfo(category.isEmpty() ? values.defaultInfo : category);
    m_record.SetTitle(title.isEmpty() ? values.defaultTitle : title);
    return m_record.SetCtrlType(type) && m_record.SetCtrlParams(values.param1, values.param2);
}

void CControlEditDlg::accept()
{
    if (!refuseData(CheckControlData()) || !UpdateControlProperty(true))
        return;
    finishWithNumber();
}

bool CControlEditDlg::finishWithNumber()
{
    return AcceptUnderChosenNumber(*this, m_record, CONTENT_CONTROL, m_newIndex);
}

void CControlEditDlg::reject()
{
    if (m_worker)
        return; // the test send ends first
    if (MayDiscardEdits(this, m_modified))
        QDialog::reject();
}

// ---- Test send -----------------------------------------------------------------

void CControlEditDlg::OnTest()
{
    const int check = CheckControlData();
    if ((check == CONTROL_SEND_DATA_EMPTY || check == CONTROL_SEND_DATA_WRONG) && !refuseData(check))
        return;
    CMainFrame *frame = GetMainFrame();
    if (m_worker || !UpdateControlProperty(false) || !frame || !frame->CanStartOperation(false, false))
        return;
    QList<qint32> targets;
    if (!SetPreviewTarget(this, targets))
        return;
    const std::optional<PlayerRecord> found = GetAppData().GetPlayerXml().CopyPlayer(targets.first());
    if (!found)
        return;
    const PlayerRecord player = *found;
    const QString sendHex = m_record.GetCtrlParam1();
    const QString responseHex = m_record.GetCtrlParam2();
    const int target = m_testTarget->currentData().toInt();
    const int defaultPort = GetSettingIni().Options().HttpPort;
    m_worker = std::make_unique<CFrameWorker>([this, player, sendHex, responseHex, target, defaultPort] {
        m_outcome = SendControlTest(GetHttpClient(), player, sendHex, responseHex, target, defaultPort);
        PostAppMessage(this, APPMSG_CONTROL_TEST_END, m_outcome.success ? 1 : 0, m_outcome.detail);
    });
    setEnabled(false);
    // The wait window is a child of the editor: it stays usable, so the
    // operator can stop the send.
    m_process->setEnabled(true);
    m_process->StartSend(&GetHttpClient(), player.Name, player.IPAddress);
    m_process->show();
    m_process->move(geometry().center() - m_process->rect().center());
    m_worker->Resume();
}

bool CControlEditDlg::event(QEvent *event)
{
    const CAppMessageEvent *message = AsAppMessage(event);
    if (!message || message->Number() != APPMSG_CONTROL_TEST_END)
        return QDialog::event(event);
    onTestEnd(message->WParam() == 1, message->LParam());
    return true;
}

void CControlEditDlg::onTestEnd(bool success, quint32 detail)
{
    if (m_worker)
        m_worker->Join();
    m_worker.reset();
    setEnabled(true);
    m_process->Destroy();
    if (success) {
        m_received->setText(SpacedHexPairs(m_outcome.received));
    } else if (detail == 0) {
        MessageBoxWithCaptionId(this, QString::fromUtf8(OpText::kStopped), kTitleCaption,
                                MB_OK | MB_ICONINFORMATION);
    } else {
        MessageBoxWithCaptionId(this, ErrorCodeText(qint32(detail)), kTitleCaption, kWarningStyle);
    }
}

bool CControlEditDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && isHexType()
        && !isHexKey(static_cast<QKeyEvent *>(event)->text()))
        return true;
    return QDialog::eventFilter(watched, event);
}
