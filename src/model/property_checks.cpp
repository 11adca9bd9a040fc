#include "model/property_checks.h"

#include <QDate>

namespace {

bool isAllZero(const SystemTime &t)
{
    return t.year == 0 && t.month == 0 && t.day == 0 && t.hour == 0 && t.minute == 0
        && t.second == 0 && t.milliseconds == 0;
}

bool isCalendarDate(int year, int month, int day)
{
    return year >= 1601 && year <= 9999 && QDate::isValid(year, month, day);
}

} // namespace

bool IsValidSystemTime(const SystemTime &time, bool allowEmpty)
{
    if (isAllZero(time))
        return allowEmpty;
    return isCalendarDate(time.year, time.month, time.day) && time.hour < 24 && time.minute < 60
        && time.second < 60 && time.milliseconds < 1000;
}

bool IsValidDateValue(const DateValue &date, bool allowEmpty)
{
    if (date.year == 0 && date.month == 0 && date.day == 0)
        return allowEmpty;
    return isCalendarDate(date.year, date.month, date.day);
}

bool IsValidTimeValue(const TimeValue &time, int maxHour, int maxFourth)
{
    return time.hour <= maxHour && time.minute < 60 && time.second < 60 && time.frame <= maxFourth;
}

bool IsValidTimeOfDay(const TimeValue &time)
{
    if (time.hour == 24)
        return time.minute == 0 && time.second == 0 && time.frame == 0;
    return IsValidTimeValue(time, 23, 29);
}

bool IsValidWeekString(const QString &week)
{
    if (week.size() > 7)
        return false;
    bool seen[8] = {};
    for (QChar c : week) {
        const int digit = c.unicode() - '0';
        if (digit < 1 || digit > 7 || seen[digit])
            return false;
        seen[digit] = true;
    }
    return true;
}

bool IsHexByteText(const QString &text, int maxDigits)
{
    if (text.size() > maxDigits || text.size() % 2 != 0)
        return false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const bool hex = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
        if (!hex)
            return false;
    }
    return true;
}

bool IsSampleIndex(qint32 index)
{
    return index >= 0 && index % 1000000 >= kFirstSampleSerial;
}
