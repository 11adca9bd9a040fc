// The telop bitmap: the BMP headers and colour tables of both depths and of
// 24-bit colour, and the palette indexes of a fixed text in IPA Gothic.
#include "core/last_error.h"
#include "ops/telop_bitmap.h"
#include "ops/telop_document.h"
#include "ops/telop_files.h"

#include <QSet>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

quint32 le32(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 le16(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

// The palette index of pixel (x, y) of a 4-bit or 1-bit BMP.
int indexAt(const QByteArray &bmp, int x, int y)
{
    const int width = int(le32(bmp, 18));
    const int height = int(le32(bmp, 22));
    const int bits = le16(bmp, 28);
    const int stride = ((bits * width + 31) & ~31) / 8;
    const auto *row = reinterpret_cast<const quint8 *>(bmp.constData()) + le32(bmp, 10) + stride * (height - 1 - y);
    if (bits == 4)
        return (row[x / 2] >> ((x % 2) ? 0 : 4)) & 0xF;
    return (row[x / 8] >> (7 - x % 8)) & 1;
}

CTelopTextDoc fixedText(int height)
{
    CTelopTextDoc doc;
    doc.SetFont(QStringLiteral("IPAGothic"), height);
    TelopCell attr;
    attr.color = 0xFFFFFF;
    doc.SetDefaultAttr(attr);
    doc.InsertText(0, QString::fromUtf8("テロップ\r\nABC"));
    return doc;
}

QSet<int> indexesIn(const QByteArray &bmp, int fromX, int toX)
{
    QSet<int> found;
    for (int y = 0; y < int(le32(bmp, 22)); ++y) {
        for (int x = fromX; x < toX; ++x)
            found.insert(indexAt(bmp, x, y));
    }
    return found;
}

} // namespace

TEST(TelopBitmap, SixteenColourImageHasItsPaletteAndOnlyPaletteIndexes)
{
    CTelopTextDoc doc = fixedText(30);
    // "ップ" in palette entry 13; everything else in the text colour.
    ASSERT_TRUE(doc.SetColor(2, 2, 0x0000FF));
    const TelopPalette palette = DefaultTelopPalette();
    QByteArray bmp;
    ASSERT_TRUE(GetBmpData(doc, palette, {4, false, 0xFF00FF}, bmp));

    const int width = doc.GetTotalWidth();
    const int stride = ((4 * width + 31) & ~31) / 8;
    ASSERT_TRUE(bmp.startsWith("BM"));
    EXPECT_EQ(le32(bmp, 2), quint32(30 * stride + 54 + 64));
    EXPECT_EQ(bmp.size(), 30 * stride + 118);
    EXPECT_EQ(le32(bmp, 10), 118u);
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(le32(bmp, 18), quint32(width));
    EXPECT_EQ(le32(bmp, 22), 30u);
    EXPECT_EQ(le16(bmp, 26), 1);
    EXPECT_EQ(le16(bmp, 28), 4);
    EXPECT_EQ(le32(bmp, 30), 0u);
    EXPECT_EQ(le32(bmp, 46), 16u);
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(le32(bmp, 54 + 4 * k), ((palette[k] & 0xFF) << 16) | (palette[k] & 0xFF00) | (palette[k] >> 16));

    const auto &cells = doc.Cells();
    const int redFrom = cells[0].width + cells[1].width;
    const int redTo = redFrom + cells[2].width + cells[3].width;
    EXPECT_EQ(indexesIn(bmp, 0, redFrom), (QSet<int>{0, 1}));
    EXPECT_EQ(indexesIn(bmp, redFrom, redTo), (QSet<int>{0, 13}));
    EXPECT_EQ(indexesIn(bmp, redTo, width), (QSet<int>{0, 1}));
    EXPECT_EQ(indexAt(bmp, 0, 0), 0);
}

TEST(TelopBitmap, TwoColourImageMapsOtherColoursToTheTextColour)
{
    CTelopTextDoc doc = fixedText(16);
    ASSERT_TRUE(doc.SetColor(0, 4, 0x0000FF)); // not among the two entries
    QByteArray bmp;
    ASSERT_TRUE(GetBmpData(doc, DefaultTelopPalette(), {1, false, 0xFF00FF}, bmp));
    EXPECT_EQ(le32(bmp, 10), 62u);
    EXPECT_EQ(le16(bmp, 28), 1);
    EXPECT_EQ(le32(bmp, 46), 2u);
    EXPECT_EQ(le32(bmp, 54), 0u);
    EXPECT_EQ(le32(bmp, 58), 0xFFFFFFu);
    EXPECT_EQ(indexesIn(bmp, 0, doc.GetTotalWidth()), (QSet<int>{0, 1}));
}

TEST(TelopBitmap, TwentyFourBitImageAndEmptyText)
{
    CTelopTextDoc doc = fixedText(30);
    QByteArray bmp;
    ASSERT_TRUE(GetBmpData(doc, DefaultTelopPalette(), {4, true, 0xFF00FF}, bmp));
    const int stride = ((24 * doc.GetTotalWidth() + 31) & ~31) / 8;
    EXPECT_EQ(le32(bmp, 10), 54u);
    EXPECT_EQ(le16(bmp, 28), 24);
    EXPECT_EQ(le32(bmp, 46), 0u);
    EXPECT_EQ(bmp.size(), 30 * stride + 54);

    CTelopTextDoc empty;
    empty.SetFont(QStringLiteral("IPAGothic"), 30);
    SetLastError(0);
    EXPECT_FALSE(GetBmpData(empty, DefaultTelopPalette(), {4, false, 0}, bmp));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}
