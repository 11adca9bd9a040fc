#include "ops/telop_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QRegularExpression>

#include <mutex>

namespace {

int cellHeightAt(const QString &face, int pixelSize)
{
    QFont font(face);
    font.setPixelSize(pixelSize);
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

// Scales the em size by the face's ratio of cell to em, then steps down while
// the cell is still taller than asked (rounding can overshoot by a pixel).
int searchPixelSize(const QString &face, int height)
{
    const int cellAtHeight = cellHeightAt(face, height);
    if (cellAtHeight <= 0)
        return height;
    int size = qMax(1, int(qint64(height) * height / cellAtHeight));
    while (size < height && cellHeightAt(face, size + 1) <= height)
        ++size;
    while (size > 1 && cellHeightAt(face, size) > height)
        --size;
    return size;
}

} // namespace

int TelopPixelSize(const QString &face, int height)
{
    if (height <= 1)
        return 1;
    static std::mutex mutex;
    static QHash<QPair<QString, int>, int> cache;
    const QPair<QString, int> key(face, height);
    {
        std::lock_guard lock(mutex);
        const auto found = cache.constFind(key);
        if (found != cache.constEnd())
            return *found;
    }
    const int size = searchPixelSize(face, height);
    std::lock_guard lock(mutex);
    cache.insert(key, size);
    return size;
}

QFont MakeTelopFont(const QString &face, int height, quint32 style, bool antialiased)
{
    QFont font(face);
    font.setPixelSize(TelopPixelSize(face, height));
    font.setWeight((style & TELOP_STYLE_BOLD) ? QFont::Bold : QFont::Normal);
    font.setItalic(style & TELOP_STYLE_ITALIC);
    font.setUnderline(style & TELOP_STYLE_UNDERLINE);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(antialiased ? QFont::PreferAntialias : QFont::NoAntialias);
    return font;
}

QString TelopFamilyName(const QString &listed)
{
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
    return QString(listed).remove(foundry);
}

QStringList TelopFamilies(bool filter)
{
    QStringList families;
    for (const QString &family : QFontDatabase::families()) {
        if (filter
            && (!QFontDatabase::isSmoothlyScalable(family) || family.startsWith(u'@') || family.startsWith(QChar(0xFF20))
                || QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol)))
            continue;
        families << TelopFamilyName(family);
    }
    families.removeDuplicates();
    return families;
}

QString InstalledTelopFamily(const QString &face)
{
    const QString family = TelopFamilyName(face);
    if (family.isEmpty() || !QFontDatabase::hasFamily(family))
        return QString();
    // The font database knows a family under each of its names and lists it
    // under the one of the locale; the matched font tells which that is.
    return TelopFamilyName(QFontInfo(QFont(family)).family());
}

QString DefaultTelopFamily()
{
    static const char *const kPreferred[] = {"IPAGothic", "IPAPGothic", "Noto Sans CJK JP", "Noto Sans JP"};
    for (const char *face : kPreferred) {
        const QString installed = InstalledTelopFamily(QString::fromLatin1(face));
        if (!installed.isEmpty())
            return installed;
    }
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    return japanese.isEmpty() ? QString() : TelopFamilyName(japanese.first());
}
