#include "player/date_time_command.h"

#include "core/format_utils.h"
#include "model/property_checks.h"

CDateTimeCommand::CDateTimeCommand()
    : CR40Request(QStringLiteral("DATE"))
{
}

std::unique_ptr<CR40Request> CDateTimeCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CDateTimeCommand(*this));
}

bool CDateTimeCommand::MakeRequest(const SystemTime &utcTime)
{
    BeginRequest(QStringLiteral("DATE"));
    if (!IsValidSystemTime(utcTime, false))
        return FailRequest();
    AddParameter(QStringLiteral("datetime"), FormatDateTimeText(utcTime));
    AddParameter(QStringLiteral("reboot"), QStringLiteral("0"));
    return true;
}
