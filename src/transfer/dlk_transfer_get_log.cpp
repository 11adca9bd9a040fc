// Request kind 4: the player's log fetched.

#include "transfer/dlk_transfer.h"

#include "player/dlk_request_log.h"

// Not built yet: the request ends as an internal failure (4, 1000).
bool CDlkTransfer::transferGetLog(CDlkRequestLog *)
{
    return rejectRequest("transferGetLog");
}
