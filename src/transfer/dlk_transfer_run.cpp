// One job of the worker on its thread: ping (and Wake-on-LAN), HTTP open,
// the request loop dispatching each request to the handler of its kind, close
// and the end notice.

#include "transfer/dlk_transfer.h"

#include "core/clock.h"
#include "core/last_error.h"
#include "core/system_ini.h"
#include "core/syslog.h"
#include "player/dlk_request_command.h"
#include "player/dlk_request_config.h"
#include "player/dlk_request_log.h"
#include "player/dlk_request_remote_list.h"
#include "player/dlk_request_status.h"
#include "player/dlk_request_update.h"
#include "player/wake_on_lan.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_request_send.h"

#include <QStringList>

#include <new>

namespace {

// The six bytes of a MAC text such as "00-1B-2C-3D-4E-F5": at most six parts
// split at "-", each read as a hexadecimal byte; an empty part ends the split.
// Bytes that a shorter text leaves unread are 0.
void ParseMacAddress(const QString &text, quint8 (&mac)[6])
{
    std::fill(std::begin(mac), std::end(mac), quint8(0));
    const QStringList parts = text.split(QLatin1Char('-'));
    for (int i = 0; i < parts.size() && i < 6; ++i) {
        const QString part = parts[i].trimmed();
        if (part.isEmpty())
            break;
        mac[i] = quint8(part.toUInt(nullptr, 16));
    }
}

} // namespace

void CDlkTransfer::threadProc()
{
    try {
        transfer();
    } catch (const std::exception &error) {
        // Nothing may escape a worker thread; the job ends as an internal failure.
        WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::transfer : Exception : %s", qUtf8Printable(m_name), error.what());
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        notifyOwner(DLK_NOTICE_JOB_END, 0, 0);
    }
    m_running = false;
    if (m_endSignal)
        m_endSignal();
}

void CDlkTransfer::transfer()
{
    if (!checkPlayerAnswers() || !openHttp())
        return;
    bool result = false;
    try {
        result = runRequests();
    } catch (const std::bad_alloc &) {
        WriteSyslog(LOG_ERR_WIN, "CDlkTransfer::transfer : Out Of Memory");
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        setPlayerRecordStatus(PLAYER_STATUS_ERROR, qint32(m_lastDetail));
    }
    closeHttp(result);
}

