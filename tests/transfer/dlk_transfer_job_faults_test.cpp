// The fault suite of the command, configuration, list, log, update and
// status jobs: each fault of the player (wrong password, HTTP 500, SERR 100
// and 115, a reply that is not XML, a stall past the time-out, a reset, a
// full disk) ends the job in its (state, detail) pair without hanging; and
// through the manager, one faulty player leaves the others done, and a stop
// ends every stalled player at once.

#include "callback_log.h"
#include "job_test_fixture.h"

#include "core/system_ini.h"
#include "model/app_data.h"
#include "player/delete_command.h"
#include "player/dlk_request_command.h"
#include "player/dlk_request_config.h"
#include "player/dlk_request_log.h"
#include "player/dlk_request_remote_list.h"
#include "player/dlk_request_status.h"
#include "player/dlk_request_update.h"
#include "player/setup_xml.h"
#include "transfer/dlk_transfer_manager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

namespace {

using Fault = EmulatedPlayer::Fault;

// The worker's client gives up after this long without a byte moving.
constexpr quint32 kShortTimeoutMs = 800;
// The same through the manager, where healthy players answer beside the
// stalled one: long enough that their replies never run into it on a loaded
// machine. A stalled player holds its reply until the client lets go.
constexpr quint32 kManagerTimeoutMs = 2000;

void shortenTimeouts(WorkerProbe &worker, quint32 timeoutMs = kShortTimeoutMs)
{
    R40HttpParam param;
    param.mask = R40_PARAM_TRANSFER_TIMEOUT | R40_PARAM_CONNECT_TIMEOUT;
    param.transferTimeout = timeoutMs;
    param.connectTimeout = timeoutMs;
    ASSERT_TRUE(worker.httpClient().SetParameter(param));
}

enum class Job { Command, NetworkConfig, List, Log, Update, Status };

const char *jobName(Job job)
{
    switch (job) {
    case Job::Command: return "command";
    case Job::NetworkConfig: return "network config";
    case Job::List: return "list";
    case Job::Log: return "log";
    case Job::Update: return "update";
    case Job::Status: return "status";
    }
    return "";
}

class JobFaultTest : public JobTest {
protected:
    void SetUp() override
    {
        JobTest::SetUp();
        m_player.setSystemValue(QStringLiteral("version"), QStringLiteral("1.23"));
        m_player.setContentRow(1, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("101000001")}}));
        m_updateFile = m_dir.filePath(QStringLiteral("update.bin"));
        QFile update(m_updateFile);
        ASSERT_TRUE(update.open(QIODevice::WriteOnly));
        update.write(QByteArray(2 << 20, 'f'));
        update.close();
        QFile net(MakeSetupNetFilePath(m_dir.path(), true));
        QDir().mkpath(QFileInfo(net).path());
        ASSERT_TRUE(net.open(QIODevice::WriteOnly));
        net.write("<?xml version=\"1.0\"?>\n<setup ver=\"1.0\"/>\n");
    }

    // Only a case that stalls the player shortens the client's time-outs:
    // the others' replies never wait on a loaded machine's scheduler.
    std::pair<quint32, quint32> run(Job job, bool stalls)
    {
        CDlkRequestCommand commands;
        CDeleteCommand remove;
        remove.MakeRequest(DELETE_TABLE_MOVIE, 101000001);
        commands.Add(&remove, 0);
        const CDlkRequestConfig config(true);
        const CDlkRequestRemoteList list(0x0001, 0);
        const CDlkRequestLog log(m_dir.filePath(QStringLiteral("Logs")));
        const CDlkRequestUpdate update(m_updateFile);
        const CDlkRequestStatus status(123);
        const CDlkRequest *requests[] = {&commands, &config, &list, &log, &update, &status};
        m_requests.RemoveAll();
        EXPECT_TRUE(m_requests.Add(requests[int(job)]));
        auto worker = makeWorker();
        if (stalls)
            shortenTimeouts(*worker);
        runJob(*worker);
        return outcome(*worker);
    }

    QString m_updateFile;
};

