#pragma once
// Reading little-endian numbers out of a file's header bytes.

#include <QByteArray>
#include <QtGlobal>

// The unsigned 32-bit number stored least significant byte first at `at`.
inline quint32 ReadLittle32(const QByteArray &bytes, qsizetype at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}
