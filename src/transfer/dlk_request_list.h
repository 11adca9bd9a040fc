#pragma once
// The transfer requests of one job, in the order the workers carry them out.
// The list owns a private copy of every request it was given.

#include "transfer/last_error_keeper.h"

#include <QtGlobal>

#include <vector>

class CDlkRequest;

class CDlkRequestList : public CLastErrorKeeper {
public:
    CDlkRequestList();
    ~CDlkRequestList();

    CDlkRequestList(const CDlkRequestList &) = delete;
    CDlkRequestList &operator=(const CDlkRequestList &) = delete;

    // Appends a copy of request. False with 87 for a null request, with 14
    // without memory, and with the copy's own error when copying fails.
    bool Add(const CDlkRequest *request);
    // Request i; null with 87 outside the list.
    CDlkRequest *GetAt(int i) const;
    int GetCount() const { return int(m_requests.size()); }
    // Releases every request.
    void RemoveAll();

private:
    std::vector<CDlkRequest *> m_requests;
};
