#pragma once
// What the transfer manager needs of one player's worker: its configuration
// in the order the manager hands it over, start, stop, join and the outcome.
// CDlkTransfer is the worker; the manager makes its workers through a factory
// so that a test can put in a worker that ends in a chosen state.

#include <QString>

#include <functional>
#include <memory>
#include <mutex>

class CDlkRequestList;
class CHarlPlayerXml;
class CQ9DisplayXml;
class CSettingIni;
class CSystemIni;
class CTransferStatusXml;

// Notices of a worker to its owner.
enum DlkNoticeKind : quint16 {
    DLK_NOTICE_BYTES_SENT = 1,     // value: bytes sent so far in this job
    DLK_NOTICE_BYTES_RECEIVED = 2, // value: bytes received so far in this job
    DLK_NOTICE_UNIT_DONE = 3,      // value 0: one unit of work is done
    DLK_NOTICE_UNITS_ADDED = 4,    // value n: n units join the expected total
    DLK_NOTICE_JOB_END = 5,        // value 1 or 0: the job ended, well or not
    DLK_NOTICE_PLAYER = 6,         // value: the player index, just before each kind 3
    DLK_NOTICE_EVENT7 = 7,         // counted and relayed by the manager
};

// Owner callback: (context, notice kind, value low 32 bits, value high 32 bits).
using DlkTransferNotify = qint32 (*)(void *context, quint16 kind, quint32 low, quint32 high);

// States of a worker (the pair's first half); details are listed with the
// code that sets them.
enum DlkTransferState : qint32 {
    DLK_STATE_NONE = 0,
    DLK_STATE_REGIST_BEGUN = 1,
    DLK_STATE_LIST_MADE = 2,
    DLK_STATE_DONE = 3,
    DLK_STATE_INTERNAL = 4,
    DLK_STATE_DISK_FULL = 5,
    DLK_STATE_AV_DISK_FULL = 6,
    DLK_STATE_UPLOAD_FAILED = 7,
    DLK_STATE_COMMAND_FAILED = 8,
    DLK_STATE_STOPPED = 9,
};

// A state that ends a player's job in a failure (a stop is none).
constexpr bool IsFailedTransferState(qint32 state)
{
    return state >= DLK_STATE_INTERNAL && state <= DLK_STATE_COMMAND_FAILED;
}

enum DlkTransferDetail : qint32 {
    DLK_DETAIL_NONE = 0,
    DLK_DETAIL_INTERNAL = 1000,
    DLK_DETAIL_NOT_FOUND = 1001,     // no answer to the ping
    DLK_DETAIL_PASSWORD = 1003,      // HTTP 401 on a command
    DLK_DETAIL_SEND_ERROR = 1004,
    DLK_DETAIL_DISCONNECT = 1005,
    DLK_DETAIL_TIMEOUT = 1006,
    DLK_DETAIL_FILE_NOT_FOUND = 1020,
    DLK_DETAIL_FILE_IN_USE = 1021,
    DLK_DETAIL_CONFIG_FILE = 3000,   // the configuration file could not be made
    DLK_DETAIL_AV_DISK_FULL = 3001,
    DLK_DETAIL_DISK_FULL = 3002,
    DLK_DETAIL_PLAYER_CHANGED = 3003, // serial, time zone, resolution or summer time differ
    DLK_DETAIL_VERSION_CHANGED = 3004,
    DLK_DETAIL_FAN = 3005,
    DLK_DETAIL_TEMPERATURE = 3006,
};

// Slot of a content folder: types 1 (movie), 2 (still), 4 (web), 5 (Flash)
// and 6 (audio) have one; -1 for every other type.
constexpr int kDlkContentFolderCount = 5;
constexpr int DlkContentFolderSlot(int type)
{
    switch (type) {
    case 1: return 0;
    case 2: return 1;
    case 4: return 2;
    case 5: return 3;
    case 6: return 4;
    default: return -1;
    }
}

class IDlkTransferWorker {
public:
    virtual ~IDlkTransferWorker() = default;

    virtual bool EnableCallback(bool enable, DlkTransferNotify callback, void *context) = 0;
    virtual void SetMultiSend(bool enable, quint32 sendNumber) = 0;
    virtual bool SetDlkName(const QString &name) = 0;
    virtual bool SetPcFolder(const QString &baseFolder, const QString &playerFolder) = 0;
    virtual void SetContentFolder(int type, const QString &folder) = 0;
    virtual void SetPowerOn(bool enable) = 0;
    virtual void SetStatusDocument(CTransferStatusXml *status, qint32 playerNumber) = 0;
    virtual void SetPlayerTable(CHarlPlayerXml *players, const QString &playerFilePath) = 0;
    virtual void SetDisplayLinkValues(CQ9DisplayXml *displays, std::mutex *lock) = 0;
    virtual void SetAppendSend(bool enable) = 0;

    virtual bool StartTransfer(const QString &address, const QString &user, const QString &password, quint16 port,
                               quint32 reserved, CDlkRequestList *requests, int playerIndex) = 0;
    virtual void Stop() = 0;
    // Joins the thread; false when the job ended abnormally (stopped, or not
    // ended within the join time-out).
    virtual bool FinishTransfer() = 0;
    // True from a successful start until the job's thread procedure ends.
    virtual bool IsRunning() const = 0;
    // Called on the job's thread once IsRunning has turned false, so the owner
    // need not poll for the end. Set before StartTransfer. A worker that does
    // not call it is still found ended by the owner's periodic look.
    virtual void SetEndSignal(std::function<void()> signal) { Q_UNUSED(signal); }

    // The last (state, detail) pair and the error index set with it.
    virtual quint32 GetState() const = 0;
    virtual quint32 GetDetail() const = 0;
    virtual qint32 GetErrorIndex() const = 0;
};

// Makes one worker for the system settings and options; null without memory.
using DlkWorkerFactory = std::function<std::unique_ptr<IDlkTransferWorker>(CSystemIni *, CSettingIni *)>;
