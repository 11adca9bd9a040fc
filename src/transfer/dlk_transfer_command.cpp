// Request kind 1: the player commands of a command list.

#include "transfer/dlk_transfer.h"

#include "player/dlk_request_command.h"

// Not built yet: the request ends as an internal failure (4, 1000).
bool CDlkTransfer::transferCommand(CDlkRequestCommand *)
{
    return rejectRequest("transferCommand");
}
