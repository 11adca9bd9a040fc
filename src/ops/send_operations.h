#pragma once
// Transfers started by the main frame: the transfer modes, the start of a
// transfer in a mode (every player's status record reset, the manager set up
// from the settings and started), and the queues of a contents send and a
// schedule send with their calendar rows.

#include "core/system_ini.h"
#include "transfer/dlk_transfer_manager.h"

#include <QList>
#include <QString>

#include <memory>

class CContentsList;
class CContentsStore;
class CDlkRequestList;
class CPropertyBase;
class CSendInfoBuilder;
class CTransferStatusXml;
class QObject;

enum TransferMode : int {
    TRANSFER_MODE_PREVIEW = 0,
    TRANSFER_MODE_PREVIEW_STOP = 1,
    TRANSFER_MODE_PLAY = 2,
    TRANSFER_MODE_PLAY_STOP = 3,
    TRANSFER_MODE_CONTENTS_SEND = 4,
    TRANSFER_MODE_SCHEDULE_SEND = 5,
    TRANSFER_MODE_CONTENTS_DELETE = 6,
    TRANSFER_MODE_REMOTE_LIST = 7,
    TRANSFER_MODE_RECOVER_STILL = 8,
    TRANSFER_MODE_RECOVER_STILL_CANCEL = 9,
    TRANSFER_MODE_SCREEN_SAVER = 10,
    TRANSFER_MODE_SCREEN_SAVER_CANCEL = 11,
    TRANSFER_MODE_SCHEDULE_STOP = 12,
    TRANSFER_MODE_LOG_GET = 13,
    TRANSFER_MODE_UPDATE = 14,
    TRANSFER_MODE_STATUS_GET = 15,
    TRANSFER_MODE_REMOTE_PLAY = 16,
    TRANSFER_MODE_REMOTE_PLAY_STOP = 17,
};

// A copy of the record of a content index in a list, with its storage
// position; null (logged under the operation's name) when it is missing.
std::unique_ptr<CPropertyBase> CopyOut(const char *operation, CContentsList &list, int type, qint32 index,
                                       int &position);

// The log line of a mode's start ("R40 send." for modes without one).
const char *TransferModeLogText(int mode);
// Whether the player-side lists of the selected player are read again after
// a transfer of the mode.
bool ReloadsRemoteLists(int mode);

// The players' records cleared for a new transfer or command, with what an
// earlier status query learnt (version, disk space, clock), the check-file
// total set to count; when one is missing the document takes the whole
// player list first.
void ResetTransferStatus(CTransferStatusXml &status, const QList<qint32> &players, qint32 count);

// Sets the manager up for the mode (callback, status document, append,
// retries, delayed start, send number, no-send period) and starts it for the
// targets. Writes the mode's log line on success.
bool StartModeTransfer(CDlkTransferManager &manager, CTransferStatusXml *status, int mode,
                       const QList<qint32> &targets, CDlkRequestList &requests, const SystemSettings &settings,
                       DlkTransferCallback callback, void *context);

// Queues the contents of a type by index, each with the delete date. False at
// the first content that cannot be found or queued (logged).
bool QueueContents(CSendInfoBuilder &builder, CContentsStore &store, int type, const QList<qint32> &indexes,
                   const DateValue &deleteDate);

// Queues schedules of the current group with their calendar rows: each
// schedule keeps until its end date plus the keep period; two schedules
// whose calendar periods overlap are refused together (the builder's
// refusal message, the only one). False on the first failure.
bool QueueSchedules(CSendInfoBuilder &builder, CContentsStore &store, const QList<qint32> &indexes, int keepDays);

// The send status of every calendar row carried by the send requests is set
// in the list: status, or with a negative status 3 when the queued row ended
// at 3 and 4 otherwise. Returns how many rows were set.
int ApplyCalendarStatus(CContentsList &calendars, const CDlkRequestList &requests, int status);

// Saves the content lists that a prepared send changed, and the group's
// lists when a group is named. A failure is logged with the operation's name
// and told to the operator; the send must not start then, since what the
// players would hold differs from the stored lists.
bool SaveListsForSend(CContentsStore &store, const char *operation, const QString &group = QString());
