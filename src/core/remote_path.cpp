#include "core/remote_path.h"

#include "core/content_id.h"
#include "core/content_type.h"
#include "core/path_utils.h"

namespace {

const QString kImportFolder = QStringLiteral("/import");
const QString kDatabaseFolder = QStringLiteral("/import/db");

QString RemoteJoin(const QString &folder, const QString &name)
{
    return folder + QLatin1Char('/') + name;
}

QString RemoteListPath(const char *prefix, qint64 number)
{
    return RemoteJoin(kDatabaseFolder, QLatin1String(prefix) + FormatContentId(number) + QLatin1String(".xml"));
}

} // namespace

QString RemoteWebRoot()
{
    return QStringLiteral("/import/web");
}

QString GetUploadPath(int type)
{
    switch (type) {
    case CONTENT_MOVIE:
        return QStringLiteral("/import/video");
    case CONTENT_IMAGE:
        return QStringLiteral("/import/still");
    case CONTENT_TELOP:
        return QStringLiteral("/import/text");
    case CONTENT_FLASH:
        return QStringLiteral("/import/swf");
    case CONTENT_AUDIO:
        return QStringLiteral("/import/aud");
    default:
        return kDatabaseFolder;
    }
}

QString MakeRemoteCalendarPath(const QString &fileName)
{
    return RemoteJoin(kDatabaseFolder, fileName);
}

QString MakeRemoteContentPath(int type, QChar letter, qint64 number, const QString &localFile)
{
    QString extension;
    SplitPath(localFile, nullptr, nullptr, nullptr, &extension);
    if (extension.startsWith(QLatin1Char('.')))
        extension.remove(0, 1);
    return RemoteJoin(GetUploadPath(type), letter + FormatContentId(number) + QLatin1Char('.') + extension.toLower());
}

QString MakeRemotePlaylistPath(qint64 number)
{
    return RemoteListPath("PL", number);
}

QString MakeRemoteSchedulePath(qint64 number)
{
    return RemoteListPath("SC", number);
}

QString MakeRemoteSequencePath(qint64 number)
{
    return RemoteListPath("SQ", number);
}

QString MakeRemotePropertyPath(const QString &fileName)
{
    return RemoteJoin(kDatabaseFolder, fileName);
}

QString MakeRemoteGroupPath(const QString &fileName)
{
    return RemoteJoin(kImportFolder, fileName);
}
