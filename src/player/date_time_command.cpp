#include "player/date_time_command.h"

#include "core/format_utils.h"

#include <QDate>

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
    const bool valid = QDate::isValid(utcTime.year, utcTime.month, utcTime.day) && utcTime.hour < 24 && utcTime.minute < 60
        && utcTime.second < 60 && utcTime.milliseconds < 1000;
    if (!valid)
        return FailRequest();
    AddParameter(QStringLiteral("datetime"), FormatDateTimeText(utcTime));
    AddParameter(QStringLiteral("reboot"), QStringLiteral("0"));
    return true;
}
