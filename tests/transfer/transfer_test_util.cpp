#include "transfer_test_util.h"

#include <QFile>

QByteArray ReadFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QByteArray ReadGolden(const QString &name)
{
    return ReadFileBytes(QStringLiteral(TRANSFER_GOLDEN_DIR "/") + name);
}

SystemTime MakeTime(int year, int month, int day, int hour, int minute, int second, int milliseconds)
{
    SystemTime time;
    time.year = quint16(year);
    time.month = quint16(month);
    time.day = quint16(day);
    time.hour = quint16(hour);
    time.minute = quint16(minute);
    time.second = quint16(second);
    time.milliseconds = quint16(milliseconds);
    return time;
}

DateValue MakeDate(int year, int month, int day)
{
    return DateValue{quint16(year), quint16(month), quint16(day)};
}
