#include "player/dlk_request_remote_list.h"

#include "core/last_error.h"

CDlkRequestRemoteList::CDlkRequestRemoteList(quint16 mask, int flag)
    : m_flag(flag)
{
    SetMask(mask);
}

bool CDlkRequestRemoteList::SetMask(quint16 mask)
{
    if (mask & ~kListMask)
        return fail(ERROR_INVALID_PARAMETER);
    m_mask = mask;
    return true;
}
