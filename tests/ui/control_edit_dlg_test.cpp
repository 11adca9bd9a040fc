// The control-event editor and the IP camera dialog: their checks, the
// records they hand back, and the control editor's test send to an emulated
// preview player.
#include "widgets/ip_address_ctrl.h"
#include "widgets/process_dlg.h"
#include "core/app_ini.h"
#include "core/setting_ini.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "player_ops_fixture.h"
#include "ui/contents/control_edit_dlg.h"
#include "ui/contents/ip_camera_set_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

constexpr qint32 kNewControl = 701000009;

void setControlsOption(bool on)
{
    SystemOptions options = GetSettingIni().Options();
    options.SIControl = on;
    GetSettingIni().SetOptions(options);
}

template <class Widget>
Widget *field(QWidget *dialog, int id)
{
    return dialog->findChild<Widget *>(QString::number(id));
}

void chooseType(CControlEditDlg &dialog, qint32 type)
{
    auto *combo = field<QComboBox>(&dialog, CControlEditDlg::IDC_TYPE);
    combo->setCurrentIndex(combo->findData(type));
}

class ControlEditDlg : public PlayerOpsTest {
protected:
    // Sends the dialog's data and waits for the end message.
    bool runTest(CControlEditDlg &dialog)
    {
        dialog.OnTest();
        // While it runs the editor waits, and the wait can be cancelled.
        auto *process = dialog.findChild<CProcessDlg *>();
        EXPECT_FALSE(dialog.isEnabled());
        EXPECT_TRUE(process && process->isVisible() && process->GetCancelButton()->isEnabled());
        QDeadlineTimer deadline(30000);
        while (dialog.IsTestRunning() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return !dialog.IsTestRunning();
    }
};

} // namespace

TEST_F(ControlEditDlg, NewControlsOfEachKindAndTheirChecks)
{
    ASSERT_TRUE(startUp());
    setControlsOption(true);
    CControlEditDlg com;
    com.SetNewIndex(kNewControl);
    EXPECT_TRUE(field<QComboBox>(&com, CControlEditDlg::IDC_TYPE)->isEnabled());
    chooseType(com, CControlProperty::CTRL_COM);
    auto *send = field<QLineEdit>(&com, CControlEditDlg::IDC_SEND);
    // Only hexadecimal digits and blanks can be typed.
    QTest::keyClicks(send, QStringLiteral("0x A-1G"));
    EXPECT_EQ(send->text(), QStringLiteral("0 A1"));
    send->setText(QStringLiteral("0A1"));
    m_prompter.answer(IDOK);
    com.accept();
    EXPECT_EQ(com.result(), QDialog::Rejected);
    send->setText(QStringLiteral("0A  1B "));
    com.accept();
    ASSERT_EQ(com.result(), QDialog::Accepted);
    CControlProperty record;
    com.GetControlProperty(record);
    EXPECT_EQ(record.GetIndex(), kNewControl);
    EXPECT_EQ(record.GetCtrlType(), CControlProperty::CTRL_COM);
    EXPECT_EQ(record.GetCtrlParam1(), QStringLiteral("0A1B"));
    EXPECT_EQ(record.GetTitle(), QStringLiteral("0A 1B"));
    EXPECT_EQ(record.GetInfo(), QStringLiteral("COM 制御"));

    // Without the option a new control is a volume control.
    setControlsOption(false);
    CControlEditDlg volume;
    EXPECT_FALSE(field<QComboBox>(&volume, CControlEditDlg::IDC_TYPE)->isEnabled());
    field<QComboBox>(&volume, CControlEditDlg::IDC_VOLUME_KIND)->setCurrentIndex(VOLUME_USER);
    field<QLineEdit>(&volume, CControlEditDlg::IDC_VOLUME)->setText(QStringLiteral("101"));
    m_prompter.expect(5108, IDOK);
    volume.accept();
    EXPECT_EQ(m_prompter.last().arguments, (QStringList{QStringLiteral("1"), QStringLiteral("100")}));
    EXPECT_EQ(volume.result(), QDialog::Rejected);
    // Escape with nothing changed closes without a question.
    volume.reject();
    EXPECT_EQ(volume.result(), QDialog::Rejected);
}

