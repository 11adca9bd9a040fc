#pragma once
// Export and import of playlists with every content they use.
//
// Export writes the chosen playlists, their sequences and their contents
// (records, media files, web packages, telop files and thumbnails) into a
// package folder whose tree mirrors the data root, and either packs that
// folder into one cabinet file ("Q9Content.plst") that is copied where the
// operator chose, or writes it straight into a folder on a drive. Only what
// changed since the drive's copy travels to a drive.
//
// Import extracts such a package and takes into the library what it lacks or
// holds in another state. Every path that comes from the package (record
// links, cabinet members) is checked to stay inside its folder, and every
// file a record names to be whole, before anything is written. Installations
// number their contents alike, so a package may hold another item under a
// number the library uses. An item of the library is the package's when its
// files hold the same bytes and its record the same fields an operator sees
// or a player receives (registration, delivery and export times, sizes and
// file times do not count; a file name the import gave it for a taken name
// is its own): it is neither asked about nor changed. Every other item of
// the library the package would change is the operator's own work: the run
// lists them all (IMPORT_MSG_ASK) and waits for the answer before it changes
// anything.
//
// Each item goes in whole or not at all: its unpacked files are moved beside
// their targets (copied where they cannot be moved), its list file with the
// new record is written, and only then are all put in place together
// (core/staged_files.h), the old files kept under second names until every
// one is in. A stop is taken between items and while an item's files are
// being staged, never once they go in place; a stop or a failure leaves that
// item as it was, the library list in memory as its file, and the items
// before it in (GetImportedItems()). The run ends there, so the unpacked
// files an item gave up need not go back: the next run unpacks anew.
//
// A run reports through application messages (numbers below) posted by the
// given function and ends with exactly one end message, posted last. It
// reads and changes the content store's library lists only in steps run on
// their owner (RunOnOwnerThread), working on copies of their records.

#include "ops/package_folders.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class CContentsList;
class QFile;
class QFileDevice;
class CContentsStore;
class CPropertyBase;
struct StoredListFiles;

// Progress and end messages (n of WM_APP + n).
enum ExImportMessage : int {
    EXPORT_MSG_BEGIN_COPY = 101, // totals known (0, 0)
    EXPORT_MSG_FILE = 102,       // an entry begins (number, type)
    EXPORT_MSG_PERCENT = 103,    // percent of the current file
    EXPORT_MSG_BYTES = 104,      // bytes of the current file done (high, low)
    EXPORT_MSG_FILE_END = 105,   // an entry ends (size high, low)
    EXPORT_MSG_COMPRESS = 106,   // packing begins
    EXPORT_MSG_END = 107,        // the export ended (result)
    IMPORT_MSG_ASK = 120,        // the package would replace library contents: GetReplacements(), then AnswerReplace()
    IMPORT_MSG_BEGIN_COPY = 121,
    IMPORT_MSG_FILE = 122,
    IMPORT_MSG_PERCENT = 123,
    IMPORT_MSG_BYTES = 124,
    IMPORT_MSG_FILE_END = 125,
    IMPORT_MSG_END = 126,
};

// Export results.
enum ExportResult : int {
    EXPORT_DONE = 0,
    EXPORT_SAVE_FAILED = 1,  // the package could not be copied to its place; it is kept
    EXPORT_FAILED = 2,       // any other failure, or a stop
    EXPORT_TOO_LARGE = 3,    // 2 GB or more for a package file
    EXPORT_NOTHING = 4,      // nothing changed since the drive's copy
    EXPORT_MISSING = 5,      // a content that a playlist uses is not in the library
};

// Import results.
enum ImportResult : int {
    IMPORT_DONE = 0,
    IMPORT_FAILED = 1, // failure or stop
    IMPORT_NOTHING = 2,
    IMPORT_NOT_PACKAGE = 3, // the file is no cabinet, or one without a package's lists
    IMPORT_DECLINED = 4,    // the operator kept the library contents it would replace: nothing changed
};

// One item of a run: a playlist or a content.
struct ExImportEntry {
    quint32 number = 0;
    int type = 0;
    // An export carries the item's files; an import writes them (new, or
    // other than the library's item of the number holds).
    bool copyFiles = false;
    quint64 size = 0;         // bytes counted for progress and the size limit
    bool replacesOwn = false; // an import changes the library's item of this number
};

