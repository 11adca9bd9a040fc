// Saving edited lists and schedules, the schedule a playlist's save may
// write, and pastes: what they change together, and that one which fails,
// a full disk included, leaves every stored file as it was and says so.
#include "ops/playlist_storage.h"

#include "core/content_id.h"
#include "core/system_ini.h"
#include "model/calendar_property.h"
#include "model/playlist_edit_model.h"
#include "model/playlist_property.h"
#include "model/schedule_edit_model.h"
#include "model/schedule_property.h"
#include "ops_test_library.h"
#include "support/file_size_limit.h"
#include "support/scripted_prompter.h"
#include "support/time_codes.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

constexpr qint32 kStored = 520000001;

void Play(CTimetableModel &model, int track, int from, int to, qint32 number = 201000001, int type = 2)
{
    CTimetableItem item;
    ASSERT_TRUE(item.Set(number, at(from), at(to), type, 0));
    ASSERT_TRUE(model.InsertItem(track, item));
}

// Puts a folder where a list file goes, so that the list cannot be written.
void BlockFile(const QString &path)
{
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/held")));
}

class PlaylistStorageOps : public ::testing::Test {
protected:
    void SetUp() override
    {
        model.SetFolders(store.m_playlistFolder, store.m_sequenceFolder);
        // A stored list whose first track plays 300 items; many other lists
        // make the content list file larger than a small file of the save.
        for (int second = 0; second < 3000; second += 10)
            Play(model, 1, second, second + 10);
        ASSERT_TRUE(SavePlaylist(store, model, *store.GetList(52), 52, kStored, -1));
        for (qint32 number = kStored + 1; number <= kStored + 100; ++number) {
            CPlaylistProperty other;
            other.SetIndex(number);
            other.SetTitle(QStringLiteral("another playlist with a title %1").arg(number));
            ASSERT_TRUE(store.GetList(52)->Add(&other));
        }
        ASSERT_TRUE(store.SaveLists(52, 1));
        ASSERT_TRUE(store.SetCurrentGroup(QStringLiteral("G1")));
    }

    QString calendarFile()
    {
        QString scheduleFolder;
        QString sequenceFolder;
        EXPECT_TRUE(store.GetGroupScheduleFolders(QStringLiteral("G1"), scheduleFolder, sequenceFolder));
        return scheduleFolder + QStringLiteral("/CalendarList.xml");
    }

    TestLibrary library;
    CContentsStore &store = library.store();
    CPlaylistEditModel model{52};
    ScriptedPrompter prompter;
};

} // namespace

TEST_F(PlaylistStorageOps, ASaveThatFillsTheDiskPartWayChangesNoStoredFile)
{
    const QMap<QString, QByteArray> before = library.files();
    CContentsList &list = *store.GetList(52);
    CPlaylistProperty stored;
    ASSERT_TRUE(list.Get(list.FindCode(kStored), &stored));

    // The edit makes the first track's file small and adds one for the
    // second track; the disk then takes the small files but not the list.
    model.Clear();
    Play(model, 1, 0, 10);
    Play(model, 2, 0, 5);
    model.SetTitle(QStringLiteral("edited"));
    prompter.expect(5213, IDOK);
    {
        FileSizeLimit fullDisk(4096);
        EXPECT_FALSE(SavePlaylist(store, model, list, 52, kStored, -1));
    }
    EXPECT_EQ(library.files(), before);
    EXPECT_TRUE(model.IsModified());
    CPlaylistProperty kept;
    ASSERT_TRUE(list.Get(list.FindCode(kStored), &kept));
    EXPECT_EQ(kept.GetTitle(), stored.GetTitle());

    // With room, the same save writes the new files and drops the emptied one.
    Play(model, 3, 0, 5);
    ASSERT_TRUE(SavePlaylist(store, model, list, 52, kStored, -1));
    model.Clear();
    Play(model, 1, 0, 10);
    ASSERT_TRUE(SavePlaylist(store, model, list, 52, kStored, -1));
    EXPECT_EQ(QDir(store.m_sequenceFolder).entryList(QDir::Files), QStringList{"SQ501000001.xml"});
}

