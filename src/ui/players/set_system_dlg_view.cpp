#include "ui/players/set_system_dlg_view.h"

#include "core/message_box.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "ui/players/settings_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimeEdit>

namespace {

constexpr quint32 kMsgFolderNotWritable = 5231;
constexpr quint32 kTextAutoSend = 6732;
constexpr quint32 kTextAutoSendTime = 6733;
constexpr quint32 kTextRetry = 6734;
constexpr quint32 kTextRetryInterval = 6735;
constexpr quint32 kTextLogFolder = 6736;
constexpr quint32 kTextLogLevel = 6737;
constexpr quint32 kTextLogKeepDay = 6738;

// The log is written only into an absolute folder that exists (or can be
// made) and can be written.
bool IsUsableLogFolder(const QString &folder)
{
    if (!QDir::isAbsolutePath(folder) || !QDir().mkpath(folder))
        return false;
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

} // namespace

CSetSystemDlgView::CSetSystemDlgView() : CSettingsPageDlgView(1525, QSize(520, 360), 5513) {}

bool CSetSystemDlgView::OnInitDialog()
{
    if (!CSettingsPageDlgView::OnInitDialog())
        return false;
    m_autoSend = MakeCheckField(this, LoadString(kTextAutoSend), kAutoSendId);
    m_autoSendTime = MakeTimeField(this, kAutoSendTimeId);
    m_retry = MakeCheckField(this, LoadString(kTextRetry), kRetryId);
    m_retryInterval = MakeSpinField(this, kRetryIntervalId, 1, kMaxRetryInterval);
    m_logFolder = new QLineEdit(this);
    m_logFolder->setObjectName(QString::number(kLogFolderId));
    m_logLevel = new QComboBox(this);
    m_logLevel->setObjectName(QString::number(kLogLevelId));
    for (int level = 0; level <= LOG_DEBUG; ++level)
        m_logLevel->addItem(QStringLiteral("%1 %2").arg(level).arg(QLatin1String(SyslogLevelText(level))), level);
    m_logKeepDay = MakeSpinField(this, kLogKeepDayId, 1, kMaxLogKeepDays);
    for (QWidget *control : std::initializer_list<QWidget *>{m_autoSend, m_autoSendTime, m_retry, m_retryInterval,
                                                            m_logFolder, m_logLevel, m_logKeepDay})
        WatchChanges(control);
    auto *form = new QFormLayout;
    form->addRow(m_autoSend);
    form->addRow(LoadString(kTextAutoSendTime), m_autoSendTime);
    form->addRow(m_retry);
    form->addRow(LoadString(kTextRetryInterval), m_retryInterval);
    form->addRow(LoadString(kTextLogFolder), m_logFolder);
    form->addRow(LoadString(kTextLogLevel), m_logLevel);
    form->addRow(LoadString(kTextLogKeepDay), m_logKeepDay);
    AddContent(form);
    return true;
}

void CSetSystemDlgView::LoadSettings()
{
    const SystemSettings settings = GetSystemIni().Settings();
    if (m_autoSend) {
        SetFilling(true);
        m_autoSend->setChecked(settings.AutoSend);
        m_autoSendTime->setTime(ToQTime(settings.AutoSendStartTime));
        m_retry->setChecked(settings.R40RetryEnable);
        m_retryInterval->setValue(settings.R40RetryInterval);
        m_logFolder->setText(QDir::toNativeSeparators(settings.LogFolder));
        m_logLevel->setCurrentIndex(m_logLevel->findData(settings.LogLevel));
        m_logKeepDay->setValue(settings.LogKeepDay);
        SetFilling(false);
    }
    SetModified(false);
}

bool CSetSystemDlgView::SaveSettings()
{
    if (!IsModified() || !m_autoSend)
        return true;
    const QString folder = QDir::cleanPath(m_logFolder->text().trimmed());
    if (!IsUsableLogFolder(folder)) {
        ShowMessage(this, kMsgFolderNotWritable, kTitleCaption, MB_OK | MB_ICONWARNING);
        m_logFolder->setFocus();
        return false;
    }
    SystemSettings settings = GetSystemIni().Settings();
    settings.AutoSend = m_autoSend->isChecked();
    settings.AutoSendStartTime = ToTimeValue(m_autoSendTime->time());
    settings.R40RetryEnable = m_retry->isChecked();
    settings.R40RetryInterval = m_retryInterval->value();
    settings.LogFolder = folder;
    settings.LogLevel = m_logLevel->currentData().toInt();
    settings.LogKeepDay = m_logKeepDay->value();
    if (!GetSystemIni().SaveSettings(settings)) {
        ShowMessage(this, kMsgSaveFailed, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}
