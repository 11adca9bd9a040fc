#include "model/media_probe.h"
#include "model/swf_header.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Packs bit fields most significant bit first.
class BitWriter {
public:
    void put(quint32 value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i) {
            if (m_used % 8 == 0)
                m_bytes.append('\0');
            if ((value >> i) & 1)
                m_bytes[m_bytes.size() - 1] = char(quint8(m_bytes.back()) | (0x80 >> (m_used % 8)));
            ++m_used;
        }
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    int m_used = 0;
};

void AppendLittle16(QByteArray &bytes, quint16 value)
{
    bytes.append(char(value & 0xFF));
    bytes.append(char(value >> 8));
}

struct SwfSpec {
    int bits = 15;
    qint32 xMin = 0, xMax = 550 * 20, yMin = 0, yMax = 400 * 20;
    quint16 frameRate = 24 << 8;
    quint16 frameCount = 240;
};

// The header after the eight plain bytes, followed by a few bytes of "tags".
QByteArray HeaderTail(const SwfSpec &spec)
{
    BitWriter writer;
    writer.put(quint32(spec.bits), 5);
    for (qint32 value : {spec.xMin, spec.xMax, spec.yMin, spec.yMax})
        writer.put(quint32(value) & (spec.bits == 32 ? ~0u : (1u << spec.bits) - 1), spec.bits);
    QByteArray tail = writer.bytes();
    AppendLittle16(tail, spec.frameRate);
    AppendLittle16(tail, spec.frameCount);
    tail.append(QByteArray(64, '\x3f'));
    return tail;
}

QByteArray PlainHead(char signature, int version, quint32 length)
{
    QByteArray head;
    head.append(signature).append("WS").append(char(version));
    AppendLittle16(head, quint16(length & 0xFFFF));
    AppendLittle16(head, quint16(length >> 16));
    return head;
}

QByteArray Fws(const SwfSpec &spec = {}, int version = 9)
{
    const QByteArray tail = HeaderTail(spec);
    return PlainHead('F', version, quint32(8 + tail.size())) + tail;
}

// A body that does not compress, so that the compressed file is long.
QByteArray Noise(int size)
{
    QByteArray bytes(size, '\0');
    quint32 state = 12345;
    for (char &byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = char(state >> 24);
    }
    return bytes;
}

// qCompress puts a four-byte length before the zlib stream.
QByteArray Cws(const SwfSpec &spec = {}, int version = 10)
{
    const QByteArray tail = HeaderTail(spec) + Noise(20000);
    return PlainHead('C', version, quint32(8 + tail.size())) + qCompress(tail).mid(4);
}

} // namespace

TEST(SwfHeader, ReadsAPlainHeader)
{
    SwfHeader header;
    ASSERT_EQ(ParseSwfHeader(Fws(), header), MEDIA_PROBE_OK);
    EXPECT_EQ(header.signature, 'F');
    EXPECT_EQ(header.version, 9);
    EXPECT_EQ(header.widthPixels(), 550);
    EXPECT_EQ(header.heightPixels(), 400);
    EXPECT_EQ(header.frameRate, 24 << 8);
    EXPECT_EQ(header.frameCount, 240);
}

TEST(SwfHeader, InflatesOnlyTheStartOfACompressedBody)
{
    SwfHeader header;
    const QByteArray file = Cws();
    ASSERT_EQ(ParseSwfHeader(file, header), MEDIA_PROBE_OK);
    EXPECT_EQ(header.signature, 'C');
    EXPECT_EQ(header.version, 10);
    EXPECT_EQ(header.fileLength, 8u + 9 + 4 + 64 + 20000); // the uncompressed length declared
    EXPECT_EQ(header.widthPixels(), 550);
    EXPECT_EQ(header.frameCount, 240);
    // The header inflates from the first bytes of the stream alone.
    ASSERT_GT(file.size(), 20000);
    ASSERT_EQ(ParseSwfHeader(file.left(300), header), MEDIA_PROBE_OK);
    EXPECT_EQ(header.heightPixels(), 400);
}

TEST(SwfHeader, ReadsSignedAndWideRectangleFields)
{
    SwfSpec spec;
    spec.bits = 31;
    spec.xMin = -20000;
    spec.xMax = 20000;
    spec.yMin = -1;
    spec.yMax = 19;
    SwfHeader header;
    ASSERT_EQ(ParseSwfHeader(Fws(spec), header), MEDIA_PROBE_OK);
    EXPECT_EQ(header.xMin, -20000);
    EXPECT_EQ(header.widthPixels(), 2000);
    EXPECT_EQ(header.heightPixels(), 1);
    EXPECT_EQ(header.frameCount, 240);
}