TEST_F(ControlEditDlg, AStoredControlOfAnotherKindKeepsItsKindAndData)
{
    ASSERT_TRUE(startUp());
    CControlProperty stored;
    stored.SetIndex(701000005);
    ASSERT_TRUE(stored.SetCtrlType(CControlProperty::CTRL_GPIO));
    ASSERT_TRUE(stored.SetCtrlParams(QStringLiteral("01"), QStringLiteral("02")));
    stored.SetTitle(QStringLiteral("lamp"));
    CControlEditDlg dialog;
    dialog.SetControlProperty(stored);
    dialog.SetNewIndex(kNewControl);
    auto *title = field<QLineEdit>(&dialog, CControlEditDlg::IDC_TITLE);
    title->setText(QStringLiteral("lamp on"));
    emit title->textEdited(title->text());
    m_prompter.expect(5000, IDYES);
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    CControlProperty record;
    dialog.GetControlProperty(record);
    EXPECT_EQ(record.GetIndex(), 701000005);
    EXPECT_EQ(record.GetCtrlType(), CControlProperty::CTRL_GPIO);
    EXPECT_EQ(record.GetCtrlParam1(), QStringLiteral("01"));
    EXPECT_EQ(record.GetCtrlParam2(), QStringLiteral("02"));
    EXPECT_EQ(record.GetTitle(), QStringLiteral("lamp on"));

    // Changed and cancelled: the discard question.
    CControlEditDlg changed;
    changed.SetControlProperty(stored);
    emit field<QLineEdit>(&changed, CControlEditDlg::IDC_TITLE)->textEdited(QStringLiteral("x"));
    m_prompter.expect(5004, IDNO);
    changed.reject();
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);
}

TEST_F(ControlEditDlg, TheTestSendReachesThePreviewPlayer)
{
    ASSERT_TRUE(startWithPlayers(1));
    setControlsOption(true);
    GetAppIni().SetLastPreviewSet(number(0));
    CControlEditDlg dialog;
    chooseType(dialog, CControlProperty::CTRL_COM);
    field<QLineEdit>(&dialog, CControlEditDlg::IDC_SEND)->setText(QStringLiteral("0A 1B"));
    field<QLineEdit>(&dialog, CControlEditDlg::IDC_RESPONSE)->setText(QStringLiteral("0C"));
    ASSERT_TRUE(runTest(dialog));
    const QList<EmulatedPlayer::Request> sent = player(0).requests(QStringLiteral("COMC"));
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].parameter(QStringLiteral("txd")), QStringLiteral("0A1B"));
    EXPECT_EQ(sent[0].parameter(QStringLiteral("rxd")), QStringLiteral("0C"));
    EXPECT_EQ(sent[0].parameter(QStringLiteral("port")), QStringLiteral("1"));
    EXPECT_EQ(field<QLineEdit>(&dialog, CControlEditDlg::IDC_RECEIVED)->text(), QStringLiteral("0C"));
    EXPECT_TRUE(dialog.isEnabled());

    // A wrong password and a connection reset each tell their code and
    // leave the dialog usable.
    player(0).setCredentials(QString::fromLatin1(EmulatedPlayer::kDefaultUser), QStringLiteral("changed"));
    m_prompter.answer(IDOK);
    ASSERT_TRUE(runTest(dialog));
    EXPECT_TRUE(m_prompter.last().text.contains(QStringLiteral("1003")));
    EXPECT_TRUE(m_prompter.last().text.contains(QStringLiteral("ユーザー名またはパスワードが違います")));
    EXPECT_TRUE(dialog.isEnabled());
    player(0).setCredentials(QString::fromLatin1(EmulatedPlayer::kDefaultUser),
                             QString::fromLatin1(EmulatedPlayer::kDefaultPassword));
    player(0).setCommandFault(QStringLiteral("COMC"), EmulatedPlayer::Fault::reset());
    m_prompter.answer(IDOK);
    ASSERT_TRUE(runTest(dialog));
    EXPECT_TRUE(m_prompter.last().text.contains(QStringLiteral("エラーコード")));
    EXPECT_TRUE(dialog.isEnabled());
}

