#include "model/playlist_file.h"

#include "core/path_utils.h"

CPlaylistFile::CPlaylistFile()
    : CTimetableFile(QStringLiteral("playlist"), Reference::ByTable, &MakePlaylistXmlPath)
{
}

bool CPlaylistFile::acceptsItem(const CTimetableItem &item) const
{
    return isSequenceReference(item);
}
