#pragma once
// "NLOG": fetches the player's log file into a local folder.

#include "player/r40_request.h"

class CNlogCommand : public CR40Request {
public:
    CNlogCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    // The folder the log file is written to (created when missing); the file
    // keeps the name the player gives it.
    bool MakeRequest(const QString &localFolder);
};
