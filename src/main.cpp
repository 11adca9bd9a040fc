// Start-up and shut-down of the console until its main window exists: resolve
// the base folder, lay out the data tree, open the daily log, start the log
// housekeeping, write the start and end lines.

#include "core/base_folder.h"
#include "core/data_folders.h"
#include "core/log_cleaner.h"
#include "core/syslog.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {
constexpr const char *kVersionText = "1.23";
constexpr int kLogKeepDays = 30;
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
    const QString logFolder = DataFolderOf(baseFolder) + QStringLiteral("/Log");
    OpenSyslog(logFolder, QString::fromLatin1(kLogFilePrefix), kDefaultLogLevel);
    CLogCleaner cleaner;
    cleaner.Start(logFolder, QString::fromLatin1(kLogFilePrefix), kLogKeepDays);
    WriteSyslog(LOG_NOTICE, "TELV-Q9 Ver.%s Start", kVersionText);
    out << "TELV-Q9 " << kVersionText << ": data folder " << DataFolderOf(baseFolder) << '\n';

    cleaner.Stop();
    WriteSyslog(LOG_NOTICE, "TELV-Q9 Ver.%s End", kVersionText);
    CloseSyslog();
    return 0;
}
