// The transfer manager's configuration, start, stop and join, and the relay
// of worker notices. The manager thread's loop is in
// dlk_transfer_manager_loop.cpp.

#include "transfer/dlk_transfer_manager.h"

#include "core/clock.h"
#include "core/last_error.h"
#include "core/path_utils.h"
#include "core/system_ini.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_request_send.h"
#include "transfer/dlk_thread.h"
#include "transfer/dlk_transfer.h"
#include "transfer/transfer_status_xml.h"

#include <new>

namespace {

std::unique_ptr<IDlkTransferWorker> CreateTransferWorker(CSystemIni *settings, CSettingIni *options)
{
    return std::make_unique<CDlkTransfer>(settings, options);
}

} // namespace

CDlkTransferManager::CDlkTransferManager()
    : m_workerFactory(CreateTransferWorker)
{
}

CDlkTransferManager::~CDlkTransferManager()
{
    FinishTransfer();
}

bool CDlkTransferManager::EnableCallback(bool enable, DlkTransferCallback callback, void *context)
{
    if (!enable) {
        m_callback = nullptr;
        m_callbackContext = nullptr;
        return true;
    }
    if (!callback) {
        WriteSyslog(LOG_ERR_APP, "CDlkTransferManager::EnableCallback : Invalid Parameter : pcallbackfunc = NULL");
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    m_callback = callback;
    m_callbackContext = context;
    return true;
}

bool CDlkTransferManager::SetPcDlkFolder(const QString &baseFolder)
{
    m_baseFolder = baseFolder;
    return true;
}

bool CDlkTransferManager::SetPcDlkFolder(const CAppData &appData)
{
    m_playerFolderRoot = JoinPath(appData.GetDataFolder(), QStringLiteral("KDP-R40"));
    return true;
}

void CDlkTransferManager::SetContentFolder(int type, const QString &folder)
{
    const int slot = DlkContentFolderSlot(type);
    if (slot >= 0)
        m_contentFolders[slot] = folder;
}

void CDlkTransferManager::SetPlayerList(CHarlPlayerXml *players, const QString &playerFilePath)
{
    m_players = players;
    m_playerFilePath = playerFilePath;
}

void CDlkTransferManager::SetSystemSettings(CSystemIni *settings)
{
    m_settings = settings;
}

void CDlkTransferManager::SetSystemOptions(CSettingIni *options)
{
    m_options = options;
}

void CDlkTransferManager::SetStatusDocument(CTransferStatusXml *status)
{
    m_status = status;
}

void CDlkTransferManager::SetDisplayList(CQ9DisplayXml *displays)
{
    m_displays = displays;
}

void CDlkTransferManager::SetAppendSend(bool enable)
{
    m_append = enable;
}

void CDlkTransferManager::SetMultiSend(bool enable, quint32 sendNumber)
{
    m_multiSend = enable;
    m_sendNumber = sendNumber;
}

void CDlkTransferManager::SetTimeWindow(const SystemTime &start, const SystemTime &end)
{
    m_noSendStart = start;
    m_noSendEnd = end;
}

void CDlkTransferManager::SetPowerOn(bool retry, quint32 retryIntervalSeconds)
{
    m_retry = retry;
    m_retryInterval = retryIntervalSeconds;
}

void CDlkTransferManager::SetDelayedStart(bool enable)
{
    m_delayedStart = enable;
}

void CDlkTransferManager::SetWorkerFactory(DlkWorkerFactory factory)
{
    m_workerFactory = std::move(factory);
}

bool CDlkTransferManager::StartTransfer(const QList<qint32> &playerNumbers, CDlkRequestList *requests)
{
    // A thread that was not joined yet is never replaced.
    if (m_thread || !requests) {
        WriteSyslog(LOG_ERR_APP, "CDlkTransferManager::StartTransfer : Invalid Parameter : running = %d, preqlist = %d",
                    int(m_thread != nullptr), int(requests != nullptr));
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    m_stop = false;
    m_skip = false;
    m_skipState = 0;
    m_skipDetail = 0;
    m_resultDetail = 0;
    m_requests = requests;
    resetCounters();
    try {
        // A copy of its own, so the caller may change its list at once.
        m_playerNumbers = QList<qint32>(playerNumbers.cbegin(), playerNumbers.cend());
        if (m_delayedStart)
            m_startTime = delayedStartTime();
        m_thread = std::make_unique<CDlkThread>();
    } catch (const std::bad_alloc &) {
        WriteSyslog(LOG_ERR_WIN, "CDlkTransferManager::StartTransfer : Out Of Memory");
        SetLastError(ERROR_OUTOFMEMORY);
        return false;
    }
    if (!m_thread->Start([this] { runThread(); })) {
        WriteSyslog(LOG_ERR_WIN, "CDlkTransferManager::StartTransfer : Thread Start Error : GetLastError = %u",
                    GetLastError());
        m_thread.reset();
        return false;
    }
    return true;
}

SystemTime CDlkTransferManager::delayedStartTime() const
{
    const TimeValue time = m_settings ? m_settings->Settings().AutoSendStartTime : SystemSettings().AutoSendStartTime;
    const QDateTime now = Clock().now();
    QDateTime start(now.date(), QTime(time.hour, time.minute, time.second));
    if (now > start)
        start = start.addDays(1);
    return ToSystemTime(start);
}

void CDlkTransferManager::Stop()
{
    if (!m_thread)
        return;
    m_stop = true;
    wake();
}

bool CDlkTransferManager::FinishTransfer()
{
    if (!m_thread)
        return true;
    bool result = true;
    if (!m_thread->WaitFor(std::chrono::milliseconds(kFinishTimeoutMs))) {
        // The thread is not killed: the stop flag ends its loops, which stop
        // the workers; the manager waits until it has ended.
        WriteSyslog(LOG_ERR_APP, "CDlkTransferManager::FinishTransfer : Terminate Thread");
        m_stop = true;
        wake();
        m_thread->Join();
        m_resultState = DLK_STATE_INTERNAL;
        m_resultDetail = DLK_DETAIL_INTERNAL;
        result = false;
    } else {
        m_thread->Join();
        if (m_stop) {
            m_resultState = DLK_STATE_STOPPED;
            result = false;
        }
    }
    m_thread.reset();
    return result;
}

void CDlkTransferManager::resetCounters()
{
    m_position = 0;
    m_resultState = 0;
    m_beginCount = 0;
    m_progressSum = 0;
    m_event7Count = 0;
    m_failedCount = 0;
    for (int i = 0; i < m_requests->GetCount(); ++i) {
        CDlkRequest *request = m_requests->GetAt(i);
        if (request && request->GetKind() == DLK_REQUEST_SEND)
            static_cast<CDlkRequestSend *>(request)->ResetCalendarStatus();
    }
}

void CDlkTransferManager::notify(qint32 code, qint64 value)
{
    if (m_callback)
        m_callback(m_callbackContext, code, value);
}

void CDlkTransferManager::setDocumentState(qint32 state)
{
    if (m_status)
        m_status->SetTransferState(state);
}

qint32 CDlkTransferManager::onTransferNotify(void *context, quint16 kind, quint32 low, quint32 high)
{
    auto *manager = static_cast<CDlkTransferManager *>(context);
    switch (kind) {
    case DLK_NOTICE_UNIT_DONE:
        manager->notify(DLK_CODE_BEGIN_COUNT, ++manager->m_beginCount);
        break;
    case DLK_NOTICE_UNITS_ADDED:
        manager->notify(DLK_CODE_PROGRESS, manager->m_progressSum += qint32(low));
        break;
    case DLK_NOTICE_PLAYER:
        manager->notify(DLK_CODE_PLAYER, qint64((quint64(high) << 32) | low));
        break;
    case DLK_NOTICE_EVENT7:
        manager->notify(DLK_CODE_EVENT7_COUNT, ++manager->m_event7Count);
        break;
    default:
        // Byte counts and the end notice: the manager learns a job's end from
        // the worker's running flag.
        break;
    }
    return 0;
}

CDlkTransferManager &GetTransferManager()
{
    static CDlkTransferManager manager;
    return manager;
}
