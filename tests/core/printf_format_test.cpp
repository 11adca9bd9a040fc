#include "core/printf_format.h"

#include <gtest/gtest.h>

TEST(PrintfFormat, FormatsIntegersWithFlagsWidthAndPrecision)
{
    EXPECT_EQ(FormatText("%d|%5d|%-5d|%05d|%+d", 42, 42, 42, 42, 42), QStringLiteral("42|   42|42   |00042|+42"));
    EXPECT_EQ(FormatText("%04d", 7), QStringLiteral("0007"));
    EXPECT_EQ(FormatText("%x %X %o %#x", 255, 255, 8, 255), QStringLiteral("ff FF 10 0xff"));
    EXPECT_EQ(FormatText("%I64u %llu %lu", quint64(1) << 40, 18446744073709551615ull, 5ul),
              QStringLiteral("1099511627776 18446744073709551615 5"));
    EXPECT_EQ(FormatText("%.3d", 5), QStringLiteral("005"));
}

TEST(PrintfFormat, ReinterpretsSignednessAtTheArgumentsOwnWidth)
{
    // As printf does with an int passed to %u / %x and an unsigned to %d.
    EXPECT_EQ(FormatText("%u %x", -1, -1), QStringLiteral("4294967295 ffffffff"));
    EXPECT_EQ(FormatText("%d", 0xFFFFFFFFu), QStringLiteral("-1"));
    EXPECT_EQ(FormatText("%d", quint64(0xFFFFFFFFu)), QStringLiteral("4294967295"));
    EXPECT_EQ(FormatText("%u", qint16(-2)), QStringLiteral("65534"));
}

TEST(PrintfFormat, FormatsTextAndCharacters)
{
    EXPECT_EQ(FormatText("%s", "ファイル.mpg"), QStringLiteral("ファイル.mpg")); // UTF-8 C string
    EXPECT_EQ(FormatText("%s", QStringLiteral("テロップ")), QStringLiteral("テロップ"));
    EXPECT_EQ(FormatText("%ls|%S", QStringLiteral("a"), QStringLiteral("b")), QStringLiteral("a|b"));
    EXPECT_EQ(FormatText("[%6s][%-6s][%.2s]", "abc", "abc", "テロップ"), QStringLiteral("[   abc][abc   ][テロ]"));
    EXPECT_EQ(FormatText("%s", static_cast<const char *>(nullptr)), QStringLiteral("(null)"));
    EXPECT_EQ(FormatText("%c%c%3c", 'A', 0x3042, 'z'), QStringLiteral("Aあ  z"));
}

TEST(PrintfFormat, FormatsFloatingPointInTheCLocale)
{
    EXPECT_EQ(FormatText("%.3f|%5.1f|%g|%e", 1.5, 2.34, 0.5, 1000.0), QStringLiteral("1.500|  2.3|0.5|1.000000e+03"));
    EXPECT_EQ(FormatText("%.1f", 3), QStringLiteral("3.0"));
}

TEST(PrintfFormat, TakesWidthAndPrecisionFromArguments)
{
    EXPECT_EQ(FormatText("[%*d][%-*d][%*d]", 4, 7, 4, 7, -4, 7), QStringLiteral("[   7][7   ][7   ]"));
    EXPECT_EQ(FormatText("[%.*s][%.*s]", 2, "abcdef", -1, "abc"), QStringLiteral("[ab][abc]"));
}

TEST(PrintfFormat, MismatchedOrMissingArgumentsNeverReadBeyondWhatWasPassed)
{
    EXPECT_EQ(FormatText("%s and %d", 42, "text"), QStringLiteral("42 and text"));
    EXPECT_EQ(FormatText("[%d][%s][%c]"), QStringLiteral("[][][]"));
    EXPECT_EQ(FormatText("%d", 1, 2, 3), QStringLiteral("1"));
    EXPECT_EQ(FormatText("%n%d", 1, 2), QStringLiteral("2"));
}

TEST(PrintfFormat, KeepsLiteralPercentUnknownConversionsAndATrailingPercent)
{
    EXPECT_EQ(FormatText("100%% done"), QStringLiteral("100% done"));
    EXPECT_EQ(FormatText("%y %d", 5), QStringLiteral("%y 5"));
    EXPECT_EQ(FormatText("50%"), QStringLiteral("50%"));
    EXPECT_EQ(FormatText("%-"), QStringLiteral("%-"));
}

TEST(PrintfFormat, ClampsHugeWidthsAndPrecisions)
{
    EXPECT_LE(FormatText("%999999999d", 1).size(), 4096);
    EXPECT_LE(FormatText("%.999999999f", 1.0).size(), 4100);
    EXPECT_LE(FormatText("%*s", 2000000000, "x").size(), 4096);
}

TEST(PrintfArg, GivesThePlainTextOfEachKind)
{
    EXPECT_EQ(PrintfArg(-3).toText(), QStringLiteral("-3"));
    EXPECT_EQ(PrintfArg(7u).toText(), QStringLiteral("7"));
    EXPECT_EQ(PrintfArg(2.5).toText(), QStringLiteral("2.5"));
    EXPECT_EQ(PrintfArg("テキスト").toText(), QStringLiteral("テキスト"));
    EXPECT_EQ(PrintfArg(QByteArray("abc")).toText(), QStringLiteral("abc"));
}