TEST_F(JobFaultTest, EveryFaultEndsItsJobInItsPair)
{
    struct Case {
        const char *fault;
        std::function<void(EmulatedPlayer &)> inject;
        std::vector<std::pair<Job, std::pair<quint32, quint32>>> expected;
        bool stalls = false;
    };
    const auto command = [](Fault fault) {
        return [fault](EmulatedPlayer &player) {
            for (const char *code : {"SYST", "CLST", "NLOG", "RMCL", "RSET"})
                player.setCommandFault(QString::fromLatin1(code), fault);
        };
    };
    const auto upload = [](Fault fault) { return [fault](EmulatedPlayer &player) { player.setUploadFault(fault); }; };
    const std::pair<quint32, quint32> done{DLK_STATE_DONE, 0};
    const std::vector<Case> cases = {
        {"wrong password",
         [](EmulatedPlayer &player) { player.setCredentials(QStringLiteral("WYNDcarp"), QStringLiteral("other")); },
         {{Job::Command, {8, 1003}}, {Job::NetworkConfig, {8, 1003}}, {Job::List, {8, 1003}}, {Job::Log, {8, 1003}},
          {Job::Update, {7, 1004}}, {Job::Status, {8, 1003}}}},
        {"HTTP 500 on commands", command(Fault::httpStatus(500)),
         {{Job::Command, {8, 1004}}, {Job::NetworkConfig, {8, 1004}}, {Job::List, {8, 1004}}, {Job::Log, {8, 1004}},
          {Job::Update, {8, 1004}}, {Job::Status, {8, 1004}}}},
        {"HTTP 500 on uploads", upload(Fault::httpStatus(500)),
         {{Job::NetworkConfig, {7, 1004}}, {Job::Update, {7, 1004}}, {Job::Command, done}}},
        {"SERR 100", command(Fault::serr(100)),
         {{Job::Command, {8, 100}}, {Job::NetworkConfig, {8, 100}}, {Job::List, {8, 100}}, {Job::Log, {8, 100}},
          {Job::Update, {8, 100}}, {Job::Status, {8, 100}}}},
        {"SERR 115", command(Fault::serr(115)),
         {{Job::Command, {8, 115}}, {Job::List, done}, {Job::Log, {8, 115}}, {Job::Status, {8, 115}}}},
        {"not XML", command(Fault::notXml()),
         {{Job::Command, {4, 1000}}, {Job::List, {4, 1000}}, {Job::Log, {4, 1000}}, {Job::Status, {4, 1000}}}},
        {"stall past the time-out", command(Fault::stall()),
         {{Job::Command, {8, 1006}}, {Job::List, {8, 1006}}, {Job::Update, {8, 1006}}, {Job::Status, {8, 1006}}},
         true},
        {"stalled upload", upload(Fault::stall(64 * 1024)), {{Job::Update, {7, 1006}}}, true},
        {"reset on commands", command(Fault::reset()), {{Job::Command, {8, 1004}}, {Job::Status, {8, 1004}}}},
        {"reset mid-upload", upload(Fault::reset(512 * 1024)), {{Job::Update, {7, 1005}}}},
        {"disk full", upload(Fault::diskFull(256 * 1024)), {{Job::Update, {7, 1000}}, {Job::NetworkConfig, {7, 1000}}}},
    };
    for (const Case &test : cases) {
        for (const auto &[job, expected] : test.expected) {
            SCOPED_TRACE(std::string(test.fault) + " / " + jobName(job));
            m_player.clearFaults();
            m_player.setCredentials(QString::fromLatin1(EmulatedPlayer::kDefaultUser),
                                    QString::fromLatin1(EmulatedPlayer::kDefaultPassword));
            test.inject(m_player);
            EXPECT_EQ(run(job, test.stalls), expected);
        }
    }
}

