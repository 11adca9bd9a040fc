#include "transfer/dlk_request_list.h"

#include "core/last_error.h"
#include "player/dlk_request.h"

#include <new>

CDlkRequestList::CDlkRequestList() = default;

CDlkRequestList::~CDlkRequestList()
{
    RemoveAll();
}

bool CDlkRequestList::Add(const CDlkRequest *request)
{
    if (!request)
        return fail(ERROR_INVALID_PARAMETER);
    CDlkRequest *clone = request->Create();
    if (!clone)
        return fail(ERROR_OUTOFMEMORY);
    if (!clone->CopyFrom(request)) {
        const quint32 error = clone->GetLastError();
        clone->Release();
        return fail(error);
    }
    try {
        m_requests.push_back(clone);
    } catch (const std::bad_alloc &) {
        clone->Release();
        return fail(ERROR_OUTOFMEMORY);
    }
    clearLastError();
    return true;
}

CDlkRequest *CDlkRequestList::GetAt(int i) const
{
    if (i < 0 || i >= GetCount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return m_requests[size_t(i)];
}

void CDlkRequestList::RemoveAll()
{
    for (CDlkRequest *request : m_requests)
        request->Release();
    m_requests.clear();
}
