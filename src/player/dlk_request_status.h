#pragma once
// Transfer request kind 7: fetch the player's status and check its software
// version against the one expected.

#include "player/dlk_request.h"

class CDlkRequestStatus : public CDlkRequestOf<CDlkRequestStatus, DLK_REQUEST_STATUS> {
public:
    explicit CDlkRequestStatus(int versionNumber = 0)
        : m_versionNumber(versionNumber)
    {
    }

    // The expected software version number ("1.23" as 123).
    int GetVersionNumber() const { return m_versionNumber; }

private:
    int m_versionNumber = 0;
};
