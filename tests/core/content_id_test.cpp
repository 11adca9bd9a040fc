#include "core/content_id.h"
#include "core/last_error.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

TEST(ContentId, FormatsPadToNineDigitsAndTheFixedFormKeepsTheRightmostNine)
{
    EXPECT_EQ(FormatContentId(1), "000000001");
    EXPECT_EQ(FormatContentId(999000001), "999000001");
    EXPECT_EQ(FormatContentId(1234567890), "1234567890");
    EXPECT_EQ(FormatContentIdFixed(42), "000000042");
    EXPECT_EQ(FormatContentIdFixed(1234567890), "234567890");
    EXPECT_EQ(FormatContentIdFixed(-5), "000000005");
    EXPECT_EQ(FormatContentIdFixed(std::numeric_limits<qint64>::min()).size(), 9);
}

TEST(ContentId, MakeAndSplitAreInverse)
{
    EXPECT_EQ(MakeContentId(1, 52, 123), 152000123);
    EXPECT_EQ(MakeContentId(9, 99, 999999), 999999999);
    // A sequence of playlist 152000123 with kind 11 keeps the type digit and serial.
    EXPECT_EQ(MakeContentId(1, 11, 123), 111000123);

    int typePart = -1, sub = -1, serial = -1;
    ASSERT_TRUE(SplitContentId(254000077, &typePart, &sub, &serial));
    EXPECT_EQ(typePart, 2);
    EXPECT_EQ(sub, 54);
    EXPECT_EQ(serial, 77);
    EXPECT_EQ(MakeContentId(typePart, sub, serial), 254000077);
    EXPECT_TRUE(SplitContentId(7, nullptr, &sub, nullptr));
    EXPECT_EQ(sub, 0);
}

TEST(ContentId, PartsOrNumbersOutsideTheirDigitsAreRefused)
{
    for (const auto &parts : {std::array{10, 0, 0}, std::array{1, 100, 0}, std::array{1, 0, 1000000}, std::array{-1, 0, 0}}) {
        SetLastError(0);
        EXPECT_EQ(MakeContentId(parts[0], parts[1], parts[2]), -1);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    int serial = 17;
    for (const qint64 number : {qint64(-1), qint64(1000000000)}) {
        SetLastError(0);
        EXPECT_FALSE(SplitContentId(number, nullptr, nullptr, &serial));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
        EXPECT_EQ(serial, 17);
    }
}

TEST(ContentId, TableNamesRoundTrip)
{
    EXPECT_EQ(MakeScheduleTableName(900001), "SC000900001_TBL");
    EXPECT_EQ(MakePlaylistTableName(152000123), "PL152000123_TBL");
    EXPECT_EQ(MakeSequenceTableName(111000123), "SQ111000123_TBL");
    for (const int number : {0, 1, 152000123, 999999999}) {
        EXPECT_EQ(ParsePlaylistTableName(MakePlaylistTableName(number)), number);
        EXPECT_EQ(ParseScheduleTableName(MakeScheduleTableName(number)), number);
    }
    EXPECT_EQ(ParsePlaylistTableName("PL12_TBL"), 12);

    SetLastError(0);
    EXPECT_TRUE(MakePlaylistTableName(-1).isEmpty());
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(ContentId, ParsingRefusesOtherForms)
{
    for (const char *name : {"SC000000001_TBL", "pl000000001_TBL", "PL_TBL", "PL1234567890_TBL", " PL000000001_TBL",
                             "PL00000000X_TBL", "PL-00000001_TBL", "PL000000001_TBLX", "PL000000001", ""}) {
        SetLastError(0);
        EXPECT_EQ(ParsePlaylistTableName(QString::fromLatin1(name)), -1) << name;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA) << name;
    }
    EXPECT_EQ(ParseScheduleTableName("PL000000001_TBL"), -1);
}
