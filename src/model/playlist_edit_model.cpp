#include "model/playlist_edit_model.h"

#include "core/last_error.h"
#include "model/playlist_file.h"
#include "model/property_base.h"

namespace {

std::vector<TimetableTrack> tracksOf(int listType)
{
    if (listType == CONTENT_BGMLIST)
        return {{32, 21, CONTENT_AUDIO}}; // background music is sound only
    return {{1, 1, 0}, {2, 2, 0}, {4, 11, 0}, {8, 3, 0}, {16, 6, 0}, {32, 5, 0}, {64, 7, 0}, {128, 9, 0}};
}

int listTypeOf(int type)
{
    return type == CONTENT_BGMLIST ? CONTENT_BGMLIST : CONTENT_PLAYLIST;
}

} // namespace

CPlaylistEditModel::CPlaylistEditModel(int listType)
    : CTimetableModel(tracksOf(listTypeOf(listType)), true)
    , m_listType(listTypeOf(listType))
{
    // A list plays within one day and must end by 23:55:00.
    SetLatestEndFrames(86100 * 30);
}

int CPlaylistEditModel::GetTrackFlag(int track) const
{
    return track >= 1 && track < GetTrackCount() ? trackAt(track).key : 0;
}

bool CPlaylistEditModel::Load(qint32 index, int type)
{
    if (type != m_listType) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    CPlaylistFile file;
    return loadFiles(file, index);
}

bool CPlaylistEditModel::Save(qint32 index, int type)
{
    if (type != m_listType) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    CPlaylistFile file;
    return saveFiles(file, m_listType, index);
}

QString PlaylistTrackName(int flag)
{
    switch (flag) {
    case 1:
        return QStringLiteral("メイン");
    case 2:
        return QStringLiteral("サブ1");
    case 4:
        return QStringLiteral("サブ2");
    case 8:
        return QStringLiteral("サブ3");
    case 16:
        return QStringLiteral("サブ4");
    case 32:
        return QStringLiteral("BGM");
    case 64:
        return QStringLiteral("サブ5");
    default:
        return QStringLiteral("制御");
    }
}
