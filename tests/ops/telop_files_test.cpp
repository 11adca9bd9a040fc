// The telop text file: byte-exact round trips of files written as the format
// describes them, the reader's stops and repairs, plain text import in its
// three encodings, and the staging of a telop's two files.
#include "core/last_error.h"
#include "ops/telop_document.h"
#include "ops/telop_files.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kTabs7 = QString(7, u'\t');
const QString kCrLf = QStringLiteral("\r\n");

QString header(int depth, int size)
{
    return QStringLiteral("0\t1\t%1\t0\t%2").arg(depth).arg(size) + QString(14, u'\t') + kCrLf;
}

QString run(const QString &face, int size, const QString &style, const QString &color, const QString &text)
{
    return QStringLiteral("2\t%1\t%2\t0\t%3\t%4\t00000000\t0\t0\t").arg(face).arg(size).arg(style, color) + text
           + kTabs7 + kCrLf;
}

QByteArray roundTrip(const QByteArray &file, int *depthOut = nullptr, TelopPalette *paletteOut = nullptr)
{
    CTelopTextDoc doc;
    int depth = 4;
    TelopPalette palette = DefaultTelopPalette();
    EXPECT_EQ(ParseTelopRecords(DecodeTelopTextFile(file), doc, depth, palette), 1);
    QString records;
    EXPECT_EQ(FormatTelopRecords(doc, depth, palette, records), 1);
    if (depthOut)
        *depthOut = depth;
    if (paletteOut)
        *paletteOut = palette;
    return EncodeTelopTextFile(records);
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

TEST(TelopFiles, SixteenColourFileRoundTripsByteForByte)
{
    QString records = header(4, 60) + QStringLiteral("1");
    const char *colors[16] = {"00000000", "00FFFFFF", "00000000", "00FFFFFF", "00008000", "00000080",
                              "00008080", "00800000", "00800080", "0000FFFF", "0000FF00", "00FFFF00",
                              "00FF00FF", "000000FF", "00FF0000", "00123456"};
    for (const char *color : colors)
        records += u'\t' + QLatin1String(color);
    records += kCrLf;
    records += run("IPAGothic", 60, "0", "00FFFFFF", QStringLiteral("ab\r"));
    records += run("IPAGothic", 60, "0", "00FFFFFF", QStringLiteral("\ncd"));
    records += run("IPAGothic", 60, "5", "000000FF", QString::fromUtf8("テロ\xF0\xA0\x80\x8B"));
    records += run("IPAGothic", 60, "8", "00123456", QStringLiteral("x"));
    records += run("IPAGothic", 60, "b", "0000FF00", QStringLiteral(" y\r"));
    records += run("IPAGothic", 60, "b", "0000FF00", QStringLiteral("\nz"));
    const QByteArray file = EncodeTelopTextFile(records);
    ASSERT_TRUE(file.startsWith("\xFF\xFE"));

    int depth = 0;
    TelopPalette palette{};
    EXPECT_EQ(roundTrip(file, &depth, &palette), file);
    EXPECT_EQ(depth, 4);
    EXPECT_EQ(palette[15], 0x123456u);
}

TEST(TelopFiles, TwoColourFileRoundTripsAndKeepsTheOtherEntries)
{
    const QString records = header(1, 30) + QStringLiteral("1\t00000000\t0000FFFF") + QString(13, u'\t') + kCrLf
                            + run("IPAGothic", 30, "0", "0000FFFF", QStringLiteral("Two colours"));
    const QByteArray file = EncodeTelopTextFile(records);
    int depth = 0;
    TelopPalette palette{};
    EXPECT_EQ(roundTrip(file, &depth, &palette), file);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(palette[1], 0x00FFFFu);
    EXPECT_EQ(palette[4], DefaultTelopPalette()[4]); // no field: left as it was
}

TEST(TelopFiles, ReaderTakesBreaksStopsAtDamageAndRepairsHalfBreaks)
{
    CTelopTextDoc doc;
    int depth = 4;
    TelopPalette palette = DefaultTelopPalette();
    // An empty text field is a line break; the face and size of the first run
    // become the text's font.
    QString records = header(4, 40) + run("IPAGothic", 40, "1", "000000FF", QStringLiteral("a"))
                      + run("IPAGothic", 40, "1", "000000FF", QString())
                      + run("IPAGothic", 40, "1", "000000FF", QStringLiteral("b"));
    ASSERT_EQ(ParseTelopRecords(records, doc, depth, palette), 1);
    EXPECT_EQ(doc.GetText(), QStringLiteral("a\r\nb"));
    EXPECT_EQ(doc.GetFaceName(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(doc.GetFontSize(), 40);
    EXPECT_EQ(doc.Cells()[3].flags, 1u);
    EXPECT_EQ(doc.Cells()[3].color, 0x0000FFu);
    EXPECT_EQ(doc.GetLineCount(), 2);

    // A run without its face fails the load and keeps what came before;
    // an unknown record type is skipped.
    records = header(4, 40) + QStringLiteral("7\tanything") + kCrLf + run("IPAGothic", 40, "0", "00FFFFFF", "ok")
              + run("", 40, "0", "00FFFFFF", "lost") + run("IPAGothic", 40, "0", "00FFFFFF", "never");
    EXPECT_EQ(ParseTelopRecords(records, doc, depth, palette), 0);
    EXPECT_EQ(doc.GetText(), QStringLiteral("ok"));

    // Colour depths other than 1 and 4 are not a telop's.
    EXPECT_EQ(ParseTelopRecords(header(8, 40), doc, depth, palette), 0);
    EXPECT_EQ(depth, 4);

    // Half a line break left by a damaged file becomes a whole one.
    records = header(4, 40) + run("IPAGothic", 40, "0", "00FFFFFF", QStringLiteral("a\r"))
              + run("IPAGothic", 40, "0", "000000FF", QStringLiteral("b\nc"));
    ASSERT_EQ(ParseTelopRecords(records, doc, depth, palette), 1);
    EXPECT_EQ(doc.GetText(), QStringLiteral("a\r\nb\r\nc"));
}

TEST(TelopFiles, ImportReadsEachEncodingAndBoundsTheSize)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("import.txt");
    const QString japanese = QString::fromUtf8("テロップ表示\n二行目\r三行目");
    const QString expected = QString::fromUtf8("テロップ表示\r\n二行目\r\n三行目");
    QString text;

    ASSERT_TRUE(writeBytes(path, QStringEncoder("windows-31j")(japanese)));
    ASSERT_TRUE(ReadImportTextFile(path, text));
    EXPECT_EQ(text, expected);

    ASSERT_TRUE(writeBytes(path, "\xEF\xBB\xBF" + japanese.toUtf8()));
    ASSERT_TRUE(ReadImportTextFile(path, text));
    EXPECT_EQ(text, expected);

    ASSERT_TRUE(writeBytes(path, EncodeTelopTextFile(QStringLiteral("a\nb"))));
    ASSERT_TRUE(ReadImportTextFile(path, text));
    EXPECT_EQ(text, QStringLiteral("a\r\nb"));

    ASSERT_TRUE(writeBytes(path, QByteArray(kMaxImportTextBytes + 10, 'x')));
    ASSERT_TRUE(ReadImportTextFile(path, text));
    EXPECT_EQ(text.size(), kMaxImportTextBytes);
    // A cut inside a character leaves that character out.
    ASSERT_TRUE(writeBytes(path, QByteArray(kMaxImportTextBytes - 1, 'x') + QString::fromUtf8("あ").toUtf8()));
    ASSERT_TRUE(ReadImportTextFile(path, text));
    EXPECT_EQ(text.size(), kMaxImportTextBytes - 1);

    // The locale's own encoding comes before the Windows code page.
    const QByteArray euc = QStringEncoder("EUC-JP")(japanese);
    EXPECT_EQ(DecodeImportText(euc, true, "EUC-JP"), expected);
    EXPECT_NE(DecodeImportText(euc, true, "UTF-8"), expected);

    EXPECT_FALSE(ReadImportTextFile(dir.filePath("missing.txt"), text));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(TelopFiles, StagedFilesArePutInPlaceOnlyOnCommit)
{
    QTemporaryDir dir;
    const QString text = dir.filePath("003000001.txt");
    const QString bitmap = dir.filePath("003000001.bmp");
    {
        CTelopFileStage stage;
        ASSERT_TRUE(stage.Stage(dir.path(), 3000001, "BM", QStringLiteral("records")));
        EXPECT_TRUE(QFile::exists(CTelopFileStage::StagingPath(text)));
        EXPECT_FALSE(QFile::exists(text));
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty()); // dropped unstored: nothing left

    CTelopFileStage stage;
    ASSERT_TRUE(stage.Stage(dir.path(), 3000001, "BM", QStringLiteral("records")));
    ASSERT_TRUE(stage.Commit());
    QString records;
    ASSERT_TRUE(ReadTelopTextFile(text, records));
    EXPECT_EQ(records, QStringLiteral("records"));
    EXPECT_TRUE(QFile::exists(bitmap));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);

    EXPECT_FALSE(stage.Stage(dir.filePath("gone"), 3000002, "BM", QStringLiteral("r")));
    EXPECT_FALSE(stage.IsStaged());
}
