// Content lists in memory: lookups, edits, marks, categories and the display
// order under sort keys and filters.

#include "record_samples.h"

#include "model/media_property.h"
#include "model/movie_list.h"
#include "model/movie_property.h"
#include "model/pin_p_list.h"
#include "model/pin_p_property.h"
#include "model/playlist_list.h"
#include "model/playlist_property.h"
#include "model/schedule_list.h"
#include "model/schedule_property.h"

#include <gtest/gtest.h>

namespace {

CMovieProperty movie(qint32 index, const QString &title, const QString &info, quint64 size)
{
    CMovieProperty record;
    record.SetIndex(index);
    record.SetTitle(title);
    record.SetInfo(info);
    record.SetSize(size);
    return record;
}

QList<qint32> displayIndexes(CContentsList &list)
{
    QList<qint32> indexes;
    for (int i = 0; i < list.GetDisplayCount(); ++i)
        indexes.append(list.GetDisplayAt(i)->GetIndex());
    return indexes;
}

class MovieListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        add(movie(101000003, QStringLiteral("c"), QStringLiteral("春"), 300));
        add(movie(101000001, QStringLiteral("a"), QStringLiteral("夏"), 100));
        add(movie(101000002, QStringLiteral("b"), QStringLiteral("春"), 200));
    }
    void add(const CMovieProperty &record) { ASSERT_TRUE(list.Add(&record)); }

    CMovieList list;
};

} // namespace

TEST_F(MovieListTest, FindsRecordsByNumberAndRefusesBadPositionsWith87)
{
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.FindCode(101000002), 2);
    EXPECT_EQ(list.FindCode(101000009), -1);

    CMovieProperty out;
    EXPECT_TRUE(list.Get(1, &out));
    EXPECT_EQ(out.GetTitle(), QStringLiteral("a"));
    EXPECT_FALSE(list.Get(3, &out));
    EXPECT_EQ(list.GetLastError(), 87u);
    EXPECT_EQ(list.GetAt(-1), nullptr);
    EXPECT_EQ(list.GetDisplayAt(3), nullptr);

    CPinPProperty wrongBuffer;
    EXPECT_FALSE(list.Get(0, &wrongBuffer));
    EXPECT_EQ(list.GetLastError(), 87u);
}

TEST_F(MovieListTest, AddRefusesRecordsOfAnotherTypeAndEditsKeepLookupsCurrent)
{
    CPinPProperty pinp;
    EXPECT_FALSE(list.Add(&pinp));
    EXPECT_EQ(list.GetLastError(), 87u);

    ASSERT_TRUE(list.Delete(0));
    EXPECT_EQ(list.FindCode(101000001), 0);
    EXPECT_EQ(list.FindCode(101000003), -1);

    CMovieProperty changed = movie(101000007, QStringLiteral("z"), QString(), 1);
    ASSERT_TRUE(list.Update(1, &changed));
    EXPECT_EQ(list.FindCode(101000007), 1);
    EXPECT_EQ(list.FindCode(101000002), -1);
    EXPECT_FALSE(list.Delete(2));
}

TEST_F(MovieListTest, EditPropertySetsTextsAndPlayTimeOrNothing)
{
    const PlayLength playTime{0, 1, 30, 0};
    ASSERT_TRUE(list.EditProperty(0, QStringLiteral("新"), QStringLiteral("秋"), &playTime));
    auto *record = static_cast<CMediaProperty *>(list.GetAt(0));
    EXPECT_EQ(record->GetTitle(), QStringLiteral("新"));
    EXPECT_EQ(record->GetInfo(), QStringLiteral("秋"));
    EXPECT_EQ(record->GetPlayTime(), playTime);

    EXPECT_FALSE(list.EditProperty(0, QString(41, u'x'), QStringLiteral("冬"), nullptr));
    EXPECT_EQ(list.GetLastError(), 87u);
    EXPECT_EQ(record->GetInfo(), QStringLiteral("秋"));
}

TEST_F(MovieListTest, MarksAndCategories)
{
    ASSERT_TRUE(list.SetMark(1));
    EXPECT_EQ(list.GetAt(1)->GetMark(), 1);
    list.ClearMarks();
    EXPECT_EQ(list.GetAt(1)->GetMark(), 0);
    EXPECT_FALSE(list.SetMark(5));

    add(movie(101000004, QStringLiteral("d"), QString(), 0));
    EXPECT_EQ(list.GetCategories(), (QStringList{QStringLiteral("夏"), QStringLiteral("春")}));
}

