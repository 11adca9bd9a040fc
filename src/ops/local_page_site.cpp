#include "ops/local_page_site.h"

#include "core/data_folders.h"
#include "model/path_safety.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

QString RealPath(const QString &path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

// Why folder (a real path) cannot be a site's folder; empty when it can.
QString RefusalOf(const QString &folder, const QString &baseFolder)
{
    if (folder.isEmpty())
        return QStringLiteral("the folder does not exist");
    if (folder == QDir::rootPath())
        return QStringLiteral("the folder is the file-system root");
    // Each check follows links: a link to the home folder is the home folder.
    if (ResolvesInsideFolder(folder, QDir::homePath()))
        return QStringLiteral("the folder is or holds the home folder");
    if (baseFolder.isEmpty())
        return {};
    const QString content = ContentFolderOf(baseFolder);
    const QString tree = QFileInfo(content).path();
    if (ResolvesInsideFolder(folder, tree))
        return QStringLiteral("the folder is or holds the data folder");
    if (ResolvesInsideFolder(tree, folder) && (folder == RealPath(content) || !ResolvesInsideFolder(content, folder)))
        return QStringLiteral("the folder lies in the data folder outside a content's own folder");
    return {};
}

} // namespace

LocalPageSite LocalPageSiteOf(const QString &wantedFolder, const QString &baseFolder)
{
    LocalPageSite site{RealPath(wantedFolder), QString()};
    site.refusal = RefusalOf(site.folder, baseFolder);
    if (!site.refusal.isEmpty())
        site.folder.clear();
    return site;
}

bool IsLocalPageServedAlone(const QString &page, const QString &baseFolder)
{
    return LocalPageSiteOf(QFileInfo(page).absolutePath(), baseFolder).folder.isEmpty();
}

bool IsHiddenRelativePath(const QString &relativePath)
{
    const QStringList parts = QDir::fromNativeSeparators(relativePath).split(u'/', Qt::SkipEmptyParts);
    return std::any_of(parts.begin(), parts.end(), [](const QString &part) { return part.startsWith(u'.'); });
}
