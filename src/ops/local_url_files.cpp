#include "ops/local_url_files.h"

#include "core/path_utils.h"
#include "model/path_safety.h"
#include "model/web_property.h"
#include "transfer/web_package_files.h"

bool ExpImpListLocalUrlFiles(const QString &base, const CWebProperty &record, bool withLink, QStringList &files)
{
    const QString link = record.GetUrl();
    QString folder;
    QString page;
    if (link.isEmpty() || IsHttpUrl(link) || IsAbsolutePath(link) || !MakeContentIdPath(base, record.GetIndex(), folder)
        || !JoinInsideFolder(base, link, page))
        return false;
    WebFileSearchLog log{QStringLiteral("ExpImpSearchLocalUrlFile"), "Local URL File Search", "Invalid Path Name",
                         "Invalid Folder Name", Qt::CaseInsensitive};
    files.append(SearchWebPackageFiles(folder, withLink ? QString() : page, log));
    return true;
}
