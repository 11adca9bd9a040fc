#include "core/format_utils.h"
#include "core/last_error.h"
#include "core/time_utils.h"
#include "support/fake_clock.h"

#include <gtest/gtest.h>

namespace {

TimeValue Hms(int h, int m, int s, int fourth = 0)
{
    return TimeValue{quint16(h), quint16(m), quint16(s), quint16(fourth)};
}

SystemTime At(int h, int m, int s, int ms = 0)
{
    return SystemTime{2026, 4, 3, 1, quint16(h), quint16(m), quint16(s), quint16(ms)};
}

struct RangeCase {
    SystemTime at;
    bool inside;
    int secondsLeft; // -1: the out value stays untouched
};

void ExpectRange(const TimeValue &start, const TimeValue &end, std::initializer_list<RangeCase> cases)
{
    for (const RangeCase &c : cases) {
        int left = -1;
        EXPECT_EQ(IsInTimeRange(start, end, &left, &c.at), c.inside) << qPrintable(FormatDateTimeText(c.at));
        EXPECT_EQ(left, c.secondsLeft) << qPrintable(FormatDateTimeText(c.at));
    }
}

} // namespace

TEST(TimeRange, RangeAcrossMidnightCountsTheSecondsLeftAcrossIt)
{
    ExpectRange(Hms(22, 0, 0), Hms(6, 0, 0),
                {{At(23, 30, 0), true, 23400}, {At(22, 0, 0), true, 8 * 3600}, {At(0, 0, 0), true, 6 * 3600},
                 {At(5, 59, 59, 999), true, 1}, {At(6, 0, 0), true, 0}, {At(6, 0, 1), false, -1},
                 {At(12, 0, 0), false, -1}, {At(21, 59, 59), false, -1}});
}

TEST(TimeRange, RangeWithinTheDayIsInclusiveAndEqualEndsMakeNoRange)
{
    ExpectRange(Hms(1, 0, 0), Hms(2, 0, 0),
                {{At(1, 30, 0), true, 1800}, {At(1, 0, 0), true, 3600}, {At(2, 0, 0), true, 0},
                 {At(0, 59, 59), false, -1}, {At(2, 0, 1), false, -1}});
    // Equal ends never hold a time, not even that very time; the fourth field
    // takes no part.
    ExpectRange(Hms(0, 0, 0), Hms(0, 0, 0), {{At(0, 0, 0), false, -1}});
    ExpectRange(Hms(3, 0, 0, 10), Hms(3, 0, 0, 20), {{At(3, 0, 0), false, -1}});
}

TEST(TimeRange, NullTimeTestsTheClock)
{
    ScopedFakeClock fake(QDateTime(QDate(2026, 4, 1), QTime(23, 59, 0)));
    int left = 0;
    EXPECT_TRUE(IsInTimeRange(Hms(23, 0, 0), Hms(0, 1, 0), &left));
    EXPECT_EQ(left, 120);
    fake.clock().advance(std::chrono::minutes(3));
    EXPECT_FALSE(IsInTimeRange(Hms(23, 0, 0), Hms(0, 1, 0), &left));
}

TEST(TimeCompare, DatesSortInvalidOnesFirstAndConvert)
{
    const DateValue none{}, feb30{2026, 2, 30}, a{2026, 3, 31}, b{2026, 4, 1}, never{9999, 12, 31};
    EXPECT_EQ(CompareDate(a, b), -1);
    EXPECT_EQ(CompareDate(b, a), 1);
    EXPECT_EQ(CompareDate(a, a), 0);
    EXPECT_EQ(CompareDate(b, never), -1);
    EXPECT_EQ(CompareDate(none, a), -1);
    EXPECT_EQ(CompareDate(never, none), 1);
    EXPECT_EQ(CompareDate(feb30, a), -1);
    EXPECT_EQ(CompareDate(none, feb30), 0);

    EXPECT_EQ(ToDateValue(ToQDate(b)), b);
    EXPECT_FALSE(ToQDate(feb30).isValid());
    EXPECT_EQ(ToDateValue(QDate()), none);
    EXPECT_EQ(WeekdayDigitOf(QDate(2026, 4, 5)), u'1'); // Sunday
    EXPECT_EQ(WeekdayDigitOf(QDate(2026, 4, 4)), u'7'); // Saturday
}

