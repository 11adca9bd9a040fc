// The schedule grid: tracks by item kind, rows from the first event, the
// operating window (also across midnight), and the schedule file with its
// playlist entries and sequences.

#include "core/last_error.h"
#include "model/schedule_edit_model.h"
#include "model/schedule_file.h"
#include "model/sequence_file.h"
#include "support/time_codes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CTimetableItem entry(qint32 index, TimeValue start, TimeValue end, int type)
{
    CTimetableItem item;
    EXPECT_TRUE(item.Set(index, start, end, type, 0));
    return item;
}

class ScheduleModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(dir.path()).mkpath("Schedule/Sequence"));
        model.SetFolders(scheduleFolder(), sequenceFolder());
        ASSERT_TRUE(model.SetIdPrefix(5));
    }
    QString scheduleFolder() const { return dir.path() + "/Schedule"; }
    QString sequenceFolder() const { return dir.path() + "/Schedule/Sequence"; }

    QTemporaryDir dir;
    CScheduleEditModel model;
};

} // namespace

TEST_F(ScheduleModelTest, TracksAreFoundByItemKindAndTakeTheirOwnTypes)
{
    const int kinds[] = {1, 6, 5, 9, 3, 8};
    EXPECT_EQ(model.GetTrackCount(), 7);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(model.FindTrackForType(kinds[i]), i + 1);
        EXPECT_EQ(model.GetTrackKind(i + 1), kinds[i]);
    }
    EXPECT_EQ(model.FindTrackForType(0), -1);
    EXPECT_EQ(model.FindTrackForType(2), -1);

    const int playlists = model.FindTrackForType(1);
    const int music = model.FindTrackForType(6);
    const int telops = model.FindTrackForType(3);
    EXPECT_TRUE(model.InsertItem(playlists, entry(520000001, Tc(6, 0), Tc(7, 0), 52)));
    EXPECT_FALSE(model.InsertItem(playlists, entry(530000001, Tc(7, 0), Tc(8, 0), 53)));
    EXPECT_FALSE(model.InsertItem(playlists, entry(100000001, Tc(7, 0), Tc(8, 0), 1)));
    EXPECT_TRUE(model.InsertItem(music, entry(530000001, Tc(6, 0), Tc(9, 0), 53)));
    EXPECT_FALSE(model.InsertItem(telops, entry(520000001, Tc(6, 0), Tc(9, 0), 52)));
    EXPECT_TRUE(model.InsertItem(telops, entry(300000001, Tc(8, 30), Tc(9, 0), 3)));

    // Rows start at the first event: a schedule plays at times of the day.
    ASSERT_EQ(model.GetRowCount(), 3);
    TimeValue start;
    ASSERT_TRUE(model.GetStartTime(0, start));
    EXPECT_EQ(start, Tc(6, 0));

    TimetableCell cell;
    ASSERT_TRUE(model.GetItem(2, music, cell));
    EXPECT_EQ(cell.kind, 6);
    EXPECT_TRUE(cell.gap);
    EXPECT_EQ(cell.item.GetIndex(), 530000001);
    ASSERT_TRUE(model.GetItem(1, playlists, cell));
    EXPECT_EQ(cell.kind, 0);
    EXPECT_EQ(cell.item.GetIndex(), -1);
}