// A library item that an import would replace with other contents.
struct ImportReplacement {
    quint32 number = 0;
    int type = 0;
    QString ownTitle;  // the library's
    QString ownFile;
    QString packageTitle;
    QString packageFile;
    bool filesDiffer = false;    // the bytes of its files (or a media file's name)
    bool settingsDiffer = false; // the fields an operator sees or a player receives
};

// An item the last import put in.
struct ImportedItem {
    quint32 number = 0;
    int type = 0;
    QString title;
};

struct ExportRequest {
    QList<quint32> playlists;
    QString targetPath;       // the package file, or the drive's folder
    bool toFile = true;
    bool keepPackage = false; // the package built by the last run may be copied again
};

// Posts application message n with two values to the frame.
using ExImportPost = std::function<void(int number, quint32 wParam, quint32 lParam)>;

class CExImport {
public:
    // The largest package file: the size must stay below this many bytes.
    static constexpr quint64 kMaxPackageBytes = 2147483647;

    CExImport(CContentsStore &store, QString dataRoot, ExImportPost post);
    ~CExImport();
    CExImport(const CExImport &) = delete;
    CExImport &operator=(const CExImport &) = delete;

    // The runs; each returns its result after posting the end message.
    int ExportMain(const ExportRequest &request);
    int ImportMain(const QString &packagePath);

    // Asks the run to stop at its next check (or its question); safe from
    // any thread.
    void StopExImport();
    bool IsStopped() const { return m_stop.load() != 0; }

    // What the dialog reads when the copy begins, and the content that a
    // playlist uses but the library lacks.
    quint32 GetTotalCount() const { return m_totalCount.load(); }
    quint64 GetTotalBytes() const { return m_totalBytes.load(); }
    quint32 GetMissingNumber() const { return m_missingNumber.load(); }
    // Web package files left out of the last export for their names.
    QStringList GetLeftOutFiles() const;
    // The library contents the import would replace, while it asks; the
    // answer lets it go on (true) or end with IMPORT_DECLINED.
    QList<ImportReplacement> GetReplacements() const;
    void AnswerReplace(bool replace);
    // Library items the last import replaced.
    quint32 GetReplacedCount() const { return m_replacedCount.load(); }
    // The items the last import put in, in their order: after a stop or a
    // failure, those before it.
    QList<ImportedItem> GetImportedItems() const;

    // The export folder and the import folder of the data root.
    QString ExportFolder() const;
    QString ImportFolder() const;

private:
    // The seven lists of a package folder with their files.
    struct PackageSet;

    // Export steps (false: the run ended with result).
    bool ExportInit(const ExportRequest &request, PackageSet &set, int &result);
    bool ExportMakeList(const ExportRequest &request, PackageSet &set, int &result);
    bool ExportMakeListContents(quint32 playlist, bool toFile, PackageSet &set, int &result);
    bool ExportCopyFile(PackageSet &set, int &result);
    bool ExportCompressCab(PackageSet &set, int &result);
    bool ExportCabFileSave(const ExportRequest &request, PackageSet &set, int &result);
    int FinishExport(const ExportRequest &request, PackageSet &set, int result);
    bool exportContentFiles(const ExImportEntry &entry, const CPropertyBase &record, PackageSet &set);
    bool exportEntryRecord(const ExImportEntry &entry, CPropertyBase &record, PackageSet &set);

    // Import steps.
    bool ImportInit(const QString &packagePath, PackageSet &set, int &result);
    bool ImportCheckPackage(PackageSet &set);
    bool ImportMakeList(PackageSet &set, int &result);
    bool ImportAskReplace(PackageSet &set);
    bool ImportCopyFile(PackageSet &set);
    bool ImportResolveDuplicateName(const PackageSet &set, const CPropertyBase *old, bool copyFiles,
                                    CPropertyBase &record);
    int FinishImport(int result);
    bool compareWithOwn(const ExImportEntry &entry, const CPropertyBase &record, const CPropertyBase &own,
                        const PackageSet &set, bool &recordSame, bool &filesSame);
    bool importEntry(const ExImportEntry &entry, PackageSet &set);
    bool stageItemFiles(const ExImportEntry &entry, const CPropertyBase &record, const CPropertyBase *old,
                        const PackageSet &set);
    // Moves the package's file from beside to (a copy where it cannot be
    // moved), held in the set open on this thread; a media file (timeOf its
    // record) keeps the time the record names.
    bool stageFile(const QString &from, const QString &to, int percentMessage, const CPropertyBase *timeOf,
                   bool replacesOwn);
    bool stageCopy(const QString &from, const QString &to, int percentMessage, const CPropertyBase *timeOf);
    bool stageThumbnails(const ExImportEntry &entry, const CPropertyBase &record, const CPropertyBase *old,
                         const PackageSet &set);
    void noteImported(const ExImportEntry &entry, const CPropertyBase &record);

