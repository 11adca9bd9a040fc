#include "cab/cab_member_path.h"

#include <QRegularExpression>

bool SplitSafeRelativePath(const QString &path, QStringList &parts)
{
    parts.clear();
    if (path.isEmpty() || path.contains(QLatin1Char(':')))
        return false;
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    QStringList split = path.split(separators);
    for (const QString &part : split) {
        // An empty first part means a leading separator: an absolute path.
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    }
    parts = std::move(split);
    return true;
}

QString JoinCabMemberName(const QStringList &parts)
{
    return parts.join(QLatin1Char('\\'));
}
