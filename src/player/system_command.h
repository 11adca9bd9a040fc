#pragma once
// "RSET": restarts or switches off the player; without an action it is the
// reset that applies an uploaded firmware update.

#include "player/r40_request.h"

enum SystemAction : int {
    SYSTEM_ACTION_REBOOT = 1,
    SYSTEM_ACTION_SHUTDOWN = 2,
};

class CSystemCommand : public CR40Request {
public:
    CSystemCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    // The reset without parameters.
    bool MakeRequest();
    // "delay" = "0" and "action" = "reboot" or "shutdown".
    bool MakeRequest(int action);
};
