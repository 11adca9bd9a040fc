// Request kind 2: the player's setup file, sent and loaded.

#include "transfer/dlk_transfer.h"

#include "player/dlk_request_config.h"

// Not built yet: the request ends as an internal failure (4, 1000).
bool CDlkTransfer::transferConfig(CDlkRequestConfig *)
{
    return rejectRequest("transferConfig");
}