bool CDlkTransfer::checkPlayerAnswers()
{
    std::unique_ptr<IDlkPing> ping = m_pingFactory ? m_pingFactory() : nullptr;
    if (!ping || !ping->Open()) {
        WriteSyslog(LOG_ERR_WIN, "[%s] : R40 Ping Init Error : GetLastError = %u", qUtf8Printable(m_name),
                    GetLastError());
        endOnTheWay(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    const bool answered = ping->Ping(m_address, kPingTimeoutMs);
    ping->Close();
    if (answered)
        return true;

    WriteSyslog(LOG_ERR_WIN, "[%s] : R40 Not Found : Address = %s", qUtf8Printable(m_name),
                qUtf8Printable(m_address));
    if (powerOnAllowed() && !wakePlayer()) {
        endOnTheWay(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    // The job does not wait for a woken player to come up.
    endOnTheWay(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_NOT_FOUND);
    return false;
}

bool CDlkTransfer::powerOnAllowed() const
{
    return m_powerOn && m_settings && m_settings->Settings().RemotePowerOn;
}

bool CDlkTransfer::wakePlayer()
{
    PlayerRecord record;
    if (!getPlayerRecord(record))
        return false;
    if (record.MacAddress.isEmpty())
        return true;
    quint8 mac[6];
    ParseMacAddress(record.MacAddress, mac);
    CWakeOnLan sender;
    if (sender.SendMagicPacket(mac))
        WriteSyslog(LOG_DEBUG, "[%s] : Power ON Request : Address = %s", qUtf8Printable(m_name),
                    qUtf8Printable(m_address));
    else
        WriteSyslog(LOG_ERR_WIN, "[%s] : Power control failed(%d) : Address = %s", qUtf8Printable(m_name),
                    sender.GetError(), qUtf8Printable(m_address));
    return true;
}

bool CDlkTransfer::openHttp()
{
    R40HttpParam param;
    param.mask = R40_PARAM_PORT | R40_PARAM_WORK_FOLDER;
    param.port = m_port;
    param.workFolder = m_playerFolder;
    if (!m_http.SetParameter(param)) {
        WriteSyslog(LOG_ERR_APP, "[%s] : R40 HTTP Open Error : Config Error", qUtf8Printable(m_name));
        endOnTheWay(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    if (!m_http.Init()) {
        WriteSyslog(LOG_ERR_APP, "[%s] : R40 HTTP Open Error", qUtf8Printable(m_name));
        endOnTheWay(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    if (!m_http.Connect(m_address, m_user, m_password)) {
        m_http.Close();
        WriteSyslog(LOG_ERR_APP, "[%s] : R40 HTTP Open Error", qUtf8Printable(m_name));
        endOnTheWay(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    WriteSyslog(LOG_NOTICE, "[%s] : R40 HTTP Open OK", qUtf8Printable(m_name));
    return true;
}

bool CDlkTransfer::runRequests()
{
    for (int i = 0; i < m_requests->GetCount(); ++i) {
        if (checkStopRequest())
            return false;
        CDlkRequest *request = m_requests->GetAt(i);
        if (!request) {
            WriteSyslog(LOG_ERR_APP, "[%s] : CDlkRequestItem Get Error", qUtf8Printable(m_name));
            setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
            setPlayerRecordStatus(PLAYER_STATUS_ERROR, qint32(m_lastDetail));
            return false;
        }
        // A failed handler has set its own pair; the loop adds none.
        if (!runRequest(request))
            return false;
        Clock().sleepFor(std::chrono::milliseconds(1));
    }
    return true;
}

bool CDlkTransfer::runRequest(CDlkRequest *request)
{
    switch (request->GetKind()) {
    case DLK_REQUEST_COMMAND:
        if (auto *command = dynamic_cast<CDlkRequestCommand *>(request))
            return transferCommand(command);
        break;
    case DLK_REQUEST_CONFIG:
        if (auto *config = dynamic_cast<CDlkRequestConfig *>(request))
            return transferConfig(config);
        break;
    case DLK_REQUEST_REMOTE_LIST:
        if (auto *list = dynamic_cast<CDlkRequestRemoteList *>(request))
            return transferGetList(list);
        break;
    case DLK_REQUEST_LOG:
        if (auto *log = dynamic_cast<CDlkRequestLog *>(request))
            return transferGetLog(log);
        break;
    case DLK_REQUEST_SEND:
        if (auto *send = dynamic_cast<CDlkRequestSend *>(request))
            return transferRegist(send);
        break;
    case DLK_REQUEST_UPDATE:
        if (auto *update = dynamic_cast<CDlkRequestUpdate *>(request))
            return transferUpdate(update);
        break;
    case DLK_REQUEST_STATUS:
        if (auto *status = dynamic_cast<CDlkRequestStatus *>(request))
            return transferGetStatus(status);
        break;
    default:
        break;
    }
    WriteSyslog(LOG_ERR_APP, "[%s] : CDlkRequestItem Type Invalid(Type = %d)", qUtf8Printable(m_name),
                request->GetKind());
    setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
    return false;
}

void CDlkTransfer::closeHttp(bool result)
{
    m_http.Close();
    WriteSyslog(LOG_NOTICE, "[%s] : R40 HTTP Close", qUtf8Printable(m_name));
    if (result)
        setTransferState(DLK_STATE_DONE, DLK_DETAIL_NONE);
    notifyOwner(DLK_NOTICE_JOB_END, result ? 1 : 0, 0);
}

void CDlkTransfer::endOnTheWay(quint32 state, quint32 detail)
{
    setTransferState(state, detail);
    setPlayerRecordStatus(PLAYER_STATUS_ERROR, qint32(m_lastDetail));
    notifyOwner(DLK_NOTICE_JOB_END, 0, 0);
}
