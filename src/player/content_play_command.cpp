#include "player/content_play_command.h"

#include "core/content_id.h"

CContentPlayCommand::CContentPlayCommand()
    : CR40Request(QStringLiteral("PLCL"))
{
}

std::unique_ptr<CR40Request> CContentPlayCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CContentPlayCommand(*this));
}

bool CContentPlayCommand::MakeRequest(int id, qint32 index, int mode, int xpos, int ypos, int opt, int width, int height,
    int repeat, int playTime)
{
    BeginRequest(QStringLiteral("PLCL"));
    if (id <= 0 || !IsValidContentId(index))
        return FailRequest();
    AddParameter(QStringLiteral("id"), id);
    AddParameter(QStringLiteral("index"), FormatContentId(index));
    AddParameter(QStringLiteral("mode"), mode);
    AddParameter(QStringLiteral("xpos"), xpos);
    AddParameter(QStringLiteral("ypos"), ypos);
    AddParameter(QStringLiteral("opt"), opt);
    AddParameter(QStringLiteral("width"), width);
    AddParameter(QStringLiteral("height"), height);
    AddParameter(QStringLiteral("repeat"), repeat);
    AddParameter(QStringLiteral("playtime"), playTime);
    return true;
}
