#include "player/finf_command.h"

#include "model/property_fields.h"

CFinfCommand::CFinfCommand()
    : CR40Request(QStringLiteral("FINF"))
{
}

std::unique_ptr<CR40Request> CFinfCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CFinfCommand(*this));
}

bool CFinfCommand::MakeRequest(const QString &remoteFile)
{
    BeginRequest(QStringLiteral("FINF"));
    if (remoteFile.isEmpty())
        return FailRequest();
    AddParameter(QStringLiteral("file"), remoteFile);
    return true;
}

bool CFinfCommand::GetFileSize(quint64 &size) const
{
    return GetStatus() == R40_REPLY_PASS && ParseUInt64Field(GetResultString(), size);
}
