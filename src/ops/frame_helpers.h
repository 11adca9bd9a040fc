#pragma once
// Small services of the main frame's operations: the PC folders a
// registration request reads its files from, and the members of the settings
// and log archives.

#include <QString>
#include <QStringList>

class CContentsStore;
class CDlkRequestSend;

// Gives the request the telop folder, the library's playlist and sequence
// folders and the current group's schedule folders. False when a folder is
// refused or the current group has no safe folder.
bool SetGroupFolders(CDlkRequestSend &request, const CContentsStore &store, const QString &dataRoot);

// Appends the members of the settings archive, relative to the data root:
// the INI and XML files of the data folder, then its folders ContentData,
// Group, Log, Setup, Template and KDP-R40.
void CollectSettingsFiles(QStringList &names);
// Appends the member of the log archive: the data folder's LogTemp folder.
void CollectTempLogFiles(QStringList &names);
