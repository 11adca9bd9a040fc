#pragma once
// "LCNF": makes the player load an uploaded setup file.

#include "player/r40_request.h"

enum LoadConfigMode : int {
    LOAD_CONFIG_NO_MODE = 0, // no "mode" parameter
    LOAD_CONFIG_REBOOT = 1,  // "reboot"
    LOAD_CONFIG_SLEEP = 2,   // "sleep"
};

class CLcnfCommand : public CR40Request {
public:
    CLcnfCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    bool MakeRequest(const QString &remoteFile, int mode);
};
