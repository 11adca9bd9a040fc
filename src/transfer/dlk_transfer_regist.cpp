// Request kind 5: contents registration.

#include "transfer/dlk_transfer.h"

#include "transfer/dlk_request_send.h"

// Not built yet: the request ends as an internal failure (4, 1000).
bool CDlkTransfer::transferRegist(CDlkRequestSend *)
{
    return rejectRequest("transferRegist");
}
