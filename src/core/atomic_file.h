#pragma once
// Writing a whole data file so that a crash, a full disk or a failed write never
// leaves it truncated: the bytes go to a temporary file in the same folder, which
// is renamed over the old file only when everything was written.

#include <QByteArray>
#include <QString>

// Whether a saved file is flushed to the disk before it replaces the old one.
// Stored data is; files made afresh for one send and uploaded at once need only
// never be seen half-written, and skip the flush that costs a disk round trip.
enum class FileDurability { Synced, Unsynced };

// Replaces the file at path with data. On failure the old file is left as it was
// and the last error says why: 87 for an empty path, 3 when the folder does not
// exist, else the code of the failed system call.
bool WriteFileAtomically(const QString &path, const QByteArray &data,
                         FileDurability durability = FileDurability::Synced);

// Makes the file at path readable and writable by its user only, creating it
// empty when it is missing, for files that hold passwords. A save through
// WriteFileAtomically keeps the mode of the file it replaces, so calling this
// before the save means the secret is never readable by others. A file that
// cannot be opened (no folder yet) is left to the save.
void KeepFilePrivate(const QString &path);

// Removes the temporary files a save interrupted by a kill left in folder and
// its sub-folders: "<name>.<ext>.XXXXXX" beside a data file (ext one of the
// kinds saved through this writer: ini, xml, jpg), the last six characters
// being the random letters of the temporary name. Nothing else is touched.
// Returns how many were removed.
int RemoveAtomicWriteLeftovers(const QString &folder);
