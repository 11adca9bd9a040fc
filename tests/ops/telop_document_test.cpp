// The telop text model: lines, runs, widths, insertion templates and the
// refusal of ranges outside the text.
#include "core/last_error.h"
#include "ops/telop_document.h"
#include "ops/telop_font.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

const QString kFace = QStringLiteral("IPAGothic");

CTelopTextDoc makeDoc(const QString &text)
{
    CTelopTextDoc doc;
    doc.SetFont(kFace, 40);
    TelopCell attr;
    attr.color = 0xFFFFFF;
    doc.SetDefaultAttr(attr);
    if (!text.isEmpty())
        doc.InsertText(0, text);
    return doc;
}

int widthOf(const CTelopTextDoc &doc, int from, int to)
{
    int width = 0;
    for (int i = from; i <= to; ++i)
        width += doc.Cells()[i].width;
    return width;
}

} // namespace

TEST(TelopTextDoc, LinesWidthsAndTextOfTwoLines)
{
    CTelopTextDoc doc = makeDoc(QStringLiteral("AB\r\nCD"));
    ASSERT_EQ(doc.GetLineCount(), 2);
    EXPECT_EQ(doc.GetLineStart(0), 0);
    EXPECT_EQ(doc.GetLineLength(0), 3);
    EXPECT_EQ(doc.GetLineStart(1), 4);
    EXPECT_EQ(doc.GetLineLength(1), 2); // end is the cell count, 6
    QString text;
    ASSERT_TRUE(doc.GetLineText(0, text));
    EXPECT_EQ(text, QStringLiteral("AB\r\n"));
    ASSERT_TRUE(doc.GetLineText(1, text));
    EXPECT_EQ(text, QStringLiteral("CD")); // never past the last cell
    EXPECT_GT(doc.Cells()[3].width, 0);    // the LF measures as a blank
    EXPECT_EQ(doc.GetLineWidth(0), widthOf(doc, 0, 3));
    EXPECT_EQ(doc.GetLineWidth(1), widthOf(doc, 4, 5));
    EXPECT_EQ(doc.GetTotalWidth(), widthOf(doc, 0, 5));
    EXPECT_EQ(doc.LineFromChar(3), 0);
    EXPECT_EQ(doc.LineFromChar(6), 1);
    EXPECT_EQ(doc.LineFromChar(7), -1);

    // A text ending in a break has no empty line after it, and its width
    // leaves the last LF out.
    CTelopTextDoc ending = makeDoc(QStringLiteral("AB\r\n"));
    ASSERT_EQ(ending.GetLineCount(), 1);
    EXPECT_EQ(ending.GetLineWidth(0), widthOf(ending, 0, 2));

    SetLastError(0);
    EXPECT_EQ(doc.GetLineWidth(2), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(doc.GetLineStart(-1), -1);
}

TEST(TelopTextDoc, RunsStopBeforeALineFeedOnlyWithBothAttributes)
{
    CTelopTextDoc doc = makeDoc(QStringLiteral("ab\r\ncd"));
    quint32 flags = 0;
    ColorRef color = 0;
    int length = 0;
    ASSERT_TRUE(doc.GetRun(0, &flags, &color, &length));
    EXPECT_EQ(length, 3); // "ab" CR
    ASSERT_TRUE(doc.GetRun(3, &flags, &color, &length));
    EXPECT_EQ(length, 3); // LF "cd"
    ASSERT_TRUE(doc.GetRun(0, &flags, nullptr, &length));
    EXPECT_EQ(length, 6);

    ASSERT_TRUE(doc.SetColor(1, 1, 0x0000FF));
    ASSERT_TRUE(doc.GetRun(0, &flags, &color, &length));
    EXPECT_EQ(length, 1);
    ASSERT_TRUE(doc.GetRun(0, &flags, nullptr, &length));
    EXPECT_EQ(length, 6); // colour not asked
    EXPECT_FALSE(doc.GetRun(6, &flags, &color, &length));
}

TEST(TelopTextDoc, InsertionTemplatesAndRangeRefusals)
{
    CTelopTextDoc doc = makeDoc(QString());
    TelopCell passed;
    passed.color = 0x00FF00;
    passed.flags = TELOP_STYLE_BOLD;
    // An empty text takes the default attributes even when a template is passed.
    ASSERT_TRUE(doc.InsertText(0, QStringLiteral("ab"), &passed));
    EXPECT_EQ(doc.Cells()[0].color, 0xFFFFFFu);
    EXPECT_EQ(doc.Cells()[1].flags, 0u);

    ASSERT_TRUE(doc.SetColor(1, 1, 0x0000FF));
    ASSERT_TRUE(doc.InsertText(0, QStringLiteral("x"))); // at 0: the first cell's
    EXPECT_EQ(doc.Cells()[0].color, 0xFFFFFFu);
    ASSERT_TRUE(doc.InsertText(3, QStringLiteral("y"))); // the cell before
    EXPECT_EQ(doc.Cells()[3].color, 0x0000FFu);
    ASSERT_TRUE(doc.InsertText(99, QStringLiteral("z"), &passed)); // clamped, template
    EXPECT_EQ(doc.GetText(), QStringLiteral("xabyz"));
    EXPECT_EQ(doc.Cells()[4].color, 0x00FF00u);
    EXPECT_EQ(doc.Cells()[4].flags, quint32(TELOP_STYLE_BOLD));
    EXPECT_GT(doc.Cells()[4].width, 0);

    // Nothing inserted for an empty string; refused ranges leave the text alone.
    EXPECT_FALSE(doc.InsertText(1, QString()));
    EXPECT_FALSE(doc.SetColor(4, 2, 0));
    EXPECT_FALSE(doc.SetColor(-1, 1, 0));
    EXPECT_FALSE(doc.ApplyStyle(0, 0, 1));
    EXPECT_FALSE(doc.DeleteCells(-1, 1));
    QString text;
    EXPECT_FALSE(doc.GetText(-1, text));
    EXPECT_FALSE(doc.GetText(5, text));
    TelopCell cell;
    EXPECT_FALSE(doc.GetCell(-1, cell));
    ASSERT_TRUE(doc.DeleteCells(3, 10)); // fewer when the text ends first
    EXPECT_EQ(doc.GetText(), QStringLiteral("xab"));
}

TEST(TelopTextDoc, BoldIsWiderAndCopyKeepsEverything)
{
    CTelopTextDoc doc = makeDoc(QStringLiteral("WWWW"));
    const int normal = doc.GetTotalWidth();
    ASSERT_TRUE(doc.ApplyStyle(0, 4, TELOP_STYLE_BOLD | 0x100));
    EXPECT_EQ(doc.Cells()[0].flags, quint32(TELOP_STYLE_BOLD)); // only style bits
    EXPECT_GE(doc.GetTotalWidth(), normal);

    // A bigger font measures every cell again.
    ASSERT_TRUE(doc.SetFont(kFace, 80));
    EXPECT_GT(doc.GetTotalWidth(), normal);

    CTelopTextDoc undo;
    undo.CopyFrom(doc);
    EXPECT_EQ(undo.Cells(), doc.Cells());
    EXPECT_EQ(undo.GetFontSize(), 80);
    EXPECT_EQ(undo.GetLineCount(), 1);
}

TEST(TelopTextDoc, FontCellIsTheSizeAskedFor)
{
    for (int height : {16, 30, 60, 100, 150}) {
        const QFont font = MakeTelopFont(kFace, height, 0, false);
        EXPECT_EQ(QFontInfo(font).family(), kFace);
        const QFontMetrics metrics(font);
        EXPECT_LE(metrics.ascent() + metrics.descent(), height) << height;
        EXPECT_GE(metrics.ascent() + metrics.descent(), height - 2) << height;
    }
}

TEST(TelopTextDoc, SurrogatePairMeasuresOnItsFirstHalf)
{
    CTelopTextDoc doc = makeDoc(QString::fromUtf8("a\xF0\xA0\x80\x8B" "b"));
    ASSERT_EQ(doc.GetCellCount(), 4);
    EXPECT_GT(doc.Cells()[1].width, 0);
    EXPECT_EQ(doc.Cells()[2].width, 0);
}
