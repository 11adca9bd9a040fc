#include "player/playlist_play_command.h"

#include "core/content_id.h"

CPlaylistPlayCommand::CPlaylistPlayCommand()
    : CR40Request(QStringLiteral("PLPL"))
{
}

std::unique_ptr<CR40Request> CPlaylistPlayCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CPlaylistPlayCommand(*this));
}

bool CPlaylistPlayCommand::MakeRequest(int mode, qint32 index, int repeat, int playTime)
{
    BeginRequest(QStringLiteral("PLPL"));
    if (!IsValidContentId(index))
        return FailRequest();
    AddParameter(QStringLiteral("mode"), mode);
    AddParameter(QStringLiteral("index"), FormatContentId(index));
    AddParameter(QStringLiteral("repeat"), repeat);
    AddParameter(QStringLiteral("playtime"), playTime);
    return true;
}
