// The copies a registration job takes of queued entries while other workers
// mark the calendar entries of the same queue.

#include "transfer_test_util.h"

#include "core/last_error.h"
#include "model/calendar_property.h"
#include "model/movie_property.h"
#include "transfer/dlk_request_send.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(RegistQueueTest, CopyOfAnEntryIsItsOwn)
{
    CDlkRequestSend request;
    CMovieProperty movie;
    movie.SetIndex(101000001);
    movie.SetTitle(QStringLiteral("朝"));
    ASSERT_TRUE(request.Add(&movie));
    auto copy = request.CopyAt(0);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GetIndex(), 101000001);
    EXPECT_EQ(copy->GetTitle(), QStringLiteral("朝"));
    copy->SetTitle(QStringLiteral("夜"));
    EXPECT_EQ(request.GetAt(0)->GetTitle(), QStringLiteral("朝"));

    SetLastError(0);
    EXPECT_FALSE(request.CopyAt(1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(request.CopyAt(-1));
}

// Run under ThreadSanitizer, this shows the copy and the status change
// taking the same lock.
TEST(RegistQueueTest, CalendarCopiesWhileAnotherWorkerMarksIt)
{
    CDlkRequestSend request;
    CCalendarProperty calendar;
    calendar.SetIndex(7);
    ASSERT_TRUE(request.Add(&calendar));
    // The marker runs until the reader has made its copies, so the two always overlap.
    std::atomic<bool> stop{false};
    std::thread marker([&] {
        for (int i = 0; !stop; ++i)
            request.SetCalendarStatus(0, 2 + i % 2);
    });
    int badCopies = 0;
    for (int copies = 0; copies < 2000; ++copies) {
        const auto copy = request.CopyAt(0);
        const qint32 status = copy ? static_cast<const CCalendarProperty &>(*copy).GetStatus() : -1;
        if (status != 0 && status != 2 && status != 3)
            ++badCopies;
    }
    stop = true;
    marker.join();
    EXPECT_EQ(badCopies, 0);
}

} // namespace
