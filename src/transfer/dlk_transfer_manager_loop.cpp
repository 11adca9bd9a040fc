// The manager thread: the no-send and delayed-start wait, passes that start at
// most MaxSession workers and reap the finished ones, and the retry wait
// between passes.

#include "transfer/dlk_transfer_manager.h"

#include "core/clock.h"
#include "core/path_utils.h"
#include "core/setting_ini.h"
#include "core/syslog.h"
#include "core/time_utils.h"
#include "model/harl_player_xml.h"
#include "model/path_safety.h"
#include "model/q9_display_xml.h"
#include "player/r40_http.h"
#include "transfer/dlk_request_list.h"
#include "transfer/transfer_status_xml.h"

#include <algorithm>
#include <new>

namespace {

// The manager sleeps until a worker ends or a stop is asked for; it also
// looks at its workers this often, for workers that cannot signal their end.
constexpr std::chrono::milliseconds kWorkerLookInterval(250);
constexpr std::chrono::milliseconds kWaitStep(1000);

TimeValue TimeOfDay(const SystemTime &time)
{
    return TimeValue{time.hour, time.minute, time.second, 0};
}

// Types in the order the workers are given their content folders.
constexpr int kContentFolderTypes[] = {1, 2, 5, 6, 4};

} // namespace

void CDlkTransferManager::runThread()
{
    try {
        transferLoop();
    } catch (const std::exception &error) {
        // Nothing may escape the thread: the transfer ends as an internal failure.
        WriteSyslog(LOG_ERR_APP, "CDlkTransferManager::transferLoop : Exception : %s", error.what());
        if (m_resultState == 0) {
            m_resultState = DLK_STATE_INTERNAL;
            m_resultDetail = DLK_DETAIL_INTERNAL;
        }
        stopAllTransfer();
        notify(DLK_CODE_END, 0);
    }
}

void CDlkTransferManager::transferLoop()
{
    setDocumentState(TRANSFER_STATE_RUNNING);
    for (;;) {
        if (!runWindowPhase())
            return;
        runPass();
        // Players skipped for a full disk did not receive the job: a pass
        // that otherwise succeeded reports their outcome.
        if (m_resultState == 0 && m_skip) {
            m_resultState = m_skipState;
            m_resultDetail = m_skipDetail;
        }
        if (m_resultState == 0) {
            setDocumentState(TRANSFER_STATE_COMPLETE);
            notify(DLK_CODE_END, 1);
            return;
        }
        stopAllTransfer();
        notify(DLK_CODE_PASS_FAILED, m_resultState);
        if (m_resultState == DLK_STATE_STOPPED || m_failedCount < 1 || !m_retry)
            break;
        setDocumentState(TRANSFER_STATE_RETRY_WAIT);
        if (!waitRetry()) {
            notify(DLK_CODE_END, 0);
            return;
        }
        // The skip flag stays: players that ended with a full disk are not
        // sent again in this transfer.
        resetCounters();
        setDocumentState(TRANSFER_STATE_RUNNING);
        notify(DLK_CODE_PLAYER, -1);
        notify(DLK_CODE_RETRY, 0);
    }
    if (!m_stop)
        setDocumentState(TRANSFER_STATE_ENDED_ERRORS);
    notify(DLK_CODE_END, 0);
}

bool CDlkTransferManager::runWindowPhase()
{
    for (;;) {
        if (m_stop) {
            setStopped();
            stopAllTransfer();
            notify(DLK_CODE_END, 0);
            return false;
        }
        if (!waitSendTime())
            return true;
    }
}

void CDlkTransferManager::runPass()
{
    while (!m_stop) {
        // Ended workers are reaped before the free sessions are filled: a
        // session freed by a reap would otherwise wait for the next wake.
        checkEndTransfer();
        if (!checkStartTransfer())
            return;
        if (m_position >= m_playerNumbers.size() && m_workers.empty())
            return;
        waitForEvent(kWorkerLookInterval);
    }
    setStopped();
}

bool CDlkTransferManager::waitRetry()
{
    qint64 start = Clock().nowUtc().toMSecsSinceEpoch();
    if (checkStopRequest())
        return false;
    const qint64 interval = qint64(m_retryInterval) * 1000;
    for (;;) {
        const qint64 now = Clock().nowUtc().toMSecsSinceEpoch();
        // A clock set back restarts the wait rather than stretching it.
        if (now < start)
            start = now;
        if (now - start > interval)
            return true;
        // Steps of at most a second, so a clock set back is noticed.
        waitForEvent(std::min(kWaitStep, std::chrono::milliseconds(interval - (now - start) + 1)));
        if (checkStopRequest())
            return false;
    }
}

