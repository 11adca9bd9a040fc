#include "player/system_command.h"

CSystemCommand::CSystemCommand()
    : CR40Request(QStringLiteral("RSET"))
{
}

std::unique_ptr<CR40Request> CSystemCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CSystemCommand(*this));
}

bool CSystemCommand::MakeRequest()
{
    BeginRequest(QStringLiteral("RSET"));
    return true;
}

bool CSystemCommand::MakeRequest(int action)
{
    BeginRequest(QStringLiteral("RSET"));
    if (action != SYSTEM_ACTION_REBOOT && action != SYSTEM_ACTION_SHUTDOWN)
        return FailRequest();
    AddParameter(QStringLiteral("delay"), QStringLiteral("0"));
    AddParameter(QStringLiteral("action"), action == SYSTEM_ACTION_REBOOT ? QStringLiteral("reboot") : QStringLiteral("shutdown"));
    return true;
}
