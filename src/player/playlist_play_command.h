#pragma once
// "PLPL": plays a playlist or background-music list that the player holds.

#include "player/r40_request.h"

class CPlaylistPlayCommand : public CR40Request {
public:
    CPlaylistPlayCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    // mode 1 plays the list by its number; repeat and playTime (seconds) as
    // the interrupt-playback settings give them (-1 = not given).
    bool MakeRequest(int mode, qint32 index, int repeat, int playTime);
};
