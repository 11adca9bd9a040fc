#pragma once
// "FINF": the size of a file on the player.

#include "player/r40_request.h"

class CFinfCommand : public CR40Request {
public:
    CFinfCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    bool MakeRequest(const QString &remoteFile);
    // The size from a PASS reply; false when the reply has no size.
    bool GetFileSize(quint64 &size) const;
};
