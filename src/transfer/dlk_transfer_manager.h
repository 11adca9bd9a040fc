#pragma once
// The transfer manager: carries out one transfer job for a list of players on
// a thread of its own. It starts one worker per player, never more than
// MaxSession at once, collects each worker's outcome into the transfer status
// document, retries passes that left failed players, holds the job back
// during the daily no-send period and until an optional start time, and
// reports every step through one callback. The callback runs on the manager
// thread and on worker threads, so it must only post.

#include "core/win_types.h"
#include "transfer/dlk_transfer_worker.h"

#include <QList>
#include <QString>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

class CAppData;
class CDlkThread;
struct PlayerRecord;

// Callback of the manager: (context, code 2 to 10, value).
using DlkTransferCallback = void (*)(void *context, qint32 code, qint64 value);

// Codes of the manager's callback.
enum DlkTransferCode : qint32 {
    DLK_CODE_BEGIN_COUNT = 2,    // a worker finished a unit of work: the pass's count
    DLK_CODE_PLAYER = 3,         // the player index whose state changed; -1 before a retry pass
    DLK_CODE_NO_SEND_WAIT = 4,   // seconds left of the no-send period; 0 when the pass may begin
    DLK_CODE_PROGRESS = 5,       // units of work expected in the pass
    DLK_CODE_END = 6,            // last of all: 1 when the transfer succeeded, else 0
    DLK_CODE_PASS_FAILED = 7,    // a pass did not succeed: the result state
    DLK_CODE_RETRY = 8,          // a retry pass begins
    DLK_CODE_EVENT7_COUNT = 9,
    DLK_CODE_START_WAIT = 10,    // waiting for the delayed start time, once a second
};

class CDlkTransferManager {
public:
    static constexpr quint32 kFinishTimeoutMs = 60000;

    CDlkTransferManager();
    // Ends and joins a running transfer (FinishTransfer).
    ~CDlkTransferManager();
    CDlkTransferManager(const CDlkTransferManager &) = delete;
    CDlkTransferManager &operator=(const CDlkTransferManager &) = delete;

    // Configuration, on the user-interface thread before StartTransfer.
    bool EnableCallback(bool enable, DlkTransferCallback callback, void *context);
    // The base data folder.
    bool SetPcDlkFolder(const QString &baseFolder);
    // The folder under which each player gets its working folder
    // ("<data folder>/KDP-R40").
    bool SetPcDlkFolder(const CAppData &appData);
    void SetContentFolder(int type, const QString &folder);
    // The player list and its file; workers look players up and save the
    // list under the document's own lock.
    void SetPlayerList(CHarlPlayerXml *players, const QString &playerFilePath);
    void SetSystemSettings(CSystemIni *settings);
    void SetSystemOptions(CSettingIni *options);
    // May be null: every status write is then skipped.
    void SetStatusDocument(CTransferStatusXml *status);
    void SetDisplayList(CQ9DisplayXml *displays);
    void SetAppendSend(bool enable);
    void SetMultiSend(bool enable, quint32 sendNumber);
    // The daily no-send period (times of day only).
    void SetTimeWindow(const SystemTime &start, const SystemTime &end);
    // Retry passes after failures, the wait before each, and the workers'
    // permission to wake players.
    void SetPowerOn(bool retry, quint32 retryIntervalSeconds);
    void SetDelayedStart(bool enable);
    // Makes the workers; CDlkTransfer unless a test puts in another.
    void SetWorkerFactory(DlkWorkerFactory factory);

    // Starts the manager thread for the players and requests. False when a
    // transfer thread still exists (FinishTransfer was not called), for a null
    // request list, or when the thread cannot start.
    bool StartTransfer(const QList<qint32> &playerNumbers, CDlkRequestList *requests);
    // From a successful StartTransfer until FinishTransfer.
    bool IsRunning() const { return m_thread != nullptr; }
    // Asks the manager thread to end; does not wait.
    void Stop();
    // Joins the manager thread; false when the transfer was stopped or did
    // not end in time.
    bool FinishTransfer();

