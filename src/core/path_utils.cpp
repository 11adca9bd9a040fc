#include "core/path_utils.h"

#include "core/content_id.h"
#include "core/content_type.h"
#include "core/last_error.h"

namespace {

bool IsAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool HasDrivePrefix(const QString &path)
{
    return path.size() >= 2 && IsAsciiLetter(path.at(0)) && path.at(1) == QLatin1Char(':');
}

qsizetype LastSeparator(const QString &path)
{
    return qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

// The common shape of every path named after a content number: refuses an
// empty folder (the file would land in the root) and numbers that do not have
// the nine-digit form.
bool MakeNumberedPath(const QString &folder, const QString &prefix, qint64 number, const QString &suffix, QString &path)
{
    if (folder.isEmpty() || !IsValidContentId(number)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    path = JoinPath(folder, prefix + FormatContentId(number) + suffix);
    return true;
}

} // namespace

QString JoinPath(const QString &folder, const QString &name)
{
    return folder + QLatin1Char('/') + name;
}

bool MakeContentIdPath(const QString &folder, qint64 number, QString &path)
{
    return MakeNumberedPath(folder, QString(), number, QString(), path);
}

bool MakePlaylistXmlPath(const QString &folder, qint64 number, QString &path)
{
    return MakeNumberedPath(folder, QStringLiteral("PL"), number, QStringLiteral(".xml"), path);
}

bool MakeScheduleXmlPath(const QString &folder, qint64 number, QString &path)
{
    return MakeNumberedPath(folder, QStringLiteral("SC"), number, QStringLiteral(".xml"), path);
}

bool MakeSequenceXmlPath(const QString &folder, qint64 number, QString &path)
{
    return MakeNumberedPath(folder, QStringLiteral("SQ"), number, QStringLiteral(".xml"), path);
}

bool MakeTelopFilePath(const QString &folder, qint64 number, int kind, QString &path)
{
    if (kind != TELOP_FILE_TEXT && kind != TELOP_FILE_BITMAP) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const QString extension = kind == TELOP_FILE_TEXT ? QStringLiteral(".txt") : QStringLiteral(".bmp");
    return MakeNumberedPath(folder, QString(), number, extension, path);
}

bool IsAbsolutePath(const QString &text)
{
    return HasDrivePrefix(text) || text.startsWith(QLatin1String("\\\\")) || text.startsWith(QLatin1Char('/'));
}

bool IsHttpUrl(const QString &text)
{
    return text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QString WithoutTrailingSeparator(const QString &path)
{
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        return path.chopped(1);
    return path;
}

bool IsValidFolderPath(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString rest = HasDrivePrefix(path) ? path.mid(2) : path;
    static const QString kRefused = QStringLiteral(":*?\"<>|");
    for (const QChar c : rest) {
        if (kRefused.contains(c))
            return false;
    }
    return true;
}

bool SplitPath(const QString &path, QString *drive, QString *folder, QString *title, QString *extension)
{
    if (path.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const qsizetype driveLength = HasDrivePrefix(path) ? 2 : 0;
    const qsizetype nameStart = qMax(LastSeparator(path) + 1, driveLength);
    const QString name = path.mid(nameStart);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (drive)
        *drive = path.left(driveLength);
    if (folder)
        *folder = path.mid(driveLength, nameStart - driveLength);
    if (title)
        *title = dot < 0 ? name : name.left(dot);
    if (extension)
        *extension = dot < 0 ? QString() : name.mid(dot);
    return true;
}

bool IsPortableFileName(const QString &name)
{
    const QString baseName = name.mid(LastSeparator(name) + 1);
    if (baseName.isEmpty())
        return false;
    for (const QChar c : baseName) {
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != QLatin1Char('-') && c != QLatin1Char('.') && c != QLatin1Char('_'))
            return false;
    }
    return true;
}

namespace {

struct ExtensionType {
    const char *extension;
    int type;
};
constexpr ExtensionType kExtensionTypes[] = {
    {".mpg", CONTENT_MOVIE}, {".m2p", CONTENT_MOVIE}, {".mp4", CONTENT_MOVIE},
    {".m4e", CONTENT_MOVIE}, {".sdp", CONTENT_MOVIE}, {".wmv", CONTENT_MOVIE},
    {".bmp", CONTENT_IMAGE}, {".jpg", CONTENT_IMAGE},
    {".swf", CONTENT_FLASH},
    {".wav", CONTENT_AUDIO}, {".mp3", CONTENT_AUDIO}, {".wma", CONTENT_AUDIO},
    {".htm", CONTENT_WEB}, {".html", CONTENT_WEB},
    {".dscc", CONTENT_TYPE_ANIMATION},
};

} // namespace

QStringList ExtensionsOfContentType(int type)
{
    QStringList extensions;
    for (const ExtensionType &entry : kExtensionTypes) {
        if (entry.type == type)
            extensions.append(QLatin1String(entry.extension));
    }
    return extensions;
}

int GetContentTypeFromFileName(const QString &path)
{
    QString extension;
    if (!SplitPath(path, nullptr, nullptr, nullptr, &extension) || extension.isEmpty())
        return 0;
    for (const ExtensionType &entry : kExtensionTypes) {
        if (extension.compare(QLatin1String(entry.extension), Qt::CaseInsensitive) != 0)
            continue;
        if (entry.type == CONTENT_WEB && !IsPortableFileName(path))
            return CONTENT_TYPE_WEB_NOT_PORTABLE;
        return entry.type;
    }
    return 0;
}
