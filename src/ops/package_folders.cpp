#include "ops/package_folders.h"

#include "core/data_folders.h"
#include "core/path_utils.h"
#include "model/contents_store.h"
#include "model/thumbnail_maker.h"

namespace {

QString Under(const QString &folder, const char *relative)
{
    return JoinPath(folder, QString::fromLatin1(relative));
}

} // namespace

PackageFolders PackageFolders::OfLibrary(const CContentsStore &store, const QString &dataRoot)
{
    PackageFolders folders;
    folders.video = store.GetContentFolder(1);
    folders.still = store.GetContentFolder(2);
    folders.web = store.GetContentFolder(4);
    folders.flash = store.GetContentFolder(5);
    folders.thumbVideo = ThumbnailFolder(dataRoot, 1);
    folders.thumbStill = ThumbnailFolder(dataRoot, 2);
    folders.thumbWeb = ThumbnailFolder(dataRoot, 4);
    folders.thumbFlash = ThumbnailFolder(dataRoot, 5);
    folders.text = Under(DataFolderOf(dataRoot), "Text");
    folders.playlist = store.m_playlistFolder;
    folders.sequence = store.m_sequenceFolder;
    folders.contentData = Under(DataFolderOf(dataRoot), "ContentData");
    return folders;
}

PackageFolders PackageFolders::OfPackage(const QString &packageFolder)
{
    PackageFolders folders;
    folders.video = Under(packageFolder, "TelvData/Content/Video");
    folders.still = Under(packageFolder, "TelvData/Content/Still");
    folders.web = Under(packageFolder, "TelvData/Content/URL");
    folders.flash = Under(packageFolder, "TelvData/Content/Flash");
    folders.thumbVideo = Under(packageFolder, "TelvData/Q9Data/Thumb/Video");
    folders.thumbStill = Under(packageFolder, "TelvData/Q9Data/Thumb/Still");
    folders.thumbWeb = Under(packageFolder, "TelvData/Q9Data/Thumb/URL");
    folders.thumbFlash = Under(packageFolder, "TelvData/Q9Data/Thumb/Flash");
    folders.text = Under(packageFolder, "TelvData/Q9Data/Text");
    folders.contentData = Under(packageFolder, "TelvData/Q9Data/ContentData");
    folders.playlist = Under(folders.contentData, "Playlist");
    folders.sequence = Under(folders.playlist, "Sequence");
    return folders;
}

QString PackageFolders::MediaFolder(int type) const
{
    switch (type) {
    case 1:
        return video;
    case 2:
        return still;
    case 4:
        return web;
    case 5:
        return flash;
    default:
        return QString();
    }
}

QString PackageFolders::ThumbFolder(int type) const
{
    switch (type) {
    case 1:
        return thumbVideo;
    case 2:
        return thumbStill;
    case 4:
        return thumbWeb;
    case 5:
        return thumbFlash;
    default:
        return QString();
    }
}

QString PackageListFileName(int type)
{
    switch (type) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 8:
    case 52:
        return CContentsStore::ListFileName(type);
    default:
        return QString();
    }
}
