#pragma once
// Removal of the files that belong to a content: its material file in the
// library folder of its type, a telop's text and bitmap, a web page's unpacked
// package folder, the thumbnails of video, still, Flash and web contents, and
// the list and sequence files of playlists, background-music lists and
// schedules. The main frame uses it when a content is replaced, updated,
// imported over or deleted from the library.
//
// A file is deleted only when its path, with links resolved, stays inside its
// folder: a stored file name that climbs out of the folder (or a folder link
// inside it that points elsewhere) removes nothing.
//
// Operations that report failures give an error kind (2: a file or folder
// could not be removed) and the error code; a missing file or folder is no
// failure.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class CContentsList;
class CPropertyBase;

// The folders of the content files.
struct ContentFileFolders {
    QString dataRoot;                   // the base folder holding "TelvData"
    QHash<int, QString> contentFolders; // the library folder of types 1, 2, 4, 5 and 6
    QString playlistFolder;             // playlist and background-music list files
    QString sequenceFolder;             // their sequence files
    QString scheduleFolder;             // the current group's schedule files
    QString scheduleSequenceFolder;     // and their sequence files
};

class CContentFileRemover {
public:
    // Error kind of a failed removal.
    static constexpr int kRemoveFailed = 2;

    explicit CContentFileRemover(ContentFileFolders folders);
    // The folders of the program's data root and content store.
    static ContentFileFolders FoldersOfStore();

    void SetFolders(ContentFileFolders folders) { m_folders = std::move(folders); }
    const ContentFileFolders &GetFolders() const { return m_folders; }

    // Deletes a file; succeeds also when it or its folder does not exist.
    bool DeleteFileIfExists(const QString &path, int &state, quint32 &error) const;
    // Video, still and Flash: the two thumbnails, then the material file;
    // audio: the material file only.
    bool DelContRealFileMedia(int type, const CPropertyBase &record, int &state, quint32 &error) const;
    // A telop's text file and bitmap.
    bool DelContRealFileTelop(const CPropertyBase &record, int &state, quint32 &error) const;
    // A web page's two thumbnails, then its local package folder (a web page
    // whose link is a web address or an absolute path has none).
    bool DelContRealFileUrl(const CPropertyBase &record, int &state, quint32 &error) const;
    // The files of a content by type (1, 2, 3, 4, 5); other types have none
    // here. Failures are not reported.
    void DelContRealFileByType(int type, const CPropertyBase &record) const;
    // A playlist's or background-music list's file, then its sequence files.
    bool DelContRealFilePlaylist(int type, qint32 number, int &state, quint32 &error) const;
    // A schedule's file in the current group's folder, then its sequence files.
    bool DelContRealFileSchedule(qint32 number, int &state, quint32 &error) const;
    // The files of the content with the number in the list of type, by type:
    // 1, 2, 5, 6 the material file (with the thumbnails), 3 the telop files,
    // 4 the web page's, 51 the schedule's, 52 and 53 the list's; other types
    // have none. A missing list or record is logged and counts as done.
    bool DelContRealFileCommon(CContentsList *list, int type, qint32 number, int &state,
                               quint32 &error) const;

    // The path of name inside folder when, links resolved, it stays inside;
    // empty otherwise.
    static QString PathInsideFolder(const QString &folder, const QString &name);
    // True when a web page's link names a local package rather than a web
    // address or an absolute path.
    static bool IsLocalPackageLink(const QString &link);

private:
    QString contentFolder(int type) const;
    QString thumbFolder(int type) const;
    QString telopFolder() const;
    bool deleteThumbnails(int type, qint32 number, int &state, quint32 &error) const;
    bool deleteInFolder(const QString &folder, const QString &name, int &state, quint32 &error) const;
    bool deleteTelopFiles(qint32 number, int &state, quint32 &error) const;
    bool deletePackageFolder(qint32 number, int &state, quint32 &error) const;
    bool deleteTimetableFiles(int type, qint32 number, const QString &listFolder, const QString &sequenceFolder,
                              int &state, quint32 &error) const;

    ContentFileFolders m_folders;
};
