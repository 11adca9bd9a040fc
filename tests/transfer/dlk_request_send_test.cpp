// The send-request queue and the request list: entries keyed by type and
// number, refused types and failed copies, folders, play parameters, calendar
// statuses under concurrent workers, and the owned copies of the list.

#include "core/last_error.h"
#include "model/calendar_property.h"
#include "model/img_property.h"
#include "model/movie_property.h"
#include "model/playlist_property.h"
#include "model/sequence_property.h"
#include "player/dlk_request_update.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_request_send.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

CMovieProperty MakeMovie(qint32 index, const QString &title)
{
    CMovieProperty movie;
    EXPECT_TRUE(movie.SetIndex(index));
    EXPECT_TRUE(movie.SetTitle(title));
    return movie;
}

CCalendarProperty MakeCalendar(qint32 index, qint32 status)
{
    CCalendarProperty calendar;
    EXPECT_TRUE(calendar.SetIndex(index));
    EXPECT_TRUE(calendar.SetStatus(status));
    return calendar;
}

qint32 CalendarStatusAt(const CDlkRequestSend &request, int position)
{
    return static_cast<const CCalendarProperty *>(request.GetAt(position))->GetStatus();
}

// A record of a class the queue does not know for the movie type: its copy
// into a movie entry fails with the record class's own error.
class CForeignMovie : public CMovieProperty {};

// A request kind whose copies always fail, counting the clones released.
class CFailingRequest : public CDlkRequest {
public:
    CFailingRequest()
        : CDlkRequest(99)
    {
    }
    CDlkRequest *Create() const override { return new CFailingRequest; }
    bool CopyFrom(const CDlkRequest *) override { return fail(13); }
    void Release() override
    {
        ++released;
        delete this;
    }
    static inline int released = 0;
};

} // namespace

TEST(DlkRequestSend, StartsEmptyWithDefinedPlayParameters)
{
    CDlkRequestSend request;
    EXPECT_EQ(request.GetKind(), 5);
    EXPECT_EQ(request.GetCount(), 0);
    qint32 type = 99;
    qint32 index = 99;
    request.GetPlayParameter(type, index);
    EXPECT_EQ(type, 0);
    EXPECT_EQ(index, 0);
    for (int value = 1; value <= 8; ++value)
        EXPECT_EQ(request.GetPlayValue(value), -1) << value;
    EXPECT_FALSE(request.HasPackagePath());
}

TEST(DlkRequestSend, SameTypeAndNumberRefreshesTheEntryInPlace)
{
    CDlkRequestSend request;
    const CMovieProperty first = MakeMovie(101000001, "first");
    const CMovieProperty other = MakeMovie(101000002, "other");
    CImgProperty still;
    ASSERT_TRUE(still.SetIndex(101000001)); // same number, other type
    ASSERT_TRUE(request.Add(&first));
    ASSERT_TRUE(request.Add(&other));
    ASSERT_TRUE(request.Add(&still));
    ASSERT_EQ(request.GetCount(), 3);

    const CMovieProperty second = MakeMovie(101000001, "second");
    ASSERT_TRUE(request.Add(&second));
    EXPECT_EQ(request.GetCount(), 3);
    EXPECT_EQ(request.Find(101000001, 1), 0);
    EXPECT_EQ(request.GetAt(0)->GetTitle(), "second");
    EXPECT_EQ(request.Find(101000001, 2), 2);
    EXPECT_EQ(request.Find(101000003, 1), -1);
    // The entries are copies: the caller's record is not kept.
    EXPECT_NE(request.GetAt(0), &second);
}

