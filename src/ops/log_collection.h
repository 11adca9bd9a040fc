#pragma once
// The system logs saved for support: the application's data and logs, the
// logs fetched from the players into the log work folder, or one player's
// log, packed into a cabinet file on the operator's desktop.

#include <QList>
#include <QString>

#include <vector>

class CTransferStatusXml;

// Log collection kinds: 0 idle, 1 application data, 2 one player's log,
// 3 everything.
enum LogCollectKind : int {
    LOG_COLLECT_IDLE = 0,
    LOG_COLLECT_APPLICATION = 1,
    LOG_COLLECT_PLAYER = 2,
    LOG_COLLECT_ALL = 3,
};

// The log work folder "TelvData/Q9Data/LogTemp" under the data root.
QString LogWorkFolder(const QString &dataRoot);
// The user's desktop folder, or the home folder when there is none;
// onDesktop (when given) tells which.
QString GetLogTargetFolder(bool *onDesktop = nullptr);
// The cabinet's file name of a kind ("Q9_Log.cab", "<player>_Log.cab" with
// the name made a safe file name, "Q9_AllLog.cab"); empty for another kind.
QString LogCabName(int kind, const QString &playerName);

// How a collection ended; the failure message names the cause.
enum class LogCollectResult : int {
    Saved = 0,
    Failed,      // no target folder, an unknown kind or a source that cannot be read
    NoPlayerLog, // the player sent no log
    NotWritten,  // the cabinet could not be written into the target folder
    NameTooLong, // a name inside the cabinet is longer than a cabinet holds
};

// Writes the cabinet of the kind into targetFolder (an existing one of the
// same name is replaced). A player's log is the first file, in name order,
// of its folder in the log work folder. Whatever the outcome the log work
// folder is removed and no partial cabinet stays: every collection of
// player logs fetches them afresh, and a folder left by a failed one would
// be packed again by the next. cabPath receives the file written or meant.
LogCollectResult CollectLogCab(int kind, const QString &dataRoot, const QString &playerName,
                               const QString &targetFolder, QString &cabPath);

// A player whose log the log transfer did not bring, and the detail code of
// its failure.
struct LogFetchFailure {
    QString player; // its name, or its number when it is no longer listed
    qint32 code = 0;
};

// The players of a log transfer that ended in a failure, in the order given.
std::vector<LogFetchFailure> FailedLogFetches(const CTransferStatusXml &status, const QList<qint32> &players);
