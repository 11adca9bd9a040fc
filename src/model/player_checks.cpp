#include "model/player_checks.h"

#include "core/format_utils.h"
#include "model/player_record.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace {

constexpr int kMaxHostNameLength = 253;
constexpr int kMaxLabelLength = 63;

bool isIpv4Part(const QString &part)
{
    // At most three digits, so "0000001" is not taken for 1.
    if (part.size() > 3 || !IsDecimalDigits(part))
        return false;
    return part.toInt() <= 255;
}

bool isDottedIpv4(const QStringList &parts)
{
    if (parts.size() != 4)
        return false;
    for (const QString &part : parts) {
        if (!isIpv4Part(part))
            return false;
    }
    return true;
}

bool isHostLabel(const QString &label)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9](?:[A-Za-z0-9-]*[A-Za-z0-9])?$"));
    return label.size() <= kMaxLabelLength && pattern.match(label).hasMatch();
}

} // namespace

bool IsValidPlayerAddress(const QString &address)
{
    if (address.isEmpty() || address.size() > kMaxHostNameLength)
        return false;
    const QStringList labels = address.split(QLatin1Char('.'));
    // Four numeric parts are read as an address or refused, never as a name.
    const bool numeric = std::all_of(labels.begin(), labels.end(), [](const QString &label) { return IsDecimalDigits(label); });
    if (numeric)
        return isDottedIpv4(labels);
    for (const QString &label : labels) {
        if (!isHostLabel(label))
            return false;
    }
    return true;
}

bool NormalizeMacAddress(const QString &text, QString &normalized)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        normalized.clear();
        return true;
    }
    static const QRegularExpression pattern(
        QStringLiteral("^[0-9A-Fa-f]{2}([-:])[0-9A-Fa-f]{2}(?:\\1[0-9A-Fa-f]{2}){4}$"));
    if (!pattern.match(trimmed).hasMatch())
        return false;
    normalized = trimmed.toUpper().replace(QLatin1Char(':'), QLatin1Char('-'));
    return true;
}

QString NormalizedTimeZone(const QString &reported)
{
    if (reported.size() == 9 && reported.startsWith(QLatin1String("GMT -")))
        return QStringLiteral("GMT -0") + reported.right(4);
    return reported;
}

bool StoreReportedFacts(PlayerRecord &record, const ReportedPlayerFacts &facts, bool onlyUnknown)
{
    if (onlyUnknown && (!record.Serial.isEmpty() || !record.TimeZone.isEmpty()))
        return false;
    const PlayerRecord before = record;
    record.Serial = facts.serial;
    record.TimeZone = NormalizedTimeZone(facts.timeZone);
    record.SummerTime = facts.summerTime;
    return record != before;
}
