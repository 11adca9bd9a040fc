#include "ui/players/set_system_dlg_view.h"

#include "core/format_utils.h"
#include "core/system_ini.h"

CSetSystemDlgView::CSetSystemDlgView() : CSettingsPageDlgView(1525, QSize(520, 360), 5513) {}

void CSetSystemDlgView::LoadSettings()
{
    const SystemSettings settings = GetSystemIni().Settings();
    const auto flag = [](bool on) { return QString::number(on ? 1 : 0); };
    ShowLines({
        QStringLiteral("AutoSend=%1").arg(flag(settings.AutoSend)),
        QStringLiteral("AutoSendStartTime=%1").arg(FormatTimeText(settings.AutoSendStartTime, false)),
        QStringLiteral("NotSendStartTime=%1").arg(FormatTimeText(settings.NotSendStartTime, false)),
        QStringLiteral("NotSendEndTime=%1").arg(FormatTimeText(settings.NotSendEndTime, false)),
        QStringLiteral("R40RetryEnable=%1").arg(flag(settings.R40RetryEnable)),
        QStringLiteral("R40RetryInterval=%1").arg(settings.R40RetryInterval),
        QStringLiteral("LogFolder=%1").arg(settings.LogFolder),
        QStringLiteral("LogLevel=%1").arg(settings.LogLevel),
        QStringLiteral("LogKeepDay=%1").arg(settings.LogKeepDay),
    });
    SetModified(false);
}