// Three players through the manager, as the main window runs a status and
// list job: the one that stalls fails alone.
class ManagerJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i) {
            m_players.push_back(std::make_unique<EmulatedPlayer>(QStringLiteral("127.0.0.%1").arg(i + 2)));
            ASSERT_TRUE(m_players.back()->start());
            m_players.back()->setSystemValue(QStringLiteral("version"), QStringLiteral("1.23"));
            PlayerRecord record;
            record.Number = 21 + i;
            record.Name = QStringLiteral("Hall%1").arg(i + 1);
            record.IPAddress = m_players.back()->address();
            record.Port = m_players.back()->port();
            record.Pass = QString::fromLatin1(EmulatedPlayer::kDefaultPassword);
            // As the emulated player reports itself, so the status job finds nothing.
            record.Serial = QStringLiteral("R40-000001");
            record.TimeZone = QStringLiteral("GMT +09:00");
            record.Resolution = QStringLiteral("1920x1080");
            m_playerList.AddPlayer(record);
        }
        m_status.SetPlayers({21, 22, 23});
        ASSERT_TRUE(m_appData.SetDataRoot(m_dir.path()));
        m_settings = OpenSystemIni(m_dir.path(), "[ExOption]\r\nR40RetryEnable=0\r\n");
        m_manager.SetPcDlkFolder(m_dir.path());
        m_manager.SetPcDlkFolder(m_appData);
        m_manager.SetPlayerList(&m_playerList, m_dir.filePath(QStringLiteral("Player.xml")));
        m_manager.SetStatusDocument(&m_status);
        m_manager.SetSystemSettings(m_settings.get());
        m_manager.SetPowerOn(false, 0);
        m_manager.EnableCallback(true, &CallbackLog::callback, &m_log);
        m_manager.SetWorkerFactory([this](CSystemIni *settings, CSettingIni *options) {
            auto worker = std::make_unique<WorkerProbe>(settings, options);
            worker->SetPingFactory(m_ping.factory());
            shortenTimeouts(*worker, kManagerTimeoutMs);
            return worker;
        });
        ASSERT_TRUE(m_requests.Add(&m_statusRequest));
        ASSERT_TRUE(m_requests.Add(&m_listRequest));
    }

    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<EmulatedPlayer>> m_players;
    CHarlPlayerXml m_playerList;
    CTransferStatusXml m_status;
    CAppData m_appData;
    std::unique_ptr<CSystemIni> m_settings;
    CallbackLog m_log{&m_status};
    PingScript m_ping;
    CDlkRequestStatus m_statusRequest{123};
    CDlkRequestRemoteList m_listRequest{0x0001, 0};
    CDlkRequestList m_requests;
    CDlkTransferManager m_manager;
};

TEST_F(ManagerJobTest, AStalledPlayerFailsAloneAndTheOthersAreDone)
{
    m_players[1]->setCommandFault(QStringLiteral("SYST"), Fault::stall());
    ASSERT_TRUE(m_manager.StartTransfer({21, 22, 23}, &m_requests));
    ASSERT_TRUE(m_log.waitEnd());
    m_manager.FinishTransfer();

    for (qint32 number : {21, 23}) {
        TransferStatusRecord done;
        ASSERT_TRUE(m_status.GetPlayerStatus(number, done));
        EXPECT_EQ(std::make_pair(done.SendSts, done.ErrorCode), std::make_pair(qint32(DLK_STATE_DONE), 0)) << number;
    }
    TransferStatusRecord stalled;
    ASSERT_TRUE(m_status.GetPlayerStatus(22, stalled));
    EXPECT_EQ(stalled.SendSts, DLK_STATE_COMMAND_FAILED);
    EXPECT_EQ(stalled.ErrorCode, DLK_DETAIL_TIMEOUT);
    for (const char *name : {"Hall1", "Hall3"})
        EXPECT_TRUE(QFileInfo::exists(m_appData.GetDataFolder() + QStringLiteral("/KDP-R40/") + QLatin1String(name)
                                      + QStringLiteral("/VideoList.xml")))
            << name;
    EXPECT_FALSE(QFileInfo::exists(m_appData.GetDataFolder() + QStringLiteral("/KDP-R40/Hall2/VideoList.xml")));
}

TEST_F(ManagerJobTest, StopEndsEveryStalledPlayerAtOnce)
{
    for (auto &player : m_players)
        player->setCommandFault(QStringLiteral("SYST"), Fault::stall());
    m_manager.SetWorkerFactory([this](CSystemIni *settings, CSettingIni *options) {
        auto worker = std::make_unique<WorkerProbe>(settings, options);
        worker->SetPingFactory(m_ping.factory());
        return worker;
    });
    ASSERT_TRUE(m_manager.StartTransfer({21, 22, 23}, &m_requests));
    for (auto &player : m_players)
        ASSERT_TRUE(player->waitForStalls()) << "every player holds its reply";
    m_manager.Stop();
    // The players hold their replies until the clients let go.
    EXPECT_TRUE(m_log.waitEnd()) << "a stop does not wait for stalled players";
    EXPECT_FALSE(m_manager.FinishTransfer());
    for (qint32 number : {21, 22, 23})
        EXPECT_EQ(m_status.GetSendStatus(number), DLK_STATE_STOPPED) << number;
}

} // namespace
