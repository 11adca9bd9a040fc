// The player-protocol helpers: content codes, the outcome pairs of failed
// commands, the removal commands of a schedule or playlist number and the
// PC's time-zone text.
#include "ops/player_protocol.h"
#include "ops/send_info.h"
#include "player/dlk_request_command.h"
#include "player/r40_http.h"
#include "player/r40_request.h"

#include <gtest/gtest.h>

TEST(PlayerProtocolTest, ContentCodesFollowTheTable)
{
    EXPECT_EQ(GetContentCodes(1).play, 1);
    EXPECT_EQ(GetContentCodes(2).remove, 3);
    EXPECT_EQ(GetContentCodes(6).stop, 21);
    EXPECT_EQ(GetContentCodes(7, 1).play, 8);
    EXPECT_EQ(GetContentCodes(7, 2).remove, 8);
    EXPECT_EQ(GetContentCodes(7, 5).play, 17);
    EXPECT_EQ(GetContentCodes(7, 3).play, 0);
    EXPECT_EQ(GetContentCodes(10).stop, 22);
    EXPECT_EQ(GetContentCodes(52).play, 10);
    EXPECT_EQ(GetContentCodes(53).remove, 0);
    EXPECT_EQ(GetContentCodes(99).play, 0);
}

TEST(PlayerProtocolTest, FailedCommandsMapToResultAndDetail)
{
    const QString name = QStringLiteral("Shop1");
    EXPECT_EQ(MapCommandError(R40_ERROR_HTTP_STATUS + 401, name), (CommandOutcome{8, 1003}));
    EXPECT_EQ(MapCommandError(R40_ERROR_HTTP_STATUS + 404, name), (CommandOutcome{8, 1004}));
    EXPECT_EQ(MapCommandError(R40_ERROR_STOPPED, name), (CommandOutcome{9, 0}));
    EXPECT_EQ(MapCommandError(R40_ERROR_TIMEOUT, name), (CommandOutcome{8, 1006}));
    EXPECT_EQ(MapCommandError(R40_ERROR_NOT_CONNECTED, name), (CommandOutcome{8, 3000}));
    EXPECT_EQ(MapCommandError(12029, name), (CommandOutcome{8, 1004}));
    EXPECT_EQ(MapCommandSendError(0x2000000A, name), (CommandOutcome{4, 3000}));
    EXPECT_EQ(MapCommandSendError(87, name), (CommandOutcome{4, 3000}));
    EXPECT_EQ(MapCommandReply(100, QStringLiteral("busy"), name), (CommandOutcome{8, 100}));
    EXPECT_EQ(MapCommandReply(205, QStringLiteral("no table"), name), (CommandOutcome{8, 205}));
}

TEST(PlayerProtocolTest, ScheduleAndPlaylistNumbersRemoveTheirFiles)
{
    CDlkRequestCommand commands;
    ASSERT_TRUE(AddContentSendItems(commands, 101000001, 0));
    ASSERT_EQ(commands.GetCount(), 1);
    EXPECT_EQ(commands.GetCommand(0)->GetCommand(), QStringLiteral("DTBL"));

    commands.RemoveAll();
    ASSERT_TRUE(AddContentSendItems(commands, 151900001, 3));
    ASSERT_EQ(commands.GetCount(), 6);
    EXPECT_EQ(commands.GetCommand(1)->GetParameter(QStringLiteral("table")), QStringLiteral("schedule"));
    EXPECT_EQ(commands.GetCommand(1)->GetParameter(QStringLiteral("name")), QStringLiteral("SC151900001_TBL"));
    EXPECT_EQ(commands.GetCommand(2)->GetParameter(QStringLiteral("name")), QStringLiteral("SQ112900001_TBL"));
    EXPECT_EQ(commands.GetCommand(5)->GetParameter(QStringLiteral("name")), QStringLiteral("SQ122900001_TBL"));
    EXPECT_EQ(commands.GetEntryIndex(5), 3);

    // A playlist number goes through the same schedule table.
    commands.RemoveAll();
    ASSERT_TRUE(AddContentSendItems(commands, 152000007, 0));
    EXPECT_EQ(commands.GetCommand(1)->GetParameter(QStringLiteral("table")), QStringLiteral("schedule"));
}

TEST(PlayerProtocolTest, TimeZoneTextHasItsSignAndOffset)
{
    EXPECT_EQ(FormatTimeZone(0), QStringLiteral("GMT  00:00"));
    EXPECT_EQ(FormatTimeZone(9 * 3600), QStringLiteral("GMT +09:00"));
    EXPECT_EQ(FormatTimeZone(-(3 * 3600 + 30 * 60)), QStringLiteral("GMT -03:30"));
    EXPECT_EQ(FormatTimeZone(5 * 3600 + 45 * 60), QStringLiteral("GMT +05:45"));
}

TEST(SendInfoTest, KeepLimitIsClampedAtTheLastDate)
{
    EXPECT_EQ(AddDays(DateValue{2026, 12, 20}, 30), (DateValue{2027, 1, 19}));
    EXPECT_EQ(AddDays(DateValue{9999, 12, 1}, 60), kNeverDeleteDate);
    EXPECT_EQ(AddDays(DateValue{9999, 12, 31}, 30), kNeverDeleteDate);
}
