#include "cab/cab_format.h"

#include <QtEndian>

namespace cab {

quint32 Checksum(QByteArrayView data, quint32 seed)
{
    const char *p = data.data();
    qsizetype remaining = data.size();
    // The sum is the XOR of little-endian 32-bit words; a 64-bit word holds
    // two of them, so XOR-ing 64-bit words and folding the halves gives the
    // same value at a quarter of the steps. Four accumulators keep the loads
    // independent of one another.
    quint64 wide[4] = {};
    for (; remaining >= 32; remaining -= 32, p += 32) {
        for (int i = 0; i < 4; ++i)
            wide[i] ^= qFromLittleEndian<quint64>(p + 8 * i);
    }
    for (; remaining >= 8; remaining -= 8, p += 8)
        wide[0] ^= qFromLittleEndian<quint64>(p);
    const quint64 folded = wide[0] ^ wide[1] ^ wide[2] ^ wide[3];
    quint32 sum = seed ^ quint32(folded) ^ quint32(folded >> 32);
    if (remaining >= 4) {
        sum ^= ReadLe32(p);
        remaining -= 4;
        p += 4;
    }
    quint32 tail = 0;
    switch (remaining) {
    case 3:
        tail |= quint32(quint8(*p++)) << 16;
        [[fallthrough]];
    case 2:
        tail |= quint32(quint8(*p++)) << 8;
        [[fallthrough]];
    case 1:
        tail |= quint32(quint8(*p));
        break;
    default:
        break;
    }
    return sum ^ tail;
}

quint32 DataBlockChecksum(QByteArrayView block, quint16 uncompressedSize)
{
    char sizes[4];
    WriteLe16(sizes, quint16(block.size()));
    WriteLe16(sizes + 2, uncompressedSize);
    return Checksum(QByteArrayView(sizes, 4), Checksum(block, 0));
}

DosDateTime ToDosDateTime(const QDateTime &local)
{
    const QDateTime earliest(QDate(1980, 1, 1), QTime(0, 0));
    const QDateTime latest(QDate(2107, 12, 31), QTime(23, 59, 58));
    QDateTime t = local.toLocalTime();
    if (!t.isValid() || t < earliest)
        t = earliest;
    else if (t > latest)
        t = latest;
    const QDate d = t.date();
    const QTime tm = t.time();
    DosDateTime stamp;
    stamp.date = quint16(((d.year() - 1980) << 9) | (d.month() << 5) | d.day());
    stamp.time = quint16((tm.hour() << 11) | (tm.minute() << 5) | (tm.second() / 2));
    return stamp;
}

QDateTime FromDosDateTime(DosDateTime stamp)
{
    const QDate d(1980 + (stamp.date >> 9), (stamp.date >> 5) & 0x0F, stamp.date & 0x1F);
    const QTime t(stamp.time >> 11, (stamp.time >> 5) & 0x3F, (stamp.time & 0x1F) * 2);
    if (!d.isValid() || !t.isValid())
        return {};
    return QDateTime(d, t);
}

} // namespace cab
