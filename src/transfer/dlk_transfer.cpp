// The worker's configuration, thread lifetime, state and notices, and its
// access to the player table and the transfer status document. The job itself
// is in dlk_transfer_run.cpp, the outcome codes in dlk_transfer_outcome.cpp.

#include "transfer/dlk_transfer.h"

#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "model/harl_player_xml.h"
#include "transfer/dlk_request_list.h"
#include "transfer/send_file_attribute.h"
#include "transfer/transfer_status_xml.h"

#include <algorithm>
#include <new>

CDlkTransfer::CDlkTransfer(CSystemIni *settings, CSettingIni *options)
    : m_settings(settings)
    , m_options(options)
    , m_pingFactory(CreateIcmpPing)
{
    m_http.EnableCallback(true, &CDlkTransfer::onHttpProgress, this);
}

CDlkTransfer::~CDlkTransfer()
{
    FinishTransfer();
}

bool CDlkTransfer::EnableCallback(bool enable, DlkTransferNotify callback, void *context)
{
    if (!enable) {
        m_callback = nullptr;
        m_callbackContext = nullptr;
        return true;
    }
    if (!callback) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::EnableCallback : Invalid Parameter : pcallbackfunc = NULL",
                    qUtf8Printable(m_name));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    m_callback = callback;
    m_callbackContext = context;
    return true;
}

void CDlkTransfer::SetMultiSend(bool enable, quint32 sendNumber)
{
    m_multiSend = enable;
    m_sendNumber = sendNumber;
}

