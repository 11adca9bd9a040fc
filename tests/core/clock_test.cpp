#include "core/clock.h"
#include "support/fake_clock.h"

#include <gtest/gtest.h>

TEST(Clock, FileTimeRoundTripKeepsWallClockFields)
{
    const QDateTime local(QDate(2026, 12, 7), QTime(23, 59, 58, 123));
    const FileTime ft = ToFileTime(local);
    EXPECT_EQ(FromFileTime(ft), local);
    // 1601-01-01 is the epoch of file times.
    EXPECT_EQ(ToFileTime(QDateTime(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC)), 0u);
}

TEST(Clock, FakeClockIsInstalledAndSleepsInstantly)
{
    ScopedFakeClock fake(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    Clock().sleepFor(std::chrono::minutes(2));
    const SystemTime st = GetLocalTime();
    EXPECT_EQ(st.year, 2026);
    EXPECT_EQ(st.minute, 6);
    EXPECT_EQ(st.dayOfWeek, 5); // 2026-01-02 is a Friday
}
