#pragma once
// "LTBL": makes the player register the uploaded registration files listed in
// a group file.

#include "player/r40_request.h"

class CLtblCommand : public CR40Request {
public:
    CLtblCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    // "file" = the remote group file (left out when empty), "mode" = 2.
    bool MakeRequest(const QString &remoteGroupFile);
};