bool CDlkTransferManager::waitSendTime()
{
    const SystemTime now = GetLocalTime();
    int secondsLeft = 0;
    if (IsInTimeRange(TimeOfDay(m_noSendStart), TimeOfDay(m_noSendEnd), &secondsLeft, &now)) {
        if (secondsLeft != 0)
            notify(DLK_CODE_NO_SEND_WAIT, secondsLeft);
        setDocumentState(TRANSFER_STATE_NO_SEND_WAIT);
        waitForEvent(kWaitStep);
        return true;
    }
    if (m_delayedStart && CompareSystemTime(now, m_startTime) < 0) {
        notify(DLK_CODE_START_WAIT, 0);
        setDocumentState(TRANSFER_STATE_START_WAIT);
        waitForEvent(kWaitStep);
        return true;
    }
    notify(DLK_CODE_NO_SEND_WAIT, 0);
    setDocumentState(TRANSFER_STATE_RUNNING);
    return false;
}

bool CDlkTransferManager::checkStartTransfer()
{
    while (int(m_workers.size()) < maxSession() && m_position < m_playerNumbers.size()) {
        if (m_stop) {
            setStopped();
            return false;
        }
        const qint32 number = m_playerNumbers[m_position];
        PlayerRecord record;
        const int index = copyPlayer(number, record);
        if (index < 0) {
            WriteSyslog(LOG_ERR_APP, "CDlkTransferManager::checkStartTransfer : Player Index Get Error : "
                                     "Player Number = %d", number);
            setPlayerResult(number, DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL, -1);
            return false;
        }
        const qint32 previous = m_status ? m_status->GetSendStatus(number) : 0;
        if (m_skip && (previous == DLK_STATE_DISK_FULL || previous == DLK_STATE_AV_DISK_FULL)) {
            ++m_position;
            continue;
        }
        if (!IsSafePathComponent(record.Name)) {
            rejectPlayer(number, index);
            ++m_position;
            continue;
        }
        std::unique_ptr<IDlkTransferWorker> worker = makeWorker();
        if (!worker) {
            WriteSyslog(LOG_ERR_WIN, "CDlkTransferManager::checkStartTransfer : Out Of Memory");
            setPlayerResult(number, DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL, -1);
            return false;
        }
        if (!startWorker(*worker, number, index, record)) {
            // A worker that failed without a failure state of its own (no
            // player folder root) ends as an internal failure.
            const bool ownFailure = worker->GetState() >= quint32(DLK_STATE_INTERNAL);
            setPlayerResult(number, ownFailure ? qint32(worker->GetState()) : DLK_STATE_INTERNAL,
                            ownFailure ? qint32(worker->GetDetail()) : DLK_DETAIL_INTERNAL, -1);
            return false;
        }
        m_workers.push_back(std::move(worker));
        m_workerNumbers.push_back(number);
        markStarted(number, index, previous);
        ++m_position;
    }
    return true;
}

