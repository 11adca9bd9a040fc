#pragma once
// Writing a whole data file so that a crash, a full disk or a failed write never
// leaves it truncated: the bytes go to a temporary file in the same folder, which
// is renamed over the old file only when everything was written.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <sys/types.h>

// Whether a saved file is flushed to the disk before it replaces the old one.
// Stored data is; files made afresh for one send and uploaded at once need only
// never be seen half-written, and skip the flush that costs a disk round trip.
enum class FileDurability { Synced, Unsynced };

// Who may read a saved file. A file that holds passwords is OwnerOnly: it is
// readable and writable by its user only from its first byte on, also when it
// replaces a file that others could read. Otherwise a file that is replaced
// keeps its mode, and a new one gets the usual mode of new files.
enum class FileAccess { KeepMode, OwnerOnly };

// Replaces the file at path with data (a synced write while a set of staged
// files is open on the thread waits in it, see core/staged_files.h). On
// failure the old file is left as it was and the last error says why: 87 for
// an empty path, 3 when the folder does not exist, else the code of the
// failed system call.
bool WriteFileAtomically(const QString &path, const QByteArray &data,
                         FileDurability durability = FileDurability::Synced,
                         FileAccess access = FileAccess::KeepMode);

// Narrows every file of folder and its sub-folders whose name matches one of
// namePatterns (a name, or a pattern with '*' for any run of characters), or
// is such a name set aside as damaged, to its user only, logging each file
// narrowed: files that hold passwords, written readable by others before they
// were made private. Returns how many were narrowed.
int NarrowFilesToOwner(const QString &folder, const QStringList &namePatterns);

// Every file the program writes under a name of its own before renaming it into
// place (saves, extracted and downloaded files, copies) ends in this suffix, so
// that a file left by a kill is told from the operator's files by its name.
inline constexpr char kTemporarySuffix[] = ".telvq9-tmp";

// A fresh temporary name beside path: "<path>.<8 random hex digits>" and the
// suffix, the target's name cut short where the whole would pass 255 bytes.
QString TemporaryPathFor(const QString &path);
// Gives the file at path a second name, a fresh temporary name beside it (a
// hard link: no data is copied; a copy where the file system has no hard
// links). The name, or empty with the last error.
QString LinkUnderTemporaryName(const QString &path);
// Whether a file name is one of the program's temporary names, as
// TemporaryPathFor makes them: "<name>.<8 hex digits>" and the suffix.
bool IsTemporaryName(const QString &fileName);

// A file written beside its target and put in its place by Commit.
// Where the file system allows it, the file has no name until it is staged
// (linked under a temporary name, from which the commit renames it over the
// target), so a kill while it is written leaves nothing behind; elsewhere it
// is written under a temporary name created exclusively. Destroyed
// uncommitted, the file is removed. Its mode is set before a byte is written
// (FileAccess).
class CAtomicFile : public QFile {
public:
    explicit CAtomicFile(const QString &target, FileAccess access = FileAccess::KeepMode);
    ~CAtomicFile() override;

    // Opens the temporary file for writing; the mode is ignored beyond that.
    bool open(OpenMode mode) override;
    // Takes the file at source as the new contents instead of writing them:
    // source is renamed under a fresh temporary name beside the target (no
    // byte is copied) and waits there for Commit as a staged file does; from
    // then on it is this file's, and Discard removes it. It takes the
    // replaced target's mode (KeepMode) or its user's alone (OwnerOnly), and
    // with Synced it is flushed to the disk first. False with the last error
    // and source where it was when it cannot be moved there (another file
    // system, one without an exclusive rename): the caller writes a copy.
    bool Adopt(const QString &source, FileDurability durability);
    // Flushes, syncs when asked and closes the file under its temporary name,
    // where it waits for Commit; the target is untouched. On failure the file
    // is discarded and the last error says why. A file staged before (or
    // adopted) is staged already.
    bool Stage(FileDurability durability = FileDurability::Synced);
    // Stages the file when it is still open, then renames it over the target.
    bool Commit(FileDurability durability = FileDurability::Synced);
    // Closes and removes the temporary file.
    void Discard();
    const QString &TargetName() const { return m_target; }

private:
    int openUnnamed(mode_t mode);
    int openNamed(mode_t mode);
    bool linkUnnamed();
    bool takeAdoptedMode(const QByteArray &source) const;

    QString m_target;
    FileAccess m_access;
    QString m_temporaryPath; // empty while the file has no name
    bool m_committed = false;
};

// The suffix of a damaged data file set aside.
inline constexpr char kDamagedSuffix[] = ".damaged";

// Sets a damaged data file aside as "<path>.damaged" (replacing an older one)
// so that nothing is ever written into it and the program starts that file
// afresh; the one log line says so. False with the last error when it could
// not be renamed.
bool SetDamagedFileAside(const QString &path);

// Renames a file or folder without ever replacing what is at to (false with
// the last error, ERROR_ALREADY_EXISTS when to is taken).
bool RenameNoReplace(const QString &from, const QString &to);

// Sets a file aside under a name of its own: "<path>.damaged", or
// "<path>.<n>.damaged" where that is taken, never over another file. The new
// name (logged), or empty with the last error.
QString SetFileAsideUnderOwnName(const QString &path);

// Removes the temporary files a save, copy or download interrupted by a kill
// left in folder and its sub-folders (names IsTemporaryName accepts), logging
// each. Nothing else is touched. Returns how many were removed.
int RemoveAtomicWriteLeftovers(const QString &folder);
