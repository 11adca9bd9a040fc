#include "player/dlk_request.h"

#include "core/last_error.h"

CDlkRequest::CDlkRequest(int kind)
    : m_kind(kind)
{
}

CDlkRequest::~CDlkRequest() = default;

bool CDlkRequest::CopyFrom(const CDlkRequest *other)
{
    if (!other)
        return fail(ERROR_INVALID_PARAMETER);
    if (other == this)
        return fail(ERROR_INTERNAL_ERROR);
    m_kind = other->m_kind;
    return true;
}

void CDlkRequest::Release()
{
    fail(ERROR_INTERNAL_ERROR);
}

bool CDlkRequest::fail(quint32 error)
{
    m_lastError = error;
    SetLastError(error);
    return false;
}
