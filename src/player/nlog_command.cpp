#include "player/nlog_command.h"

CNlogCommand::CNlogCommand()
    : CR40Request(QStringLiteral("NLOG"))
{
}

std::unique_ptr<CR40Request> CNlogCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CNlogCommand(*this));
}

bool CNlogCommand::MakeRequest(const QString &localFolder)
{
    BeginRequest(QStringLiteral("NLOG"));
    if (localFolder.isEmpty())
        return FailRequest();
    SetDownloadTarget(localFolder, true);
    return true;
}