    // The first failure of the transfer (9 when stopped) and its detail; 0
    // while all is well.
    qint32 GetResultState() const { return m_resultState; }
    qint32 GetResultDetail() const { return m_resultDetail; }

private:
    void runThread();
    void transferLoop();
    bool runWindowPhase();
    void runPass();
    bool waitRetry();
    bool waitSendTime();
    bool checkStartTransfer();
    // Null without memory.
    std::unique_ptr<IDlkTransferWorker> makeWorker();
    bool startWorker(IDlkTransferWorker &worker, qint32 number, int index, const PlayerRecord &record);
    // The started player's status: 2, no error, and one more retry when it
    // failed before.
    void markStarted(qint32 number, int index, qint32 previousState);
    bool checkEndTransfer();
    void reapWorker(size_t position);
    void stopAllTransfer();
    void setPlayerResult(qint32 number, qint32 state, qint32 detail, qint32 errorIndex);
    void rejectPlayer(qint32 number, int index);
    void resetCounters();
    bool checkStopRequest();
    void setStopped();
    // Sleeps until a worker ends, a stop is asked for, or the duration passes.
    void waitForEvent(std::chrono::milliseconds duration);
    // Ends such a sleep: a worker ended or a stop was asked for.
    void wake();
    // Index of the player in the player list (and a copy of its record), -1
    // when the list does not hold it; under the list's lock.
    int copyPlayer(qint32 number, PlayerRecord &record);
    int findPlayerIndex(qint32 number);
    void notify(qint32 code, qint64 value);
    void setDocumentState(qint32 state);
    SystemTime delayedStartTime() const;
    int maxSession() const;

    static qint32 onTransferNotify(void *context, quint16 kind, quint32 low, quint32 high);

    int m_position = 0;
    std::unique_ptr<CDlkThread> m_thread;
    QList<qint32> m_playerNumbers;
    CDlkRequestList *m_requests = nullptr;
    std::vector<std::unique_ptr<IDlkTransferWorker>> m_workers;
    std::vector<qint32> m_workerNumbers;
    std::atomic<qint32> m_beginCount{0};
    std::atomic<qint32> m_event7Count{0};
    std::atomic<qint32> m_progressSum{0};
    std::atomic<bool> m_stop{false};
    std::mutex m_wakeMutex;
    std::condition_variable m_wakeCondition;
    bool m_woken = false; // under m_wakeMutex: a wake came since the last sleep
    bool m_skip = false;
    qint32 m_failedCount = 0;
    qint32 m_resultState = 0;
    qint32 m_resultDetail = 0;
    // The first disk-full outcome of the transfer: a later pass that skips
    // those players must not end as complete.
    qint32 m_skipState = 0;
    qint32 m_skipDetail = 0;

    CHarlPlayerXml *m_players = nullptr;
    QString m_playerFilePath;
    CSystemIni *m_settings = nullptr;
    CTransferStatusXml *m_status = nullptr;
    CSettingIni *m_options = nullptr;
    QString m_baseFolder;
    QString m_playerFolderRoot;
    CQ9DisplayXml *m_displays = nullptr;
    DlkTransferCallback m_callback = nullptr;
    void *m_callbackContext = nullptr;
    bool m_append = false;
    bool m_retry = false;
    quint32 m_retryInterval = 0;
    bool m_multiSend = false;
    quint32 m_sendNumber = 0;
    bool m_delayedStart = false;
    SystemTime m_startTime;
    SystemTime m_noSendStart;
    SystemTime m_noSendEnd;
    std::array<QString, kDlkContentFolderCount> m_contentFolders;
    DlkWorkerFactory m_workerFactory;
};

// The program's one transfer manager.
CDlkTransferManager &GetTransferManager();
