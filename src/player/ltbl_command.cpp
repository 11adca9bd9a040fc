#include "player/ltbl_command.h"

CLtblCommand::CLtblCommand()
    : CR40Request(QStringLiteral("LTBL"))
{
}

std::unique_ptr<CR40Request> CLtblCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CLtblCommand(*this));
}

bool CLtblCommand::MakeRequest(const QString &remoteGroupFile)
{
    BeginRequest(QStringLiteral("LTBL"));
    if (!remoteGroupFile.isEmpty())
        AddParameter(QStringLiteral("file"), remoteGroupFile);
    AddParameter(QStringLiteral("mode"), 2);
    return true;
}
