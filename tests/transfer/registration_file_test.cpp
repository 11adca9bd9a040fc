// The calendar and group registration files: byte-exact layouts against the
// hand-written golden files, their optional elements, and saves that fail
// without leaving a file behind.

#include "transfer_test_util.h"

#include "core/last_error.h"
#include "model/calendar_property.h"
#include "transfer/calendar_file_xml.h"
#include "transfer/group_xml.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CCalendarProperty MakeCalendarRow(qint32 index, DateValue start, DateValue end, const QString &week, qint32 flag,
                                  qint32 schedule, DateValue deleteDate = DateValue())
{
    CCalendarProperty row;
    EXPECT_TRUE(row.SetIndex(index));
    EXPECT_TRUE(row.SetStartDate(start));
    EXPECT_TRUE(row.SetEndDate(end));
    EXPECT_TRUE(row.SetWeek(week));
    EXPECT_TRUE(row.SetFlag(flag));
    EXPECT_TRUE(row.SetSchedule(schedule));
    EXPECT_TRUE(row.SetDeleteDate(deleteDate));
    return row;
}

const SystemTime kFileTime = MakeTime(2026, 4, 1, 9, 5, 3, 7);

} // namespace

TEST(CalendarFileXml, MatchesTheGoldenFile)
{
    QTemporaryDir dir;
    CCalendarFileXml file;
    const CCalendarProperty play = MakeCalendarRow(3, MakeDate(2026, 4, 1), MakeDate(2026, 12, 31), "23456",
                                                   CCalendarProperty::FLAG_PLAY, 900001, MakeDate(2027, 3, 31));
    // Flag 0 names no schedule; a deletion date of month 0 is left out.
    const CCalendarProperty notPlay = MakeCalendarRow(4, MakeDate(2026, 5, 5), MakeDate(2026, 5, 5), "",
                                                      CCalendarProperty::FLAG_NOTPLAY, 900001);
    const CCalendarProperty force = MakeCalendarRow(5, MakeDate(2026, 6, 1), MakeDate(2026, 6, 30), "17",
                                                    CCalendarProperty::FLAG_FORCEPLAY, 900002);
    ASSERT_TRUE(file.Add(&play));
    ASSERT_TRUE(file.Add(&notPlay));
    ASSERT_TRUE(file.Add(&force));

    ASSERT_TRUE(file.Save(dir.path(), "Calendar3.xml", kFileTime));
    EXPECT_EQ(ReadFileBytes(dir.filePath("Calendar3.xml")), ReadGolden("calendar.xml"));
}

TEST(CalendarFileXml, RowsAreCopiesAndRemoveAllEmptiesTheFile)
{
    QTemporaryDir dir;
    CCalendarFileXml file;
    CCalendarProperty row = MakeCalendarRow(7, MakeDate(2026, 1, 1), MakeDate(2026, 1, 2), "", 0, 0);
    ASSERT_TRUE(file.Add(&row));
    row.SetIndex(8); // the queued copy keeps 7
    ASSERT_TRUE(file.Save(dir.path(), "Calendar.xml", kFileTime));
    const QByteArray withRow = ReadFileBytes(dir.filePath("Calendar.xml"));
    EXPECT_TRUE(withRow.contains("<index>7</index>"));
    EXPECT_FALSE(withRow.contains("<index>8</index>"));

    file.RemoveAll();
    EXPECT_EQ(file.GetCount(), 0);
    ASSERT_TRUE(file.Save(dir.path(), "Calendar.xml", kFileTime));
    EXPECT_EQ(ReadFileBytes(dir.filePath("Calendar.xml")),
              QByteArray("<?xml version='1.0' encoding='UTF-8'?>\r\n"
                         "<calendar ver=\"1.0\" date=\"2026-04-01\" time=\"09:05:03.007\">\r\n"
                         "\t<CALENDAR_TBL/>\r\n"
                         "</calendar>\r\n"));
}

