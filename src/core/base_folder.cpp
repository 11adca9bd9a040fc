#include "core/base_folder.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

QSettings BaseFolderSettings()
{
    return QSettings(QStringLiteral("Kavrin"), QStringLiteral("TELV-Q9"));
}

QString DefaultBaseFolder()
{
    for (const auto location : {QStandardPaths::DocumentsLocation, QStandardPaths::HomeLocation}) {
        const QString folder = QStandardPaths::writableLocation(location);
        if (!folder.isEmpty() && QDir().mkpath(folder))
            return folder;
    }
    return QDir::currentPath();
}

} // namespace

void GetBaseFolder(QString &folder)
{
    folder = BaseFolderSettings().value(QStringLiteral("BaseFolder")).toString();
    if (folder.isEmpty() || !QDir().mkpath(folder))
        folder = DefaultBaseFolder();
    folder = QDir::cleanPath(folder);
}

void SaveBaseFolder(const QString &folder)
{
    QSettings settings = BaseFolderSettings();
    settings.setValue(QStringLiteral("BaseFolder"), folder);
    settings.sync();
}
