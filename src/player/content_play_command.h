#pragma once
// "PLCL": plays one content that the player holds.

#include "player/r40_request.h"

class CContentPlayCommand : public CR40Request {
public:
    CContentPlayCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    // id: the play code of the content kind; index: the content number; the
    // other values as the interrupt-playback settings give them (-1 = not
    // given); playTime in seconds.
    bool MakeRequest(int id, qint32 index, int mode, int xpos, int ypos, int opt, int width, int height, int repeat,
        int playTime);
};
