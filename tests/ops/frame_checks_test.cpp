// The frame's checks: playlist and schedule limits, schedule entry times
// against the operating window, the save-number rule, the touch-panel
// preview refusal, and the refresh of a content's file facts.
#include "ops/frame_checks.h"

#include "core/system_ini.h"
#include "core/time_utils.h"
#include "model/contents_list.h"
#include "model/contents_list_file.h"
#include "model/img_property.h"
#include "model/playlist_edit_model.h"
#include "model/playlist_property.h"
#include "model/schedule_edit_model.h"
#include "model/telop_property.h"
#include "ops/save_number.h"
#include "support/fake_clock.h"
#include "support/scripted_prompter.h"
#include "support/time_codes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CTimetableItem item(int type, int from, int to, qint32 number = 100000001)
{
    CTimetableItem entry;
    EXPECT_TRUE(entry.Set(number, at(from), at(to), type, 0));
    return entry;
}

// A playlist with one item from 0 to end seconds on the main track.
void fillPlaylist(CPlaylistEditModel &model, int end)
{
    model.Clear();
    ASSERT_TRUE(model.InsertItem(model.FindTrack(1), item(1, 0, end)));
}

} // namespace

TEST(FrameChecks, PlaylistEndAndRowLimits)
{
    CPlaylistEditModel model(52);
    {
        ScriptedPrompter prompter;
        prompter.expect(5248, IDOK);
        EXPECT_FALSE(CheckPlaylist(model, 52));
    }
    fillPlaylist(model, 23 * 3600 + 55 * 60);
    EXPECT_TRUE(CheckPlaylist(model, 52));
    fillPlaylist(model, 23 * 3600 + 55 * 60 + 1);
    {
        ScriptedPrompter prompter;
        prompter.expect(5210, IDOK);
        EXPECT_FALSE(CheckPlaylist(model, 52));
    }
    fillPlaylist(model, 4);
    {
        ScriptedPrompter prompter;
        prompter.expect(5211, IDOK);
        EXPECT_FALSE(CheckPlaylist(model, 52));
    }
    // A row in which nothing plays: the second track starts later than the first ends.
    fillPlaylist(model, 10);
    ASSERT_TRUE(model.InsertItem(model.FindTrack(2), item(2, 20, 30)));
    {
        ScriptedPrompter prompter;
        prompter.expect(5209, IDOK);
        EXPECT_FALSE(CheckPlaylist(model, 52));
    }
}

TEST(FrameChecks, PlaylistCellLimitIsTwoThousand)
{
    CPlaylistEditModel model(53);
    const int track = model.FindTrack(32);
    for (int i = 0; i < kMaxPlaylistCells; ++i)
        ASSERT_TRUE(model.InsertItem(track, item(6, i * 5, i * 5 + 5)));
    EXPECT_TRUE(CheckPlaylist(model, 53));
    ASSERT_TRUE(model.InsertItem(track, item(6, kMaxPlaylistCells * 5, kMaxPlaylistCells * 5 + 5)));
    ScriptedPrompter prompter;
    prompter.expect(5346, IDOK);
    EXPECT_FALSE(CheckPlaylist(model, 53));
    EXPECT_EQ(prompter.last().arguments, QStringList{QStringLiteral("2000")});
}

TEST(FrameChecks, ScheduleEventsAgainstLimitAndWindow)
{
    CScheduleEditModel model;
    {
        ScriptedPrompter prompter;
        prompter.expect(5248, IDOK);
        EXPECT_FALSE(CheckSchedule(model));
    }
    const int playlists = model.FindTrackForType(1);
    ASSERT_TRUE(model.InsertItem(playlists, item(52, 9 * 3600, 11 * 3600, 520000001)));
    ASSERT_TRUE(model.InsertItem(playlists, item(52, 12 * 3600, 13 * 3600, 520000001)));
    ASSERT_TRUE(model.SetTimeRange(at(8 * 3600), at(18 * 3600)));
    EXPECT_TRUE(CheckSchedule(model));
    {
        ScriptedPrompter prompter;
        prompter.expect(5104, IDOK);
        EXPECT_FALSE(CheckSchedule(model, 1));
    }
    ASSERT_TRUE(model.SetTimeRange(at(10 * 3600), at(18 * 3600)));
    {
        ScriptedPrompter prompter;
        prompter.expect(5228, IDOK);
        EXPECT_FALSE(CheckSchedule(model));
    }
    // A window across midnight, 20:00 to 12:00: the 9-11 event lies in it,
    // the 12-13 event crosses power-off.
    ASSERT_TRUE(model.SetTimeRange(at(20 * 3600), at(12 * 3600)));
    {
        ScriptedPrompter prompter;
        prompter.expect(5228, IDOK);
        EXPECT_FALSE(CheckSchedule(model));
    }
    ASSERT_TRUE(model.SetTimeRange(at(12 * 3600), at(12 * 3600)));
    EXPECT_TRUE(CheckSchedule(model));
}

