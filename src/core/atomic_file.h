#pragma once
// Writing a whole data file so that a crash, a full disk or a failed write never
// leaves it truncated: the bytes go to a temporary file in the same folder, which
// is renamed over the old file only when everything was written.

#include <QByteArray>
#include <QFile>
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

// Every file the program writes under a name of its own before renaming it into
// place (saves, extracted and downloaded files, copies) ends in this suffix, so
// that a file left by a kill is told from the operator's files by its name.
inline constexpr char kTemporarySuffix[] = ".telvq9-tmp";

// A fresh temporary name beside path: "<path>.<8 random hex digits>" and the
// suffix.
QString TemporaryPathFor(const QString &path);
// Whether a file name is one of the program's temporary names.
bool IsTemporaryName(const QString &fileName);

// A file written under a temporary name beside its target and renamed over
// it by Commit; destroyed uncommitted, the temporary file is removed. The
// temporary file is created exclusively and takes the mode of the file it
// will replace, so a private file stays private.
class CAtomicFile : public QFile {
public:
    explicit CAtomicFile(const QString &target);
    ~CAtomicFile() override;

    // Opens the temporary file for writing; the mode is ignored beyond that.
    bool open(OpenMode mode) override;
    // Flushes, syncs when asked, closes and renames over the target.
    bool Commit(FileDurability durability = FileDurability::Synced);
    // Closes and removes the temporary file.
    void Discard();
    const QString &TargetName() const { return m_target; }

private:
    QString m_target;
    bool m_committed = false;
};

// Sets a damaged data file aside as "<path>.damaged" (replacing an older one)
// so that nothing is ever written into it and the program starts that file
// afresh; the one log line says so. False with the last error when it could
// not be renamed.
bool SetDamagedFileAside(const QString &path);

// Removes the temporary files a save, copy or download interrupted by a kill
// left in folder and its sub-folders (names IsTemporaryName accepts), logging
// each. Nothing else is touched. Returns how many were removed.
int RemoveAtomicWriteLeftovers(const QString &folder);
