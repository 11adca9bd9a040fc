#pragma once
// Transfer request kind 2: send the player's setup file and have it loaded.
// The network variant sends the network setup and gives each worker a slot
// for the software version number it found.

#include "player/dlk_request.h"

class CDlkRequestConfig : public CDlkRequestOf<CDlkRequestConfig, DLK_REQUEST_CONFIG> {
public:
    explicit CDlkRequestConfig(bool network = false)
        : m_network(network)
    {
    }

    bool IsNetwork() const { return m_network; }
    // The player's software version number ("1.23" as 123); 0 until set.
    int GetVersionNumber() const { return m_versionNumber; }
    void SetVersionNumber(int number) { m_versionNumber = number; }

private:
    bool m_network = false;
    int m_versionNumber = 0;
};
