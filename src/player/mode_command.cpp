#include "player/mode_command.h"

CModeCommand::CModeCommand()
    : CR40Request(QStringLiteral("SPCL"))
{
}

std::unique_ptr<CR40Request> CModeCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CModeCommand(*this));
}

bool CModeCommand::MakeRequest(int id, int mode)
{
    BeginRequest(QStringLiteral("SPCL"));
    if (id < 0 || mode < -1)
        return FailRequest();
    AddParameter(QStringLiteral("id"), id);
    if (mode != -1)
        AddParameter(QStringLiteral("mode"), mode);
    return true;
}
