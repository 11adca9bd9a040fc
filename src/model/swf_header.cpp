#include "model/swf_header.h"

#include "model/little_endian.h"
#include "model/media_info.h"

#include <zlib.h>

namespace {

// The stage rectangle (at most 5 + 4 x 31 bits, 17 bytes), frame rate and
// frame count that follow the eight plain bytes.
constexpr int kMaxHeaderTail = 17 + 2 + 2;

// Reads bit fields most significant bit first, as the stage rectangle is packed.
class BitReader {
public:
    explicit BitReader(const QByteArray &bytes) : m_bytes(bytes) {}

    bool readUnsigned(int bits, quint32 &value)
    {
        value = 0;
        for (int i = 0; i < bits; ++i) {
            const qsizetype byteIndex = m_position / 8;
            if (byteIndex >= m_bytes.size())
                return false;
            const int bit = (quint8(m_bytes.at(byteIndex)) >> (7 - m_position % 8)) & 1;
            value = (value << 1) | quint32(bit);
            ++m_position;
        }
        return true;
    }

    bool readSigned(int bits, qint32 &value)
    {
        quint32 raw = 0;
        if (!readUnsigned(bits, raw))
            return false;
        // Sign-extend from the field's own width.
        if (bits > 0 && bits < 32 && (raw & (1u << (bits - 1))))
            raw |= ~0u << bits;
        value = qint32(raw);
        return true;
    }

    qsizetype bytesUsed() const { return (m_position + 7) / 8; }

private:
    const QByteArray &m_bytes;
    qsizetype m_position = 0;
};

quint16 ReadLittle16(const QByteArray &bytes, qsizetype at)
{
    return quint16(quint8(bytes.at(at)) | (quint8(bytes.at(at + 1)) << 8));
}

// Inflates just the start of a compressed body: uncompress stops with a full
// output buffer (Z_BUF_ERROR) or at the end of the given input
// (Z_DATA_ERROR); either way destLen tells how many bytes came out.
QByteArray InflateHeaderTail(const QByteArray &body)
{
    QByteArray tail(kMaxHeaderTail, '\0');
    uLongf produced = uLongf(tail.size());
    const int rc = uncompress(reinterpret_cast<Bytef *>(tail.data()), &produced,
                              reinterpret_cast<const Bytef *>(body.constData()), uLong(body.size()));
    if (rc != Z_OK && rc != Z_BUF_ERROR && rc != Z_DATA_ERROR)
        return {};
    tail.truncate(qsizetype(produced));
    return tail;
}

int ParseTail(const QByteArray &tail, SwfHeader &header)
{
    BitReader reader(tail);
    quint32 bits = 0;
    if (!reader.readUnsigned(5, bits) || !reader.readSigned(int(bits), header.xMin)
        || !reader.readSigned(int(bits), header.xMax) || !reader.readSigned(int(bits), header.yMin)
        || !reader.readSigned(int(bits), header.yMax))
        return MEDIA_PROBE_DAMAGED;
    const qsizetype at = reader.bytesUsed();
    if (tail.size() < at + 4)
        return MEDIA_PROBE_DAMAGED;
    header.frameRate = ReadLittle16(tail, at);
    header.frameCount = ReadLittle16(tail, at + 2);
    // The stated length covers at least the header itself.
    if (header.fileLength < quint32(8 + at + 4))
        return MEDIA_PROBE_DAMAGED;
    return MEDIA_PROBE_OK;
}

} // namespace

int ParseSwfHeader(const QByteArray &head, SwfHeader &header)
{
    header = SwfHeader();
    if (head.size() < 3)
        return head.isEmpty() ? MEDIA_PROBE_EMPTY_FILE : MEDIA_PROBE_NOT_SUPPORTED;
    const char first = head.at(0);
    if ((first != 'F' && first != 'C' && first != 'Z') || head.at(1) != 'W' || head.at(2) != 'S')
        return MEDIA_PROBE_NOT_SUPPORTED;
    if (first == 'Z')
        return MEDIA_PROBE_NOT_SUPPORTED;
    if (head.size() < 8)
        return MEDIA_PROBE_DAMAGED;
    header.signature = first;
    header.version = quint8(head.at(3));
    header.fileLength = ReadLittle32(head, 4);
    const QByteArray body = head.mid(8, kSwfHeaderReadSize - 8);
    const QByteArray tail = first == 'C' ? InflateHeaderTail(body) : body.left(kMaxHeaderTail);
    return ParseTail(tail, header);
}