TEST_F(MovieListTest, DisplayOrderFollowsTheSortKeyInBothDirectionsAndIsStable)
{
    // A new list sorts by content number.
    EXPECT_EQ(list.GetSortKey(), 0);
    EXPECT_EQ(displayIndexes(list), (QList<qint32>{101000001, 101000002, 101000003}));
    list.Sort(2 * SORT_SIZE + 1);
    EXPECT_EQ(displayIndexes(list), (QList<qint32>{101000003, 101000002, 101000001}));
    // Equal categories keep their order as received in both directions.
    list.Sort(2 * SORT_CATEGORY);
    const QList<qint32> ascending = displayIndexes(list);
    EXPECT_EQ(ascending.indexOf(101000003) < ascending.indexOf(101000002), true);
    list.Sort(kSortKeyAsReceived);
    EXPECT_EQ(displayIndexes(list), (QList<qint32>{101000003, 101000001, 101000002}));
    EXPECT_EQ(list.FindDisplayCode(101000001), 1);

    // A record added later takes its place in the current order.
    list.Sort(2 * SORT_TITLE);
    add(movie(101000000, QStringLiteral("0"), QString(), 0));
    EXPECT_EQ(list.FindDisplayCode(101000000), 0);
}

TEST_F(MovieListTest, DisplayFilterByDateAndExcludedCategories)
{
    SystemTime old{2020, 1, 0, 1, 0, 0, 0, 0};
    SystemTime recent{2024, 5, 0, 10, 8, 0, 0, 0};
    list.GetAt(0)->SetCreateDate(old);
    list.GetAt(1)->SetCreateDate(recent);
    list.GetAt(2)->SetCreateDate(recent);

    ContentsFilter filter;
    filter.useDate = true;
    filter.date = SystemTime{2024, 5, 0, 10, 23, 59, 0, 0}; // only the day counts
    list.SetDisplayFilter(filter);
    EXPECT_EQ(displayIndexes(list), (QList<qint32>{101000001, 101000002}));
    EXPECT_EQ(list.GetCount(), 3);

    filter.useType = true;
    filter.excluded = {QStringLiteral("春")};
    list.SetDisplayFilter(filter);
    EXPECT_EQ(displayIndexes(list), (QList<qint32>{101000001}));
    EXPECT_EQ(list.FindDisplayCode(101000002), -1);

    list.SetDisplayFilter(ContentsFilter{});
    EXPECT_EQ(list.GetDisplayCount(), 3);
}

TEST(PlaylistListTest, ResolutionFilterHidesOtherLayoutsAndCountsThem)
{
    CPlaylistList list;
    for (int i = 0; i < 4; ++i) {
        CPlaylistProperty record;
        record.SetIndex(152000001 + i);
        record.SetResolution(i % 2);
        record.SetOrientation(i / 2 % 2);
        record.SetDuration(TimeValue{0, 0, quint16(10 - i), 0});
        ASSERT_TRUE(list.Add(&record));
    }
    list.Sort(2 * SORT_PLAY_TIME);
    list.SetPlaylistFilter(true, 1, 0);
    EXPECT_EQ(displayIndexes(list), (QList<qint32>{152000002}));
    EXPECT_EQ(list.GetFilterHiddenCount(), 3);
    list.SetPlaylistFilter(false, 0, 0);
    EXPECT_EQ(displayIndexes(list), (QList<qint32>{152000004, 152000003, 152000002, 152000001}));
    EXPECT_EQ(list.GetFilterHiddenCount(), 0);

    CPlaylistProperty bgm(CONTENT_BGMLIST);
    EXPECT_FALSE(list.Add(&bgm));
}

TEST(ScheduleListTest, SortsByScheduleColumnsAndInputKeysMapToTheirColumn)
{
    CScheduleList list;
    const TimeValue starts[] = {{9, 0, 0, 0}, {7, 0, 0, 0}, {8, 0, 0, 0}};
    for (int i = 0; i < 3; ++i) {
        CScheduleProperty record;
        record.SetIndex(151900001 + i);
        record.SetStartTime(starts[i]);
        ASSERT_TRUE(list.Add(&record));
    }
    list.Sort(2 * SORT_START_TIME);
    EXPECT_EQ(displayIndexes(list), (QList<qint32>{151900002, 151900003, 151900001}));

    CPinPList pinps;
    for (const char *input : {"b", "a", "c"}) {
        CPinPProperty record;
        record.SetLink(QString::fromLatin1(input));
        ASSERT_TRUE(pinps.Add(&record));
    }
    pinps.Sort(kSortKeyInputDescending);
    EXPECT_EQ(static_cast<CPinPProperty *>(pinps.GetDisplayAt(0))->GetLink(), QStringLiteral("c"));
    pinps.Sort(kSortKeyInputAscending);
    EXPECT_EQ(static_cast<CPinPProperty *>(pinps.GetDisplayAt(0))->GetLink(), QStringLiteral("a"));
}
