// Playlist, schedule and sequence files: round trips of every field, refusal
// of entries that do not belong, and damaged files that change nothing.

#include "core/content_id.h"
#include "core/last_error.h"
#include "model/movie_property.h"
#include "model/playlist_file.h"
#include "model/playlist_property.h"
#include "model/schedule_file.h"
#include "model/sequence_file.h"
#include "support/file_contents.h"
#include "support/time_codes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CTimetableItem makeItem(qint32 index, TimeValue start, TimeValue end, int type, int kind)
{
    CTimetableItem item;
    EXPECT_TRUE(item.Set(index, start, end, type, kind));
    return item;
}

void expectSameItems(const CTimetableFile &a, const CTimetableFile &b)
{
    ASSERT_EQ(a.GetItemCount(), b.GetItemCount());
    for (int i = 0; i < a.GetItemCount(); ++i) {
        CTimetableItem left;
        CTimetableItem right;
        ASSERT_TRUE(a.GetItem(i, left));
        ASSERT_TRUE(b.GetItem(i, right));
        EXPECT_EQ(left, right) << "entry " << i;
    }
}

void fillHeader(CTimetableFile &file, qint32 index)
{
    ASSERT_TRUE(file.SetIndex(index));
    ASSERT_TRUE(file.SetTitle(QStringLiteral("朝の案内 <&> \"本館\" ロビー用 プレイリスト")));
    ASSERT_TRUE(file.SetInfo(QStringLiteral("ロビー&受付")));
    ASSERT_TRUE(file.SetDeleteDate(DateValue{2031, 2, 28}));
}

void expectSameHeader(const CTimetableFile &a, const CTimetableFile &b)
{
    EXPECT_EQ(a.GetIndex(), b.GetIndex());
    EXPECT_EQ(a.GetTitle(), b.GetTitle());
    EXPECT_EQ(a.GetInfo(), b.GetInfo());
    EXPECT_EQ(a.GetDeleteDate(), b.GetDeleteDate());
}

class TimetableFileTest : public ::testing::Test {
protected:
    QString folder() const { return dir.path(); }
    QTemporaryDir dir;
};

} // namespace

