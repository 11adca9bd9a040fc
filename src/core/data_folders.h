#pragma once
// The data tree under the base folder: "TelvData/Q9Data" with its fixed
// sub-folders, and "TelvData/Content" with the registered media files.

#include <QString>
#include <QStringList>

// "<base>/TelvData": the data tree, whose folder "Journal" (kStagedJournalFolder)
// holds the journals of staged sets and nothing else.
QString DataTreeOf(const QString &baseFolder);
// "<base>/TelvData/Q9Data"
QString DataFolderOf(const QString &baseFolder);
// "<base>/TelvData/Q9Data/Import": where an import unpacks its package.
QString ImportFolderOf(const QString &baseFolder);
// "<base>/TelvData/Q9Data/Text": the telop text files and bitmaps.
QString TextFolderOf(const QString &baseFolder);
// "<base>/TelvData/Content"
QString ContentFolderOf(const QString &baseFolder);
// The sub-folders of the data folder, relative to it ("ContentData/Playlist", ...).
QStringList DataSubFolders();
// Creates the data folder, its sub-folders and the content folder. False when
// one cannot be created (the last error tells why).
bool CreateDataFolderTree(const QString &baseFolder);
// Mends the data tree after a kill, before anything reads it: puts back the
// staged sets cut short (UndoInterruptedStagedSets), removes the work folder
// of an import cut short ("Q9Data/Import"), then the temporary files left
// anywhere in the tree, each logged. Returns the journals set aside, whose
// sets could not be put back, for the operator.
QStringList RecoverDataTree(const QString &baseFolder);
// Whether a file can be written in the data folder: a byte is written to a
// temporary file there, which is removed again.
bool CanWriteDataFolder(const QString &baseFolder);
