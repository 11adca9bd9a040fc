#pragma once
// Files and folders on the local disk. Failures leave the platform error as
// the last error (2 file not found, 3 path not found, 5 access denied,
// 183 already exists, ...).

#include "core/win_types.h"

#include <QString>

// 0 when a temporary file and a temporary sub-folder can be created (and are
// removed again) in the folder; else the error code that stopped it.
quint32 CheckFolderWritable(const QString &folder);

// Creates every missing folder along the path. Returns the number of folders
// created (> 0); 0 with last error 183 when the whole path already exists;
// -1 on failure with the last error set.
int CreateFolderPath(const QString &path);

// Deletes the files of the folder, its sub-folders' trees when recursive is
// set, and the folder itself. Symbolic links are removed, never followed.
// False with the first error kept (2 or 3 for a missing folder); the rest of
// the tree is still deleted as far as possible.
bool DeleteFolderTree(const QString &folder, bool recursive);

// The last write time of a file as a local file time. False with the last
// error set (2 when the file is missing).
bool GetFileWriteTime(const QString &path, FileTime &time);

// The process's current folder; false when it cannot be read.
bool GetCurrentFolder(QString &folder);
// The user's desktop folder; false when there is none.
bool GetDesktopFolder(QString &folder);
// The folder of the running executable, without a trailing "/".
void GetModuleFolder(QString &folder);
