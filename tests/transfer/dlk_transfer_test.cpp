// The transfer worker against an emulated player: a job that ends well, a
// player that does not answer (with and without Wake-on-LAN), failures on the
// way to the player and their mark on the player record, stop, and refused
// starts. Also the manager with real workers on several emulated players.

#include "callback_log.h"
#include "probe_clock.h"
#include "worker_test_support.h"
#include "core/last_error.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "model/harl_player_xml.h"
#include "player/dlk_request.h"
#include "player/wake_on_lan.h"
#include "support/emulated_player.h"
#include "support/loopback_socket.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_transfer.h"
#include "transfer/dlk_transfer_manager.h"
#include "transfer/transfer_status_xml.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A request kind that no handler serves.
class OddRequest : public CDlkRequestOf<OddRequest, 9> {
};

const QByteArray kPowerOnSettings = "[Option]\r\nRemotePowerOn=1\r\n";

QByteArray MagicPacket(const std::vector<quint8> &mac)
{
    QByteArray packet(6, char(0xFF));
    for (int i = 0; i < 16; ++i)
        for (quint8 byte : mac)
            packet.append(char(byte));
    return packet;
}

// Sends every Wake-on-LAN packet of the test to a loopback receiver.
class WakeOnLanCatcher {
public:
    WakeOnLanCatcher() { CWakeOnLan::SetDestinationOverride(QStringLiteral("127.0.0.1"), m_receiver.port()); }
    ~WakeOnLanCatcher() { CWakeOnLan::ClearDestinationOverride(); }
    QByteArray receive(int timeoutMs) { return m_receiver.receive(timeoutMs); }

private:
    UdpReceiver m_receiver;
};

class TransferWorkerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_player.start());
        m_playerFile = m_dir.filePath(QStringLiteral("Player.xml"));
        PlayerRecord record;
        record.Number = 7;
        record.Name = QStringLiteral("Lobby");
        record.IPAddress = m_player.address();
        record.MacAddress = QStringLiteral("00-1B-2C-3D-4E-F5");
        record.Status = PLAYER_STATUS_PENDING;
        m_players.AddPlayer(record);
        m_status.SetPlayers({7});
    }

    std::unique_ptr<CDlkTransfer> makeWorker(CSystemIni *settings = nullptr)
    {
        auto worker = std::make_unique<CDlkTransfer>(settings, nullptr);
        EXPECT_TRUE(worker->SetDlkName(QStringLiteral("Lobby")));
        EXPECT_TRUE(worker->SetPcFolder(m_dir.path(), playerFolder() + QStringLiteral("/")));
        worker->SetStatusDocument(&m_status, 7);
        worker->SetPlayerTable(&m_players, m_playerFile);
        EXPECT_TRUE(worker->EnableCallback(true, &NoticeLog::callback, &m_notices));
        worker->SetPingFactory(m_ping.factory());
        return worker;
    }

    bool start(CDlkTransfer &worker, quint16 port = 0)
    {
        return worker.StartTransfer(m_player.address(), QString::fromLatin1(EmulatedPlayer::kDefaultUser),
                                    QString::fromLatin1(EmulatedPlayer::kDefaultPassword),
                                    port ? port : m_player.port(), 0, &m_requests, 0);
    }

    // Runs one job to its end; FinishTransfer's result.
    bool runJob(CDlkTransfer &worker)
    {
        EXPECT_TRUE(start(worker));
        return worker.FinishTransfer();
    }

    QString playerFolder() const { return m_dir.filePath(QStringLiteral("KDP-R40/Lobby")); }

    static std::pair<quint32, quint32> outcome(const IDlkTransferWorker &worker)
    {
        return {worker.GetState(), worker.GetDetail()};
    }
    static std::pair<quint32, quint32> pair(quint32 state, quint32 detail) { return {state, detail}; }

    PlayerRecord savedRecord() const
    {
        CHarlPlayerXml saved;
        EXPECT_TRUE(saved.Load(m_playerFile));
        return saved.GetCount() > 0 ? saved.CopyPlayers().front() : PlayerRecord{};
    }

    std::pair<quint16, quint64> lastNotice() const
    {
        const auto notices = m_notices.notices();
        return notices.empty() ? std::pair<quint16, quint64>() : notices.back();
    }

    QTemporaryDir m_dir;
    EmulatedPlayer m_player;
    QString m_playerFile;
    CHarlPlayerXml m_players;
    CTransferStatusXml m_status;
    CDlkRequestList m_requests;
    PingScript m_ping;
    NoticeLog m_notices;
};

