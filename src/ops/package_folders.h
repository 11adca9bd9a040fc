#pragma once
// Where the files of the contents that travel in an export package lie: in
// the library (the data root with the content store's folders) and in a
// package folder, whose tree mirrors the data root ("TelvData/Q9Data/...",
// "TelvData/Content/...").

#include <QString>

class CContentsStore;

struct PackageFolders {
    QString video;    // media files by type
    QString still;
    QString flash;
    QString web;      // one folder per local web package, named by the 9-digit number
    QString thumbVideo;
    QString thumbStill;
    QString thumbFlash;
    QString thumbWeb;
    QString text;     // telop bitmaps and texts
    QString playlist; // playlist files
    QString sequence; // their sequence files
    QString contentData; // the list files

    // The folders of the library under a data root.
    static PackageFolders OfLibrary(const CContentsStore &store, const QString &dataRoot);
    // The folders inside a package folder.
    static PackageFolders OfPackage(const QString &packageFolder);

    // The media folder of type 1, 2, 4 or 5; empty otherwise.
    QString MediaFolder(int type) const;
    // The thumbnail folder of type 1, 2, 4 or 5; empty otherwise.
    QString ThumbFolder(int type) const;
};

// The list file of a package list type (1, 2, 3, 4, 5, 8, 52) in the
// ContentData folder; empty for other types.
QString PackageListFileName(int type);