TEST(DlkRequestSend, RefusesNullRecordsAndTypesPlayersDoNotRegister)
{
    CDlkRequestSend request;
    EXPECT_FALSE(request.Add(nullptr));
    EXPECT_EQ(request.GetLastError(), 87u);

    const CPlaylistProperty bgm(CONTENT_BGMLIST);
    EXPECT_FALSE(request.Add(&bgm));
    EXPECT_EQ(request.GetLastError(), 87u);
    EXPECT_EQ(GetLastError(), 87u);

    const CPlaylistProperty playlist(CONTENT_PLAYLIST);
    const CSequenceProperty sequence;
    EXPECT_TRUE(request.Add(&playlist));
    EXPECT_TRUE(request.Add(&sequence));
    EXPECT_EQ(request.GetLastError(), 0u);
    EXPECT_EQ(request.GetCount(), 2);
}

TEST(DlkRequestSend, FailedCopyLeavesTheExistingEntryAsItWas)
{
    CDlkRequestSend request;
    const CMovieProperty movie = MakeMovie(101000001, "kept");
    ASSERT_TRUE(request.Add(&movie));
    const CPropertyBase *entry = request.GetAt(0);

    CForeignMovie foreign;
    ASSERT_TRUE(foreign.SetIndex(101000001));
    ASSERT_TRUE(foreign.SetTitle("foreign"));
    EXPECT_FALSE(request.Add(&foreign));
    EXPECT_EQ(request.GetLastError(), 87u);
    EXPECT_EQ(request.GetCount(), 1);
    EXPECT_EQ(request.GetAt(0), entry);
    EXPECT_EQ(request.GetAt(0)->GetTitle(), "kept");

    // The same failure for a new entry appends nothing.
    ASSERT_TRUE(foreign.SetIndex(101000002));
    EXPECT_FALSE(request.Add(&foreign));
    EXPECT_EQ(request.GetCount(), 1);
}

TEST(DlkRequestSend, PackagePathClosesTheQueue)
{
    CDlkRequestSend request;
    const CMovieProperty movie = MakeMovie(101000001, "m");
    ASSERT_TRUE(request.Add(&movie));
    request.SetPackagePath("/home/op/menu.dscc");
    EXPECT_TRUE(request.HasPackagePath());
    EXPECT_EQ(request.GetPackagePath(), "/home/op/menu.dscc");
    EXPECT_FALSE(request.Add(&movie));
    EXPECT_EQ(request.GetLastError(), 87u);
    EXPECT_EQ(request.GetCount(), 1);
}

TEST(DlkRequestSend, FolderSettersCheckThePathsAndDropOneTrailingSeparator)
{
    CDlkRequestSend request;
    ASSERT_TRUE(request.SetTextFolder("/data/Text/"));
    EXPECT_EQ(request.GetTextFolder(), "/data/Text");
    ASSERT_TRUE(request.SetPlaylistFolders("C:\\Q9\\Playlist\\\\", "/data/Sequence"));
    EXPECT_EQ(request.GetPlaylistFolder(), "C:\\Q9\\Playlist\\");
    EXPECT_EQ(request.GetSequenceFolder(), "/data/Sequence");
    ASSERT_TRUE(request.SetGroupFolders("/g/Schedule", "/g/Schedule/Sequence/"));
    EXPECT_EQ(request.GetGroupScheduleFolder(), "/g/Schedule");
    EXPECT_EQ(request.GetGroupSequenceFolder(), "/g/Schedule/Sequence");

    // One bad path stores neither.
    EXPECT_FALSE(request.SetWorkPlaylistFolders("/w/Playlist", "/w/Seq*"));
    EXPECT_EQ(request.GetLastError(), 87u);
    EXPECT_EQ(request.GetWorkPlaylistFolder(), QString());
    EXPECT_EQ(request.GetWorkSequenceFolder(), QString());
    EXPECT_FALSE(request.SetTextFolder("/data/a?b"));
    EXPECT_FALSE(request.SetTextFolder("/data/a|b"));
    EXPECT_FALSE(request.SetTextFolder("/data/a\"b"));
    EXPECT_EQ(request.GetTextFolder(), "/data/Text");
}

