#pragma once
// The settings package: the installation's option, settings, player, group
// and display files packed into one cabinet file that the operator keeps or
// carries to another machine. The program never reads such a package back.

#include <QString>
#include <QStringList>

// The members of the package, relative to the data root, in their order
// ("TelvData\Q9Data\Y5.ini" ...).
QStringList SettingsPackageMembers();

// Packs the settings files under dataRoot into cabinetPath. The cabinet is
// written beside its target and renamed into place, so a failure leaves an
// existing file as it was. 0 on success, else the cabinet result number.
int MakeSettingsPackage(const QString &dataRoot, const QString &cabinetPath);

// The folder part of a chosen path (up to its last separator), or an empty
// text when the path has no separator: such a path does not name a folder to
// remember.
QString FolderOfChosenPath(const QString &path);
