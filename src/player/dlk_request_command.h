#pragma once
// Transfer request kind 1: player commands sent in order, each a private
// clone with the number of the job entry it belongs to.

#include "player/dlk_request.h"
#include "player/r40_request.h"

#include <vector>

class CDlkRequestCommand : public CDlkRequestOf<CDlkRequestCommand, DLK_REQUEST_COMMAND> {
public:
    CDlkRequestCommand() = default;
    CDlkRequestCommand(const CDlkRequestCommand &other);
    CDlkRequestCommand &operator=(const CDlkRequestCommand &other);

    // Appends a clone of the command; null fails with 87, no memory with 14.
    bool Add(const CR40Request *command, int entryIndex);
    int GetCount() const { return int(m_entries.size()); }
    // Command i (owned by the request); null outside the list.
    CR40Request *GetCommand(int i) const;
    // The entry index given with command i; -1 outside the list.
    int GetEntryIndex(int i) const;
    void RemoveAll() { m_entries.clear(); }

private:
    struct Entry {
        std::unique_ptr<CR40Request> command;
        int entryIndex = -1;
    };
    static std::vector<Entry> cloneEntries(const std::vector<Entry> &entries);

    std::vector<Entry> m_entries;
};