TEST_F(TransferWorkerTest, JobWithoutRequestsEndsDone)
{
    auto worker = makeWorker();
    EXPECT_TRUE(QFileInfo(playerFolder()).isDir()) << "the player folder is made when it is set";
    EXPECT_TRUE(runJob(*worker));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_DONE, 0));
    EXPECT_FALSE(worker->IsRunning());
    EXPECT_EQ(lastNotice(), std::make_pair(quint16(DLK_NOTICE_JOB_END), quint64(1)));
    EXPECT_EQ(m_status.GetSendStatus(7), DLK_STATE_DONE);
    EXPECT_EQ(m_players.CopyPlayers().at(0).Status, PLAYER_STATUS_PENDING) << "a job that reached the player leaves the record alone";
}

TEST_F(TransferWorkerTest, UnreachablePlayerFailsAndMarksItsRecord)
{
    m_ping.setUnreachable(m_player.address());
    WakeOnLanCatcher wake;
    auto worker = makeWorker();
    EXPECT_TRUE(runJob(*worker));

    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_NOT_FOUND));
    EXPECT_EQ(lastNotice(), std::make_pair(quint16(DLK_NOTICE_JOB_END), quint64(0)));
    TransferStatusRecord status;
    ASSERT_TRUE(m_status.GetPlayerStatus(7, status));
    EXPECT_EQ(status.SendSts, DLK_STATE_COMMAND_FAILED);
    EXPECT_EQ(status.ErrorCode, DLK_DETAIL_NOT_FOUND);
    EXPECT_EQ(status.ErrorIndex, -1);
    const PlayerRecord saved = savedRecord();
    EXPECT_EQ(saved.Status, PLAYER_STATUS_ERROR);
    EXPECT_EQ(saved.ErrCode, DLK_DETAIL_NOT_FOUND);
    EXPECT_TRUE(wake.receive(200).isEmpty()) << "no wake without permission";
}

TEST_F(TransferWorkerTest, OnlyAPendingRecordTakesTheFailure)
{
    m_players.EditPlayers([](std::vector<PlayerRecord> &players) { players.at(0).Status = PLAYER_STATUS_OK; });
    m_ping.setUnreachable(m_player.address());
    auto worker = makeWorker();
    runJob(*worker);
    const PlayerRecord record = m_players.CopyPlayers().at(0);
    EXPECT_EQ(record.Status, PLAYER_STATUS_OK);
    EXPECT_EQ(record.ErrCode, 0);
    EXPECT_FALSE(QFileInfo::exists(m_playerFile));
}

TEST_F(TransferWorkerTest, UnreachablePlayerIsWokenWhenPermitted)
{
    m_ping.setUnreachable(m_player.address());
    WakeOnLanCatcher wake;
    const auto settings = OpenSystemIni(m_dir.path(), kPowerOnSettings);
    auto worker = makeWorker(settings.get());
    worker->SetPowerOn(true);
    EXPECT_TRUE(runJob(*worker));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_NOT_FOUND));
    const QByteArray packet = wake.receive(3000);
    EXPECT_EQ(packet.size(), 102);
    EXPECT_EQ(packet, MagicPacket({0x00, 0x1B, 0x2C, 0x3D, 0x4E, 0xF5}));

    // A short MAC text leaves the bytes it does not name at 0.
    m_players.EditPlayers([](std::vector<PlayerRecord> &players) { players.at(0).MacAddress = QStringLiteral("0A-0b"); });
    auto second = makeWorker(settings.get());
    second->SetPowerOn(true);
    runJob(*second);
    EXPECT_EQ(wake.receive(3000), MagicPacket({0x0A, 0x0B, 0, 0, 0, 0}));

    // Without the settings switch the worker's permission is not enough.
    const auto switchedOff = OpenSystemIni(m_dir.path(), "[Option]\r\nRemotePowerOn=0\r\n");
    auto third = makeWorker(switchedOff.get());
    third->SetPowerOn(true);
    runJob(*third);
    EXPECT_TRUE(wake.receive(200).isEmpty());
}