// The schedule a playlist's save writes for a group comes whole with its
// calendar row, or not at all and the operator is told.
TEST_F(PlaylistStorageOps, APlaylistsScheduleIsWrittenWithItsCalendarRowOrNotAtAll)
{
    ScheduleSetBlock block = DefaultScheduleBlock(QStringLiteral("G1"));
    block.startTime = at(9 * 3600);
    block.endTime = at(20 * 3600);
    SimpleScheduleRecord record{-1, kStored, QStringLiteral("cat"), QStringLiteral("daily")};
    bool currentGroupChanged = false;
    ASSERT_TRUE(SavePlaylistSchedule(store, record, block, at(18 * 3600), currentGroupChanged));
    EXPECT_TRUE(currentGroupChanged);
    CContentsList &schedules = *store.GetList(51);
    CContentsList &calendar = *store.GetList(50);
    ASSERT_EQ(schedules.FindCode(record.scheduleIndex), 0);
    EXPECT_EQ(dynamic_cast<CScheduleProperty *>(schedules.GetAt(0))->GetEndTime(), at(18 * 3600)); // power-off
    ASSERT_EQ(calendar.GetCount(), 1);
    EXPECT_EQ(dynamic_cast<CCalendarProperty *>(calendar.GetAt(0))->GetSchedule(), record.scheduleIndex);

    // The calendar list cannot be written: no schedule file, record or row.
    BlockFile(calendarFile());
    const QMap<QString, QByteArray> before = library.files();
    // Nor does a group whose lists cannot be read, nor any when no schedule
    // number is free.
    const auto fails = [&](const QString &group) {
        block.groupName = group;
        prompter.answer(IDOK);
        EXPECT_FALSE(SavePlaylistSchedule(store, record, block, at(18 * 3600), currentGroupChanged));
        EXPECT_EQ(prompter.last().text, QStringLiteral("スケジュールの保存に失敗しました。"));
        EXPECT_FALSE(currentGroupChanged);
    };
    fails(QStringLiteral("G1"));
    fails(QStringLiteral("no/group"));
    ASSERT_TRUE(GetSystemIni().SetContentIndex(51, 0));
    fails(QStringLiteral("G2"));
    EXPECT_EQ(library.files(), before);
    EXPECT_EQ(schedules.GetCount(), 1);
    EXPECT_EQ(calendar.GetCount(), 1);
}

// A schedule saved again whose calendar row cannot be written, and pastes
// whose lists cannot be written, leave every stored file and record; a paste
// that can be written gives the new schedule its calendar row.
TEST_F(PlaylistStorageOps, AScheduleSaveOrAPasteThatFailsChangesNothing)
{
    CScheduleEditModel schedule;
    ASSERT_TRUE(schedule.SetTimeRange(at(10 * 3600), at(18 * 3600)));
    Play(schedule, schedule.FindTrackForType(1), 10 * 3600, 11 * 3600, kStored, 52);
    CContentsList &schedules = *store.GetList(51);
    int counter = -1;
    const qint32 number = store.GetNewCode(51, counter);
    ASSERT_TRUE(SaveSchedule(store, schedule, schedules, number, counter, DefaultScheduleBlock(QString())));
    // A pasted schedule plays in its source's period under a calendar row of
    // its own: a left-over row of its number is updated, not doubled.
    int next = -1;
    CCalendarProperty leftover;
    leftover.SetIndex(store.GetNewCode(51, next));
    leftover.SetSchedule(leftover.GetIndex());
    leftover.SetFlag(1);
    ASSERT_TRUE(store.GetList(50)->Add(&leftover));
    ASSERT_EQ(PasteSchedules(store, QStringLiteral("G1"), {0}), 1);
    ASSERT_EQ(store.GetList(50)->GetCount(), 2);
    const auto *source = dynamic_cast<const CScheduleProperty *>(schedules.GetAt(0));
    const auto *row = dynamic_cast<const CCalendarProperty *>(store.GetList(50)->GetAt(1));
    ASSERT_TRUE(source && row);
    EXPECT_EQ(row->GetSchedule(), schedules.GetAt(1)->GetIndex());
    EXPECT_EQ(row->GetStartDate(), source->GetStartDate());
    EXPECT_EQ(row->GetEndDate(), source->GetEndDate());
    EXPECT_EQ(row->GetWeek(), source->GetWeek());
    EXPECT_EQ(row->GetFlag(), 1);
    BlockFile(calendarFile());
    BlockFile(store.GetListPath(52));
    const QMap<QString, QByteArray> before = library.files();

    Play(schedule, schedule.FindTrackForType(5), 11 * 3600, 12 * 3600);
    prompter.answer(IDOK);
    EXPECT_FALSE(SaveSchedule(store, schedule, schedules, number, -1, DefaultScheduleBlock(QString())));
    EXPECT_EQ(prompter.last().text, QStringLiteral("スケジュールの保存に失敗しました。"));
    EXPECT_TRUE(schedule.IsModified());
    prompter.answer(IDOK);
    EXPECT_EQ(PasteSchedules(store, QStringLiteral("G1"), {0}), 0);
    prompter.expect(5213, IDOK);
    EXPECT_EQ(PastePlaylists(store, 52, {0, 1}), 0);
    EXPECT_EQ(library.files(), before);
    EXPECT_EQ(schedules.GetCount(), 2);
    EXPECT_EQ(store.GetList(50)->GetCount(), 2);
    EXPECT_EQ(store.GetList(52)->GetCount(), 101);
}
