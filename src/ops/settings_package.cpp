#include "ops/settings_package.h"

#include "cab/dlkx_cab.h"
#include "core/setting_ini.h"
#include "core/system_ini.h"

namespace {

constexpr const char *kSettingsFolder = "TelvData\\Q9Data";

} // namespace

QStringList SettingsPackageMembers()
{
    const char *files[] = {kSettingIniFileName, kSystemIniFileName, "Player.xml", "Q9Group.xml", "Q9Display.xml"};
    QStringList members;
    for (const char *file : files)
        members.append(QStringLiteral("%1\\%2").arg(QLatin1String(kSettingsFolder), QLatin1String(file)));
    return members;
}

int MakeSettingsPackage(const QString &dataRoot, const QString &cabinetPath)
{
    DlkxCompressCabParam param;
    param.sourceFolder = dataRoot;
    param.files = SettingsPackageMembers();
    param.count = int(param.files.size());
    param.cabinetPath = cabinetPath;
    // The package carries the passwords of Y5.ini and the players' of Player.xml.
    param.ownerOnly = true;
    return DLKxCompressCab(param);
}

QString FolderOfChosenPath(const QString &path)
{
    const qsizetype slash = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    if (slash < 0)
        return QString();
    return slash == 0 ? path.left(1) : path.left(slash);
}