TEST(TimetableItemTest, SetRefusesBadSpansTypesAndKinds)
{
    CTimetableItem item;
    EXPECT_TRUE(item.Set(100000001, Tc(0, 0, 0), Tc(24, 0, 0), 1, 0));
    EXPECT_TRUE(item.Set(100000001, Tc(23, 59, 59, 28), Tc(23, 59, 59, 29), 1, 0));

    const CTimetableItem before = item;
    EXPECT_FALSE(item.Set(100000001, Tc(1, 0, 0), Tc(1, 0, 0), 1, 0));      // empty span
    EXPECT_FALSE(item.Set(100000001, Tc(2, 0, 0), Tc(1, 0, 0), 1, 0));      // backwards
    EXPECT_FALSE(item.Set(100000001, Tc(0, 0, 0), Tc(24, 0, 0, 1), 1, 0));  // past midnight
    EXPECT_FALSE(item.Set(100000001, Tc(0, 0, 0), Tc(0, 0, 1, 30), 1, 0));  // frame 30
    EXPECT_FALSE(item.Set(100000001, Tc(0, 0, 0), Tc(0, 0, 1), 9, 0));      // no type 9
    EXPECT_FALSE(item.Set(100000001, Tc(0, 0, 0), Tc(0, 0, 1), 1, 100));    // kind of three digits
    EXPECT_FALSE(item.Set(-1, Tc(0, 0, 0), Tc(0, 0, 1), 1, 0));
    EXPECT_FALSE(item.Set(1000000000, Tc(0, 0, 0), Tc(0, 0, 1), 1, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(item, before);
    EXPECT_FALSE(item.SetRect(0, 0, -1, 10));
}

TEST(TimetableItemTest, TableNamesFollowTheContentType)
{
    EXPECT_EQ(makeItem(520000007, Tc(0, 0, 0), Tc(0, 1, 0), 52, 1).GetTableName(), "PL520000007_TBL");
    EXPECT_EQ(makeItem(530000007, Tc(0, 0, 0), Tc(0, 1, 0), 53, 6).GetTableName(), "PL530000007_TBL");
    EXPECT_EQ(makeItem(501000007, Tc(0, 0, 0), Tc(0, 1, 0), 54, 1).GetTableName(), "SQ501000007_TBL");
    EXPECT_EQ(makeItem(100000007, Tc(0, 0, 0), Tc(0, 1, 0), 1, 0).GetTableName(), "");

    EXPECT_EQ(CTimetableItem::ParseTableName("SQ501000007_TBL", 54), 501000007);
    EXPECT_EQ(CTimetableItem::ParseTableName("PL000000000_TBL", 53), 0);
    EXPECT_EQ(CTimetableItem::ParseTableName("PL520000007_TBL", 54), -1); // prefix of another type
    EXPECT_EQ(CTimetableItem::ParseTableName("SQ50100007_TBL", 54), -1);  // eight digits
    EXPECT_EQ(CTimetableItem::ParseTableName("SQ5010000x7_TBL", 54), -1);
    EXPECT_EQ(CTimetableItem::ParseTableName("SQ501000007_TB", 54), -1);
    EXPECT_EQ(CTimetableItem::ParseTableName("SC900001000_TBL", 51), -1); // schedules are not entries
}

// A play length is no time code: counting its frames does not compile.
template <class T>
concept CountsAsTimeCode = requires(const T &time) { TimeCodeToFrames(time); };
static_assert(CountsAsTimeCode<TimeValue> && !CountsAsTimeCode<PlayLength>);

TEST(TimetableItemTest, AnEventLastsItsRecordsOwnLengthInWholeSeconds)
{
    CMovieProperty movie;
    ASSERT_TRUE(movie.SetPlayTime(PlayLength{0, 1, 2, 1}));
    EXPECT_EQ(EventSecondsOfPlayTime(OwnPlayLength(&movie)), 63);
    // A list plays until its last event ends, on whichever frame that is.
    CPlaylistProperty list;
    ASSERT_TRUE(list.SetDuration(Tc(0, 0, 40, 1)));
    EXPECT_EQ(EventFramesOfPlayTime(OwnPlayLength(&list)), 41 * 30);
    ASSERT_TRUE(list.SetDuration(Tc(0, 0, 40)));
    EXPECT_EQ(EventFramesOfPlayTime(OwnPlayLength(&list)), 40 * 30);
    EXPECT_EQ(OwnPlayLength(nullptr), PlayLength{});
}

TEST_F(TimetableFileTest, SequenceFileRoundTripsTwoThousandEntriesWithFrames)
{
    CSequenceFile file;
    fillHeader(file, 501000042);
    const int types[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 11};
    for (int i = 0; i < 2000; ++i) {
        // 40-second entries with a frame offset, so every field of the times varies.
        const int startFrames = i * 40 * 30 + i % 30;
        const int endFrames = startFrames + 40 * 30 - 1;
        auto toTime = [](int frames) {
            return Tc(frames / 108000, frames / 1800 % 60, frames / 30 % 60, frames % 30);
        };
        CTimetableItem item = makeItem(100000000 + i, toTime(startFrames), toTime(endFrames), types[i % 10], 0);
        ASSERT_TRUE(item.SetRect(i % 7 - 3, i % 5, 1920 - i % 100, 1080));
        ASSERT_TRUE(file.AddItem(item));
    }
    ASSERT_TRUE(file.SaveTo(folder()));
    EXPECT_TRUE(QFile::exists(folder() + "/SQ501000042.xml"));

    CSequenceFile read;
    ASSERT_TRUE(read.LoadFrom(folder(), 501000042));
    expectSameHeader(file, read);
    expectSameItems(file, read);
}

TEST_F(TimetableFileTest, PlaylistAndScheduleFilesRoundTripTheirReferences)
{
    CPlaylistFile playlist;
    fillHeader(playlist, 520000042);
    ASSERT_TRUE(playlist.AddItem(makeItem(501000042, Tc(0, 0, 0), Tc(0, 10, 0, 15), 54, 1)));
    ASSERT_TRUE(playlist.AddItem(makeItem(511000042, Tc(0, 0, 5), Tc(23, 55, 0), 54, 11)));
    ASSERT_TRUE(playlist.SaveTo(folder()));

    CPlaylistFile readPlaylist;
    ASSERT_TRUE(readPlaylist.LoadFrom(folder(), 520000042));
    expectSameHeader(playlist, readPlaylist);
    expectSameItems(playlist, readPlaylist);
    EXPECT_TRUE(ReadAll(folder() + "/PL520000042.xml").contains("<table>SQ511000042_TBL</table>"));

    CScheduleFile schedule;
    fillHeader(schedule, 551900001);
    ASSERT_TRUE(schedule.AddItem(makeItem(520000042, Tc(6, 0, 0), Tc(12, 0, 0), 52, 1)));
    ASSERT_TRUE(schedule.AddItem(makeItem(999000003, Tc(12, 0, 0), Tc(23, 59, 59, 29), 52, 1)));
    ASSERT_TRUE(schedule.AddItem(makeItem(530000001, Tc(6, 0, 0), Tc(24, 0, 0), 53, 6)));
    ASSERT_TRUE(schedule.AddItem(makeItem(512900001, Tc(7, 0, 0), Tc(8, 0, 0), 54, 12)));
    ASSERT_TRUE(schedule.SaveTo(folder()));

    CScheduleFile readSchedule;
    ASSERT_TRUE(readSchedule.LoadFrom(folder(), 551900001));
    expectSameHeader(schedule, readSchedule);
    expectSameItems(schedule, readSchedule);
}

TEST_F(TimetableFileTest, EachFileTakesOnlyItsOwnKindOfEntry)
{
    CPlaylistFile playlist;
    CScheduleFile schedule;
    CSequenceFile sequence;
    const CTimetableItem content = makeItem(100000001, Tc(0, 0, 0), Tc(0, 1, 0), 1, 0);
    const CTimetableItem list = makeItem(520000001, Tc(0, 0, 0), Tc(0, 1, 0), 52, 1);
    const CTimetableItem layer = makeItem(502000001, Tc(0, 0, 0), Tc(0, 1, 0), 54, 2);
    const CTimetableItem wrongLayer = makeItem(502000001, Tc(0, 0, 0), Tc(0, 1, 0), 54, 3);

    EXPECT_TRUE(playlist.AddItem(layer));
    EXPECT_FALSE(playlist.AddItem(list));
    EXPECT_FALSE(playlist.AddItem(content));
    EXPECT_FALSE(playlist.AddItem(wrongLayer));
    EXPECT_FALSE(playlist.AddItem(CTimetableItem{})); // never set

    EXPECT_TRUE(schedule.AddItem(layer));
    EXPECT_TRUE(schedule.AddItem(list));
    EXPECT_FALSE(schedule.AddItem(content));
    EXPECT_FALSE(schedule.AddItem(wrongLayer));

    EXPECT_TRUE(sequence.AddItem(content));
    EXPECT_FALSE(sequence.AddItem(list));
    EXPECT_FALSE(sequence.AddItem(layer));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    EXPECT_FALSE(playlist.SetTitle(QString(41, u'x')));
    EXPECT_FALSE(playlist.SetInfo(QString(21, u'x')));
    EXPECT_FALSE(playlist.SetDeleteDate(DateValue{2030, 2, 30}));
    EXPECT_FALSE(playlist.SetIndex(1000000000));
}

TEST_F(TimetableFileTest, SavingWithoutANumberFailsAndAnEmptyDateIsLeftOut)
{
    CPlaylistFile file;
    EXPECT_FALSE(file.Save(folder() + "/x.xml"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(QFile::exists(folder() + "/x.xml"));

    ASSERT_TRUE(file.SetIndex(520000001));
    ASSERT_TRUE(file.SaveTo(folder()));
    const QByteArray bytes = ReadAll(folder() + "/PL520000001.xml");
    EXPECT_TRUE(bytes.contains("<playlist ver=\"2.2\" index=\"520000001\">"));
    EXPECT_FALSE(bytes.contains("deldate"));
    CPlaylistFile read;
    ASSERT_TRUE(read.LoadFrom(folder(), 520000001));
    EXPECT_EQ(read.GetDeleteDate(), DateValue{});
    EXPECT_EQ(read.GetItemCount(), 0);
}

TEST_F(TimetableFileTest, DamagedFilesAndRepliesChangeNothing)
{
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    auto playlistWith = [&](const QByteArray &attributes, const QByteArray &body) {
        return head + "<playlist " + attributes + "><title>t</title><info>i</info>" + body + "</playlist>";
    };
    const QByteArray root = "ver=\"2.2\" index=\"520000001\"";
    auto entry = [](const QByteArray &table, const QByteArray &ctype, const QByteArray &kind,
                    const QByteArray &start, const QByteArray &end) {
        return "<item><table>" + table + "</table><ctype>" + ctype + "</ctype><kind>" + kind + "</kind><stime>"
            + start + "</stime><etime>" + end + "</etime></item>";
    };
    const QByteArray good = entry("SQ501000001_TBL", "54", "1", "00:00:00.000", "00:00:10.029");

    CPlaylistFile file;
    ASSERT_TRUE(file.LoadData(playlistWith(root, good)));
    ASSERT_EQ(file.GetItemCount(), 1);

    const QByteArray damaged[] = {
        playlistWith(root, good).left(120),                                       // cut short
        playlistWith("ver=\"2.1\" index=\"520000001\"", good),                    // other version
        playlistWith("ver=\"2.2\"", good),                                        // no number
        head + "<schedule " + root + ">" + good + "</schedule>",                  // other file kind
        playlistWith(root, entry("SQ501000001_TBL", "54", "2", "00:00:00.000", "00:00:10.000")), // layer
        playlistWith(root, entry("PL520000001_TBL", "52", "1", "00:00:00.000", "00:00:10.000")), // a list
        playlistWith(root, entry("SQ501000001_TBL", "54", "1", "00:00:10.000", "00:00:10.000")), // empty span
        playlistWith(root, entry("SQ501000001_TBL", "54", "1", "00:00:00.000", "00:00:10.030")), // frame 30
        playlistWith(root, entry("SQ501000001_TBL", "54", "1", "00:00:00.000", "24:00:00.001")),
        playlistWith(root, entry("SQ501000001_TBL", "54", "1", "00:00:00", "00:00:10.000")),
        playlistWith(root, "<item><table>SQ501000001_TBL</table><ctype>54</ctype></item>"), // fields missing
        playlistWith(root, "<deldate>2030-02-30</deldate>"),
        head + "<playlist " + root + "><title>" + QByteArray(41, 'x') + "</title></playlist>",
        playlistWith(root + " a=\"\" b=\"\" c=\"\" d=\"\" e=\"\" f=\"\" g=\"\"", good),    // hostile root
    };
    for (const QByteArray &data : damaged) {
        EXPECT_FALSE(file.LoadData(data)) << data.constData();
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA) << data.constData();
        EXPECT_EQ(file.GetItemCount(), 1);
        EXPECT_EQ(file.GetTitle(), "t");
    }
}

TEST_F(TimetableFileTest, LoadingByNumberChecksTheNumberInTheFile)
{
    CSequenceFile file;
    ASSERT_TRUE(file.SetIndex(501000001));
    ASSERT_TRUE(file.SetTitle("copied"));
    ASSERT_TRUE(file.SaveTo(folder()));
    ASSERT_TRUE(QFile::copy(folder() + "/SQ501000001.xml", folder() + "/SQ501000002.xml"));

    CSequenceFile read;
    EXPECT_FALSE(read.LoadFrom(folder(), 501000002));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(read.GetIndex(), -1);
    EXPECT_EQ(read.GetTitle(), "");
    EXPECT_FALSE(read.LoadFrom(folder(), 501000003));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(read.LoadFrom(QString(), 501000001));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(TimetableFileTest, UnknownElementsAreSkipped)
{
    // A later format may add fields; the ones this program knows still read.
    const QByteArray data = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<sequence ver=\"2.2\" index=\"501000001\"><title>t</title><extra>1</extra>"
                            "<item><index>100000001</index><ctype>1</ctype><stime>00:00:00.000</stime>"
                            "<etime>00:00:05.000</etime><x>0</x><y>0</y><width>1</width><height>2</height>"
                            "<volume><level>3</level></volume></item></sequence>";
    CSequenceFile file;
    ASSERT_TRUE(file.LoadData(data));
    CTimetableItem item;
    ASSERT_TRUE(file.GetItem(0, item));
    EXPECT_EQ(item.GetIndex(), 100000001);
    EXPECT_EQ(item.GetHeight(), 2);
    EXPECT_FALSE(file.GetItem(1, item));
}