    // Shared helpers.
    // Hands each file of a playlist (its list file and existing sequence
    // files) or of a telop (bitmap, then the text when present) to step with
    // its path in from and in to; false at the first refusal or a stop.
    bool forListOrTelopFiles(const ExImportEntry &entry, const PackageFolders &from, const PackageFolders &to,
                             const std::function<bool(const QString &, const QString &)> &step);
    bool checkFileFacts(int type, CPropertyBase &record, bool &changed);
    bool playlistFilesSize(const PackageFolders &folders, quint32 number, quint64 &size) const;
    bool telopFilesSize(const PackageFolders &folders, quint32 number, quint64 &size) const;
    bool contentSize(const ExImportEntry &entry, const PackageFolders &folders, const CPropertyBase &record,
                     quint64 &size);
    bool copyWithProgress(const QString &from, const QString &to, int percentMessage);
    // Copies what is left of source into target with progress (none for
    // message 0); false with the last error on a failure or a stop.
    bool copyChunks(QFile &source, QFileDevice &target, int percentMessage);
    bool copyPlain(const QString &from, const QString &to, const char *prefix);
    // Copies the local package of a web record from below fromBase into
    // toFolder, file by file.
    bool copyWebPackage(const QString &fromBase, const CPropertyBase &record, const QString &toFolder,
                        int percentMessage);
    void copyThumbnails(int type, quint32 number, const PackageFolders &from, const PackageFolders &to);
    bool storeTotals(const std::vector<ExImportEntry> &entries);

    // The library lists are the window's: these steps run on their owner.
    // A copy of the library's record of a number; null when it holds none.
    std::unique_ptr<CPropertyBase> libraryRecord(int type, quint32 number) const;
    // Writes record over the library's record of its number, or adds it; with
    // save the list file is written too, into the staged set the worker has
    // open, if any. False when either fails.
    bool putLibraryRecord(const CPropertyBase &record, bool save);
    // The library's record of a medium takes the file facts (size and time)
    // of refreshed, a copy checkFileFacts brought up to date; with save the
    // list file is written too.
    void keepFileFacts(const CPropertyBase &refreshed, bool save);
    bool libraryHasRoom(int type) const;
    void clearLibraryMarks();
    // Marks the library's record of a number for this run; false when an
    // earlier playlist of the run marked it.
    bool markLibraryRecord(int type, quint32 number);
    void post(int number, quint32 wParam, quint32 lParam) const;
    void postBytes(int number, quint64 bytes) const;

    CContentsStore &m_store;
    QString m_dataRoot;
    ExImportPost m_post;
    PackageFolders m_library;
    std::atomic<int> m_stop{0};
    std::atomic<quint32> m_totalCount{0};
    std::atomic<quint64> m_totalBytes{0};
    std::atomic<quint32> m_missingNumber{0};
    QStringList m_leftOut;
    std::atomic<quint32> m_replacedCount{0};
    // The question of a run and its answer (0 none yet, 1 replace, 2 keep).
    mutable std::mutex m_askMutex;
    std::condition_variable m_answered;
    QList<ImportReplacement> m_replacements;
    int m_answer = 0;
    QList<ImportedItem> m_imported; // under m_askMutex
};

// True for the types that travel in a package: 1, 2, 3, 4, 5, 8 and 52.
bool IsPackageType(int type);
// Whether a content's media files travel with it: video, still and Flash
// always, a web page when its link names a local package.
bool CarriesFiles(int type, const CPropertyBase &record);
// The files a stored playlist has in a library's or a package's folders.
bool PlaylistFilesIn(const PackageFolders &folders, quint32 playlist, StoredListFiles &files);
