#include "core/format_utils.h"
#include "core/last_error.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

SystemTime MakeTime(int year, int month, int day, int hour, int minute, int second, int milliseconds)
{
    return SystemTime{quint16(year), quint16(month), 0, quint16(day), quint16(hour), quint16(minute), quint16(second), quint16(milliseconds)};
}

} // namespace

TEST(FormatUtils, FixedTexts)
{
    const SystemTime t = MakeTime(2026, 4, 1, 9, 5, 7, 42);
    EXPECT_EQ(FormatDateText(2026, 4, 1), "2026-04-01");
    EXPECT_EQ(FormatDateTimeText(t), "2026-04-01 09:05:07.042");
    EXPECT_EQ(FormatTimeMsText(1, 2, 3, 4), "01:02:03.004");
    EXPECT_EQ(FormatTimeText(TimeValue{0, 0, 10, 999}, false), "00:00:10");
    EXPECT_EQ(FormatTimeText(TimeValue{123, 0, 10, 7}, true), "123:00:10.007");
    EXPECT_EQ(FormatSlashDateTime(t), "2026/04/01 09:05:07");
    EXPECT_EQ(FormatSlashDate(2027, 1, 6), "2027/01/06");
    EXPECT_TRUE(FormatSlashDate(2026, 2, 30).isEmpty());
    EXPECT_TRUE(FormatSlashDateTime(SystemTime{}).isEmpty());
}

TEST(FormatUtils, LocaleTextsFollowTheLocaleAndKeepTheSeconds)
{
    const QLocale saved;
    const SystemTime t = MakeTime(2026, 4, 1, 13, 5, 9, 0);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_EQ(FormatLocaleDate(t), "2026/04/01");
    EXPECT_EQ(FormatLocaleDateYmd(2026, 4, 1), "2026/04/01");
    EXPECT_EQ(FormatLocaleTime(t), "13:05:09");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(FormatLocaleTime(t), "1:05:09 PM");
    EXPECT_TRUE(FormatLocaleDateYmd(2026, 2, 30).isEmpty());
    EXPECT_TRUE(FormatLocaleDateYmd(0, 0, 0).isEmpty());
    QLocale::setDefault(saved);
}

TEST(FormatUtils, VersionNumbersUseTheFirstFourCharacters)
{
    int number = -1;
    const std::pair<const char *, int> cases[] = {{"1.23", 123}, {"1.2.3", 12}, {"10.05", 100}, {"1.23a", 123}, {"2", 2}};
    for (const auto &[text, expected] : cases) {
        ASSERT_TRUE(ParseVersionNumber(text, number)) << text;
        EXPECT_EQ(number, expected) << text;
    }
    number = 7;
    for (const char *text : {"", "v1.2", "....", " 1.2", "-1.2"}) {
        SetLastError(0);
        EXPECT_FALSE(ParseVersionNumber(text, number)) << text;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    }
    EXPECT_EQ(number, 7);
}

TEST(FormatUtils, ControlCharactersAreRemovedAndReported)
{
    QString text = QString::fromUtf8("タイ\tトル\r\n\x01終\x7f");
    EXPECT_TRUE(RemoveControlChars(text));
    EXPECT_EQ(text, QString::fromUtf8("タイトル終\x7f"));
    EXPECT_FALSE(RemoveControlChars(text));
    QString empty;
    EXPECT_FALSE(RemoveControlChars(empty));
}
