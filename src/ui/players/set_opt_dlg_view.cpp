#include "ui/players/set_opt_dlg_view.h"

#include "core/message_box.h"
#include "core/setting_ini.h"
#include "core/string_table.h"
#include "core/system_ini.h"
#include "ui/players/set_password_dlg.h"
#include "ui/players/settings_fields.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>

namespace {

constexpr quint32 kTextPowerOn = 6720;
constexpr quint32 kTextPowerOff = 6721;
constexpr quint32 kTextNotSendStart = 6722;
constexpr quint32 kTextNotSendEnd = 6723;
constexpr quint32 kTextMaxSession = 6724;
constexpr quint32 kTextHttpPort = 6725;
constexpr quint32 kTextLocalUrl = 6726;
constexpr quint32 kTextControl = 6727;
constexpr quint32 kTextTouchPanel = 6728;
constexpr quint32 kTextRunPassUse = 6729;
constexpr quint32 kTextSetupPassUse = 6730;
constexpr quint32 kTextSetPassword = 6731;
constexpr int kMaxSessions = 99;

} // namespace

CSetOptDlgView::CSetOptDlgView() : CSettingsPageDlgView(1529, QSize(520, 480), 5517) {}

QTimeEdit *CSetOptDlgView::makeTime(int id)
{
    QTimeEdit *edit = MakeTimeField(this, id);
    WatchChanges(edit);
    return edit;
}

QCheckBox *CSetOptDlgView::makeCheck(quint32 textId, int id)
{
    QCheckBox *box = MakeCheckField(this, LoadString(textId), id);
    WatchChanges(box);
    return box;
}

QLayout *CSetOptDlgView::passwordRow(QCheckBox *use, int mode, int buttonId)
{
    auto *row = new QHBoxLayout;
    auto *button = new QPushButton(LoadString(kTextSetPassword), this);
    button->setObjectName(QString::number(buttonId));
    connect(button, &QPushButton::clicked, this, [this, mode] { SetPassword(mode); });
    connect(use, &QCheckBox::toggled, this, [this, use, mode](bool on) { onPasswordUseToggled(use, mode, on); });
    row->addWidget(use, 1);
    row->addWidget(button);
    return row;
}

bool CSetOptDlgView::OnInitDialog()
{
    if (!CSettingsPageDlgView::OnInitDialog())
        return false;
    auto *form = new QFormLayout;
    m_powerOn = makeTime(kPowerOnId);
    m_powerOff = makeTime(kPowerOffId);
    m_notSendStart = makeTime(kNotSendStartId);
    m_notSendEnd = makeTime(kNotSendEndId);
    m_maxSession = MakeSpinField(this, kMaxSessionId, 1, kMaxSessions);
    m_httpPort = MakeSpinField(this, kHttpPortId, 1, 65535);
    WatchChanges(m_maxSession);
    WatchChanges(m_httpPort);
    m_localUrl = makeCheck(kTextLocalUrl, kLocalUrlId);
    m_control = makeCheck(kTextControl, kControlId);
    m_touchPanel = makeCheck(kTextTouchPanel, kTouchPanelId);
    m_runPassUse = makeCheck(kTextRunPassUse, kRunPassUseId);
    m_setupPassUse = makeCheck(kTextSetupPassUse, kSetupPassUseId);
    form->addRow(LoadString(kTextPowerOn), m_powerOn);
    form->addRow(LoadString(kTextPowerOff), m_powerOff);
    form->addRow(LoadString(kTextNotSendStart), m_notSendStart);
    form->addRow(LoadString(kTextNotSendEnd), m_notSendEnd);
    form->addRow(LoadString(kTextMaxSession), m_maxSession);
    form->addRow(LoadString(kTextHttpPort), m_httpPort);
    form->addRow(m_localUrl);
    form->addRow(m_control);
    form->addRow(m_touchPanel);
    form->addRow(passwordRow(m_runPassUse, CSetPasswordDlg::MODE_SET_STARTUP, kRunPasswordId));
    form->addRow(passwordRow(m_setupPassUse, CSetPasswordDlg::MODE_SET_SETTINGS, kSetupPasswordId));
    AddContent(form);
    return true;
}

void CSetOptDlgView::LoadSettings()
{
    const SystemOptions options = GetSettingIni().Options();
    const SystemSettings settings = GetSystemIni().Settings();
    m_runPassword = options.RunPassword;
    m_setupPassword = options.SetupPassword;
    if (m_powerOn) {
        SetFilling(true);
        m_powerOn->setTime(ToQTime(options.PowerOnTime));
        m_powerOff->setTime(ToQTime(options.PowerOffTime));
        m_notSendStart->setTime(ToQTime(settings.NotSendStartTime));
        m_notSendEnd->setTime(ToQTime(settings.NotSendEndTime));
        m_maxSession->setValue(options.MaxSession);
        m_httpPort->setValue(options.HttpPort);
        m_localUrl->setChecked(options.SILocalUrl);
        m_control->setChecked(options.SIControl);
        m_touchPanel->setChecked(options.VODUse);
        m_runPassUse->setChecked(options.RunPassUse);
        m_setupPassUse->setChecked(options.SetupPassUse);
        SetFilling(false);
    }
    SetModified(false);
}

bool CSetOptDlgView::SetPassword(int mode)
{
    CSetPasswordDlg dialog(mode, this);
    if (dialog.DoModal() != IDOK)
        return false;
    (mode == CSetPasswordDlg::MODE_SET_STARTUP ? m_runPassword : m_setupPassword) = dialog.GetNewPassword();
    SetModified(true);
    return true;
}

// A switch turned on without a password would lock the operator out with an
// empty one: a password is asked for first, and the switch stays off without it.
void CSetOptDlgView::onPasswordUseToggled(QCheckBox *use, int mode, bool on)
{
    const QString &password = mode == CSetPasswordDlg::MODE_SET_STARTUP ? m_runPassword : m_setupPassword;
    if (IsFilling() || !on || !password.isEmpty())
        return;
    if (!SetPassword(mode))
        use->setChecked(false);
}

bool CSetOptDlgView::SaveSettings()
{
    if (!IsModified() || !m_powerOn)
        return true;
    CSettingIni &ini = GetSettingIni();
    SystemOptions options = ini.Options();
    options.PowerOnTime = ToTimeValue(m_powerOn->time());
    options.PowerOffTime = ToTimeValue(m_powerOff->time());
    options.MaxSession = m_maxSession->value();
    options.HttpPort = m_httpPort->value();
    options.SILocalUrl = m_localUrl->isChecked();
    options.SIControl = m_control->isChecked();
    options.VODUse = m_touchPanel->isChecked();
    options.RunPassUse = m_runPassUse->isChecked();
    options.SetupPassUse = m_setupPassUse->isChecked();
    options.RunPassword = m_runPassword;
    options.SetupPassword = m_setupPassword;
    ini.SetOptions(options);
    SystemSettings settings = GetSystemIni().Settings();
    settings.NotSendStartTime = ToTimeValue(m_notSendStart->time());
    settings.NotSendEndTime = ToTimeValue(m_notSendEnd->time());
    if (!ini.Save() || !GetSystemIni().SaveSettings(settings)) {
        ShowMessage(this, kMsgSaveFailed, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}
