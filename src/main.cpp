// Start-up and shut-down of the console until its main window exists: resolve
// the base folder, lay out the data tree, open the daily log, start the log
// housekeeping, write the start and end lines.

#include "core/base_folder.h"
#include "core/data_folders.h"
#include "core/log_cleaner.h"
#include "core/syslog.h"
#include "core/system_ini.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {
constexpr const char *kVersionText = "1.23";
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kavrin"));
    QCoreApplication::setApplicationName(QStringLiteral("TELV-Q9"));

    QString baseFolder;
    GetBaseFolder(baseFolder);
    SaveBaseFolder(baseFolder);
    QTextStream out(stdout);
    if (!CreateDataFolderTree(baseFolder)) {
        QTextStream(stderr) << "cannot create the data folder under " << baseFolder << '\n';
        return 1;
    }
    GetSystemIni().Open(DataFolderOf(baseFolder) + QLatin1Char('/') + QLatin1String(kSystemIniFileName), baseFolder);
    const SystemSettings settings = GetSystemIni().Settings();
    OpenSyslog(settings.LogFolder, QString::fromLatin1(kLogFilePrefix), settings.LogLevel);
    CLogCleaner cleaner;
    cleaner.Start(settings.LogFolder, QString::fromLatin1(kLogFilePrefix), settings.LogKeepDay);
    WriteSyslog(LOG_NOTICE, "TELV-Q9 Ver.%s Start", kVersionText);
    out << "TELV-Q9 " << kVersionText << ": data folder " << DataFolderOf(baseFolder) << '\n';

    cleaner.Stop();
    WriteSyslog(LOG_NOTICE, "TELV-Q9 Ver.%s End", kVersionText);
    CloseSyslog();
    return 0;
}
