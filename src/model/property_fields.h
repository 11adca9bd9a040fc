#pragma once
// Text forms of record fields in the list files, and their strict parsers.
// Every parser returns false for text that is not exactly its form, so a
// damaged list file is refused instead of loading half-read values.

#include "core/win_types.h"

#include <QString>
#include <QStringView>

// "%09d"
QString IndexFieldText(qint32 index);
// "YYYY-MM-DD hh:mm:ss.mmm"
QString DateTimeFieldText(const SystemTime &time);
// "YYYY-MM-DD"
QString DateFieldText(const DateValue &date);
// "hh:mm:ss.nnn" (the fourth field as three digits)
QString TimeFieldText(const TimeValue &time);
// "0xRRGGBB" of a 0x00BBGGRR colour.
QString ColorFieldText(ColorRef color);

bool ParseIndexField(QStringView text, qint32 &index);
bool ParseDateTimeField(QStringView text, SystemTime &time);
bool ParseDateField(QStringView text, DateValue &date);
bool ParseTimeField(QStringView text, TimeValue &time);
bool ParseColorField(QStringView text, ColorRef &color);
// A signed decimal number in [minimum, maximum].
bool ParseIntField(QStringView text, qint64 minimum, qint64 maximum, qint64 &value);
bool ParseUInt64Field(QStringView text, quint64 &value);

// Three-way comparisons used by the records' sort columns (date-times
// compare with CompareSystemTime).
int CompareText(const QString &a, const QString &b);
int CompareDates(const DateValue &a, const DateValue &b);
int CompareTimes(const TimeValue &a, const TimeValue &b);
template <class T>
int CompareNumbers(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}
