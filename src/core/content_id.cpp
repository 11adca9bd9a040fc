#include "core/content_id.h"

#include "core/format_utils.h"
#include "core/last_error.h"

namespace {

constexpr qint64 kSerialRange = 1000000;
constexpr qint64 kFixedRange = 1000000000;

QString MakeTableName(const char *prefix, qint64 number)
{
    if (!IsValidContentId(number)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return QString();
    }
    return QLatin1String(prefix) + FormatContentId(number) + QLatin1String("_TBL");
}

// Accepts exactly prefix, one to nine digits and "_TBL"; anything else
// (signs, spaces, other letters, more digits) is not a table name.
int ParseTableName(const QString &name, QLatin1String prefix)
{
    const QLatin1String suffix("_TBL");
    const qsizetype digitCount = name.size() - prefix.size() - suffix.size();
    if (!name.startsWith(prefix) || !name.endsWith(suffix) || digitCount < 1 || digitCount > 9
        || !IsDecimalDigits(QStringView(name).mid(prefix.size(), digitCount))) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    return QStringView(name).mid(prefix.size(), digitCount).toInt();
}

} // namespace

bool IsValidContentId(qint64 number)
{
    return number >= 0 && number <= kMaxContentId;
}

QString FormatContentId(qint64 number)
{
    return QString::asprintf("%09lld", static_cast<long long>(number));
}

QString FormatContentIdFixed(qint64 number)
{
    const quint64 magnitude = number < 0 ? 0 - quint64(number) : quint64(number);
    return QString::asprintf("%09llu", static_cast<unsigned long long>(magnitude % kFixedRange));
}

int MakeContentId(int typePart, int subNumber, int serial)
{
    if (typePart < 0 || typePart > 9 || subNumber < 0 || subNumber > 99 || serial < 0 || serial >= kSerialRange) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return int((typePart * 100 + subNumber) * kSerialRange + serial);
}

bool SplitContentId(qint64 number, int *typePart, int *subNumber, int *serial)
{
    if (!IsValidContentId(number)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const qint64 head = number / kSerialRange;
    if (typePart)
        *typePart = int(head / 100);
    if (subNumber)
        *subNumber = int(head % 100);
    if (serial)
        *serial = int(number % kSerialRange);
    return true;
}

int ContentIdPrefix(qint64 number)
{
    int prefix = 0;
    SplitContentId(number, &prefix, nullptr, nullptr);
    return prefix;
}

QString MakePlaylistTableName(qint64 number)
{
    return MakeTableName("PL", number);
}

QString MakeScheduleTableName(qint64 number)
{
    return MakeTableName("SC", number);
}

QString MakeSequenceTableName(qint64 number)
{
    return MakeTableName("SQ", number);
}

int ParsePlaylistTableName(const QString &name)
{
    return ParseTableName(name, QLatin1String("PL"));
}

int ParseScheduleTableName(const QString &name)
{
    return ParseTableName(name, QLatin1String("SC"));
}