TEST_F(ScheduleModelTest, OperatingWindowAlsoAcrossMidnight)
{
    // No window: everything fits.
    EXPECT_TRUE(model.IsInTimeRange(Tc(0, 0), Tc(24, 0)));

    ASSERT_TRUE(model.SetTimeRange(Tc(10, 0), Tc(18, 0)));
    EXPECT_TRUE(model.IsInTimeRange(Tc(10, 0), Tc(18, 0)));
    EXPECT_FALSE(model.IsInTimeRange(Tc(9, 59, 59, 29), Tc(12, 0)));
    EXPECT_FALSE(model.IsInTimeRange(Tc(17, 0), Tc(18, 0, 0, 1)));
    EXPECT_FALSE(model.IsInTimeRange(Tc(19, 0), Tc(20, 0)));

    ASSERT_TRUE(model.SetTimeRange(Tc(22, 0), Tc(6, 0)));
    TimeValue on;
    TimeValue off;
    model.GetTimeRange(on, off);
    EXPECT_EQ(on, Tc(22, 0));
    EXPECT_EQ(off, Tc(6, 0));
    EXPECT_TRUE(model.IsInTimeRange(Tc(22, 0), Tc(24, 0)));
    EXPECT_TRUE(model.IsInTimeRange(Tc(0, 0), Tc(6, 0)));
    EXPECT_TRUE(model.IsInTimeRange(Tc(23, 0), Tc(23, 30)));
    EXPECT_FALSE(model.IsInTimeRange(Tc(5, 0), Tc(7, 0)));   // crosses power-off
    EXPECT_FALSE(model.IsInTimeRange(Tc(21, 0), Tc(23, 0))); // crosses power-on
    EXPECT_FALSE(model.IsInTimeRange(Tc(12, 0), Tc(13, 0))); // in the off period
    EXPECT_FALSE(model.IsInTimeRange(Tc(1, 0), Tc(23, 0)));  // over the whole off period

    EXPECT_FALSE(model.SetTimeRange(Tc(24, 0, 0, 1), Tc(6, 0)));
    EXPECT_FALSE(model.SetTimeRange(Tc(6, 60), Tc(6, 0)));
    model.GetTimeRange(on, off);
    EXPECT_EQ(on, Tc(22, 0));

    // The window is a setting, not part of the schedule: Clear keeps it.
    model.Clear();
    model.GetTimeRange(on, off);
    EXPECT_EQ(off, Tc(6, 0));
}

TEST_F(ScheduleModelTest, SavesListsAsEntriesAndContentsAsSequences)
{
    ASSERT_TRUE(model.SetTitle(QStringLiteral("平日")));
    ASSERT_TRUE(model.SetInfo(QStringLiteral("本館")));
    ASSERT_TRUE(model.SetDeleteDate(DateValue{2031, 3, 31}));
    ASSERT_TRUE(model.InsertItem(1, entry(520000001, Tc(6, 0), Tc(12, 0), 52)));
    ASSERT_TRUE(model.InsertItem(1, entry(999000002, Tc(12, 0), Tc(23, 59, 59, 29), 52)));
    ASSERT_TRUE(model.InsertItem(2, entry(530000001, Tc(6, 0), Tc(24, 0), 53)));
    ASSERT_TRUE(model.InsertItem(model.FindTrackForType(3), entry(300000001, Tc(8, 0), Tc(9, 0), 3)));
    ASSERT_TRUE(model.InsertItem(model.FindTrackForType(3), entry(300000002, Tc(9, 0), Tc(9, 30), 3)));
    ASSERT_TRUE(model.InsertItem(model.FindTrackForType(8), entry(800000001, Tc(7, 0), Tc(7, 1), 8)));
    ASSERT_TRUE(model.Save(551900001));
    EXPECT_FALSE(model.IsModified());

    CScheduleFile file;
    ASSERT_TRUE(file.LoadFrom(scheduleFolder(), 551900001));
    ASSERT_EQ(file.GetItemCount(), 5);
    QStringList tables;
    for (int i = 0; i < file.GetItemCount(); ++i) {
        CTimetableItem item;
        ASSERT_TRUE(file.GetItem(i, item));
        tables << item.GetTableName() + "/" + QString::number(item.GetKind());
    }
    EXPECT_EQ(tables, QStringList({"PL520000001_TBL/1", "PL999000002_TBL/1", "PL530000001_TBL/6",
                                   "SQ520900001_TBL/20", "SQ522900001_TBL/22"}));
    CTimetableItem telops;
    ASSERT_TRUE(file.GetItem(3, telops));
    EXPECT_EQ(telops.GetStartTime(), Tc(8, 0));
    EXPECT_EQ(telops.GetEndTime(), Tc(9, 30));
    EXPECT_TRUE(QFile::exists(sequenceFolder() + "/SQ520900001.xml"));

    CScheduleEditModel read;
    read.SetFolders(scheduleFolder(), sequenceFolder());
    ASSERT_TRUE(read.Load(551900001));
    EXPECT_EQ(read.GetIndex(), 551900001);
    EXPECT_EQ(read.GetTitle(), model.GetTitle());
    EXPECT_EQ(read.GetDeleteDate(), model.GetDeleteDate());
    ASSERT_EQ(read.GetRowCount(), model.GetRowCount());
    EXPECT_EQ(read.GetItemCount(), 6);
    for (int row = 0; row < model.GetRowCount(); ++row) {
        for (int track = 1; track < model.GetTrackCount(); ++track) {
            TimetableCell a;
            TimetableCell b;
            ASSERT_TRUE(model.GetItem(row, track, a));
            ASSERT_TRUE(read.GetItem(row, track, b));
            EXPECT_EQ(a.item, b.item) << row << "/" << track;
            EXPECT_EQ(a.kind, b.kind);
        }
    }
}

