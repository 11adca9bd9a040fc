// Request kind 7: the player's status fetched and checked.

#include "transfer/dlk_transfer.h"

#include "player/dlk_request_status.h"

// Not built yet: the request ends as an internal failure (4, 1000).
bool CDlkTransfer::transferGetStatus(CDlkRequestStatus *)
{
    return rejectRequest("transferGetStatus");
}
