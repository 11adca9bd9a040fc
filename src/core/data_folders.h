#pragma once
// The data tree under the base folder: "TelvData/Q9Data" with its fixed
// sub-folders, and "TelvData/Content" with the registered media files.

#include <QString>
#include <QStringList>

// "<base>/TelvData/Q9Data"
QString DataFolderOf(const QString &baseFolder);
// "<base>/TelvData/Q9Data/Text": the telop text files and bitmaps.
QString TextFolderOf(const QString &baseFolder);
// "<base>/TelvData/Content"
QString ContentFolderOf(const QString &baseFolder);
// The sub-folders of the data folder, relative to it ("ContentData/Playlist", ...).
QStringList DataSubFolders();
// Creates the data folder, its sub-folders and the content folder. False when
// one cannot be created (the last error tells why).
bool CreateDataFolderTree(const QString &baseFolder);
// Whether a file can be written in the data folder: a byte is written to a
// temporary file there, which is removed again.
bool CanWriteDataFolder(const QString &baseFolder);
