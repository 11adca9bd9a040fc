#include "player/lcnf_command.h"

CLcnfCommand::CLcnfCommand()
    : CR40Request(QStringLiteral("LCNF"))
{
}

std::unique_ptr<CR40Request> CLcnfCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CLcnfCommand(*this));
}

bool CLcnfCommand::MakeRequest(const QString &remoteFile, int mode)
{
    BeginRequest(QStringLiteral("LCNF"));
    if (remoteFile.isEmpty() || mode < LOAD_CONFIG_NO_MODE || mode > LOAD_CONFIG_SLEEP)
        return FailRequest();
    AddParameter(QStringLiteral("file"), remoteFile);
    if (mode == LOAD_CONFIG_REBOOT)
        AddParameter(QStringLiteral("mode"), QStringLiteral("reboot"));
    else if (mode == LOAD_CONFIG_SLEEP)
        AddParameter(QStringLiteral("mode"), QStringLiteral("sleep"));
    return true;
}
