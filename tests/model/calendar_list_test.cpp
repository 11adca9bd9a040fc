// Calendar rows: which row applies to a day, the overlap search over the
// periods of given schedules, the send status, and no-play periods.

#include "core/last_error.h"
#include "model/calendar_list.h"
#include "model/calendar_property.h"
#include "model/contents_store.h"
#include "model/schedule_property.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

DateValue day(int y, int m, int d)
{
    return DateValue{quint16(y), quint16(m), quint16(d)};
}

// A row numbered like the schedule it plays.
void addRow(CCalendarList &list, qint32 schedule, DateValue start, DateValue end, qint32 flag,
            const QString &week = QString())
{
    CCalendarProperty row;
    ASSERT_TRUE(row.SetIndex(schedule));
    ASSERT_TRUE(row.SetSchedule(schedule));
    ASSERT_TRUE(row.SetStartDate(start));
    ASSERT_TRUE(row.SetEndDate(end));
    ASSERT_TRUE(row.SetFlag(flag));
    ASSERT_TRUE(row.SetWeek(week));
    ASSERT_TRUE(list.Add(&row));
}

} // namespace

TEST(CalendarListTest, FindByDateLetsANotPlayRowWinOverPlayRows)
{
    CCalendarList list;
    addRow(list, 551900001, day(2024, 6, 1), day(2024, 6, 30), CCalendarProperty::FLAG_PLAY);
    addRow(list, 551900002, day(2024, 6, 10), day(2024, 6, 20), CCalendarProperty::FLAG_FORCEPLAY);
    addRow(list, 554900003, day(2024, 6, 15), day(2024, 6, 15), CCalendarProperty::FLAG_NOTPLAY);

    EXPECT_EQ(list.FindByDate(day(2024, 6, 1)), 0);
    EXPECT_EQ(list.FindByDate(day(2024, 6, 12)), 0); // two play rows: the first
    EXPECT_EQ(list.FindByDate(day(2024, 6, 15)), 2); // the no-play day
    EXPECT_EQ(list.FindByDate(day(2024, 6, 30)), 0);
    EXPECT_EQ(list.FindByDate(day(2024, 7, 1)), -1);
    EXPECT_EQ(list.FindByDate(day(2024, 5, 31)), -1);
    EXPECT_EQ(list.FindByDate(day(2024, 2, 30)), -1);
}

TEST(CalendarListTest, FindByDateHonoursTheWeekdays)
{
    CCalendarList list;
    // Monday to Friday only; 2024-06-02 is a Sunday, 2024-06-08 a Saturday.
    addRow(list, 551900001, day(2024, 6, 1), day(2024, 6, 30), CCalendarProperty::FLAG_PLAY, "23456");
    // A no-play row that only covers Sundays does not hide the weekdays.
    addRow(list, 554900002, day(2024, 6, 1), day(2024, 6, 30), CCalendarProperty::FLAG_NOTPLAY, "1");

    EXPECT_EQ(list.FindByDate(day(2024, 6, 2)), 1);
    EXPECT_EQ(list.FindByDate(day(2024, 6, 3)), 0);
    EXPECT_EQ(list.FindByDate(day(2024, 6, 7)), 0);
    EXPECT_EQ(list.FindByDate(day(2024, 6, 8)), -1);
}

TEST(CalendarListTest, OverlapSearchCountsASharedDayButNotAdjacentPeriods)
{
    CCalendarList list;
    addRow(list, 551900001, day(2024, 6, 1), day(2024, 6, 10), CCalendarProperty::FLAG_PLAY);
    addRow(list, 551900002, day(2024, 6, 11), day(2024, 6, 20), CCalendarProperty::FLAG_PLAY);
    addRow(list, 551900003, day(2024, 6, 20), day(2024, 6, 25), CCalendarProperty::FLAG_PLAY);
    const QList<qint32> sent{551900001, 551900002, 551900003};

    // Schedule 1 ends the day before schedule 2 starts.
    EXPECT_EQ(list.FindOverlap(day(2024, 6, 1), day(2024, 6, 10), 551900001, sent), -1);
    // Schedules 2 and 3 share the 20th.
    EXPECT_EQ(list.FindOverlap(day(2024, 6, 11), day(2024, 6, 20), 551900002, sent), 2);
    EXPECT_EQ(list.FindOverlap(day(2024, 6, 20), day(2024, 6, 25), 551900003, sent), 1);
    // Only the given schedules count, and never the schedule itself.
    EXPECT_EQ(list.FindOverlap(day(2024, 6, 11), day(2024, 6, 20), 551900002, {551900002}), -1);
    EXPECT_EQ(list.FindOverlap(day(2024, 6, 11), day(2024, 6, 20), 551900002, {551900001}), -1);
    EXPECT_EQ(list.FindOverlap(day(2024, 5, 1), day(2024, 7, 1), 551900009, {551900003}), 2);
}

TEST(CalendarListTest, StatusStaysWithinZeroToFour)
{
    CCalendarList list;
    addRow(list, 551900001, day(2024, 6, 1), day(2024, 6, 10), CCalendarProperty::FLAG_PLAY);
    auto status = [&] { return static_cast<CCalendarProperty *>(list.GetAt(0))->GetStatus(); };

    ASSERT_TRUE(list.SetStatus(0, 4));
    EXPECT_EQ(status(), 4);
    ASSERT_TRUE(list.SetStatus(0, 0));
    EXPECT_FALSE(list.SetStatus(0, -1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(list.SetStatus(0, 5));
    EXPECT_EQ(status(), 0);
    EXPECT_FALSE(list.SetStatus(1, 2));
    EXPECT_FALSE(list.SetStatus(-1, 2));
}

TEST(CalendarListTest, TheStoresCalendarListsAreCalendarLists)
{
    QTemporaryDir dir;
    CContentsStore store;
    store.SetFolders(dir.path(), dir.path());
    EXPECT_NE(dynamic_cast<CCalendarList *>(store.GetList(CONTENT_CALENDAR)), nullptr);
    EXPECT_NE(dynamic_cast<CCalendarList *>(store.GetWorkGroupList(CONTENT_CALENDAR)), nullptr);
    EXPECT_NE(dynamic_cast<CCalendarList *>(store.GetRemoteList(CONTENT_CALENDAR)), nullptr);
}

TEST(CalendarListTest, NoPlayPeriodsCarryTypeCode54)
{
    CScheduleProperty schedule;
    ASSERT_TRUE(schedule.SetIndex(551900001));
    EXPECT_FALSE(schedule.IsNoPlayPeriod());
    ASSERT_TRUE(schedule.SetIndex(554900002));
    EXPECT_TRUE(schedule.IsNoPlayPeriod());
}
