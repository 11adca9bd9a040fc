// MSZIP blocks: the previous block as history, stored blocks for data that
// does not compress, and the decoder's hold on declared sizes.

#include "cab/cab_format.h"
#include "cab/mszip_compressor.h"
#include "cab/mszip_decompressor.h"
#include "cab_test_util.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace cabtest;

namespace {

// Text whose words are random, so a block does not repeat itself inside.
QByteArray RandomWords(qsizetype size, quint32 seed)
{
    static const char *const words[] = {"player", "content", "send", "schedule", "upload", "retry", "status"};
    QRandomGenerator generator(seed);
    QByteArray text;
    while (text.size() < size)
        text += QByteArray(words[generator.bounded(7)]) + char('a' + generator.bounded(26)) + ' ';
    return text.left(size);
}

TEST(MsZip, NextBlockRefersBackIntoThePreviousOne)
{
    // The second block starts with the second half of the first.
    const QByteArray text = RandomWords(cab::kBlockSize * 3 / 2, 1);
    const QByteArray first = text.left(cab::kBlockSize);
    const QByteArray second = text.mid(cab::kBlockSize / 2);
    CMsZipCompressor compressor;
    QByteArray packedFirst, packedSecond, packedAlone;
    ASSERT_TRUE(compressor.Compress({}, first, packedFirst));
    ASSERT_TRUE(compressor.Compress(first, second, packedSecond));
    ASSERT_TRUE(compressor.Compress({}, second, packedAlone));
    EXPECT_LT(packedSecond.size(), packedAlone.size() * 6 / 10);

    CMsZipDecompressor decompressor;
    QByteArray out;
    decompressor.StartFolder();
    ASSERT_TRUE(decompressor.Decompress(packedFirst, cab::kBlockSize, out));
    EXPECT_EQ(out, first);
    ASSERT_TRUE(decompressor.Decompress(packedSecond, cab::kBlockSize, out));
    EXPECT_EQ(out, second);
    // A new folder has no history to refer back to.
    decompressor.StartFolder();
    EXPECT_FALSE(decompressor.Decompress(packedSecond, cab::kBlockSize, out));
    // Nor has a block after one that failed to decode.
    ASSERT_TRUE(decompressor.Decompress(packedFirst, cab::kBlockSize, out));
    EXPECT_FALSE(decompressor.Decompress(packedFirst, cab::kBlockSize - 1, out));
    EXPECT_FALSE(decompressor.Decompress(packedSecond, cab::kBlockSize, out));
}

TEST(MsZip, IncompressibleBlocksAreStored)
{
    const QByteArray noise = RandomBytes(cab::kBlockSize, 4);
    CMsZipCompressor compressor;
    QByteArray packed;
    ASSERT_TRUE(compressor.Compress({}, noise, packed));
    EXPECT_EQ(packed.size(), 2 + 5 + cab::kBlockSize); // "CK", stored-block header, bytes
    CMsZipDecompressor decompressor;
    QByteArray out;
    ASSERT_TRUE(decompressor.Decompress(packed, cab::kBlockSize, out));
    EXPECT_EQ(out, noise);
}

TEST(MsZip, DecoderRefusesMissingSignatureAndWrongSizes)
{
    CMsZipCompressor compressor;
    QByteArray packed;
    ASSERT_TRUE(compressor.Compress({}, TextBytes(1000), packed));
    CMsZipDecompressor decompressor;
    QByteArray out;
    EXPECT_FALSE(decompressor.Decompress(packed.mid(2), 1000, out));
    EXPECT_FALSE(decompressor.Decompress(packed, 999, out));
    EXPECT_FALSE(decompressor.Decompress(packed, 1001, out));
    EXPECT_FALSE(decompressor.Decompress(packed, cab::kBlockSize + 1, out));
    EXPECT_TRUE(decompressor.Decompress(packed, 1000, out));
}

} // namespace
