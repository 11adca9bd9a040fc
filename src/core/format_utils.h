#pragma once
// Date and time texts, version numbers and the cleaning of typed texts.

#include "core/win_types.h"

#include <QString>

// "%04d-%02d-%02d"
QString FormatDateText(int year, int month, int day);
// "%04d-%02d-%02d %02d:%02d:%02d.%03d"
QString FormatDateTimeText(const SystemTime &time);
// "%02d:%02d:%02d.%03d"
QString FormatTimeMsText(int hours, int minutes, int seconds, int milliseconds);
// "hh:mm:ss", followed by "." and three digits of milliseconds (the fourth
// field) when withMilliseconds is set.
QString FormatTimeText(const TimeValue &time, bool withMilliseconds);

// "yyyy/MM/dd" and "yyyy/MM/dd hh:mm:ss", as dates and times are shown in
// the program's lists; an empty text for a date that does not exist.
QString FormatSlashDate(int year, int month, int day);
QString FormatSlashDateTime(const SystemTime &time);

// The user's locale: its short date, and its short time with the seconds (as
// the desktop shows a time of day). An empty text for a date that does not
// exist.
QString FormatLocaleDate(const SystemTime &time);
QString FormatLocaleTime(const SystemTime &time);
QString FormatLocaleDateYmd(int year, int month, int day);

// The first four characters with "." removed, read as a number ("1.23" gives
// 123). False with last error 13 (number untouched) when they are not digits.
bool ParseVersionNumber(const QString &text, int &number);

// True when the text is not empty and holds only the digits 0 to 9.
bool IsDecimalDigits(QStringView text);

// Deletes every character below 32; true when any was deleted.
bool RemoveControlChars(QString &text);
