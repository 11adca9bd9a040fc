#include "ui/players/set_opt_dlg_view.h"

#include "core/setting_ini.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFormLayout>
#include <QTimeEdit>

namespace {

QTime ToQTime(const TimeValue &time)
{
    return QTime(time.hour, time.minute, time.second);
}

TimeValue ToTimeValue(const QTime &time)
{
    return TimeValue{quint16(time.hour()), quint16(time.minute()), quint16(time.second()), 0};
}

} // namespace

CSetOptDlgView::CSetOptDlgView() : CSettingsPageDlgView(1529, QSize(480, 360), 5517) {}

bool CSetOptDlgView::OnInitDialog()
{
    if (!CSettingsPageDlgView::OnInitDialog())
        return false;
    auto *form = new QFormLayout;
    m_powerOn = new QTimeEdit(this);
    m_powerOff = new QTimeEdit(this);
    m_runPassUse = new QCheckBox(QStringLiteral("RunPassUse"), this);
    m_setupPassUse = new QCheckBox(QStringLiteral("SetupPassUse"), this);
    const std::pair<QWidget *, int> ids[] = {
        {m_powerOn, kPowerOnId}, {m_powerOff, kPowerOffId}, {m_runPassUse, kRunPassUseId}, {m_setupPassUse, kSetupPassUseId}};
    for (const auto &[control, id] : ids)
        control->setObjectName(QString::number(id));
    for (QTimeEdit *edit : {m_powerOn, m_powerOff}) {
        edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        connect(edit, &QTimeEdit::timeChanged, this, [this] {
            if (!m_loading)
                SetModified(true);
        });
    }
    for (QCheckBox *box : {m_runPassUse, m_setupPassUse}) {
        connect(box, &QCheckBox::toggled, this, [this] {
            if (!m_loading)
                SetModified(true);
        });
    }
    form->addRow(QStringLiteral("PowerOnTime"), m_powerOn);
    form->addRow(QStringLiteral("PowerOffTime"), m_powerOff);
    form->addRow(m_runPassUse);
    form->addRow(m_setupPassUse);
    if (auto *column = qobject_cast<QBoxLayout *>(layout()))
        column->insertLayout(1, form);
    return true;
}

void CSetOptDlgView::LoadSettings()
{
    const SystemOptions options = GetSettingIni().Options();
    m_loading = true;
    if (m_powerOn) {
        m_powerOn->setTime(ToQTime(options.PowerOnTime));
        m_powerOff->setTime(ToQTime(options.PowerOffTime));
        m_runPassUse->setChecked(options.RunPassUse);
        m_setupPassUse->setChecked(options.SetupPassUse);
    }
    m_loading = false;
    ShowLines({
        QStringLiteral("MaxSession=%1").arg(options.MaxSession),
        QStringLiteral("HttpPort=%1").arg(options.HttpPort),
    });
    SetModified(false);
}

bool CSetOptDlgView::SaveSettings()
{
    if (!IsModified() || !m_powerOn)
        return true;
    CSettingIni &ini = GetSettingIni();
    SystemOptions options = ini.Options();
    options.PowerOnTime = ToTimeValue(m_powerOn->time());
    options.PowerOffTime = ToTimeValue(m_powerOff->time());
    options.RunPassUse = m_runPassUse->isChecked();
    options.SetupPassUse = m_setupPassUse->isChecked();
    ini.SetOptions(options);
    return ini.Save();
}
