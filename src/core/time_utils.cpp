#include "core/time_utils.h"

#include "core/clock.h"
#include "core/format_utils.h"
#include "core/last_error.h"

#include <QDate>
#include <QStringList>

#include <compare>
#include <tuple>

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr int kTimeCodeFramesPerSecond = 30;

template <typename T>
int Sign(const T &a, const T &b)
{
    const auto order = a <=> b;
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int SecondsOfDay(int hour, int minute, int second)
{
    return (hour * 60 + minute) * 60 + second;
}

qint64 TotalSeconds(const TimeValue &t)
{
    return SecondsOfDay(t.hour, t.minute, t.second);
}

// A field of digits only, within its limit.
bool ParseField(const QString &text, int limit, int &value)
{
    if (text.size() > 5 || !IsDecimalDigits(text))
        return false;
    value = text.toInt();
    return value <= limit;
}

// One to three digits after the point, read as the fraction of a second.
bool ParseMilliseconds(const QString &text, int &milliseconds)
{
    int value = 0;
    if (text.size() > 3 || !ParseField(text, 999, value))
        return false;
    for (qsizetype digits = text.size(); digits < 3; ++digits)
        value *= 10;
    milliseconds = value;
    return true;
}

} // namespace

QDate ToQDate(const DateValue &date)
{
    return QDate(date.year, date.month, date.day);
}

DateValue ToDateValue(const QDate &date)
{
    // An invalid date has year, month and day 0: "no date".
    return DateValue{quint16(date.year()), quint16(date.month()), quint16(date.day())};
}

QChar WeekdayDigit(int day)
{
    return QChar(u'1' + day);
}

QChar WeekdayDigitOf(const QDate &date)
{
    return WeekdayDigit(date.dayOfWeek() % 7); // Qt counts 1 Monday .. 7 Sunday
}

QString AllWeekdayDigits()
{
    return QStringLiteral("1234567");
}

int CompareDate(const DateValue &a, const DateValue &b)
{
    const bool aValid = ToQDate(a).isValid();
    const bool bValid = ToQDate(b).isValid();
    if (!aValid || !bValid)
        return Sign(aValid, bValid);
    return Sign(std::tie(a.year, a.month, a.day), std::tie(b.year, b.month, b.day));
}

int CompareSystemTime(const SystemTime &a, const SystemTime &b)
{
    return Sign(std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second, a.milliseconds),
                std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second, b.milliseconds));
}

int CompareTimeCode(const TimeValue &a, const TimeValue &b)
{
    return Sign(TotalSeconds(a) * kTimeCodeFramesPerSecond + a.frame, TotalSeconds(b) * kTimeCodeFramesPerSecond + b.frame);
}

int ComparePlayLengths(const PlayLength &a, const PlayLength &b)
{
    return Sign(TotalSeconds(a.Fields()) * 1000 + a.millisecond, TotalSeconds(b.Fields()) * 1000 + b.millisecond);
}

bool IsInTimeRange(const TimeValue &start, const TimeValue &end, int *secondsLeft, const SystemTime *time)
{
    const int from = SecondsOfDay(start.hour, start.minute, start.second);
    const int to = SecondsOfDay(end.hour, end.minute, end.second);
    if (from == to)
        return false;
    const SystemTime tested = time ? *time : GetLocalTime();
    const int now = SecondsOfDay(tested.hour, tested.minute, tested.second);
    const bool spansMidnight = from > to;
    const bool inside = spansMidnight ? (now >= from || now <= to) : (now >= from && now <= to);
    if (inside && secondsLeft)
        *secondsLeft = now <= to ? to - now : to + kSecondsPerDay - now;
    return inside;
}

bool FramesToTimeCode(qint64 frames, TimeValue &time, bool frames25)
{
    const qint64 perSecond = frames25 ? 25 : kTimeCodeFramesPerSecond;
    const qint64 perHour = perSecond * 3600;
    if (frames < 0 || frames / perHour > 0xFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const qint64 seconds = frames / perSecond;
    time.hour = quint16(frames / perHour);
    time.minute = quint16(seconds / 60 % 60);
    time.second = quint16(seconds % 60);
    time.frame = quint16(frames % perSecond);
    return true;
}

bool ParseTimeValue(const QString &text, TimeValue &time, bool withMilliseconds)
{
    QString clock = text.trimmed();
    int milliseconds = 0;
    const qsizetype point = clock.indexOf(QLatin1Char('.'));
    if (point >= 0) {
        if (!withMilliseconds || !ParseMilliseconds(clock.mid(point + 1), milliseconds)) {
            SetLastError(ERROR_INVALID_DATA);
            return false;
        }
        clock.truncate(point);
    }
    const QStringList fields = clock.split(QLatin1Char(':'));
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (fields.size() != 3 || !ParseField(fields[0], 0xFFFF, hour) || !ParseField(fields[1], 59, minute)
        || !ParseField(fields[2], 59, second)) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    time = TimeValue{quint16(hour), quint16(minute), quint16(second), quint16(milliseconds)};
    return true;
}
