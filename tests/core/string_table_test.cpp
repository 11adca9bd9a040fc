#include "core/string_table.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

QString WriteTable(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(QStringLiteral("strings.tsv"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    return path;
}

// Removes the overrides a test installed, whatever the test's outcome.
struct OverrideGuard {
    ~OverrideGuard() { ClearStringOverrides(); }
};

} // namespace

TEST(StringTable, BuiltInTableIsWellFormedAndSortedById)
{
    QFile file(QString::fromLatin1(kBuiltInStringTable));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    const StringTableParse table = ParseStringTable(data);
    EXPECT_EQ(table.badLines, 0);
    EXPECT_GT(table.texts.size(), 200);

    quint32 previous = 0;
    for (const QByteArray &line : data.split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const quint32 id = line.left(line.indexOf('\t')).toUInt();
        EXPECT_GT(id, previous) << "out of order: " << line.constData();
        previous = id;
        EXPECT_FALSE(line.endsWith('\r')) << id;
    }
}

TEST(StringTable, LooksUpTextsWithEscapesAndBlanksAsWritten)
{
    EXPECT_EQ(LoadString(5004), QStringLiteral("編集内容を破棄します。\nよろしいですか？"));
    EXPECT_EQ(LoadString(5501), QStringLiteral("コンテンツ管理"));
    // Tab captions are drawn with their full-width and ASCII blanks.
    EXPECT_EQ(LoadString(5681), QStringLiteral("　　動画　　"));
    EXPECT_EQ(LoadString(5691), QStringLiteral("   BGMリスト  "));
    EXPECT_EQ(LoadString(5320), QStringLiteral("設定説明書をご覧になるには、Adobe Reader  が必要です。"));
    EXPECT_EQ(LoadString(57344), QStringLiteral("TELV-Q9"));
    EXPECT_EQ(LoadString(1), QStringLiteral("TELV-Q9"));
}

TEST(StringTable, UnknownIdGivesEmptyText)
{
    EXPECT_TRUE(LoadString(0).isEmpty());
    EXPECT_TRUE(LoadString(4999).isEmpty());
    EXPECT_TRUE(LoadString(0xFFFFFFFFu).isEmpty());
}

TEST(StringTable, FormatStringFillsTheTableFormat)
{
    EXPECT_EQ(FormatString(5101, 200), QStringLiteral("最大数(200)を超えるため登録・保存できません。"));
    EXPECT_EQ(FormatString(5634, "a.mpg"), QStringLiteral("a.mpg ファイルをコピー中"));
}

TEST(StringTableParser, DecodesEscapesAndSkipsCommentsBomAndCarriageReturns)
{
    const StringTableParse table = ParseStringTable(
        "\xEF\xBB\xBF# comment\r\n"
        "10\ta\\nb\\tc\\\\d\r\n"
        "\n"
        "11\tkeep \\x and trailing \\\n"
        "12\t\n"
        "13\t tab\tinside ");
    EXPECT_EQ(table.badLines, 0);
    ASSERT_EQ(table.texts.size(), 4);
    EXPECT_EQ(table.texts.value(10), QStringLiteral("a\nb\tc\\d"));
    EXPECT_EQ(table.texts.value(11), QStringLiteral("keep \\x and trailing \\"));
    EXPECT_TRUE(table.texts.contains(12));
    EXPECT_TRUE(table.texts.value(12).isEmpty());
    EXPECT_EQ(table.texts.value(13), QStringLiteral(" tab\tinside "));
}

TEST(StringTableParser, CountsBadLinesAndKeepsTheFirstOfARepeatedId)
{
    const StringTableParse table = ParseStringTable("no tab here\n"
                                                    "-5\tnegative\n"
                                                    "5x\tnot a number\n"
                                                    "\tno id\n"
                                                    "99999999999\ttoo large\n"
                                                    "7\tfirst\n"
                                                    "7\tsecond\n");
    EXPECT_EQ(table.badLines, 6);
    ASSERT_EQ(table.texts.size(), 1);
    EXPECT_EQ(table.texts.value(7), QStringLiteral("first"));
}

TEST(StringTableOverrides, OverrideWinsAndMissingIdsFallBackToTheBuiltInTable)
{
    OverrideGuard guard;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = WriteTable(dir, "5004\tdiscard?\\nsure?\n57344\tTELV-Q9 Custom\n90001\textra\n");

    ASSERT_TRUE(LoadStringOverrides(path));
    EXPECT_EQ(LoadString(5004), QStringLiteral("discard?\nsure?"));
    EXPECT_EQ(LoadString(57344), QStringLiteral("TELV-Q9 Custom"));
    EXPECT_EQ(LoadString(90001), QStringLiteral("extra"));
    EXPECT_EQ(LoadString(5501), QStringLiteral("コンテンツ管理"));

    ClearStringOverrides();
    EXPECT_EQ(LoadString(5004), QStringLiteral("編集内容を破棄します。\nよろしいですか？"));
    EXPECT_TRUE(LoadString(90001).isEmpty());
}

TEST(StringTableOverrides, UnreadableOrEmptyTableLeavesCurrentOverrides)
{
    OverrideGuard guard;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(LoadStringOverrides(WriteTable(dir, "5004\tfirst override\n")));

    EXPECT_FALSE(LoadStringOverrides(dir.filePath(QStringLiteral("missing.tsv"))));
    EXPECT_FALSE(LoadStringOverrides(WriteTable(dir, "# only a comment\nbad line\n")));
    EXPECT_EQ(LoadString(5004), QStringLiteral("first override"));
}

TEST(StringTableOverrides, ReadsFromAResourcePath)
{
    OverrideGuard guard;
    EXPECT_TRUE(LoadStringOverrides(QString::fromLatin1(kBuiltInStringTable)));
    EXPECT_EQ(LoadString(5501), QStringLiteral("コンテンツ管理"));
}

TEST(StringTableOverrides, LookupsStayWholeWhileOverridesChange)
{
    OverrideGuard guard;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = WriteTable(dir, "5004\toverride\n");
    const QString builtIn = LoadString(5004);

    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i) {
        readers.emplace_back([&] {
            while (!stop.load()) {
                const QString text = LoadString(5004);
                if (text != builtIn && text != QStringLiteral("override"))
                    ++wrong;
            }
        });
    }
    for (int i = 0; i < 200; ++i) {
        LoadStringOverrides(path);
        ClearStringOverrides();
    }
    stop = true;
    for (std::thread &reader : readers)
        reader.join();
    EXPECT_EQ(wrong.load(), 0);
}
