#pragma once
// Content registration: the operator's files become contents. Each file gets
// a new content number, is copied into the content folder of its type (or
// unpacked, for a web package), is probed, gets thumbnails and a property
// record, and the list of its type is saved with the counter. Material
// replacement gives an existing content a new file under its number with the
// same steps.
//
// The operation runs on the main frame's worker thread while the frame keeps
// the operator out of the content store. It reaches the window only through
// the notices it posts (the numbers of the frame's application messages), the
// progress counts it shares with the progress window, and the steps that
// read or change the store's lists, which run on the lists' owner
// (RunOnOwnerThread).
//
// Every step reports a result kind and a detail; only the end handler shows a
// message. The operator's source files are never changed; the program's own
// copies are removed again whenever a file does not end up registered.

#include "core/win_types.h"
#include "ops/regist_progress.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

class CContentsList;
class CContentsStore;
class CMediaProperty;
class CPropertyBase;
class IUrlThumbnailMaker;
struct MediaInfo;

// The result kind of a registration step (detail beside it).
enum RegistKind : int {
    REGIST_OK = 0,             // success, or a stop with nothing to report
    REGIST_CANCELLED = 1,      // the operator cancelled
    REGIST_LIST_FULL = 2,      // detail: the content type
    REGIST_MEDIA_REFUSED = 3,  // detail: the string id of the reason
    REGIST_DISK_FULL = 4,
    REGIST_FILE_ERROR = 5,     // detail: the error code
    REGIST_PACKAGE_BROKEN = 6, // the web package could not be unpacked
    REGIST_PACKAGE_NO_INDEX = 7,
    REGIST_PAGE_UNREADABLE = 8, // detail: the error code of opening the page file
    REGIST_INTERNAL = 10,
};

// Notices to the window: the numbers of the frame's application messages.
enum RegistNotice : int {
    REGIST_NOTICE_END = 1,    // (kind, detail)
    REGIST_NOTICE_COPY = 2,   // (file index)
    REGIST_NOTICE_STEP = 3,   // (file index, -1 in a replacement): the file is done
    REGIST_NOTICE_THUMB = 4,  // (file index, -1 in a replacement)
    REGIST_NOTICE_REPLACE_END = 131, // (kind, detail)
};

struct RegistResult {
    int kind = REGIST_OK;
    quint32 detail = 0;
};

// What the registration of an existing number found changed (replacement).
struct RegistChange {
    PlayLength oldPlayTime{};
    PlayLength newPlayTime{};
    bool playTimeChanged = false;
    int oldWidth = 0;
    int oldHeight = 0;
    int newWidth = 0;
    int newHeight = 0;
    bool sizeChanged = false;
};

// Where the registration works and how it reaches the outside; each empty
// member takes the program's own.
struct RegistEnvironment {
    CContentsStore *store = nullptr;   // GetContentFolders()
    QString dataRoot;                  // GetAppData().GetDataRoot()
    CRegContProgress *progress = nullptr; // counts and cancel flag of the window
    // Posts a notice to the window (none when empty).
    std::function<void(int notice, qint32 wParam, qint32 lParam)> post;
    // The bytes available to the program in folder; false with the last error.
    std::function<bool(const QString &folder, quint64 &bytes)> freeSpace;
    IUrlThumbnailMaker *thumbnails = nullptr; // GetUrlThumbnailMaker()
};

class CContentRegistration {
public:
    explicit CContentRegistration(RegistEnvironment environment = {});

    // ---- A batch of files (the worker) ----------------------------------

    // Registers the files in order; type 0 takes each file's type from its
    // extension. Stops at the first failure or cancellation (the file it
    // stopped at is GetFailedFile()), then posts the end notice.
    RegistResult AddContentsFilesWorker(const QStringList &files, int type);
    const QString &GetFailedFile() const { return m_failedFile; }
    // The pages registered where they lie whose folder their site does not
    // serve (ops/local_page_site.h): each is shown alone.
    const QStringList &GetPagesShownAlone() const { return m_pagesShownAlone; }

    // Registers one file; index is its place in the batch (for notices).
    bool AddContents(int index, int type, const QString &path, int &kind, quint32 &detail);

    // ---- Steps ------------------------------------------------------------

    // Copies the file into the content folder of the type under a name no
    // other file has; path becomes the copy.
    bool RegContCopyFile(int type, qint32 number, QString &path, int &kind, quint32 &detail);
    // The progress of the running copy; false asks the copy to stop.
    bool CopyProgressRoutine(quint64 total, quint64 transferred);
    // Unpacks a web package into the web folder under the number; path
    // becomes the start page relative to the web folder.
    bool RegCont(qint32 number, QString &path, int &kind, quint32 &detail);