TEST(FrameChecks, ScheduleEntryTimesAndTheWindow)
{
    int field = -1;
    const int h = 3600;
    // At least 5 seconds.
    {
        ScriptedPrompter prompter;
        prompter.expect(5246, IDOK);
        EXPECT_FALSE(CheckScheduleTime(at(10 * h), at(10 * h + 4), at(0), at(0), field));
        EXPECT_EQ(field, SCHEDULE_TIME_END);
    }
    EXPECT_TRUE(CheckScheduleTime(at(10 * h), at(10 * h + 5), at(0), at(0), field));
    // A day window 08:00 to 18:00.
    {
        ScriptedPrompter prompter;
        prompter.expect(5354, IDOK).expect(5354, IDOK);
        EXPECT_FALSE(CheckScheduleTime(at(7 * h), at(9 * h), at(8 * h), at(18 * h), field));
        EXPECT_EQ(field, SCHEDULE_TIME_START);
        EXPECT_FALSE(CheckScheduleTime(at(17 * h), at(19 * h), at(8 * h), at(18 * h), field));
        EXPECT_EQ(field, SCHEDULE_TIME_END);
    }
    EXPECT_TRUE(CheckScheduleTime(at(8 * h), at(18 * h), at(8 * h), at(18 * h), field));
    // A night window 20:00 to 06:00.
    {
        ScriptedPrompter prompter;
        prompter.expect(5353, IDOK).expect(5354, IDOK).expect(5354, IDOK).expect(5353, IDOK);
        EXPECT_FALSE(CheckScheduleTime(at(6 * h - 3), at(21 * h), at(20 * h), at(6 * h), field));
        EXPECT_EQ(field, SCHEDULE_TIME_START);
        EXPECT_FALSE(CheckScheduleTime(at(7 * h), at(21 * h), at(20 * h), at(6 * h), field));
        EXPECT_EQ(field, SCHEDULE_TIME_START);
        EXPECT_FALSE(CheckScheduleTime(at(5 * h), at(7 * h), at(20 * h), at(6 * h), field));
        EXPECT_EQ(field, SCHEDULE_TIME_END);
        EXPECT_FALSE(CheckScheduleTime(at(1 * h), at(20 * h + 2), at(20 * h), at(6 * h), field));
        EXPECT_EQ(field, SCHEDULE_TIME_END);
    }
    EXPECT_TRUE(CheckScheduleTime(at(21 * h), at(23 * h), at(20 * h), at(6 * h), field));
}

TEST(FrameChecks, SaveNumberRuleAndTouchPanelPreview)
{
    // Two playlists at most, one stored.
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Q9S.ini"));
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[ExContents]\nMaxPlaylist=2\n");
    file.close();
    GetSystemIni().Open(ini, dir.path());
    CContentsList list(52);
    CPlaylistProperty stored;
    ASSERT_TRUE(stored.SetIndex(520000001) && list.Add(&stored));
    int asked = 0;
    const auto asNew = [&asked](bool answer) {
        return [&asked, answer] { return ++asked, answer; };
    };
    // The operator's choice is asked only for a stored record that is no sample.
    EXPECT_EQ(ChooseSaveNumber(nullptr, list, 52, 520000001, asNew(false)), SaveNumber::Stored);
    EXPECT_EQ(ChooseSaveNumber(nullptr, list, 52, 520000001, asNew(true)), SaveNumber::New);
    EXPECT_EQ(ChooseSaveNumber(nullptr, list, 52, -1, asNew(false)), SaveNumber::New);
    EXPECT_EQ(asked, 2);
    {
        ScriptedPrompter prompter;
        prompter.expect(5002, IDYES).expect(5002, IDNO).expect(5002, IDYES);
        EXPECT_EQ(ChooseSaveNumber(nullptr, list, 52, 520999000, asNew(false)), SaveNumber::NewFromSample);
        EXPECT_EQ(ChooseSaveNumber(nullptr, list, 52, 520999001, asNew(false)), SaveNumber::Discard);
        // A full list takes no new number; the stored one stays writable.
        CPlaylistProperty second;
        ASSERT_TRUE(second.SetIndex(520000002) && list.Add(&second));
        EXPECT_EQ(ChooseSaveNumber(nullptr, list, 52, 520999000, asNew(false)), SaveNumber::ListFull);
        EXPECT_EQ(ChooseSaveNumber(nullptr, list, 52, 520000001, asNew(true)), SaveNumber::ListFull);
        EXPECT_EQ(ChooseSaveNumber(nullptr, list, 52, 520000001, asNew(false)), SaveNumber::Stored);
        EXPECT_EQ(prompter.pendingAnswers(), 0);
    }
    QFile::remove(ini);
    GetSystemIni().Open(ini, dir.path());

    EXPECT_TRUE(CheckTouchPanelPreview(52, 520000001));
    EXPECT_TRUE(CheckTouchPanelPreview(53, 999000001));
    ScriptedPrompter prompter;
    prompter.expect(5296, IDOK);
    EXPECT_FALSE(CheckTouchPanelPreview(52, 999000001));
}