TEST(SwfHeader, RefusesOtherSignaturesAndDamage)
{
    SwfHeader header;
    QByteArray zws = Fws();
    zws[0] = 'Z';
    EXPECT_EQ(ParseSwfHeader(zws, header), MEDIA_PROBE_NOT_SUPPORTED);
    EXPECT_EQ(ParseSwfHeader(QByteArray("GIF89a....................."), header), MEDIA_PROBE_NOT_SUPPORTED);
    EXPECT_EQ(ParseSwfHeader(QByteArray("FW"), header), MEDIA_PROBE_NOT_SUPPORTED);
    // Cut inside the rectangle, inside the frame fields, and a body that is not zlib.
    EXPECT_EQ(ParseSwfHeader(Fws().left(10), header), MEDIA_PROBE_DAMAGED);
    EXPECT_EQ(ParseSwfHeader(Fws().left(8 + 8 + 2), header), MEDIA_PROBE_DAMAGED);
    EXPECT_EQ(ParseSwfHeader(Cws().left(12), header), MEDIA_PROBE_DAMAGED);
    QByteArray garbled = Cws();
    garbled.replace(8, 16, QByteArray(16, '\xff'));
    EXPECT_EQ(ParseSwfHeader(garbled, header), MEDIA_PROBE_DAMAGED);
}

class FlashProbeTest : public ::testing::Test {
protected:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.path() + "/" + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QTemporaryDir m_dir;
};

TEST_F(FlashProbeTest, PlainAndCompressedMoviesGiveTheirFacts)
{
    for (const QByteArray &bytes : {Fws(), Cws()}) {
        MediaInfo info;
        const QString path = write("Opening movie.swf", bytes);
        ASSERT_EQ(ProbeMediaFile(5, 500000001, path, m_dir.path(), info), MEDIA_PROBE_OK);
        EXPECT_EQ(info.title, "Opening movie");
        EXPECT_EQ(info.width, 550);
        EXPECT_EQ(info.height, 400);
        EXPECT_EQ(info.duration, 300); // 240 frames at 24 a second: 10 s at 30 a second
        EXPECT_EQ(info.playTime, (PlayLength{0, 0, 10, 0}));
        EXPECT_EQ(info.size, bytes.size());
        EXPECT_EQ(info.dataFormat, bytes.startsWith('F') ? "Flash 9" : "Flash 10");
    }
    // Flash thumbnails are made by the browser capture, not by the probe.
    EXPECT_FALSE(QFile::exists(m_dir.path() + "/TelvData"));
}

TEST_F(FlashProbeTest, FractionalAndZeroFrameRates)
{
    SwfSpec spec;
    spec.frameRate = 0x0C80; // 12.5 frames a second
    spec.frameCount = 100;   // 8 s
    MediaInfo info;
    ASSERT_EQ(ProbeMediaFile(5, 1, write("a.swf", Fws(spec)), QString(), info), MEDIA_PROBE_OK);
    EXPECT_EQ(info.duration, 240);
    spec.frameRate = 0;
    ASSERT_EQ(ProbeMediaFile(5, 1, write("b.swf", Fws(spec)), QString(), info), MEDIA_PROBE_OK);
    EXPECT_EQ(info.duration, 0);
    EXPECT_EQ(info.playTime, PlayLength());
    // The longest possible movie (65535 frames at 1/256 a second) is beyond any play time.
    spec.frameRate = 1;
    spec.frameCount = 65535;
    EXPECT_EQ(ProbeMediaFile(5, 1, write("c.swf", Fws(spec)), QString(), info), MEDIA_PROBE_NOT_SUPPORTED);
}

TEST_F(FlashProbeTest, RefusedMovies)
{
    MediaInfo info;
    QByteArray zws = Cws();
    zws[0] = 'Z';
    EXPECT_EQ(ProbeMediaFile(5, 1, write("z.swf", zws), QString(), info), MEDIA_PROBE_NOT_SUPPORTED);
    EXPECT_EQ(ProbeMediaFile(5, 1, write("cut.swf", Cws().left(11)), QString(), info), MEDIA_PROBE_DAMAGED);
    SwfSpec empty;
    empty.xMax = 0;
    EXPECT_EQ(ProbeMediaFile(5, 1, write("empty-stage.swf", Fws(empty)), QString(), info),
              MEDIA_PROBE_PICTURE_TOO_SMALL);
    SwfSpec huge;
    huge.bits = 31;
    huge.xMax = 9000 * 20;
    EXPECT_EQ(ProbeMediaFile(5, 1, write("huge-stage.swf", Fws(huge)), QString(), info),
              MEDIA_PROBE_PICTURE_TOO_LARGE);
    EXPECT_EQ(ProbeMediaFile(5, 1, write("empty.swf", QByteArray()), QString(), info), MEDIA_PROBE_EMPTY_FILE);
    // A stated length shorter than the header, and a plain movie cut short of it.
    QByteArray three = Fws();
    three.replace(4, 4, QByteArray("\x03\0\0\0", 4));
    EXPECT_EQ(ProbeMediaFile(5, 1, write("three.swf", three), QString(), info), MEDIA_PROBE_DAMAGED);
    SwfHeader header;
    EXPECT_EQ(ParseSwfHeader(Cws().replace(4, 4, QByteArray("\x03\0\0\0", 4)), header), MEDIA_PROBE_DAMAGED);
    EXPECT_EQ(ProbeMediaFile(5, 1, write("short.swf", Fws().chopped(10)), QString(), info), MEDIA_PROBE_DAMAGED);
}
