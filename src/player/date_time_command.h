#pragma once
// "DATE": sets the player's clock to a UTC time without a reboot.

#include "core/win_types.h"
#include "player/r40_request.h"

class CDateTimeCommand : public CR40Request {
public:
    CDateTimeCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    // "datetime" = the UTC time as "YYYY-MM-DD hh:mm:ss.mmm", "reboot" = "0".
    bool MakeRequest(const SystemTime &utcTime);
};
