#pragma once
// Transfer request kind 3: fetch the player's lists named by a list mask.

#include "player/dlk_request.h"

class CDlkRequestRemoteList : public CDlkRequestOf<CDlkRequestRemoteList, DLK_REQUEST_REMOTE_LIST> {
public:
    // The bits that name lists.
    static constexpr quint16 kListMask = 0x3FFF;

    CDlkRequestRemoteList() = default;
    CDlkRequestRemoteList(quint16 mask, int flag);

    quint16 GetMask() const { return m_mask; }
    // A mask with bits outside kListMask fails with 87 and keeps the old mask.
    bool SetMask(quint16 mask);
    // Passed with the playlist table query (touch-panel playlists).
    int GetFlag() const { return m_flag; }
    void SetFlag(int flag) { m_flag = flag; }

private:
    quint16 m_mask = 0;
    int m_flag = 0;
};
