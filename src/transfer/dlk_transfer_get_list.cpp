// Request kind 3: the player's lists fetched into list files.

#include "transfer/dlk_transfer.h"

#include "player/dlk_request_remote_list.h"

// Not built yet: the request ends as an internal failure (4, 1000).
bool CDlkTransfer::transferGetList(CDlkRequestRemoteList *)
{
    return rejectRequest("transferGetList");
}