TEST(FrameChecks, MediaProbeMessagesAndFileFacts)
{
    EXPECT_EQ(MediaProbeMessageId(MEDIA_PROBE_NOT_ACCESSIBLE), 5201u);
    EXPECT_EQ(MediaProbeMessageId(MEDIA_PROBE_NO_DECODER), 5202u);
    EXPECT_EQ(MediaProbeMessageId(MEDIA_PROBE_EMPTY_FILE), 5205u);
    EXPECT_EQ(MediaProbeMessageId(MEDIA_PROBE_PICTURE_TOO_LARGE), 5204u);
    EXPECT_EQ(MediaProbeMessageId(MEDIA_PROBE_VIDEO_SIZE), 5217u);
    EXPECT_EQ(MediaProbeMessageId(MEDIA_PROBE_DAMAGED), 5203u);

    QTemporaryDir dir;
    MediaInfo info;
    quint32 messageId = 1;
    EXPECT_TRUE(GetMediaInfo(4, 400000001, dir.filePath(QStringLiteral("none")), QString(), info, messageId));
    EXPECT_EQ(messageId, 0u);
    EXPECT_FALSE(GetMediaInfo(2, 200000001, dir.filePath(QStringLiteral("none.jpg")), QString(), info, messageId));
    EXPECT_EQ(messageId, 5201u);

    // A still whose file changed and no longer probes: refused with its message.
    const QString path = dir.filePath(QStringLiteral("200000001.jpg"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    ScopedFakeClock clock;
    CImgProperty still;
    ASSERT_TRUE(still.SetIndex(200000001));
    SystemTime date;
    bool changed = true;
    {
        ScriptedPrompter prompter;
        prompter.expect(5203, IDOK);
        EXPECT_FALSE(RefreshFileFacts(still, path, QString(), date, changed, false));
        EXPECT_FALSE(RefreshFileFacts(still, path, QString(), date, changed, true)); // silent
    }
    // An unchanged file only sets the delivery date.
    ASSERT_TRUE(still.SetFileDate(date));
    EXPECT_TRUE(RefreshFileFacts(still, path, QString(), date, changed, false));
    EXPECT_FALSE(changed);
    EXPECT_EQ(still.GetDDate(), date);
    EXPECT_EQ(still.GetSize(), 0u);
    // A telop has its own refresh; a missing file is no success.
    CTelopProperty telop;
    EXPECT_FALSE(RefreshFileFacts(telop, path, QString(), date, changed, false));
    EXPECT_FALSE(RefreshFileFacts(still, dir.filePath(QStringLiteral("gone.jpg")), QString(), date, changed, false));

    // A record whose file date went through its list file (which keeps no
    // weekday) still matches the unchanged file: no new update time, no resend.
    CContentsListFile::Records records;
    records.push_back(std::make_unique<CImgProperty>(still));
    const QString list = dir.filePath(QStringLiteral("list.xml"));
    quint32 error = 0;
    ASSERT_TRUE(CContentsListFile::Write(list, 2, records, {}, error));
    records.clear();
    ASSERT_TRUE(CContentsListFile::Read(list, 2, records, error));
    ASSERT_EQ(records.size(), 1u);
    CPropertyBase &stored = *records.front();
    const SystemTime created = stored.GetCreateDate();
    clock.clock().advance(std::chrono::minutes(1));
    EXPECT_TRUE(RefreshFileFacts(stored, path, QString(), date, changed, false));
    EXPECT_FALSE(changed);
    EXPECT_EQ(CompareSystemTime(stored.GetCreateDate(), created), 0);
}