TEST_F(ScheduleModelTest, ASimpleScheduleFileLoadsIntoTheModel)
{
    // The file written for a playlist saved with a schedule: one entry.
    CScheduleFile file;
    ASSERT_TRUE(file.SetIndex(551900002));
    ASSERT_TRUE(file.SetTitle("simple"));
    CScheduleFileItem item;
    ASSERT_TRUE(item.Set(520000007, Tc(0, 0), Tc(23, 59, 59, 29), 52, 1));
    ASSERT_TRUE(file.AddItem(item));
    ASSERT_TRUE(file.SaveTo(scheduleFolder()));

    ASSERT_TRUE(model.Load(551900002));
    ASSERT_EQ(model.GetRowCount(), 1);
    EXPECT_TRUE(model.IsCellUsed(0, model.FindTrackForType(1), false));
    EXPECT_EQ(model.GetTitle(), "simple");

    // A schedule naming a sequence of a layer it has no track for is refused.
    CScheduleFile foreign;
    ASSERT_TRUE(foreign.SetIndex(551900003));
    ASSERT_TRUE(item.Set(524900003, Tc(0, 0), Tc(1, 0), 54, 24));
    ASSERT_TRUE(foreign.AddItem(item));
    ASSERT_TRUE(foreign.SaveTo(scheduleFolder()));
    EXPECT_FALSE(model.Load(551900003));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(model.GetIndex(), 551900002);
}

TEST_F(ScheduleModelTest, ListsPlaceOnTheirOwnTracksFromTheFirstStartAndMayRunToMidnight)
{
    const int lists = model.FindTrackForType(1);
    const int music = model.FindTrackForType(6);
    // An empty schedule starts where it is told (the power-on time).
    EXPECT_EQ(model.PlaceStart(lists, -1, Tc(10, 0)), Tc(10, 0));
    ASSERT_TRUE(model.PlaceItem(lists, Tc(10, 0), 3600 * 30, 520000001, 52));
    EXPECT_FALSE(model.PlaceItem(music, Tc(10, 0), 3600 * 30, 520000001, 52));
    ASSERT_TRUE(model.PlaceItem(music, model.PlaceStart(music, 0, {}), 1800 * 30, 530000001, 53));
    EXPECT_EQ(model.PlaceStart(lists, -1, {}), Tc(11, 0));
    // A schedule's events may end at 24:00:00.
    ASSERT_TRUE(model.PlaceItem(lists, Tc(23, 0), 3600 * 30, 520000002, 52));
    EXPECT_FALSE(model.SetItemTimes(model.GetRowCount() - 1, lists, Tc(23, 0), Tc(24, 0, 1)));
    EXPECT_EQ(model.GetItemCount(), 3);
}