TEST_F(ControlEditDlg, TheIpCameraDialogChecksAddressPortAndCredentials)
{
    ASSERT_TRUE(startUp());
    CIpCameraSetDlg dialog;
    dialog.SetStreamingProperty(CStreamingProperty());
    dialog.SetNewIndex(801000003);
    EXPECT_EQ(field<QLineEdit>(&dialog, CIpCameraSetDlg::IDC_PORT)->text(), QStringLiteral("80"));
    auto *address = field<CIpAddressCtrl>(&dialog, CIpCameraSetDlg::IDC_ADDRESS);
    for (const char *empty : {"0.1.2.3", "10.0.0.0"}) {
        address->SetAddress(QString::fromLatin1(empty));
        m_prompter.expect(5232, IDOK);
        EXPECT_FALSE(dialog.Validate()) << empty;
    }
    // Typed with its dots, the address lands as typed; a field left empty
    // is refused, not saved as 0.
    address->SetAddress(QString());
    dialog.show();
    address->SetFieldFocus(0);
    for (QChar c : QStringLiteral("192.168.10.20"))
        QTest::keyClick(dialog.focusWidget(), c.toLatin1());
    EXPECT_EQ(address->GetAddress(), QStringLiteral("192.168.10.20"));
    address->GetFieldEdit(2)->clear();
    m_prompter.expect(5232, IDOK);
    EXPECT_FALSE(dialog.Validate());
    EXPECT_EQ(dialog.focusWidget(), address->GetFieldEdit(2));
    // A dotted address pasted into the first field fills the four.
    address->SetAddress(QString());
    QApplication::clipboard()->setText(QStringLiteral("10.1.2.30"));
    address->GetFieldEdit(0)->setFocus();
    address->GetFieldEdit(0)->paste();
    EXPECT_EQ(address->GetAddress(), QStringLiteral("10.1.2.30"));
    address->SetAddress(QStringLiteral("192.168.0.20"));
    auto *port = field<QLineEdit>(&dialog, CIpCameraSetDlg::IDC_PORT);
    port->setText(QStringLiteral("8a"));
    m_prompter.expect(5235, IDOK);
    EXPECT_FALSE(dialog.Validate());
    port->setText(QStringLiteral("0"));
    m_prompter.expect(5108, IDOK);
    EXPECT_FALSE(dialog.Validate());
    port->setText(QStringLiteral("080"));
    auto *user = field<QLineEdit>(&dialog, CIpCameraSetDlg::IDC_USER);
    user->setText(QStringLiteral("abcd"));
    m_prompter.expect(5390, IDOK);
    EXPECT_FALSE(dialog.Validate());
    user->setText(QStringLiteral("ab-cd"));
    m_prompter.expect(5376, IDOK);
    EXPECT_FALSE(dialog.Validate());
    user->clear();
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    CStreamingProperty record;
    dialog.GetStreamingProperty(record);
    EXPECT_EQ(record.GetIndex(), 801000003);
    EXPECT_EQ(record.GetPort(), 80);
    EXPECT_EQ(record.GetTitle(), QStringLiteral("192.168.0.20:80"));
    EXPECT_EQ(record.GetAddress(), QStringLiteral("192.168.0.20"));
    EXPECT_EQ(record.GetMode(), 1);

    // A stored user name longer than the field takes for typing (as a
    // package may bring) opens whole and is kept by OK.
    const QString longUser = QStringLiteral("camerauser0123456789");
    ASSERT_TRUE(record.SetUser(longUser));
    CIpCameraSetDlg stored;
    stored.SetStreamingProperty(record);
    EXPECT_EQ(field<QLineEdit>(&stored, CIpCameraSetDlg::IDC_USER)->text(), longUser);
    m_prompter.expect(5000, IDYES); // saved under its own number
    stored.accept();
    ASSERT_EQ(stored.result(), QDialog::Accepted);
    stored.GetStreamingProperty(record);
    EXPECT_EQ(record.GetUser(), longUser);
}