TEST(TimeCompare, SystemTimesTimeCodesAndMilliseconds)
{
    SystemTime a = At(10, 0, 0, 1), b = At(10, 0, 0, 2);
    EXPECT_EQ(CompareSystemTime(a, b), -1);
    b.milliseconds = 1;
    b.dayOfWeek = 6; // the weekday is not compared
    EXPECT_EQ(CompareSystemTime(a, b), 0);
    b.year = 2025;
    b.hour = 23;
    EXPECT_EQ(CompareSystemTime(a, b), 1);

    EXPECT_EQ(CompareTimeCode(Hms(0, 0, 1, 0), Hms(0, 0, 0, 29)), 1);
    EXPECT_EQ(CompareTimeCode(Hms(0, 0, 0, 30), Hms(0, 0, 1, 0)), 0); // equal frame counts
    EXPECT_EQ(CompareTimeCode(Hms(1, 0, 0), Hms(0, 59, 59, 29)), 1);
    EXPECT_EQ(ComparePlayLengths(PlayLength{0, 0, 1, 0}, PlayLength{0, 0, 0, 999}), 1);
    EXPECT_EQ(ComparePlayLengths(PlayLength{0, 0, 0, 1000}, PlayLength{0, 0, 1, 0}), 0);
    EXPECT_EQ(ComparePlayLengths(PlayLength{0, 59, 0}, PlayLength{1, 0, 0}), -1);
}

TEST(TimeCode, FramesSplitAtThirtyOrTwentyFivePerSecond)
{
    TimeValue t;
    ASSERT_TRUE(FramesToTimeCode(((1 * 3600 + 2 * 60 + 3) * 30) + 29, t));
    EXPECT_EQ(t, Hms(1, 2, 3, 29));
    ASSERT_TRUE(FramesToTimeCode(((1 * 3600 + 2 * 60 + 3) * 25) + 24, t, true));
    EXPECT_EQ(t, Hms(1, 2, 3, 24));
    ASSERT_TRUE(FramesToTimeCode(qint64(30) * 3600 * 30, t));
    EXPECT_EQ(t, Hms(30, 0, 0));

    SetLastError(0);
    EXPECT_FALSE(FramesToTimeCode(-1, t));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(FramesToTimeCode(qint64(0x10000) * 3600 * 30, t));
    EXPECT_EQ(t, Hms(30, 0, 0));
}

TEST(TimeParse, ParsesClockTextsAndRefusesOthers)
{
    TimeValue t;
    ASSERT_TRUE(ParseTimeValue("01:00:00", t, false));
    EXPECT_EQ(t, Hms(1, 0, 0));
    ASSERT_TRUE(ParseTimeValue(" 0:5:9.5 ", t, true));
    EXPECT_EQ(t, Hms(0, 5, 9, 500));
    ASSERT_TRUE(ParseTimeValue("25:59:59.042", t, true));
    EXPECT_EQ(t, Hms(25, 59, 59, 42));
    EXPECT_EQ(FormatTimeText(t, true), "25:59:59.042");

    const TimeValue before = t;
    for (const char *text : {"", "1:2", "1:2:3:4", "01:60:00", "01:00:60", "a:00:00", "-1:00:00", "01:00:00.", "01:00:00.1234",
                             "01:00:00.5x", "1 :00:00", "65536:00:00"}) {
        SetLastError(0);
        EXPECT_FALSE(ParseTimeValue(text, t, true)) << text;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA) << text;
    }
    EXPECT_FALSE(ParseTimeValue("01:00:00.500", t, false));
    EXPECT_EQ(t, before);
}
