// Request kind 6: firmware update.

#include "transfer/dlk_transfer.h"

#include "player/dlk_request_update.h"

// Not built yet: the request ends as an internal failure (4, 1000).
bool CDlkTransfer::transferUpdate(CDlkRequestUpdate *)
{
    return rejectRequest("transferUpdate");
}