TEST(DlkRequestSend, PlayParameterTakesValueEightBeforeValuesOneToSeven)
{
    CDlkRequestSend request;
    EXPECT_TRUE(request.SetPlayParameter(10, 52000001, 80, 11, 12, 13, 14, 15, 16, 17));
    qint32 type = 0;
    qint32 index = 0;
    request.GetPlayParameter(type, index);
    EXPECT_EQ(type, 10);
    EXPECT_EQ(index, 52000001);
    for (int value = 1; value <= 7; ++value)
        EXPECT_EQ(request.GetPlayValue(value), 10 + value);
    EXPECT_EQ(request.GetPlayValue(8), 80);
    EXPECT_EQ(request.GetPlayValue(0), -1);
    EXPECT_EQ(GetLastError(), 87u);
    EXPECT_EQ(request.GetPlayValue(9), -1);
}

TEST(DlkRequestSend, CalendarStatusChangesOnlyCalendarEntriesNotMarkedFailed)
{
    CDlkRequestSend request;
    const CCalendarProperty open = MakeCalendar(1, 0);
    const CCalendarProperty failed = MakeCalendar(2, 4);
    const CMovieProperty movie = MakeMovie(101000001, "m");
    ASSERT_TRUE(request.Add(&open));
    ASSERT_TRUE(request.Add(&failed));
    ASSERT_TRUE(request.Add(&movie));

    EXPECT_TRUE(request.SetCalendarStatus(0, 3));
    EXPECT_EQ(CalendarStatusAt(request, 0), 3);
    EXPECT_TRUE(request.SetCalendarStatus(1, 3));
    EXPECT_EQ(CalendarStatusAt(request, 1), 4);
    EXPECT_TRUE(request.SetCalendarStatus(2, 3));

    EXPECT_FALSE(request.SetCalendarStatus(3, 3));
    EXPECT_EQ(request.GetLastError(), 87u);
    EXPECT_FALSE(request.SetCalendarStatus(-1, 3));

    // A new pass starts every calendar entry over, the failed one included.
    EXPECT_TRUE(request.ResetCalendarStatus());
    EXPECT_EQ(CalendarStatusAt(request, 0), 2);
    EXPECT_EQ(CalendarStatusAt(request, 1), 2);
}

// Workers mark calendar entries while the manager resets them between
// passes; every change goes through the request's lock.
TEST(DlkRequestSendConcurrency, WorkersAndResetsShareTheCalendarEntries)
{
    CDlkRequestSend request;
    constexpr int kEntries = 16;
    for (int i = 0; i < kEntries; ++i) {
        const CCalendarProperty calendar = MakeCalendar(i, 0);
        ASSERT_TRUE(request.Add(&calendar));
    }
    std::vector<std::thread> workers;
    for (int worker = 0; worker < 4; ++worker) {
        workers.emplace_back([&request, worker] {
            for (int round = 0; round < 2000; ++round)
                request.SetCalendarStatus((round + worker) % kEntries, 1 + (round % 2) * 2);
        });
    }
    std::thread manager([&request] {
        for (int round = 0; round < 500; ++round)
            request.ResetCalendarStatus();
    });
    for (std::thread &worker : workers)
        worker.join();
    manager.join();
    for (int i = 0; i < kEntries; ++i) {
        const qint32 status = CalendarStatusAt(request, i);
        EXPECT_TRUE(status == 1 || status == 2 || status == 3) << status;
    }
}

