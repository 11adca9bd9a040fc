#include "player/plain_command.h"

CPlainCommand::CPlainCommand()
    : CR40Request(QStringLiteral("SPPL"))
{
}

std::unique_ptr<CR40Request> CPlainCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CPlainCommand(*this));
}

bool CPlainCommand::MakeRequest()
{
    BeginRequest(QStringLiteral("SPPL"));
    return true;
}