std::unique_ptr<IDlkTransferWorker> CDlkTransferManager::makeWorker()
{
    try {
        return m_workerFactory ? m_workerFactory(m_settings, m_options) : nullptr;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

void CDlkTransferManager::markStarted(qint32 number, int index, qint32 previousState)
{
    if (!m_status)
        return;
    if (previousState > DLK_STATE_DONE)
        m_status->SetSendRetryCount(number, m_status->GetSendRetryCount(number) + 1);
    m_status->SetSendStatus(number, DLK_STATE_LIST_MADE);
    m_status->SetErrorCode(number, 0);
    m_status->SetErrorIndex(number, -1);
    notify(DLK_CODE_PLAYER, index);
}

int CDlkTransferManager::copyPlayer(qint32 number, PlayerRecord &record)
{
    if (!m_players)
        return -1;
    const std::optional<PlayerRecord> stored = m_players->CopyPlayer(number);
    if (!stored)
        return -1;
    record = *stored;
    return m_players->FindPlayer(number);
}

int CDlkTransferManager::findPlayerIndex(qint32 number)
{
    if (!m_players)
        return -1;
    return m_players->FindPlayer(number);
}

void CDlkTransferManager::rejectPlayer(qint32 number, int index)
{
    // A name that is not one plain path component never becomes a folder.
    WriteSyslog(LOG_ERR_APP, "CDlkTransferManager::checkStartTransfer : Invalid Player Name : Player Number = %d",
                number);
    ++m_failedCount;
    setPlayerResult(number, DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL, -1);
    notify(DLK_CODE_PLAYER, index);
}

bool CDlkTransferManager::startWorker(IDlkTransferWorker &worker, qint32 number, int index,
                                      const PlayerRecord &record)
{
    if (m_playerFolderRoot.isEmpty()) {
        // Player folders are only ever made below the data folder.
        WriteSyslog(LOG_ERR_APP, "CDlkTransferManager::checkStartTransfer : Player Folder Not Set");
        return false;
    }
    worker.SetMultiSend(m_multiSend, m_sendNumber);
    if (!worker.SetDlkName(record.Name) || !worker.SetPcFolder(m_baseFolder, JoinPath(m_playerFolderRoot, record.Name)))
        return false;
    for (int type : kContentFolderTypes)
        worker.SetContentFolder(type, m_contentFolders[DlkContentFolderSlot(type)]);
    if (m_retry)
        worker.SetPowerOn(true);
    worker.SetStatusDocument(m_status, number);
    worker.SetPlayerTable(m_players, m_playerFilePath);
    worker.SetDisplayLinkValues(m_displays, m_displays ? &m_displays->GetLock() : nullptr);
    if (!worker.EnableCallback(true, &CDlkTransferManager::onTransferNotify, this))
        return false;
    worker.SetEndSignal([this] { wake(); });
    if (m_status)
        m_status->SetSendFileCount(number, 0);
    worker.SetAppendSend(m_append);
    const int defaultPort = m_options ? m_options->Options().HttpPort : kR40DefaultPort;
    const int port = record.Port > 0 && record.Port <= 0xFFFF ? record.Port : defaultPort;
    // A record without a password uses the default credential.
    const QString password = record.Pass.isEmpty() ? DefaultPlayerUser() : record.Pass;
    return worker.StartTransfer(record.IPAddress, DefaultPlayerUser(), password, quint16(port), 0, m_requests, index);
}

bool CDlkTransferManager::checkEndTransfer()
{
    for (size_t i = 0; i < m_workers.size();) {
        if (m_workers[i]->IsRunning())
            ++i;
        else
            reapWorker(i);
    }
    return true;
}

void CDlkTransferManager::reapWorker(size_t position)
{
    IDlkTransferWorker &worker = *m_workers[position];
    const qint32 number = m_workerNumbers[position];
    worker.FinishTransfer();
    const int index = findPlayerIndex(number);
    qint32 state = qint32(worker.GetState());
    qint32 detail = qint32(worker.GetDetail());
    const qint32 errorIndex = worker.GetErrorIndex();
    m_workers.erase(m_workers.begin() + qsizetype(position));
    m_workerNumbers.erase(m_workerNumbers.begin() + qsizetype(position));

    if (state == DLK_STATE_DISK_FULL || state == DLK_STATE_AV_DISK_FULL) {
        m_skip = true;
        if (m_skipState == 0) {
            m_skipState = state;
            m_skipDetail = detail;
        }
    } else if (state != DLK_STATE_DONE) {
        // A worker that stopped before any final state did not finish.
        if (state < DLK_STATE_DONE) {
            state = DLK_STATE_INTERNAL;
            detail = DLK_DETAIL_INTERNAL;
        }
        ++m_failedCount;
    }
    setPlayerResult(number, state, detail, errorIndex);
    notify(DLK_CODE_PLAYER, index);
}

void CDlkTransferManager::stopAllTransfer()
{
    // Every worker is asked first, so their aborts run side by side.
    for (const auto &worker : m_workers)
        worker->Stop();
    while (!m_workers.empty()) {
        const qint32 number = m_workerNumbers.front();
        m_workers.front()->FinishTransfer();
        if (m_status) {
            m_status->SetSendStatus(number, DLK_STATE_STOPPED);
            m_status->SetErrorCode(number, 0);
            m_status->SetErrorIndex(number, -1);
        }
        notify(DLK_CODE_PLAYER, findPlayerIndex(number));
        m_workers.erase(m_workers.begin());
        m_workerNumbers.erase(m_workerNumbers.begin());
    }
}

void CDlkTransferManager::setPlayerResult(qint32 number, qint32 state, qint32 detail, qint32 errorIndex)
{
    // The detail is kept with the first failure state, so the pair read after
    // the transfer belongs together.
    if (IsFailedTransferState(state) && m_resultState == 0) {
        m_resultState = state;
        m_resultDetail = detail;
    }
    if (!m_status)
        return;
    if (state == DLK_STATE_DONE)
        m_status->SetSendLastDateTime(number, GetLocalTime());
    m_status->SetSendStatus(number, state);
    m_status->SetErrorCode(number, detail);
    m_status->SetErrorIndex(number, errorIndex);
}

void CDlkTransferManager::waitForEvent(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_wakeMutex);
    Clock().waitFor(m_wakeCondition, lock, duration, [this] { return m_woken || m_stop; });
    m_woken = false;
}

void CDlkTransferManager::wake()
{
    {
        std::lock_guard lock(m_wakeMutex);
        m_woken = true;
    }
    m_wakeCondition.notify_all();
}

bool CDlkTransferManager::checkStopRequest()
{
    if (!m_stop)
        return false;
    setStopped();
    return true;
}

void CDlkTransferManager::setStopped()
{
    m_resultState = DLK_STATE_STOPPED;
    setDocumentState(TRANSFER_STATE_STOPPED);
}

int CDlkTransferManager::maxSession() const
{
    const int limit = m_options ? m_options->Options().MaxSession : SystemOptions().MaxSession;
    return std::max(1, limit);
}
