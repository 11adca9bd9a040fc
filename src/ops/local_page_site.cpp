#include "ops/local_page_site.h"

#include "core/content_type.h"
#include "core/data_folders.h"
#include "core/path_utils.h"
#include "model/contents_store.h"
#include "model/path_safety.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace {

QString RealPath(const QString &path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

// The folders the user's programs share: the user folders (desktop,
// downloads, documents, music, pictures, videos, public share, templates,
// as the user's folder settings name them) and the temporary folders.
QStringList SharedUserFolders()
{
    QStringList folders{QDir::tempPath(), QStringLiteral("/tmp"), QStringLiteral("/var/tmp")};
    for (const auto location : {QStandardPaths::DesktopLocation, QStandardPaths::DownloadLocation,
                                QStandardPaths::DocumentsLocation, QStandardPaths::MusicLocation,
                                QStandardPaths::PicturesLocation, QStandardPaths::MoviesLocation,
                                QStandardPaths::PublicShareLocation, QStandardPaths::TemplatesLocation})
        folders << QStandardPaths::writableLocation(location);
    folders.removeAll(QString());
    return folders;
}

// Whether ownPlace is a place a content may own: an existing folder or file
// strictly below the content folder.
bool IsContentsOwnPlace(const QString &ownPlace, const QString &contentFolder)
{
    return ResolvesInsideFolder(contentFolder, ownPlace) && RealPath(ownPlace) != RealPath(contentFolder);
}

// Why root (a real path) cannot be a site's root; empty when it can.
QString RefusalOf(const QString &root, const QString &baseFolder, const QString &ownPlace)
{
    if (root.isEmpty())
        return QStringLiteral("the folder does not exist");
    if (root == QDir::rootPath())
        return QStringLiteral("the folder is the file-system root");
    // Each check follows links: a link to the home folder is the home folder.
    if (ResolvesInsideFolder(root, QDir::homePath()))
        return QStringLiteral("the folder is or holds the home folder");
    const QStringList shared = SharedUserFolders();
    const auto sharedHeld = std::find_if(shared.begin(), shared.end(),
                                         [&root](const QString &folder) { return ResolvesInsideFolder(root, folder); });
    if (sharedHeld != shared.end())
        return QStringLiteral("the folder is or holds a shared folder (%1)").arg(*sharedHeld);
    if (baseFolder.isEmpty())
        return {};
    const QString content = ContentFolderOf(baseFolder);
    const QString tree = QFileInfo(content).path();
    if (ResolvesInsideFolder(root, tree))
        return QStringLiteral("the folder is or holds the data folder");
    // Inside the data tree only the page's own content is its site: a type
    // folder holds every content of its type, another content's folder is
    // that content's.
    if (ResolvesInsideFolder(tree, root)
        && !(IsContentsOwnPlace(ownPlace, content) && ResolvesInsideFolder(ownPlace, root)))
        return QStringLiteral("the folder lies in the data folder outside the content's own folder");
    return {};
}

} // namespace

LocalPageSite LocalPageSiteOf(const QString &wantedRoot, const QString &baseFolder, const QString &ownPlace)
{
    LocalPageSite site{RealPath(wantedRoot), QString()};
    site.refusal = RefusalOf(site.root, baseFolder, ownPlace);
    if (!site.refusal.isEmpty())
        site.root.clear();
    return site;
}

bool IsLocalPageServedAlone(const QString &page, const QString &baseFolder, const QString &ownPlace)
{
    return LocalPageSiteOf(QFileInfo(page).absolutePath(), baseFolder, ownPlace).root.isEmpty();
}

QString WebContentOwnFolder(const CContentsStore &store, qint32 number)
{
    QString folder;
    return MakeContentIdPath(store.GetContentFolder(CONTENT_WEB), number, folder) ? folder : QString();
}

bool IsHiddenRelativePath(const QString &relativePath)
{
    const QStringList parts = QDir::fromNativeSeparators(relativePath).split(u'/', Qt::SkipEmptyParts);
    return std::any_of(parts.begin(), parts.end(), [](const QString &part) { return part.startsWith(u'.'); });
}
