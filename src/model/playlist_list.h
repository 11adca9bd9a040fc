#pragma once
// The list of playlists ("PlaylistList.xml", type 52) or of background-music
// lists ("BgmList.xml", type 53).

#include "model/contents_list.h"

class CPlaylistList : public CContentsList {
public:
    explicit CPlaylistList(int listType = CONTENT_PLAYLIST)
        : CContentsList(listType == CONTENT_BGMLIST ? CONTENT_BGMLIST : CONTENT_PLAYLIST)
    {
    }
};