TEST_F(TransferWorkerTest, PlayerGoneFromTheTableEndsAsInternalFailure)
{
    m_ping.setUnreachable(m_player.address());
    m_players.RemoveAll();
    const auto settings = OpenSystemIni(m_dir.path(), kPowerOnSettings);
    auto worker = makeWorker(settings.get());
    worker->SetPowerOn(true);
    runJob(*worker);
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
    EXPECT_EQ(lastNotice(), std::make_pair(quint16(DLK_NOTICE_JOB_END), quint64(0)));
}

TEST_F(TransferWorkerTest, FailuresOnTheWayToThePlayer)
{
    m_ping.setOpenFails(true);
    auto noPing = makeWorker();
    runJob(*noPing);
    EXPECT_EQ(outcome(*noPing), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
    EXPECT_EQ(lastNotice(), std::make_pair(quint16(DLK_NOTICE_JOB_END), quint64(0)));
    EXPECT_EQ(savedRecord().ErrCode, DLK_DETAIL_INTERNAL);

    m_ping.setOpenFails(false);
    auto noPort = makeWorker();
    ASSERT_TRUE(noPort->StartTransfer(m_player.address(), QStringLiteral("u"), QStringLiteral("p"), 0, 0,
                                      &m_requests, 0));
    noPort->FinishTransfer();
    EXPECT_EQ(outcome(*noPort), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL)) << "port 0 is refused";
}

TEST_F(TransferWorkerTest, RequestOfAnUnknownKindEndsTheJob)
{
    const OddRequest odd;
    ASSERT_TRUE(m_requests.Add(&odd));
    auto worker = makeWorker();
    EXPECT_TRUE(runJob(*worker));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
    EXPECT_EQ(lastNotice(), std::make_pair(quint16(DLK_NOTICE_JOB_END), quint64(0)));
    EXPECT_EQ(m_players.CopyPlayers().at(0).Status, PLAYER_STATUS_PENDING)
        << "a failed request is not a failure on the way to the player";
}

TEST_F(TransferWorkerTest, StopBeforeTheConnectionIsNotLost)
{
    const OddRequest odd;
    ASSERT_TRUE(m_requests.Add(&odd));
    m_ping.hold();
    auto worker = makeWorker();
    ASSERT_TRUE(start(*worker));
    ASSERT_TRUE(m_ping.waitHeld());
    EXPECT_TRUE(worker->IsRunning());
    // The stop comes before the client is initialised, which clears its
    // abort; the stop flag still ends the job before its first request.
    worker->Stop();
    m_ping.release(true);
    EXPECT_FALSE(worker->FinishTransfer());
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_STOPPED, 0));
    EXPECT_EQ(m_status.GetSendStatus(7), DLK_STATE_STOPPED);
    EXPECT_EQ(lastNotice(), std::make_pair(quint16(DLK_NOTICE_JOB_END), quint64(0)));
}

TEST_F(TransferWorkerTest, RefusedStarts)
{
    auto worker = makeWorker();
    EXPECT_FALSE(worker->StartTransfer(m_player.address(), QStringLiteral("u"), QStringLiteral("p"), 80, 0, nullptr, 0));
    EXPECT_FALSE(worker->IsRunning());
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
    EXPECT_TRUE(worker->FinishTransfer()) << "nothing to join";

    m_ping.hold();
    ASSERT_TRUE(start(*worker));
    EXPECT_FALSE(start(*worker)) << "a worker serves one job at a time";
    m_ping.release(true);
    EXPECT_TRUE(worker->FinishTransfer());

    EXPECT_FALSE(worker->EnableCallback(true, nullptr, nullptr));
    EXPECT_TRUE(worker->EnableCallback(false, nullptr, nullptr));
    EXPECT_FALSE(worker->SetDlkName(QString()));
}