TEST(DlkRequestSend, CopyFromTakesEverythingAndRefusesItself)
{
    CDlkRequestSend source;
    const CMovieProperty movie = MakeMovie(101000001, "m");
    const CCalendarProperty calendar = MakeCalendar(3, 1);
    ASSERT_TRUE(source.Add(&movie));
    ASSERT_TRUE(source.Add(&calendar));
    ASSERT_TRUE(source.SetTextFolder("/t"));
    ASSERT_TRUE(source.SetPlaylistFolders("/p", "/s"));
    ASSERT_TRUE(source.SetWorkPlaylistFolders("/wp", "/ws"));
    ASSERT_TRUE(source.SetGroupFolders("/gs", "/gq"));
    source.SetPlayParameter(2, 101000001, 8, 1, 2, 3, 4, 5, 6, 7);
    source.SetPackagePath("/pkg.dscc");

    EXPECT_FALSE(source.CopyFrom(&source));
    EXPECT_EQ(source.GetLastError(), 87u);
    const CDlkRequestUpdate update;
    CDlkRequestSend copy;
    EXPECT_FALSE(copy.CopyFrom(&update));
    EXPECT_EQ(copy.GetLastError(), 87u);
    EXPECT_FALSE(copy.CopyFrom(nullptr));

    ASSERT_TRUE(copy.CopyFrom(&source));
    EXPECT_EQ(copy.GetLastError(), 0u);
    ASSERT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(copy.GetAt(0)->GetTitle(), "m");
    EXPECT_NE(copy.GetAt(0), source.GetAt(0));
    EXPECT_EQ(CalendarStatusAt(copy, 1), 1);
    EXPECT_EQ(copy.GetTextFolder(), "/t");
    EXPECT_EQ(copy.GetPlaylistFolder(), "/p");
    EXPECT_EQ(copy.GetSequenceFolder(), "/s");
    EXPECT_EQ(copy.GetWorkPlaylistFolder(), "/wp");
    EXPECT_EQ(copy.GetWorkSequenceFolder(), "/ws");
    EXPECT_EQ(copy.GetGroupScheduleFolder(), "/gs");
    EXPECT_EQ(copy.GetGroupSequenceFolder(), "/gq");
    qint32 type = 0;
    qint32 index = 0;
    copy.GetPlayParameter(type, index);
    EXPECT_EQ(type, 2);
    EXPECT_EQ(index, 101000001);
    EXPECT_EQ(copy.GetPlayValue(8), 8);
    EXPECT_EQ(copy.GetPlayValue(7), 7);
    EXPECT_EQ(copy.GetPackagePath(), "/pkg.dscc");
}

TEST(DlkRequestList, HoldsOwnedClonesOfEveryKind)
{
    CDlkRequestList list;
    CDlkRequestSend send;
    const CMovieProperty movie = MakeMovie(101000001, "m");
    ASSERT_TRUE(send.Add(&movie));
    const CDlkRequestUpdate update("/fw/update.bin");

    ASSERT_TRUE(list.Add(&send));
    ASSERT_TRUE(list.Add(&update));
    ASSERT_EQ(list.GetCount(), 2);
    auto *sendClone = dynamic_cast<CDlkRequestSend *>(list.GetAt(0));
    ASSERT_NE(sendClone, nullptr);
    EXPECT_NE(sendClone, &send);
    EXPECT_EQ(sendClone->GetCount(), 1);
    auto *updateClone = dynamic_cast<CDlkRequestUpdate *>(list.GetAt(1));
    ASSERT_NE(updateClone, nullptr);
    EXPECT_EQ(updateClone->GetUpdateFile(), "/fw/update.bin");

    // Later changes to the originals do not reach the list.
    const CMovieProperty other = MakeMovie(101000002, "o");
    ASSERT_TRUE(send.Add(&other));
    EXPECT_EQ(sendClone->GetCount(), 1);

    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(DlkRequestList, RefusesNullRequestsAndPositionsOutside)
{
    CDlkRequestList list;
    EXPECT_FALSE(list.Add(nullptr));
    EXPECT_EQ(list.GetLastError(), 87u);
    EXPECT_EQ(list.GetAt(-1), nullptr);
    EXPECT_EQ(GetLastError(), 87u);
    EXPECT_EQ(list.GetAt(0), nullptr);
}

TEST(DlkRequestList, FailedCopyReleasesTheCloneAndKeepsItsError)
{
    CFailingRequest request;
    CFailingRequest::released = 0;
    CDlkRequestList list;
    EXPECT_FALSE(list.Add(&request));
    EXPECT_EQ(list.GetLastError(), 13u);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(CFailingRequest::released, 1);
}
