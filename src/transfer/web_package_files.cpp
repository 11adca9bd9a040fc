#include "transfer/web_package_files.h"

#include "core/path_utils.h"
#include "core/syslog.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr QDir::Filters kEntryFilter = QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden;

void CollectFiles(const QDir &dir, const QString &skip, const WebFileSearchLog &log, const QByteArray &prefix,
                  QStringList &files)
{
    for (const QFileInfo &entry : dir.entryInfoList(QDir::Files | kEntryFilter, QDir::Name)) {
        const QString path = entry.filePath();
        if (path.compare(skip, log.skipCase) == 0)
            continue;
        if (!IsPortableFileName(entry.fileName())) {
            WriteSyslog(LOG_DEBUG, "%s : %s : %s", prefix.constData(), log.badFile, qUtf8Printable(path));
            continue;
        }
        WriteSyslog(LOG_DEBUG, "%s : %s : %s", prefix.constData(), log.found, qUtf8Printable(path));
        files.append(path);
    }
    for (const QFileInfo &entry : dir.entryInfoList(QDir::Dirs | kEntryFilter, QDir::Name)) {
        if (!IsPortableFileName(entry.fileName())) {
            WriteSyslog(LOG_DEBUG, "%s : %s : %s", prefix.constData(), log.badFolder,
                        qUtf8Printable(entry.filePath()));
            continue;
        }
        CollectFiles(QDir(entry.filePath()), skip, log, prefix, files);
    }
}

} // namespace

QStringList ListWebPackageFiles(const QString &folder, const QString &skip, const QString &name)
{
    return SearchWebPackageFiles(folder, skip, {QStringLiteral("[%1]").arg(name)});
}

QStringList SearchWebPackageFiles(const QString &folder, const QString &skip, const WebFileSearchLog &log)
{
    QStringList files;
    CollectFiles(QDir(QDir::cleanPath(folder)), QDir::cleanPath(skip), log, log.prefix.toUtf8(), files);
    return files;
}

QString WebPackageRelativePath(const QString &folder, const QString &file)
{
    const QString relative = QDir(QDir::cleanPath(folder)).relativeFilePath(QDir::cleanPath(file));
    if (relative.isEmpty() || relative == QLatin1String("..") || relative.startsWith(QLatin1String("../"))
        || QDir::isAbsolutePath(relative))
        return QString();
    return relative;
}
