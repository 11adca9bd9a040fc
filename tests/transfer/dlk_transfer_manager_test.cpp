// The transfer manager against scripted workers: the session limit, the
// no-send period and the delayed start on a fake clock, retry passes and the
// disk-full skip, stop in every phase, players that cannot be started, and
// the relay of worker notices.

#include "callback_log.h"
#include "fake_transfer_worker.h"
#include "probe_clock.h"
#include "core/setting_ini.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "model/harl_player_xml.h"
#include "player/dlk_request_status.h"
#include "player/r40_http.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_transfer_manager.h"
#include "transfer/transfer_status_xml.h"
#include "transfer_test_util.h"
#include "worker_test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <set>

namespace {

class TransferManagerTest : public ::testing::Test {
protected:
    TransferManagerTest()
        : m_clock(QDateTime(QDate(2026, 4, 1), QTime(12, 0, 0)))
        , m_log(&m_status)
    {
        const CDlkRequestStatus status(123);
        m_requests.Add(&status);
        m_appData.SetDataRoot(m_dir.path());
        m_manager.SetPcDlkFolder(m_appData);
        m_manager.SetPlayerList(&m_players, QString());
        m_manager.SetStatusDocument(&m_status);
        m_manager.SetSystemOptions(&m_options);
        m_manager.SetWorkerFactory(m_hub.factory());
        m_manager.EnableCallback(true, &CallbackLog::callback, &m_log);
    }

    void addPlayers(int count)
    {
        QList<qint32> numbers;
        for (int i = 1; i <= count; ++i) {
            PlayerRecord record;
            record.Number = i;
            record.Name = QStringLiteral("Player%1").arg(i);
            record.IPAddress = QStringLiteral("127.0.0.2");
            record.Pass = QStringLiteral("secret");
            m_players.AddPlayer(record);
            numbers.append(i);
        }
        m_status.SetPlayers(numbers);
    }

    QList<qint32> playerNumbers() const
    {
        QList<qint32> numbers;
        for (const PlayerRecord &record : m_players.CopyPlayers())
            numbers.append(record.Number);
        return numbers;
    }

    void setMaxSession(int sessions)
    {
        SystemOptions options = m_options.Options();
        options.MaxSession = sessions;
        m_options.SetOptions(options);
    }

    // Starts the transfer, waits for its end and joins it.
    bool runTransfer(const QList<qint32> &numbers)
    {
        EXPECT_TRUE(m_manager.StartTransfer(numbers, &m_requests));
        EXPECT_TRUE(m_log.waitEnd());
        return m_manager.FinishTransfer();
    }

    // Notes the document state each time the manager sleeps.
    void recordStatesWhileSleeping()
    {
        m_clock.onSleep([this] {
            std::lock_guard lock(m_sleepStatesMutex);
            m_sleepStates.insert(m_status.GetTransferState());
        });
    }
    bool sawStateWhileSleeping(qint32 state)
    {
        std::lock_guard lock(m_sleepStatesMutex);
        return m_sleepStates.count(state) > 0;
    }

    qint32 sendStatus(qint32 number) const { return m_status.GetSendStatus(number); }
    // The player's send status and error code in the status document.
    std::pair<qint32, qint32> outcome(qint32 number) const
    {
        TransferStatusRecord record;
        m_status.GetPlayerStatus(number, record);
        return {record.SendSts, record.ErrorCode};
    }
    std::pair<qint32, qint32> result() const { return {m_manager.GetResultState(), m_manager.GetResultDetail()}; }
    static std::pair<qint32, qint32> pair(qint32 state, qint32 detail) { return {state, detail}; }

