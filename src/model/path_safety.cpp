#include "model/path_safety.h"

#include "core/last_error.h"
#include "core/path_utils.h"

#include <QDir>
#include <QFileInfo>

bool IsSafePathComponent(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (QChar c : name) {
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 32)
            return false;
    }
    return true;
}

bool JoinInsideFolder(const QString &folder, const QString &name, QString &path)
{
    QString relative = name;
    relative.replace(u'\\', u'/');
    if (folder.isEmpty() || relative.isEmpty() || IsAbsolutePath(name) || relative.startsWith(u'/')) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const QString cleaned = QDir::cleanPath(relative);
    if (cleaned == u".." || cleaned.startsWith(u"../") || cleaned == u".") {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    path = JoinPath(folder, cleaned);
    return true;
}

bool ResolvesInsideFolder(const QString &folder, const QString &path)
{
    const QString realFolder = QFileInfo(folder).canonicalFilePath();
    const QString realPath = QFileInfo(path).canonicalFilePath();
    if (realFolder.isEmpty() || realPath.isEmpty())
        return false;
    return realPath == realFolder
        || realPath.startsWith(realFolder.endsWith(u'/') ? realFolder : realFolder + u'/');
}
