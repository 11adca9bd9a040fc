#include "ops/log_collection.h"
#include "core/atomic_file.h"

#include "cab/cab_result.h"
#include "cab/dlkx_cab.h"
#include "core/data_folders.h"
#include "core/file_utils.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "model/path_safety.h"
#include "ops/frame_helpers.h"
#include "transfer/dlk_transfer_worker.h"
#include "transfer/transfer_status_xml.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

LogCollectResult CopyPlayerLog(const QString &playerFolder, const QString &cabPath)
{
    const QFileInfoList files = playerFolder.isEmpty() ? QFileInfoList() : QDir(playerFolder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    if (files.isEmpty()) {
        WriteSyslog(LOG_ERR_APP, "R40 log not found.");
        return LogCollectResult::NoPlayerLog;
    }
    // The player sent its log as a cabinet already: it is copied as it is.
    const QString partial = TemporaryPathFor(cabPath);
    QFile source(files.first().absoluteFilePath());
    if (!source.copy(partial)) {
        WriteSyslog(LOG_ERR_APP, "R40 log copy failed. : error = %d", int(source.error()));
        return LogCollectResult::NotWritten;
    }
    QFile::remove(cabPath);
    if (!QFile::rename(partial, cabPath)) {
        QFile::remove(partial);
        WriteSyslog(LOG_ERR_APP, "R40 log copy failed. : error = %d", 0);
        return LogCollectResult::NotWritten;
    }
    return LogCollectResult::Saved;
}

LogCollectResult CompressLogs(int kind, const QString &dataRoot, const QString &cabPath)
{
    DlkxCompressCabParam param;
    param.sourceFolder = dataRoot;
    if (kind & LOG_COLLECT_PLAYER)
        CollectTempLogFiles(param.files);
    CollectSettingsFiles(param.files);
    param.count = int(param.files.size());
    param.cabinetPath = cabPath;
    // The application's files include the passwords of Y5.ini.
    param.ownerOnly = true;
    const int result = DLKxCompressCab(param);
    if (result == CAB_OK)
        return LogCollectResult::Saved;
    WriteSyslog(LOG_ERR_APP, "CAB Compress Error(%d)", result);
    switch (result) {
    case CAB_ERR_NAME_TOO_LONG: return LogCollectResult::NameTooLong;
    case CAB_ERR_CABINET_WRITE: return LogCollectResult::NotWritten;
    default: return LogCollectResult::Failed;
    }
}

LogCollectResult CollectInto(int kind, const QString &dataRoot, const QString &playerName, const QString &targetFolder,
                             QString &cabPath)
{
    if (targetFolder.isEmpty()) {
        WriteSyslog(LOG_ERR_APP, "Get Desktop Folder Error");
        return LogCollectResult::Failed;
    }
    const QString cabName = LogCabName(kind, playerName);
    if (cabName.isEmpty()) {
        WriteSyslog(LOG_ERR_APP, "Compress Log Mode Invalid(%d)", kind);
        return LogCollectResult::Failed;
    }
    cabPath = JoinPath(targetFolder, cabName);
    if (kind != LOG_COLLECT_PLAYER)
        return CompressLogs(kind, dataRoot, cabPath);
    // The fetched log lies in a folder of the player's name, which the log
    // transfer only made when the name is one plain component.
    const QString playerFolder = IsSafePathComponent(playerName) ? JoinPath(LogWorkFolder(dataRoot), playerName) : QString();
    return CopyPlayerLog(playerFolder, cabPath);
}

} // namespace

QString LogWorkFolder(const QString &dataRoot)
{
    return JoinPath(DataFolderOf(dataRoot), QStringLiteral("LogTemp"));
}

QString GetLogTargetFolder(bool *onDesktop)
{
    QString folder;
    const bool desktop = GetDesktopFolder(folder) && QFileInfo(folder).isDir();
    if (onDesktop)
        *onDesktop = desktop;
    return desktop ? folder : QDir::homePath();
}

QString LogCabName(int kind, const QString &playerName)
{
    switch (kind) {
    case LOG_COLLECT_APPLICATION:
        return QStringLiteral("Q9_Log.cab");
    case LOG_COLLECT_PLAYER: {
        // A player's name may hold anything: only a plain file name is made of it.
        QString name = playerName;
        name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]")), QStringLiteral("_"));
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
            name = QStringLiteral("Unknown");
        return name + QStringLiteral("_Log.cab");
    }
    case LOG_COLLECT_ALL:
        return QStringLiteral("Q9_AllLog.cab");
    default:
        return QString();
    }
}

LogCollectResult CollectLogCab(int kind, const QString &dataRoot, const QString &playerName,
                               const QString &targetFolder, QString &cabPath)
{
    const LogCollectResult result = CollectInto(kind, dataRoot, playerName, targetFolder, cabPath);
    DeleteFolderTree(LogWorkFolder(dataRoot), true);
    return result;
}

std::vector<LogFetchFailure> FailedLogFetches(const CTransferStatusXml &status, const QList<qint32> &players)
{
    std::vector<LogFetchFailure> failures;
    for (qint32 number : players) {
        TransferStatusRecord record;
        if (!status.GetPlayerStatus(number, record) || !IsFailedTransferState(record.SendSts))
            continue;
        const std::optional<PlayerRecord> player = GetAppData().GetPlayerXml().CopyPlayer(number);
        failures.push_back({player ? player->Name : QString::number(number), record.ErrorCode});
    }
    return failures;
}
