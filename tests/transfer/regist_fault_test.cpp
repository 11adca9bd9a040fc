// Registration against faulty players: each fault hits the second of three
// emulated players and must end its job with the pair of the outcome codes,
// while the other two register everything; nothing hangs, and a stop ends
// every player at once.

#include "regist_harness.h"
#include "transfer_test_util.h"

#include "player/clst_command.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_request_send.h"
#include "transfer/dlk_transfer_manager.h"
#include "transfer/dlk_transfer_worker.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Fault = EmulatedPlayer::Fault;

const SystemTime kFaultLibraryEdited = MakeTime(2026, 3, 10, 10, 0, 0, 500);
// The client's time-out in the cases that stall a player: short, so the
// stall ends the job soon, yet long enough that the healthy players' replies
// never run into it on a loaded machine. A stalled player holds its reply
// until the client lets go.
constexpr quint32 kStallTimeoutMs = 2000;

struct FaultCase {
    const char *name;
    std::function<void(EmulatedPlayer &)> inject;
    quint32 state;
    quint32 detail;
    qint32 errorIndex;
    quint32 transferTimeoutMs = 0; // 0: the client's own
};

void PrintTo(const FaultCase &fault, std::ostream *out)
{
    *out << fault.name;
}

const FaultCase kFaults[] = {
    {"WrongPassword",
     [](EmulatedPlayer &player) {
         player.setCredentials(QString::fromLatin1(EmulatedPlayer::kDefaultUser), QStringLiteral("changed"));
     },
     DLK_STATE_COMMAND_FAILED, DLK_DETAIL_PASSWORD, -1},
    {"Http500",
     [](EmulatedPlayer &player) { player.setCommandFault(QStringLiteral("CLST"), Fault::httpStatus(500)); },
     DLK_STATE_COMMAND_FAILED, DLK_DETAIL_SEND_ERROR, RegistSet::kMovie},
    {"Serr100", [](EmulatedPlayer &player) { player.setCommandFault(QStringLiteral("CLST"), Fault::serr(100)); },
     DLK_STATE_COMMAND_FAILED, 100, RegistSet::kMovie},
    {"Serr115OnLoad", [](EmulatedPlayer &player) { player.setCommandFault(QStringLiteral("LTBL"), Fault::serr(115)); },
     DLK_STATE_COMMAND_FAILED, 115, RegistSet::kMovie},
    {"ReplyNotXml", [](EmulatedPlayer &player) { player.setCommandFault(QStringLiteral("DRST"), Fault::notXml()); },
     DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL, -1},
    {"CommandStall",
     [](EmulatedPlayer &player) { player.setCommandFault(QStringLiteral("CLST"), Fault::stall().once()); },
     DLK_STATE_COMMAND_FAILED, DLK_DETAIL_TIMEOUT, RegistSet::kMovie, kStallTimeoutMs},
    {"UploadStall", [](EmulatedPlayer &player) { player.setUploadFault(Fault::stall(64 * 1024).once()); },
     DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_TIMEOUT, RegistSet::kMovie, kStallTimeoutMs},
    {"UploadReset", [](EmulatedPlayer &player) { Fault cut = Fault::reset(64 * 1024);
        cut.times = 2; // the upload and the one sending it again on a fresh connection
        player.setUploadFault(cut); },
     DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_DISCONNECT, RegistSet::kMovie},
    {"UploadRefusedDiskFull", [](EmulatedPlayer &player) { player.setUploadFault(Fault::diskFull(64 * 1024)); },
     DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_INTERNAL, RegistSet::kMovie},
    {"DiskFull",
     [](EmulatedPlayer &player) { player.setDisk(64ULL << 30, 10485760 + 1000, 128ULL << 30, 100ULL << 30); },
     DLK_STATE_DISK_FULL, DLK_DETAIL_DISK_FULL, -1},
    {"AvDiskFull",
     [](EmulatedPlayer &player) { player.setDisk(64ULL << 30, 48ULL << 30, 128ULL << 30, 10485760 + 3000000); },
     DLK_STATE_AV_DISK_FULL, DLK_DETAIL_AV_DISK_FULL, -1},
    {"DiskWithoutCapacity", [](EmulatedPlayer &player) { player.setDiskUnknown(); }, DLK_STATE_INTERNAL,
     DLK_DETAIL_INTERNAL, -1},
};

class RegistFaultTest : public ::testing::TestWithParam<FaultCase> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_players.start());
        m_library.setFolders(m_send);
        ASSERT_TRUE(m_library.addEveryType(m_send, kFaultLibraryEdited));
        ASSERT_TRUE(m_requests.Add(&m_send));
    }

    TransferStatusRecord statusOf(int i)
    {
        TransferStatusRecord record;
        EXPECT_TRUE(m_players.status().GetPlayerStatus(m_players.number(i), record));
        return record;
    }

    QTemporaryDir m_dir;
    RegistLibrary m_library{m_dir.filePath(QStringLiteral("library"))};
    RegistPlayers m_players{m_dir.filePath(QStringLiteral("base")), 3};
    CDlkRequestSend m_send;
    CDlkRequestList m_requests;
};

TEST_P(RegistFaultTest, FaultEndsOnlyItsPlayer)
{
    const FaultCase &fault = GetParam();
    m_players.setTransferTimeout(fault.transferTimeoutMs);
    fault.inject(m_players.player(1));
    ASSERT_TRUE(m_players.send(m_requests, m_library, true, 60)) << "the transfer ends";

    const TransferStatusRecord failed = statusOf(1);
    EXPECT_EQ(failed.SendSts, qint32(fault.state));
    EXPECT_EQ(failed.ErrorCode, qint32(fault.detail));
    EXPECT_EQ(failed.ErrorIndex, fault.errorIndex);
    for (int i : {0, 2}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(statusOf(i).SendSts, DLK_STATE_DONE);
        EXPECT_EQ(statusOf(i).SendFileCount, m_send.GetCount());
        EXPECT_EQ(m_players.player(i).contentRows(CLST_MOVIE).size(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(EachFault, RegistFaultTest, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<FaultCase> &info) { return info.param.name; });

// A player that does not hold a content answers its query with SERR 115:
// the content is sent, not failed.
TEST_F(RegistFaultTest, ContentUnknownToThePlayerIsSent)
{
    ASSERT_TRUE(m_players.send(m_requests, m_library));
    for (int i = 0; i < m_players.count(); ++i) {
        EXPECT_EQ(statusOf(i).SendSts, DLK_STATE_DONE);
        EXPECT_EQ(m_players.player(i).requests(QStringLiteral("CLST")).first().code, 115);
    }
}

TEST_F(RegistFaultTest, StopEndsEveryPlayerAtOnce)
{
    for (int i = 0; i < m_players.count(); ++i)
        m_players.player(i).setUploadFault(Fault::stall(64 * 1024));
    // The players hold their uploads until the clients let go, which they
    // would do of themselves only after the send's wait has run out.
    m_players.setTransferTimeout(60000);
    const bool ended = m_players.send(m_requests, m_library, true, 30, [&](CDlkTransferManager &manager) {
        for (int i = 0; i < m_players.count(); ++i)
            EXPECT_TRUE(m_players.player(i).waitForStalls()) << i;
        manager.Stop();
    });
    EXPECT_TRUE(ended) << "a stop does not wait for stalled players";
    for (int i = 0; i < m_players.count(); ++i) {
        EXPECT_EQ(statusOf(i).SendSts, DLK_STATE_STOPPED) << i;
        EXPECT_EQ(statusOf(i).ErrorCode, 0) << i;
    }
}

} // namespace
