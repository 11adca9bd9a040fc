#include "model/property_fields.h"

namespace {

// The fields are formatted digit by digit rather than through printf: a list
// save formats tens of thousands of them, and this keeps it near the cost of
// writing the XML itself.
void appendDigits(QString &out, unsigned value, int width)
{
    char buffer[12];
    for (int i = width - 1; i >= 0; --i) {
        buffer[i] = char('0' + value % 10);
        value /= 10;
    }
    out.append(QLatin1StringView(buffer, width));
}

// Reads exactly width decimal digits at pos.
bool readDigits(QStringView text, qsizetype pos, int width, unsigned &value)
{
    if (pos + width > text.size())
        return false;
    value = 0;
    for (int i = 0; i < width; ++i) {
        const char16_t c = text[pos + i].unicode();
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + unsigned(c - '0');
    }
    return true;
}

int hexDigit(char16_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A non-empty run of decimal digits that fits 64 bits.
bool readDecimal(QStringView text, quint64 &value)
{
    if (text.isEmpty() || text.size() > 20)
        return false;
    quint64 result = 0;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < '0' || c > '9')
            return false;
        const quint64 digit = c - '0';
        if (result > (~quint64(0) - digit) / 10)
            return false;
        result = result * 10 + digit;
    }
    value = result;
    return true;
}

bool isCharAt(QStringView text, qsizetype pos, char c)
{
    return pos < text.size() && text[pos] == QLatin1Char(c);
}

} // namespace

QString IndexFieldText(qint32 index)
{
    QString out;
    appendDigits(out, unsigned(qMax(index, 0)), 9);
    return out;
}

QString DateTimeFieldText(const SystemTime &t)
{
    return DateFieldText({t.year, t.month, t.day}) + u' ' + TimeFieldText({t.hour, t.minute, t.second, t.milliseconds});
}

QString DateFieldText(const DateValue &d)
{
    QString out;
    out.reserve(10);
    appendDigits(out, d.year, 4);
    out.append(u'-');
    appendDigits(out, d.month, 2);
    out.append(u'-');
    appendDigits(out, d.day, 2);
    return out;
}

QString TimeFieldText(const TimeValue &t)
{
    QString out;
    out.reserve(12);
    appendDigits(out, t.hour, 2);
    out.append(u':');
    appendDigits(out, t.minute, 2);
    out.append(u':');
    appendDigits(out, t.second, 2);
    out.append(u'.');
    appendDigits(out, t.frame, 3);
    return out;
}

QString ColorFieldText(ColorRef color)
{
    static const char hex[] = "0123456789ABCDEF";
    const int parts[] = {RedOf(color), GreenOf(color), BlueOf(color)};
    char buffer[8] = {'0', 'x'};
    for (int i = 0; i < 3; ++i) {
        buffer[2 + 2 * i] = hex[parts[i] >> 4];
        buffer[3 + 2 * i] = hex[parts[i] & 15];
    }
    return QString::fromLatin1(buffer, 8);
}

bool ParseIndexField(QStringView text, qint32 &index)
{
    unsigned value = 0;
    if (text.size() != 9 || !readDigits(text, 0, 9, value))
        return false;
    index = qint32(value);
    return true;
}

bool ParseDateTimeField(QStringView text, SystemTime &t)
{
    unsigned y, mo, d, h, mi, s, ms;
    if (text.size() != 23 || !readDigits(text, 0, 4, y) || !isCharAt(text, 4, '-')
        || !readDigits(text, 5, 2, mo) || !isCharAt(text, 7, '-') || !readDigits(text, 8, 2, d)
        || !isCharAt(text, 10, ' ') || !readDigits(text, 11, 2, h) || !isCharAt(text, 13, ':')
        || !readDigits(text, 14, 2, mi) || !isCharAt(text, 16, ':') || !readDigits(text, 17, 2, s)
        || !isCharAt(text, 19, '.') || !readDigits(text, 20, 3, ms))
        return false;
    t = SystemTime{};
    t.year = quint16(y);
    t.month = quint16(mo);
    t.day = quint16(d);
    t.hour = quint16(h);
    t.minute = quint16(mi);
    t.second = quint16(s);
    t.milliseconds = quint16(ms);
    return true;
}

bool ParseDateField(QStringView text, DateValue &date)
{
    unsigned y, mo, d;
    if (text.size() != 10 || !readDigits(text, 0, 4, y) || !isCharAt(text, 4, '-')
        || !readDigits(text, 5, 2, mo) || !isCharAt(text, 7, '-') || !readDigits(text, 8, 2, d))
        return false;
    date = DateValue{quint16(y), quint16(mo), quint16(d)};
    return true;
}

bool ParseTimeField(QStringView text, TimeValue &time)
{
    unsigned h, m, s, f;
    if (text.size() != 12 || !readDigits(text, 0, 2, h) || !isCharAt(text, 2, ':')
        || !readDigits(text, 3, 2, m) || !isCharAt(text, 5, ':') || !readDigits(text, 6, 2, s)
        || !isCharAt(text, 8, '.') || !readDigits(text, 9, 3, f))
        return false;
    time = TimeValue{quint16(h), quint16(m), quint16(s), quint16(f)};
    return true;
}

bool ParseColorField(QStringView text, ColorRef &color)
{
    if (text.size() != 8 || !text.startsWith(u"0x"))
        return false;
    uint rgb = 0;
    for (qsizetype i = 2; i < text.size(); ++i) {
        const int digit = hexDigit(text[i].unicode());
        if (digit < 0)
            return false;
        rgb = rgb * 16 + uint(digit);
    }
    color = MakeRgb(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
    return true;
}

bool ParseIntField(QStringView text, qint64 minimum, qint64 maximum, qint64 &value)
{
    const bool negative = text.startsWith(u'-');
    quint64 magnitude = 0;
    if (!readDecimal(negative ? text.mid(1) : text, magnitude) || magnitude > quint64(1) << 62)
        return false;
    const qint64 parsed = negative ? -qint64(magnitude) : qint64(magnitude);
    if (parsed < minimum || parsed > maximum)
        return false;
    value = parsed;
    return true;
}

bool ParseUInt64Field(QStringView text, quint64 &value)
{
    return readDecimal(text, value);
}

int CompareText(const QString &a, const QString &b)
{
    return QString::localeAwareCompare(a, b);
}

int CompareDates(const DateValue &a, const DateValue &b)
{
    if (const int c = CompareNumbers(a.year, b.year))
        return c;
    if (const int c = CompareNumbers(a.month, b.month))
        return c;
    return CompareNumbers(a.day, b.day);
}

int CompareTimes(const TimeValue &a, const TimeValue &b)
{
    if (const int c = CompareNumbers(a.hour, b.hour))
        return c;
    if (const int c = CompareNumbers(a.minute, b.minute))
        return c;
    if (const int c = CompareNumbers(a.second, b.second))
        return c;
    return CompareNumbers(a.frame, b.frame);
}