TEST(CalendarFileXml, RefusesNullRecordsAndNamesOutsideTheFolder)
{
    QTemporaryDir dir;
    CCalendarFileXml file;
    EXPECT_FALSE(file.Add(nullptr));
    EXPECT_EQ(file.GetLastError(), 87u);

    EXPECT_FALSE(file.Save(QString(), "Calendar.xml", kFileTime));
    EXPECT_EQ(GetLastError(), 87u);
    EXPECT_FALSE(file.Save(dir.path(), QString(), kFileTime));
    EXPECT_EQ(file.GetLastError(), 87u);
    EXPECT_FALSE(file.Save(dir.path(), "../Calendar.xml", kFileTime));
    EXPECT_EQ(file.GetLastError(), 87u);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(CalendarFileXml, FailedSaveKeepsTheOldFile)
{
    QTemporaryDir dir;
    CCalendarFileXml file;
    ASSERT_TRUE(file.Save(dir.path(), "Calendar.xml", kFileTime));
    const QByteArray before = ReadFileBytes(dir.filePath("Calendar.xml"));
    // A folder in the file's place cannot be replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir("Calendar1.xml"));
    EXPECT_FALSE(file.Save(dir.path(), "Calendar1.xml", kFileTime));
    EXPECT_NE(file.GetLastError(), 0u);
    EXPECT_FALSE(file.Save(dir.filePath("missing"), "Calendar.xml", kFileTime));
    EXPECT_EQ(ReadFileBytes(dir.filePath("Calendar.xml")), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Calendar.xml"});
}

TEST(GroupXml, MatchesTheGoldenFileWithTheOnePropertyEntryLast)
{
    QTemporaryDir dir;
    CGroupXml group;
    ASSERT_TRUE(group.AddPropertyList("property1.xml", MakeTime(2026, 4, 1, 9, 0, 0)));
    ASSERT_TRUE(group.AddCalendarFile("Calendar3.xml", MakeTime(2026, 4, 1, 9, 0, 0)));
    ASSERT_TRUE(group.AddPlaylistFile("PL052000001.xml", MakeTime(2026, 3, 31, 23, 59, 59, 999)));
    ASSERT_TRUE(group.AddScheduleFile("SC000900001.xml", MakeTime(2026, 4, 1, 0, 0, 1)));
    ASSERT_TRUE(group.AddSequenceFile("SQ054000002.xml", MakeTime(2026, 4, 1, 8, 7, 6)));
    ASSERT_TRUE(group.AddPropertyList("property3.xml", MakeTime(2026, 4, 1, 9, 5, 2)));
    EXPECT_EQ(group.GetCount(), 5);

    const QString path = dir.filePath("group3.xml");
    ASSERT_TRUE(group.Save(path, kFileTime));
    EXPECT_EQ(ReadFileBytes(path), ReadGolden("group.xml"));
}

TEST(GroupXml, EmptyGroupWritesOnlyTheRoot)
{
    QTemporaryDir dir;
    CGroupXml group;
    ASSERT_TRUE(group.Save(dir.filePath("group.xml"), kFileTime));
    EXPECT_EQ(ReadFileBytes(dir.filePath("group.xml")), ReadGolden("group_empty.xml"));
}

TEST(GroupXml, RefusesEmptyNamesAndPaths)
{
    CGroupXml group;
    EXPECT_FALSE(group.AddCalendarFile(QString(), kFileTime));
    EXPECT_EQ(group.GetLastError(), 87u);
    EXPECT_FALSE(group.AddPropertyList(QString(), kFileTime));
    EXPECT_EQ(group.GetCount(), 0);
    EXPECT_FALSE(group.Save(QString(), kFileTime));
    EXPECT_EQ(GetLastError(), 87u);
}

TEST(GroupXml, FileNamesAreEscapedAsText)
{
    QTemporaryDir dir;
    CGroupXml group;
    ASSERT_TRUE(group.AddPlaylistFile("a&b<c>.xml", kFileTime));
    ASSERT_TRUE(group.Save(dir.filePath("group.xml"), kFileTime));
    EXPECT_TRUE(ReadFileBytes(dir.filePath("group.xml")).contains(">a&amp;b&lt;c&gt;.xml</playlist>"));
}