TEST_F(TransferWorkerTest, PlayerFolderThatCannotBeMadeIsRefused)
{
    CDlkTransfer worker(nullptr, nullptr);
    const QString file = m_dir.filePath(QStringLiteral("file"));
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_FALSE(worker.SetPcFolder(m_dir.path(), file + QStringLiteral("/below")));
    EXPECT_EQ(outcome(worker), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
    EXPECT_TRUE(worker.SetPcFolder(m_dir.path(), m_dir.path())) << "an existing folder is fine";

    QString folder;
    worker.SetContentFolder(5, QStringLiteral("/flash"));
    worker.SetContentFolder(3, QStringLiteral("/text"));
    EXPECT_TRUE(worker.GetContentFolder(5, folder));
    EXPECT_EQ(folder, QStringLiteral("/flash"));
    EXPECT_FALSE(worker.GetContentFolder(3, folder)) << "telops have no content folder";
}

// The manager with real workers on three emulated players, one of which does
// not answer: it is woken, fails, and the retry wait is stopped.
TEST(TransferManagerPlayersTest, UnreachablePlayerIsWokenAndTheOthersAreDone)
{
    ProbeClock clock(QDateTime(QDate(2026, 4, 1), QTime(12, 0, 0)));
    QTemporaryDir dir;
    std::vector<std::unique_ptr<EmulatedPlayer>> players;
    CHarlPlayerXml playerList;
    for (int i = 0; i < 3; ++i) {
        players.push_back(std::make_unique<EmulatedPlayer>(QStringLiteral("127.0.0.%1").arg(i + 2)));
        ASSERT_TRUE(players.back()->start());
        PlayerRecord record;
        record.Number = 11 + i;
        record.Name = QStringLiteral("Shop%1").arg(i + 1);
        record.IPAddress = players.back()->address();
        record.Port = players.back()->port();
        record.Pass = QString::fromLatin1(EmulatedPlayer::kDefaultPassword);
        record.MacAddress = QStringLiteral("00-00-5E-00-53-%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        playerList.AddPlayer(record);
    }
    CTransferStatusXml status;
    status.SetPlayers({11, 12, 13});
    CDlkRequestList requests;
    PingScript ping;
    ping.setUnreachable(QStringLiteral("127.0.0.4"));
    WakeOnLanCatcher wake;
    const auto settings = OpenSystemIni(dir.path(), kPowerOnSettings);
    CallbackLog log(&status);
    std::atomic<bool> stopped{false};

    CAppData appData;
    ASSERT_TRUE(appData.SetDataRoot(dir.path()));
    CDlkTransferManager manager;
    manager.SetPcDlkFolder(dir.path());
    manager.SetPcDlkFolder(appData);
    manager.SetPlayerList(&playerList, dir.filePath(QStringLiteral("Player.xml")));
    manager.SetStatusDocument(&status);
    manager.SetSystemSettings(settings.get());
    manager.SetPowerOn(true, 300);
    manager.EnableCallback(true, &CallbackLog::callback, &log);
    manager.SetWorkerFactory([&](CSystemIni *systemSettings, CSettingIni *options) {
        auto worker = std::make_unique<CDlkTransfer>(systemSettings, options);
        worker->SetPingFactory(ping.factory());
        return worker;
    });
    clock.onSleep([&] {
        if (status.GetTransferState() == TRANSFER_STATE_RETRY_WAIT && !stopped.exchange(true))
            manager.Stop();
    });
    ASSERT_TRUE(manager.StartTransfer({11, 12, 13}, &requests));
    ASSERT_TRUE(log.waitEnd());
    EXPECT_FALSE(manager.FinishTransfer());

    EXPECT_EQ(status.GetSendStatus(11), DLK_STATE_DONE);
    EXPECT_EQ(status.GetSendStatus(12), DLK_STATE_DONE);
    TransferStatusRecord record;
    ASSERT_TRUE(status.GetPlayerStatus(13, record));
    EXPECT_EQ(record.SendSts, DLK_STATE_COMMAND_FAILED);
    EXPECT_EQ(record.ErrorCode, DLK_DETAIL_NOT_FOUND);
    EXPECT_EQ(wake.receive(3000), MagicPacket({0x00, 0x00, 0x5E, 0x00, 0x53, 0x03}));
    EXPECT_TRUE(wake.receive(200).isEmpty()) << "only the unreachable player is woken";
    EXPECT_EQ(log.values(DLK_CODE_PASS_FAILED), std::vector<qint64>({DLK_STATE_COMMAND_FAILED}));
    EXPECT_EQ(status.GetTransferState(), TRANSFER_STATE_STOPPED);
    for (const char *name : {"Shop1", "Shop2", "Shop3"})
        EXPECT_TRUE(QFileInfo(appData.GetDataFolder() + QStringLiteral("/KDP-R40/") + QLatin1String(name)).isDir())
            << name;
}

} // namespace
