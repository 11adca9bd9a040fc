#pragma once
// Comparisons, ranges, time codes, the parser of time texts, date values as
// calendar dates and the weekday digits.

#include "core/win_types.h"

#include <QDate>
#include <QString>

// A date value as a calendar date: invalid for "no date" and for a day the
// calendar does not have.
QDate ToQDate(const DateValue &date);
// The date value of a calendar date; "no date" for an invalid one.
DateValue ToDateValue(const QDate &date);

// Schedules, calendar rows and no-play periods name their weekdays by the
// digits "1" (Sunday) to "7" (Saturday).
QChar WeekdayDigit(int day); // day 0 Sunday .. 6 Saturday
QChar WeekdayDigitOf(const QDate &date);
// "1234567": every day of the week.
QString AllWeekdayDigits();

// -1, 0 or 1 as a is before, equal to or after b. Dates that do not exist on
// the calendar (year 0 is "no date") sort before every real date and equal to
// one another.
int CompareDate(const DateValue &a, const DateValue &b);
// -1, 0 or 1 by the full date and time (the weekday is not compared).
int CompareSystemTime(const SystemTime &a, const SystemTime &b);
// -1, 0 or 1 by frame count at 30 frames per second.
int CompareTimeCode(const TimeValue &a, const TimeValue &b);
// -1, 0 or 1 by milliseconds.
int ComparePlayLengths(const PlayLength &a, const PlayLength &b);

// True when the time of day (hours, minutes and seconds only) lies between
// start and end, both inclusive. Equal ends make no range; a start later than
// the end spans midnight. When true and secondsLeft is given, it receives the
// seconds until the end, counted across midnight. A null time tests the local
// time now.
bool IsInTimeRange(const TimeValue &start, const TimeValue &end, int *secondsLeft = nullptr,
                   const SystemTime *time = nullptr);

// Hours, minutes, seconds and frames of a frame count at 30 frames per second,
// or 25 when frames25 is set. False with last error 87 for a negative count or
// one whose hours do not fit.
bool FramesToTimeCode(qint64 frames, TimeValue &time, bool frames25 = false);

// Parses "h:m:s" and, when withMilliseconds is set, an optional ".f" whose one
// to three digits are the fraction of the second (".5" is 500 ms) into the
// fourth field. Minutes and seconds must be below 60. False with last error 13
// (time untouched) for any other text.
bool ParseTimeValue(const QString &text, TimeValue &time, bool withMilliseconds);
