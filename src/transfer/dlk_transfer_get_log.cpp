// Request kind 4: the player's log downloaded into a folder of the player's
// name below the request's folder.

#include "transfer/dlk_transfer.h"

#include "core/path_utils.h"
#include "core/syslog.h"
#include "model/path_safety.h"
#include "player/dlk_request_log.h"
#include "player/nlog_command.h"

namespace {

// A log file can be large and the player packs it first: the download may
// stall for minutes.
constexpr quint32 kLogTransferTimeoutMs = 300000;

// Puts the client's transfer time-out back when the download is over,
// whatever its outcome.
class TransferTimeoutOverride {
public:
    TransferTimeoutOverride(CR40Http &http, quint32 timeoutMs)
        : m_http(http)
        , m_previous(http.GetParameter().transferTimeout)
    {
        set(timeoutMs);
    }
    ~TransferTimeoutOverride() { set(m_previous); }
    TransferTimeoutOverride(const TransferTimeoutOverride &) = delete;
    TransferTimeoutOverride &operator=(const TransferTimeoutOverride &) = delete;

private:
    void set(quint32 timeoutMs)
    {
        R40HttpParam param;
        param.mask = R40_PARAM_TRANSFER_TIMEOUT;
        param.transferTimeout = timeoutMs;
        m_http.SetParameter(param);
    }

    CR40Http &m_http;
    quint32 m_previous;
};

} // namespace

bool CDlkTransfer::transferGetLog(CDlkRequestLog *request)
{
    const QByteArray name = m_name.toUtf8();
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Get Log(syslog)", name.constData());
    // The player's name becomes a folder: only as one plain path component.
    if (!IsSafePathComponent(m_name)) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::transferGetLog : Invalid Player Name", name.constData());
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    CNlogCommand command;
    if (!commandBuilt(command.MakeRequest(JoinPath(request->GetFolder(), m_name)), command))
        return false;
    bool sent = false;
    {
        TransferTimeoutOverride timeout(m_http, kLogTransferTimeoutMs);
        sent = m_http.SendCommand(&command);
    }
    if (!sent) {
        setCommandError();
        return false;
    }
    // The reply was read under the long time-out; only its status is left.
    if (!checkReplyStatus(command))
        return false;
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Get Log(syslog) OK", name.constData());
    return true;
}
