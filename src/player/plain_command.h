#pragma once
// "SPPL": stops the playlist the player is playing.

#include "player/r40_request.h"

class CPlainCommand : public CR40Request {
public:
    CPlainCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    bool MakeRequest();
};
