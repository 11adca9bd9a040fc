#pragma once
// Value rules shared by the property records: which dates, times, weekday
// strings and hexadecimal texts a record accepts.

#include "core/win_types.h"

#include <QString>

// Serial parts from this value on mark the sample contents shipped with the program.
constexpr qint32 kFirstSampleSerial = 999000;

// A full calendar date and time; an all-zero value (no time) is accepted when allowEmpty.
bool IsValidSystemTime(const SystemTime &time, bool allowEmpty);
// A year, month and day; the all-zero value (no date) is accepted when allowEmpty.
bool IsValidDateValue(const DateValue &date, bool allowEmpty);
// Hours up to maxHour, minutes and seconds below 60, the fourth field up to maxFourth.
bool IsValidTimeValue(const TimeValue &time, int maxHour, int maxFourth);
// A time of day in frames (00:00:00.00 .. 23:59:59.29) or exactly 24:00:00.00.
bool IsValidTimeOfDay(const TimeValue &time);
// Digits "1" (Sunday) to "7" (Saturday), each at most once; empty is accepted.
bool IsValidWeekString(const QString &week);
// Pairs of hexadecimal digits (even length), at most maxDigits digits; empty is accepted.
bool IsHexByteText(const QString &text, int maxDigits);
// True when the serial part (the last six digits) of a content number marks a sample.
bool IsSampleIndex(qint32 index);
