#include "transfer/web_package_files.h"

#include "core/path_utils.h"
#include "core/syslog.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr QDir::Filters kEntryFilter = QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden;

void CollectFiles(const QDir &dir, const QString &skip, const QByteArray &name, QStringList &files)
{
    for (const QFileInfo &entry : dir.entryInfoList(QDir::Files | kEntryFilter, QDir::Name)) {
        const QString path = entry.filePath();
        if (path == skip)
            continue;
        if (!IsPortableFileName(entry.fileName())) {
            WriteSyslog(LOG_DEBUG, "[%s] : Local URL File : Invalid path name : %s", name.constData(),
                        qUtf8Printable(path));
            continue;
        }
        WriteSyslog(LOG_DEBUG, "[%s] : Local URL File Search : %s", name.constData(), qUtf8Printable(path));
        files.append(path);
    }
    for (const QFileInfo &entry : dir.entryInfoList(QDir::Dirs | kEntryFilter, QDir::Name)) {
        if (!IsPortableFileName(entry.fileName())) {
            WriteSyslog(LOG_DEBUG, "[%s] : Local URL File : Invalid folder name : %s", name.constData(),
                        qUtf8Printable(entry.filePath()));
            continue;
        }
        CollectFiles(QDir(entry.filePath()), skip, name, files);
    }
}

} // namespace

QStringList ListWebPackageFiles(const QString &folder, const QString &skip, const QString &name)
{
    QStringList files;
    const QString cleanSkip = QDir::cleanPath(skip);
    CollectFiles(QDir(QDir::cleanPath(folder)), cleanSkip, name.toUtf8(), files);
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