    // The record of a copied medium (path is the copy), added to the list or,
    // for a number the list holds, written over the old record.
    bool AddContentsVideo(CContentsList &list, qint32 number, const QString &path, const SystemTime &time, int &kind,
                          quint32 &detail);
    bool AddContentsStill(CContentsList &list, qint32 number, const QString &path, const SystemTime &time, int &kind,
                          quint32 &detail);
    bool AddContentsAudio(CContentsList &list, qint32 number, const QString &path, const SystemTime &time, int &kind,
                          quint32 &detail);
    bool AddContentsFlash(CContentsList &list, qint32 number, const QString &path, const SystemTime &time, int &kind,
                          quint32 &detail);
    // A bitmap telop: path is the operator's bitmap, stored in the text
    // folder as the number with ".bmp".
    bool AddContentsTelop(CContentsList &list, qint32 number, const QString &path, const SystemTime &time, int &kind,
                          quint32 &detail);
    // A web page: path is an absolute page file (registered where it lies)
    // or the start page of an unpacked package; sourcePath is what the
    // operator gave.
    bool AddContentsUrl(CContentsList &list, qint32 number, const QString &path, const QString &sourcePath,
                        const SystemTime &time, int &kind, quint32 &detail);

    // ---- Material replacement ------------------------------------------

    // Gives the content of number a new material; posts the end notice.
    RegistResult ReplaceMaterialWorker(int type, qint32 number, const QString &path);
    bool UpdateContents(int type, qint32 number, const QString &path, int &kind, quint32 &detail);
    const RegistChange &GetChange() const { return m_change; }

    // ---- Helpers shared with the callers --------------------------------

    // The category of a file: its folder's last name, cut to 20 characters;
    // empty for a file in a root folder.
    static QString CategoryOfPath(const QString &path);
    // The web folder joined with the number (a package's own folder).
    QString PackageFolder(qint32 number) const;

private:
    struct MediaSteps;
    class ReplacedFiles;

    CContentsStore &store() const;
    void post(int notice, qint32 wParam, qint32 lParam = 0) const;
    bool isCancelled() const;
    void setProgress(quint64 total, quint64 transferred) const;
    bool queryFreeSpace(const QString &folder, quint64 &bytes) const;
    void pause(std::chrono::milliseconds duration) const;
    void postEnd(int notice, const RegistResult &result) const;

    // Registration
    bool checkListRoom(CContentsList &list, int listType, int &kind, quint32 &detail) const;
    bool copyOrUnpack(int index, int type, qint32 number, QString &workPath, int &kind, quint32 &detail);
    bool registerByType(int index, int listType, CContentsList &list, qint32 number, const QString &workPath,
                        const QString &sourcePath, int &kind, quint32 &detail);
    bool saveAfterRegistration(int listType, qint32 number, int counter, const QString &sourcePath, int &kind,
                               quint32 &detail);
    void removeOwnFiles(int listType, qint32 number, const QString &workPath) const;
    // The folder the window's next file dialog opens in: its setting, so
    // called on the owner thread, in the step that saves the list.
    void rememberFolder(int listType, const QString &sourcePath) const;
    void deleteOldMaterial(int type, const CPropertyBase &old, const QString &newPath) const;

    // Copy
    bool copyData(const QString &source, int destination, int &kind, quint32 &detail);
    bool checkFreeSpace(const QString &folder, quint64 size, int &kind, quint32 &detail) const;

    // Records
    bool addMedia(const MediaSteps &steps, CContentsList &list, qint32 number, const QString &path,
                  const SystemTime &time, int &kind, quint32 &detail);
    bool fillMediaRecord(CMediaProperty &record, int type, qint32 number, const MediaInfo &info,
                         const QString &link, const SystemTime &time) const;
    bool storeRecord(CContentsList &list, CPropertyBase &record, const char *operation, int &kind);
    void noteChange(const CPropertyBase &oldRecord, const CPropertyBase &newRecord);
    void makeFlashThumbnails(qint32 number, const QString &path, const MediaInfo &info) const;
    void makePageThumbnails(qint32 number, const QString &page) const;
    void takePackageThumbnails(qint32 number, int width, int height) const;

    RegistEnvironment m_env;
    QString m_failedFile;
    QStringList m_pagesShownAlone;
    QString m_category;
    RegistChange m_change;
};
