#include "core/data_folders.h"
#include "core/atomic_file.h"

#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/staged_files.h"
#include "core/syslog.h"

#include <QDir>
#include <QTemporaryFile>

#include <cerrno>

QString DataTreeOf(const QString &baseFolder)
{
    return QDir::cleanPath(baseFolder + QStringLiteral("/TelvData"));
}

QString DataFolderOf(const QString &baseFolder)
{
    return DataTreeOf(baseFolder) + QStringLiteral("/Q9Data");
}

QString ImportFolderOf(const QString &baseFolder)
{
    return DataFolderOf(baseFolder) + QStringLiteral("/Import");
}

QString TextFolderOf(const QString &baseFolder)
{
    return DataFolderOf(baseFolder) + QStringLiteral("/Text");
}

QString ContentFolderOf(const QString &baseFolder)
{
    return DataTreeOf(baseFolder) + QStringLiteral("/Content");
}

QStringList DataSubFolders()
{
    return {QStringLiteral("ContentData"),
            QStringLiteral("ContentData/Playlist"),
            QStringLiteral("ContentData/Playlist/Sequence"),
            QStringLiteral("Text"),
            QStringLiteral("Thumb/Still"),
            QStringLiteral("Thumb/Video"),
            QStringLiteral("Thumb/Flash"),
            QStringLiteral("Thumb/URL"),
            QStringLiteral("Group"),
            QStringLiteral("Log"),
            QStringLiteral("LogTemp"),
            QStringLiteral("Setup"),
            QStringLiteral("Template"),
            QStringLiteral("KDP-R40"),
            QStringLiteral("Export"),
            QStringLiteral("Import"),
            QStringLiteral("PrintTemp")};
}

bool CanWriteDataFolder(const QString &baseFolder)
{
    QTemporaryFile probe(DataFolderOf(baseFolder) + QStringLiteral("/.write-check-XXXXXX") + QLatin1String(kTemporarySuffix));
    return probe.open() && probe.write("x", 1) == 1 && probe.flush();
}

bool CreateDataFolderTree(const QString &baseFolder)
{
    const QString dataFolder = DataFolderOf(baseFolder);
    QStringList folders{dataFolder, ContentFolderOf(baseFolder),
                        DataTreeOf(baseFolder) + QLatin1Char('/') + QLatin1String(kStagedJournalFolder)};
    for (const QString &sub : DataSubFolders())
        folders << dataFolder + QLatin1Char('/') + sub;
    for (const QString &folder : folders) {
        errno = 0;
        if (!QDir().mkpath(folder)) {
            SetLastErrorFromErrno(errno ? errno : EACCES);
            return false;
        }
    }
    return true;
}

QStringList RecoverDataTree(const QString &baseFolder)
{
    const QStringList setAside = UndoInterruptedStagedSets(DataTreeOf(baseFolder));
    // An import unpacks its package here and removes it at its end; one cut
    // short leaves it, and nothing in it is ever used again.
    const QString importWork = ImportFolderOf(baseFolder);
    if (!QDir(importWork).isEmpty() && DeleteFolderTree(importWork, true))
        WriteSyslog(LOG_NOTICE, "Work folder of an interrupted import removed : %s", qUtf8Printable(importWork));
    RemoveAtomicWriteLeftovers(DataTreeOf(baseFolder));
    return setAside;
}