    ProbeClock m_clock;
    QTemporaryDir m_dir;
    CAppData m_appData;
    CHarlPlayerXml m_players;
    CTransferStatusXml m_status;
    CSettingIni m_options;
    CDlkRequestList m_requests;
    FakeWorkerHub m_hub;
    CallbackLog m_log;
    std::mutex m_sleepStatesMutex;
    std::set<qint32> m_sleepStates;
    // Last, so that it is joined before the rest goes.
    CDlkTransferManager m_manager;
};

TEST_F(TransferManagerTest, EmptyPlayerListCompletesAfterTheWindowPhase)
{
    EXPECT_TRUE(runTransfer({}));
    const auto calls = m_log.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].code, DLK_CODE_NO_SEND_WAIT);
    EXPECT_EQ(calls[0].value, 0);
    EXPECT_EQ(calls[1].code, DLK_CODE_END);
    EXPECT_EQ(calls[1].value, 1);
    EXPECT_EQ(m_status.GetTransferState(), TRANSFER_STATE_COMPLETE);
    EXPECT_EQ(m_manager.GetResultState(), 0);
    EXPECT_FALSE(m_manager.IsRunning());
}

TEST_F(TransferManagerTest, NeverMoreWorkersThanMaxSession)
{
    addPlayers(12);
    setMaxSession(5);
    for (qint32 number = 1; number <= 12; ++number) {
        FakeWorkerPlan plan;
        plan.workMs = 5 + number % 4 * 5;
        // The first five end only once all five run, so the limit is reached
        // even when a slow machine lets a job end before the next is started.
        if (number <= 5)
            plan.beforeEnd = [this] { EXPECT_TRUE(m_hub.waitMaxActive(5)); };
        m_hub.setPlans(number, {plan});
    }
    // The manager sleeps only with every session busy or every player started:
    // a reaped worker's session goes to the next player at once.
    std::atomic<int> idleSleeps{0};
    m_clock.onSleep([this, &idleSleeps] {
        int started = 0;
        int running = 0;
        for (qint32 number = 1; number <= 12; ++number) {
            const qint32 state = sendStatus(number);
            started += state >= DLK_STATE_LIST_MADE ? 1 : 0;
            running += state == DLK_STATE_LIST_MADE ? 1 : 0;
        }
        if (running < 5 && started < 12)
            ++idleSleeps;
    });
    EXPECT_TRUE(runTransfer(playerNumbers()));

    EXPECT_EQ(idleSleeps.load(), 0);
    EXPECT_EQ(m_hub.maxActive(), 5);
    const std::vector<qint32> starts = m_hub.starts();
    EXPECT_EQ(starts, std::vector<qint32>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    for (qint32 number = 1; number <= 12; ++number) {
        EXPECT_EQ(sendStatus(number), DLK_STATE_DONE) << number;
        TransferStatusRecord record;
        ASSERT_TRUE(m_status.GetPlayerStatus(number, record));
        EXPECT_EQ(record.SendLastDateTime.year, 2026) << "a finished player gets its last send time";
    }
    // Each start and each reap names its player.
    EXPECT_EQ(m_log.count(DLK_CODE_PLAYER), 24);
    EXPECT_EQ(m_status.GetTransferState(), TRANSFER_STATE_COMPLETE);
}

TEST_F(TransferManagerTest, NoSendPeriodHoldsUntilItsEndHasPassed)
{
    addPlayers(1);
    m_clock.set(QDateTime(QDate(2026, 4, 1), QTime(23, 30, 0)));
    m_manager.SetTimeWindow(MakeTime(2000, 1, 1, 22, 0, 0), MakeTime(2000, 1, 1, 6, 0, 0));
    recordStatesWhileSleeping();
    EXPECT_TRUE(runTransfer(playerNumbers()));

    const std::vector<qint64> waits = m_log.values(DLK_CODE_NO_SEND_WAIT);
    ASSERT_EQ(waits.size(), 23401u);
    for (size_t i = 0; i < 23400; ++i)
        ASSERT_EQ(waits[i], qint64(23400 - i)) << i;
    EXPECT_EQ(waits.back(), 0) << "the last code 4 lets the pass begin";
    const auto startTimes = m_hub.startTimes();
    ASSERT_EQ(startTimes.size(), 1u);
    EXPECT_EQ(startTimes[0], QDateTime(QDate(2026, 4, 2), QTime(6, 0, 1)));
    EXPECT_TRUE(sawStateWhileSleeping(TRANSFER_STATE_NO_SEND_WAIT));
}

TEST_F(TransferManagerTest, EqualNoSendEndsNeverHold)
{
    addPlayers(1);
    m_clock.set(QDateTime(QDate(2026, 4, 1), QTime(10, 0, 0)));
    m_manager.SetTimeWindow(MakeTime(2000, 1, 1, 10, 0, 0), MakeTime(2000, 1, 1, 10, 0, 0));
    EXPECT_TRUE(runTransfer(playerNumbers()));
    EXPECT_EQ(m_log.values(DLK_CODE_NO_SEND_WAIT), std::vector<qint64>({0}));
    ASSERT_EQ(m_hub.startTimes().size(), 1u);
    EXPECT_EQ(m_hub.startTimes()[0], QDateTime(QDate(2026, 4, 1), QTime(10, 0, 0)));
}

TEST_F(TransferManagerTest, DelayedStartWaitsForTheNextDay)
{
    QTemporaryDir folder;
    const auto settings = OpenSystemIni(folder.path(), "[Option]\r\nAutoSend=1\r\nAutoSendStartTime=01:00:00\r\n");
    m_manager.SetSystemSettings(settings.get());

    addPlayers(1);
    m_clock.set(QDateTime(QDate(2026, 4, 1), QTime(13, 0, 0)));
    m_manager.SetDelayedStart(true);
    recordStatesWhileSleeping();
    EXPECT_TRUE(runTransfer(playerNumbers()));

    EXPECT_EQ(m_log.count(DLK_CODE_START_WAIT), 12 * 3600);
    EXPECT_TRUE(sawStateWhileSleeping(TRANSFER_STATE_START_WAIT));
    ASSERT_EQ(m_hub.startTimes().size(), 1u);
    EXPECT_EQ(m_hub.startTimes()[0], QDateTime(QDate(2026, 4, 2), QTime(1, 0, 0)));
}

TEST_F(TransferManagerTest, RetryPassSkipsDiskFullPlayersAndStillReportsThem)
{
    addPlayers(3);
    const FakeWorkerPlan done;
    // Ends only once the disk-full player has been reaped, so its failure is
    // the pass's first whatever the load on the machine.
    auto unreachable = FakeWorkerPlan::ending(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_NOT_FOUND);
    unreachable.beforeEnd = [this] {
        EXPECT_TRUE(m_log.waitUntil([this] { return sendStatus(3) == DLK_STATE_DISK_FULL; }));
    };
    m_hub.setPlans(1, {done});
    m_hub.setPlans(2, {unreachable, done});
    m_hub.setPlans(3, {FakeWorkerPlan::ending(DLK_STATE_DISK_FULL, DLK_DETAIL_DISK_FULL)});
    m_manager.SetPowerOn(true, 300);
    recordStatesWhileSleeping();
    const QDateTime began = m_clock.now();
    EXPECT_TRUE(runTransfer(playerNumbers())) << "the transfer was not stopped";

    EXPECT_EQ(m_hub.startCount(1), 2) << "players that succeeded are sent again";
    EXPECT_EQ(m_hub.startCount(2), 2);
    EXPECT_EQ(m_hub.startCount(3), 1) << "a disk-full player is skipped in later passes";
    EXPECT_TRUE(sawStateWhileSleeping(TRANSFER_STATE_RETRY_WAIT));

    // Between the passes: code 7 with the first failure, then -1 and 8.
    const auto calls = m_log.calls();
    auto retry = std::find_if(calls.begin(), calls.end(), [](const auto &call) { return call.code == DLK_CODE_RETRY; });
    ASSERT_NE(retry, calls.end());
    ASSERT_GE(retry - calls.begin(), 2);
    EXPECT_EQ((retry - 1)->code, DLK_CODE_PLAYER);
    EXPECT_EQ((retry - 1)->value, -1);
    EXPECT_EQ((retry - 2)->code, DLK_CODE_PASS_FAILED);
    EXPECT_EQ((retry - 2)->value, DLK_STATE_DISK_FULL);
    const auto secondStart = m_hub.startTimes()[3];
    EXPECT_GE(began.msecsTo(secondStart), 300 * 1000) << "the retry interval passes first";

    // The second pass succeeded for everyone it sent to, yet the transfer is
    // not complete: the disk-full player never received it.
    EXPECT_EQ(result(), pair(DLK_STATE_DISK_FULL, DLK_DETAIL_DISK_FULL));
    EXPECT_EQ(m_status.GetTransferState(), TRANSFER_STATE_ENDED_ERRORS);
    EXPECT_EQ(m_log.values(DLK_CODE_PASS_FAILED), std::vector<qint64>({DLK_STATE_DISK_FULL, DLK_STATE_DISK_FULL}));
    EXPECT_EQ(calls.back().code, DLK_CODE_END);
    EXPECT_EQ(calls.back().value, 0);
    EXPECT_EQ(sendStatus(1), DLK_STATE_DONE);
    EXPECT_EQ(sendStatus(2), DLK_STATE_DONE);
    EXPECT_EQ(sendStatus(3), DLK_STATE_DISK_FULL);
    EXPECT_EQ(m_status.GetSendRetryCount(2), 1) << "a failed player counts its retry";
    EXPECT_EQ(m_status.GetSendRetryCount(1), 0);
}

TEST_F(TransferManagerTest, StopDuringTheRetryWait)
{
    addPlayers(1);
    m_hub.setPlans(1, {FakeWorkerPlan::ending(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_SEND_ERROR)});
    m_manager.SetPowerOn(true, 3600);
    std::atomic<bool> stopped{false};
    m_clock.onSleep([&] {
        if (m_status.GetTransferState() == TRANSFER_STATE_RETRY_WAIT && !stopped.exchange(true))
            m_manager.Stop();
    });
    EXPECT_FALSE(runTransfer(playerNumbers()));

    EXPECT_TRUE(stopped);
    EXPECT_EQ(m_hub.startCount(1), 1);
    EXPECT_EQ(m_status.GetTransferState(), TRANSFER_STATE_STOPPED);
    EXPECT_EQ(m_manager.GetResultState(), DLK_STATE_STOPPED);
    EXPECT_EQ(m_log.calls().back().code, DLK_CODE_END);
    EXPECT_EQ(m_log.calls().back().value, 0);
    EXPECT_EQ(m_log.count(DLK_CODE_RETRY), 0);
}

TEST_F(TransferManagerTest, StopDuringSlowWorkEndsEveryWorker)
{
    addPlayers(4);
    for (qint32 number = 1; number <= 4; ++number)
        m_hub.setPlans(number, {FakeWorkerPlan::held()});
    ASSERT_TRUE(m_manager.StartTransfer(playerNumbers(), &m_requests));
    ASSERT_TRUE(m_hub.waitActive(4));
    m_manager.Stop();
    EXPECT_TRUE(m_log.waitEnd()) << "held workers end only when stopped";
    EXPECT_FALSE(m_manager.FinishTransfer());

    for (qint32 number = 1; number <= 4; ++number) {
        EXPECT_EQ(outcome(number), pair(DLK_STATE_STOPPED, 0)) << number;
    }
    EXPECT_EQ(m_status.GetTransferState(), TRANSFER_STATE_STOPPED);
    EXPECT_EQ(m_manager.GetResultState(), DLK_STATE_STOPPED);
    EXPECT_FALSE(m_manager.IsRunning());
}

TEST_F(TransferManagerTest, StopBeforeThePassBegins)
{
    addPlayers(1);
    m_clock.set(QDateTime(QDate(2026, 4, 1), QTime(23, 0, 0)));
    m_manager.SetTimeWindow(MakeTime(2000, 1, 1, 22, 0, 0), MakeTime(2000, 1, 1, 6, 0, 0));
    std::atomic<bool> stopped{false};
    m_clock.onSleep([&] {
        if (!stopped.exchange(true))
            m_manager.Stop();
    });
    EXPECT_FALSE(runTransfer(playerNumbers()));
    EXPECT_EQ(m_hub.startCount(1), 0);
    EXPECT_EQ(m_status.GetTransferState(), TRANSFER_STATE_STOPPED);
    EXPECT_EQ(m_log.calls().back().code, DLK_CODE_END);
    EXPECT_EQ(m_log.calls().back().value, 0);
}

TEST_F(TransferManagerTest, UnknownPlayerNumberEndsThePass)
{
    addPlayers(2);
    m_status.SetPlayers({1, 99, 2});
    m_hub.setPlans(1, {FakeWorkerPlan::held()});
    runTransfer({1, 99, 2});

    EXPECT_EQ(result(), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
    EXPECT_EQ(outcome(99), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
    EXPECT_EQ(sendStatus(1), DLK_STATE_STOPPED) << "running workers are stopped";
    EXPECT_EQ(sendStatus(2), 0) << "players after it are not started";
    EXPECT_EQ(m_log.values(DLK_CODE_PASS_FAILED), std::vector<qint64>({DLK_STATE_INTERNAL}));
    EXPECT_EQ(m_status.GetTransferState(), TRANSFER_STATE_ENDED_ERRORS);
}

TEST_F(TransferManagerTest, WorkerEndingWithoutAFinalStateCountsAsFailed)
{
    addPlayers(2);
    m_hub.setPlans(2, {FakeWorkerPlan::ending(DLK_STATE_LIST_MADE, 0)});
    runTransfer(playerNumbers());
    EXPECT_EQ(outcome(2), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
    EXPECT_EQ(m_manager.GetResultState(), DLK_STATE_INTERNAL);
    EXPECT_EQ(m_status.GetTransferState(), TRANSFER_STATE_ENDED_ERRORS);
    EXPECT_EQ(m_log.calls().back().value, 0);
}

TEST_F(TransferManagerTest, PlayerNameThatIsNotAFolderNameFailsOnlyThatPlayer)
{
    addPlayers(3);
    m_players.EditPlayers([](std::vector<PlayerRecord> &players) { players.at(1).Name = QStringLiteral("../Player1"); });
    runTransfer(playerNumbers());

    EXPECT_EQ(m_hub.startCount(2), 0);
    EXPECT_EQ(outcome(2), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
    EXPECT_EQ(sendStatus(1), DLK_STATE_DONE);
    EXPECT_EQ(sendStatus(3), DLK_STATE_DONE);
    EXPECT_EQ(m_manager.GetResultState(), DLK_STATE_INTERNAL);
    EXPECT_EQ(m_status.GetTransferState(), TRANSFER_STATE_ENDED_ERRORS);
}

TEST_F(TransferManagerTest, WorkerThatCannotStartEndsThePassWithItsOutcome)
{
    addPlayers(3);
    FakeWorkerPlan refused;
    refused.failStart = true;
    m_hub.setPlans(1, {FakeWorkerPlan::held()});
    m_hub.setPlans(2, {refused});
    runTransfer(playerNumbers());

    EXPECT_EQ(sendStatus(1), DLK_STATE_STOPPED);
    EXPECT_EQ(sendStatus(2), DLK_STATE_INTERNAL);
    EXPECT_EQ(sendStatus(3), 0);
    EXPECT_EQ(result(), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
}

TEST_F(TransferManagerTest, NoPlayerIsStartedWithoutThePlayerFolderRoot)
{
    addPlayers(2);
    CDlkTransferManager manager;
    manager.SetPlayerList(&m_players, QString());
    manager.SetStatusDocument(&m_status);
    manager.SetWorkerFactory(m_hub.factory());
    ASSERT_TRUE(manager.StartTransfer(playerNumbers(), &m_requests));
    EXPECT_TRUE(manager.FinishTransfer());
    EXPECT_EQ(m_hub.startCount(1), 0);
    EXPECT_EQ(outcome(1), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
    EXPECT_EQ(manager.GetResultState(), DLK_STATE_INTERNAL);
}

TEST_F(TransferManagerTest, SecondStartIsRefusedUntilFinished)
{
    addPlayers(1);
    m_hub.setPlans(1, {FakeWorkerPlan::held()});
    EXPECT_FALSE(m_manager.StartTransfer(playerNumbers(), nullptr));
    EXPECT_FALSE(m_manager.IsRunning());

    ASSERT_TRUE(m_manager.StartTransfer(playerNumbers(), &m_requests));
    ASSERT_TRUE(m_hub.waitActive(1));
    EXPECT_FALSE(m_manager.StartTransfer(playerNumbers(), &m_requests));
    EXPECT_TRUE(m_manager.IsRunning());
    m_manager.Stop();
    ASSERT_TRUE(m_log.waitEnd());
    EXPECT_TRUE(m_manager.IsRunning()) << "running until joined";
    EXPECT_FALSE(m_manager.FinishTransfer());
    EXPECT_FALSE(m_manager.IsRunning());
    EXPECT_TRUE(m_manager.FinishTransfer()) << "nothing left to join";
}

TEST_F(TransferManagerTest, WorkerNoticesAreRelayed)
{
    addPlayers(1);
    FakeWorkerPlan noisy;
    noisy.notices = {{DLK_NOTICE_UNITS_ADDED, 7}, {DLK_NOTICE_PLAYER, 0}, {DLK_NOTICE_UNIT_DONE, 0},
                     {DLK_NOTICE_UNITS_ADDED, 2}, {DLK_NOTICE_PLAYER, 0}, {DLK_NOTICE_UNIT_DONE, 0},
                     {DLK_NOTICE_EVENT7, 0},      {DLK_NOTICE_BYTES_SENT, 5000000000ull},
                     {DLK_NOTICE_JOB_END, 1}};
    m_hub.setPlans(1, {noisy});
    EXPECT_TRUE(runTransfer(playerNumbers()));

    EXPECT_EQ(m_log.values(DLK_CODE_PROGRESS), std::vector<qint64>({7, 9}));
    EXPECT_EQ(m_log.values(DLK_CODE_BEGIN_COUNT), std::vector<qint64>({1, 2}));
    EXPECT_EQ(m_log.values(DLK_CODE_EVENT7_COUNT), std::vector<qint64>({1}));
    // Start, two notices and the reap.
    EXPECT_EQ(m_log.values(DLK_CODE_PLAYER), std::vector<qint64>({0, 0, 0, 0}));
    EXPECT_EQ(m_log.calls().size(), 11u) << "byte counts and the job end are not relayed";
}

TEST_F(TransferManagerTest, WorkersGetThePortAndPasswordOfTheirRecord)
{
    addPlayers(2);
    SystemOptions options = m_options.Options();
    options.HttpPort = 5001;
    m_options.SetOptions(options);
    m_players.EditPlayers([](std::vector<PlayerRecord> &players) {
        players.at(0).Port = 8080;
        players.at(1).Pass.clear();
    });
    EXPECT_TRUE(runTransfer(playerNumbers()));

    EXPECT_EQ(m_hub.credentialsOf(1), std::make_pair(QStringLiteral("secret"), quint16(8080)));
    EXPECT_EQ(m_hub.credentialsOf(2), std::make_pair(DefaultPlayerUser(), quint16(5001)));
}

TEST_F(TransferManagerTest, WithoutStatusDocumentTheResultIsStillKept)
{
    addPlayers(2);
    m_manager.SetStatusDocument(nullptr);
    m_hub.setPlans(2, {FakeWorkerPlan::ending(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_DISCONNECT)});
    runTransfer(playerNumbers());
    EXPECT_EQ(result(), pair(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_DISCONNECT));
    EXPECT_EQ(m_log.count(DLK_CODE_PLAYER), 2) << "only the reaps name players without a document";
    EXPECT_EQ(sendStatus(2), 0);
}

} // namespace

namespace {

using TransferManagerWaits = TransferManagerTest;

TEST_F(TransferManagerWaits, TheRetryWaitSleepsInStepsNotMillisecondPolls)
{
    addPlayers(1);
    m_hub.setPlans(1, {FakeWorkerPlan::ending(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_SEND_ERROR), FakeWorkerPlan()});
    m_manager.SetPowerOn(true, 300);
    std::atomic<int> retrySleeps{0};
    m_clock.onSleep([&] {
        if (m_status.GetTransferState() == TRANSFER_STATE_RETRY_WAIT)
            ++retrySleeps;
    });
    const QDateTime began = m_clock.now();
    EXPECT_TRUE(runTransfer(playerNumbers()));
    EXPECT_EQ(m_hub.startCount(1), 2);
    EXPECT_GE(began.msecsTo(m_hub.startTimes()[1]), 300 * 1000);
    // Five minutes of waiting: a wake a second at most, not one a millisecond.
    EXPECT_LE(retrySleeps.load(), 305);
    EXPECT_GE(retrySleeps.load(), 1);
}

} // namespace
