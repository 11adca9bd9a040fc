#include "core/format_utils.h"

#include "core/last_error.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace {

// The locale's short time pattern gains the seconds after its minutes when it
// has none ("H:mm" becomes "H:mm:ss").
QString TimeFormatWithSeconds(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (format.contains(QLatin1Char('s')))
        return format;
    const qsizetype minutes = format.indexOf(QLatin1String("mm"));
    if (minutes >= 0)
        format.insert(minutes + 2, QLatin1String(":ss"));
    return format;
}

} // namespace

QString FormatDateText(int year, int month, int day)
{
    return QString::asprintf("%04d-%02d-%02d", year, month, day);
}

QString FormatDateTimeText(const SystemTime &time)
{
    return FormatDateText(time.year, time.month, time.day) + QLatin1Char(' ')
        + FormatTimeMsText(time.hour, time.minute, time.second, time.milliseconds);
}

QString FormatSlashDate(int year, int month, int day)
{
    if (!QDate(year, month, day).isValid())
        return QString();
    return QString::asprintf("%04d/%02d/%02d", year, month, day);
}

QString FormatSlashDateTime(const SystemTime &time)
{
    const QString date = FormatSlashDate(time.year, time.month, time.day);
    if (date.isEmpty())
        return date;
    return date + QString::asprintf(" %02d:%02d:%02d", time.hour, time.minute, time.second);
}

QString FormatTimeMsText(int hours, int minutes, int seconds, int milliseconds)
{
    return QString::asprintf("%02d:%02d:%02d.%03d", hours, minutes, seconds, milliseconds);
}

QString FormatTimeText(const TimeValue &time, bool withMilliseconds)
{
    if (withMilliseconds)
        return FormatTimeMsText(time.hour, time.minute, time.second, time.frame);
    return QString::asprintf("%02d:%02d:%02d", time.hour, time.minute, time.second);
}

QString FormatLocaleDate(const SystemTime &time)
{
    return FormatLocaleDateYmd(time.year, time.month, time.day);
}

QString FormatLocaleTime(const SystemTime &time)
{
    const QTime clock(time.hour, time.minute, time.second, time.milliseconds);
    if (!clock.isValid())
        return QString();
    const QLocale locale;
    return locale.toString(clock, TimeFormatWithSeconds(locale));
}

QString FormatLocaleDateYmd(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (!date.isValid())
        return QString();
    return QLocale().toString(date, QLocale::ShortFormat);
}

bool ParseVersionNumber(const QString &text, int &number)
{
    const QString digits = text.left(4).remove(QLatin1Char('.'));
    if (!IsDecimalDigits(digits)) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    number = digits.toInt();
    return true;
}

bool IsDecimalDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

bool RemoveControlChars(QString &text)
{
    const qsizetype before = text.size();
    text.removeIf([](QChar c) { return c.unicode() < 32; });
    return text.size() != before;
}
