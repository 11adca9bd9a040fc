#pragma once
// "SPCL": stops the playing content of one kind.

#include "player/r40_request.h"

class CModeCommand : public CR40Request {
public:
    CModeCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    // id: the stop code of the content kind; mode -1 sends no "mode".
    bool MakeRequest(int id, int mode = -1);
};