bool CDlkTransfer::SetDlkName(const QString &name)
{
    if (name.isNull()) {
        WriteSyslog(LOG_ERR_WIN, "CDlkTransfer::SetDlkName : Invalid Parameter : pdlkname = NULL");
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    m_name = name;
    return true;
}

bool CDlkTransfer::SetPcFolder(const QString &baseFolder, const QString &playerFolder)
{
    if (CreateFolderPath(playerFolder) < 0 && GetLastError() != ERROR_ALREADY_EXISTS) {
        WriteSyslog(LOG_ERR_WIN, "[%s] : Directory Create Error : GetLastError = %u", qUtf8Printable(m_name),
                    GetLastError());
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    m_baseFolder = baseFolder;
    m_playerFolder = WithoutTrailingSeparator(playerFolder);
    return true;
}

void CDlkTransfer::SetContentFolder(int type, const QString &folder)
{
    const int slot = DlkContentFolderSlot(type);
    if (slot >= 0)
        m_contentFolders[slot] = folder;
}

bool CDlkTransfer::GetContentFolder(int type, QString &folder) const
{
    const int slot = DlkContentFolderSlot(type);
    if (slot < 0)
        return false;
    folder = m_contentFolders[slot];
    return true;
}

void CDlkTransfer::SetPowerOn(bool enable)
{
    m_powerOn = enable;
}

void CDlkTransfer::SetStatusDocument(CTransferStatusXml *status, qint32 playerNumber)
{
    m_status = status;
    m_playerNumber = playerNumber;
}

void CDlkTransfer::SetPlayerTable(CHarlPlayerXml *players, const QString &playerFilePath)
{
    m_players = players;
    m_playerFilePath = playerFilePath;
}

void CDlkTransfer::SetDisplayLinkValues(CQ9DisplayXml *displays, std::mutex *lock)
{
    m_displays = displays;
    m_displayLock = lock;
}

void CDlkTransfer::SetAppendSend(bool enable)
{
    m_append = enable;
}

void CDlkTransfer::SetPingFactory(DlkPingFactory factory)
{
    m_pingFactory = std::move(factory);
}

bool CDlkTransfer::StartTransfer(const QString &address, const QString &user, const QString &password, quint16 port,
                                 quint32 /*reserved*/, CDlkRequestList *requests, int playerIndex)
{
    if (address.isEmpty() || user.isEmpty() || !requests || m_thread) {
        WriteSyslog(LOG_ERR_APP,
                    "CDlkTransfer::StartTransfer : Invalid Parameter : paddress = %d, puser = %d, ppass = %d, "
                    "preqlist = %d",
                    int(!address.isEmpty()), int(!user.isEmpty()), int(!password.isNull()), int(requests != nullptr));
        SetLastError(ERROR_INVALID_PARAMETER);
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    try {
        resetRunState();
        m_address = address;
        m_user = user;
        m_password = password;
        m_port = port;
        m_requests = requests;
        m_playerIndex = playerIndex;
        m_errorIndexSource = -1;

        m_thread = std::make_unique<CDlkThread>();
        if (!m_thread->Start([this] { threadProc(); })) {
            WriteSyslog(LOG_ERR_WIN, "CDlkTransfer::StartTransfer : Thread Start Error : GetLastError = %u",
                        GetLastError());
            m_thread.reset();
            m_running = false;
            setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
            return false;
        }
    } catch (const std::bad_alloc &) {
        WriteSyslog(LOG_ERR_WIN, "CDlkTransfer::StartTransfer : Out Of Memory");
        m_thread.reset();
        m_running = false;
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    return true;
}

void CDlkTransfer::resetRunState()
{
    m_running = true;
    m_stop = false;
    m_calendarRefresh = false;
    m_bytesSent = 0;
    m_bytesReceived = 0;
}

void CDlkTransfer::Stop()
{
    if (!m_thread)
        return;
    m_stop = true;
    m_http.Abort();
}

bool CDlkTransfer::FinishTransfer()
{
    if (!m_thread)
        return true;
    bool result = true;
    if (!m_thread->WaitFor(std::chrono::milliseconds(kJoinTimeoutMs))) {
        // The thread is not killed: the stop flag and the HTTP abort end it,
        // and the worker stays alive until it has.
        WriteSyslog(LOG_ERR_APP, "CDlkTransfer::FinishTransfer : Terminate Thread");
        m_stop = true;
        m_http.Abort();
        m_thread->Join();
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        result = false;
    } else {
        m_thread->Join();
        if (m_stop) {
            setTransferState(DLK_STATE_STOPPED, DLK_DETAIL_NONE);
            result = false;
        }
    }
    m_thread.reset();
    return result;
}

void CDlkTransfer::setTransferState(quint32 state, quint32 detail)
{
    m_lastState = state;
    m_lastDetail = detail;
    m_lastErrorIndex = m_errorIndexSource;
    if (!m_status)
        return;
    m_status->SetSendStatus(m_playerNumber, qint32(state));
    m_status->SetErrorCode(m_playerNumber, qint32(detail));
    m_status->SetErrorIndex(m_playerNumber, m_lastErrorIndex);
}

qint32 CDlkTransfer::notifyOwner(quint16 kind, quint32 low, quint32 high)
{
    return m_callback ? m_callback(m_callbackContext, kind, low, high) : 0;
}

bool CDlkTransfer::checkStopRequest()
{
    if (!m_stop)
        return false;
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Transfer Stop", qUtf8Printable(m_name));
    setTransferState(DLK_STATE_STOPPED, DLK_DETAIL_NONE);
    return true;
}

bool CDlkTransfer::getPlayerRecord(PlayerRecord &record)
{
    if (const std::optional<PlayerRecord> stored = m_players ? m_players->CopyPlayer(m_playerNumber) : std::nullopt) {
        record = *stored;
        return true;
    }
    logPlayerNotFound("getPlayerRecord");
    return false;
}

void CDlkTransfer::logPlayerNotFound(const char *step) const
{
    WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::%s : Player Not Found : Player Number = %d", qUtf8Printable(m_name),
                step, m_playerNumber);
}

bool CDlkTransfer::updatePlayerRecord(const std::function<bool(PlayerRecord &)> &change)
{
    if (!m_players || !m_players->UpdatePlayer(m_playerNumber, change))
        return false;
    return m_playerFilePath.isEmpty() || m_players->Save(m_playerFilePath, m_playerNumber);
}

void CDlkTransfer::setPlayerRecordStatus(qint32 status, qint32 errorCode)
{
    updatePlayerRecord([status, errorCode](PlayerRecord &record) {
        if (record.Status != PLAYER_STATUS_PENDING)
            return false;
        record.Status = status;
        record.ErrCode = errorCode;
        return true;
    });
}

void CDlkTransfer::addSendFileCount(qint32 count)
{
    if (m_status)
        m_status->SetSendFileCount(m_playerNumber, m_status->GetSendFileCount(m_playerNumber) + count);
}

void CDlkTransfer::addSendFileTotal(qint32 count)
{
    if (m_status)
        m_status->SetSendFileTotal(m_playerNumber, m_status->GetSendFileTotal(m_playerNumber) + count);
}

void CDlkTransfer::setJobBytesTotal(quint64 total, quint64 held)
{
    m_jobBytesDone = held;
    m_jobBytesTotal = total;
    if (!m_status)
        return;
    // A job with nothing to send on a row that an earlier pass of this
    // operation finished (the operation starts every row at zero) keeps what
    // that pass delivered, registration files included.
    const quint64 shownTotal = m_status->GetContFileSize(m_playerNumber);
    if (m_jobBytesTotal == held && shownTotal > 0 && m_status->GetSendContFileSize(m_playerNumber) == shownTotal) {
        m_jobBytesDone = m_jobBytesTotal = shownTotal;
        return;
    }
    m_status->SetSendContFileSize(m_playerNumber, m_jobBytesDone);
    m_status->SetContFileSize(m_playerNumber, m_jobBytesTotal);
}

void CDlkTransfer::addSendContFileSize(quint64 size)
{
    if (!m_status || !m_contentSizeCounting)
        return;
    const quint64 sent = SaturatingAdd(m_status->GetSendContFileSize(m_playerNumber), size);
    m_status->SetSendContFileSize(m_playerNumber, sent);
    if (sent > m_jobBytesTotal) {
        m_jobBytesTotal = sent;
        m_status->SetContFileSize(m_playerNumber, sent);
    }
}

void CDlkTransfer::setSendContFileSize(quint64 size)
{
    m_jobBytesDone = SaturatingAdd(m_jobBytesDone, size);
    m_jobBytesTotal = std::max(m_jobBytesTotal, m_jobBytesDone);
    if (!m_status)
        return;
    m_status->SetSendContFileSize(m_playerNumber, m_jobBytesDone);
    m_status->SetContFileSize(m_playerNumber, m_jobBytesTotal);
}

void CDlkTransfer::setContFileSize(quint64 size)
{
    m_jobBytesTotal = std::max(m_jobBytesTotal, SaturatingAdd(m_jobBytesDone, size));
    if (!m_status)
        return;
    m_status->SetSendContFileSize(m_playerNumber, m_jobBytesDone);
    m_status->SetContFileSize(m_playerNumber, m_jobBytesTotal);
}

std::array<CContentsList *, 12> CDlkTransfer::workingLists()
{
    return {&m_movieList,   &m_imgList,      &m_telopList,    &m_webList,      &m_flashList,     &m_audioList,
            &m_controlList, &m_playlistList, &m_scheduleList, &m_calendarList, &m_streamingList, &m_pinPList};
}

void CDlkTransfer::clearLists()
{
    for (CContentsList *list : workingLists())
        list->RemoveAll();
}

void CDlkTransfer::onHttpProgress(void *context, int kind, quint64 amount)
{
    auto *worker = static_cast<CDlkTransfer *>(context);
    if (kind == R40_PROGRESS_SENT) {
        worker->m_bytesSent += amount;
        worker->addSendContFileSize(amount);
        worker->notifyOwner(DLK_NOTICE_BYTES_SENT, quint32(worker->m_bytesSent), quint32(worker->m_bytesSent >> 32));
    } else if (kind == R40_PROGRESS_RECEIVED) {
        worker->m_bytesReceived += amount;
        worker->notifyOwner(DLK_NOTICE_BYTES_RECEIVED, quint32(worker->m_bytesReceived),
                            quint32(worker->m_bytesReceived >> 32));
    }
}
