// Status and log jobs against an emulated player: the system and disk values
// in the status document, the findings against the player record (serial,
// widened time zone, resolution, summer time by version, software version,
// fans and temperatures), a job without a status document, and the log
// download with the client's time-out put back afterwards.

#include "job_test_fixture.h"

#include "player/dlk_request_log.h"
#include "player/dlk_request_status.h"

#include <QDir>
#include <QFile>

namespace {

using Fault = EmulatedPlayer::Fault;

class StatusJobTest : public JobTest {
protected:
    void SetUp() override
    {
        JobTest::SetUp();
        m_player.setSystemValue(QStringLiteral("version"), QStringLiteral("1.23"));
        m_player.setSystemValue(QStringLiteral("datetime"), QStringLiteral("2026-04-01 12:34:56.789"));
        m_player.setSystemValue(QStringLiteral("serial"), QStringLiteral("R40-0001"));
        m_player.setSystemValue(QStringLiteral("timezone"), QStringLiteral("GMT -9:00"));
        m_player.setSystemValue(QStringLiteral("summertime"), QStringLiteral("1"));
        m_player.setSystemValue(QStringLiteral("resolution"), QStringLiteral("1920x1080"));
        m_player.setSystemValue(QStringLiteral("ntp"), QStringLiteral("2"));
        for (const char *sensor : {"fan1", "fan2", "temp1", "temp2"})
            m_player.setSystemValue(QString::fromLatin1(sensor), QStringLiteral("0"));
        m_player.setDisk(1000, 400, 5000, 1200);
        PlayerRecord player = record();
        player.Serial = QStringLiteral("R40-0001");
        player.TimeZone = QStringLiteral("GMT -09:00");
        player.SummerTime = true;
        player.Resolution = QStringLiteral("1920x1080");
        setRecord(player);
    }

    std::pair<quint32, quint32> runStatus(int expectedVersion = 123)
    {
        const CDlkRequestStatus request(expectedVersion);
        m_requests.RemoveAll();
        EXPECT_TRUE(m_requests.Add(&request));
        auto worker = makeWorker();
        runJob(*worker);
        return outcome(*worker);
    }

    TransferStatusRecord status() const
    {
        TransferStatusRecord record;
        EXPECT_TRUE(m_status.GetPlayerStatus(kPlayerNumber, record));
        return record;
    }
};

TEST_F(StatusJobTest, ThePlayersValuesGoToTheStatusDocument)
{
    EXPECT_EQ(runStatus(), pair(DLK_STATE_DONE, 0)) << "a one-digit hour of a western zone matches after widening";
    const TransferStatusRecord record = status();
    EXPECT_EQ(record.R40Version, QStringLiteral("1.23"));
    EXPECT_EQ(record.R40Serial, QStringLiteral("R40-0001"));
    EXPECT_EQ(record.R40TimeZone, QStringLiteral("GMT -9:00")) << "the document keeps the player's own text";
    EXPECT_TRUE(record.R40SummerTime);
    EXPECT_EQ(record.R40Resolution, QStringLiteral("1920x1080"));
    EXPECT_EQ(record.R40NtpStatus, 2);
    EXPECT_EQ(record.R40DateTime.hour, 12);
    EXPECT_EQ(record.R40DateTime.milliseconds, 789);
    EXPECT_EQ(record.TotalHdd, 1000u);
    EXPECT_EQ(record.RemainHdd, 400u);
    EXPECT_EQ(record.TotalHddAV, 5000u);
    EXPECT_EQ(record.RemainHddAV, 1200u);
}

TEST_F(StatusJobTest, DifferencesFromThePlayerRecordAreFindings)
{
    PlayerRecord player = record();
    player.Serial = QStringLiteral("R40-0002");
    setRecord(player);
    EXPECT_EQ(runStatus(), pair(DLK_STATE_DONE, DLK_DETAIL_PLAYER_CHANGED));
    player.Serial = QStringLiteral("R40-0001");
    player.Resolution = QStringLiteral("1280x720");
    setRecord(player);
    EXPECT_EQ(runStatus(), pair(DLK_STATE_DONE, DLK_DETAIL_PLAYER_CHANGED));
    // A reply without a resolution is not compared.
    m_player.setSystemValue(QStringLiteral("resolution"), QString());
    EXPECT_EQ(runStatus(), pair(DLK_STATE_DONE, 0));

    player.SummerTime = false;
    setRecord(player);
    EXPECT_EQ(runStatus(), pair(DLK_STATE_DONE, DLK_DETAIL_PLAYER_CHANGED));
    m_player.setSystemValue(QStringLiteral("version"), QStringLiteral("1.10"));
    EXPECT_EQ(runStatus(110), pair(DLK_STATE_DONE, 0)) << "summer time is not compared up to version 1.10";
    EXPECT_EQ(runStatus(123), pair(DLK_STATE_DONE, DLK_DETAIL_VERSION_CHANGED));

    player.TimeZone = QStringLiteral("GMT +09:00");
    setRecord(player);
    m_player.setSystemValue(QStringLiteral("timezone"), QStringLiteral("GMT +9:00"));
    EXPECT_EQ(runStatus(110), pair(DLK_STATE_DONE, DLK_DETAIL_PLAYER_CHANGED)) << "only western zones are widened";
    m_player.setSystemValue(QStringLiteral("timezone"), QStringLiteral("GMT +09:00"));
    EXPECT_EQ(runStatus(110), pair(DLK_STATE_DONE, 0));
}

TEST_F(StatusJobTest, FanAndTemperatureFailures)
{
    m_player.setSystemValue(QStringLiteral("fan2"), QStringLiteral("2"));
    m_player.setSystemValue(QStringLiteral("temp1"), QStringLiteral("2"));
    EXPECT_EQ(runStatus(), pair(DLK_STATE_DONE, DLK_DETAIL_FAN));
    EXPECT_EQ(status().R40Serial, QStringLiteral("R40-0001")) << "the values are written before the checks";
    EXPECT_TRUE(m_player.requests(QStringLiteral("DRST")).isEmpty());

    m_player.setSystemValue(QStringLiteral("fan2"), QStringLiteral("1"));
    EXPECT_EQ(runStatus(), pair(DLK_STATE_DONE, DLK_DETAIL_TEMPERATURE)) << "a warning is not a failure";
}

TEST_F(StatusJobTest, WithoutAStatusDocumentTheJobFailsWithItsOwnPair)
{
    const CDlkRequestStatus request(123);
    ASSERT_TRUE(m_requests.Add(&request));
    auto worker = makeWorker();
    worker->SetStatusDocument(nullptr, kPlayerNumber);
    EXPECT_TRUE(runJob(*worker));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
    EXPECT_TRUE(m_player.requests(QStringLiteral("SYST")).isEmpty());
}

TEST_F(StatusJobTest, TheLogIsDownloadedIntoAFolderOfThePlayersName)
{
    m_player.setLogFile(QStringLiteral("syslog_20260401.cab"), QByteArray("MSCF log bytes"));
    const QString target = m_dir.filePath(QStringLiteral("Logs"));
    const CDlkRequestLog request(target);
    ASSERT_TRUE(m_requests.Add(&request));
    auto worker = makeWorker();
    EXPECT_TRUE(runJob(*worker));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_DONE, 0));
    QFile log(QDir(target).filePath(QStringLiteral("Lobby/syslog_20260401.cab")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), QByteArray("MSCF log bytes"));
    EXPECT_EQ(worker->httpClient().GetParameter().transferTimeout, 60000u);
}

TEST_F(StatusJobTest, TheTimeOutIsPutBackAfterAFailedDownload)
{
    const CDlkRequestLog request(m_dir.filePath(QStringLiteral("Logs")));
    ASSERT_TRUE(m_requests.Add(&request));
    auto worker = makeWorker();
    R40HttpParam param;
    param.mask = R40_PARAM_TRANSFER_TIMEOUT;
    param.transferTimeout = 1000;
    ASSERT_TRUE(worker->httpClient().SetParameter(param));

    m_player.setCommandFault(QStringLiteral("NLOG"), Fault::serr(101));
    EXPECT_TRUE(runJob(*worker));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_COMMAND_FAILED, 101u));
    EXPECT_EQ(worker->httpClient().GetParameter().transferTimeout, 1000u);

    // A stall longer than the job's time-out but shorter than the log's
    // still delivers the log.
    m_player.setCommandFault(QStringLiteral("NLOG"), Fault::delay(1500));
    auto patient = makeWorker();
    ASSERT_TRUE(patient->httpClient().SetParameter(param));
    EXPECT_TRUE(runJob(*patient));
    EXPECT_EQ(outcome(*patient), pair(DLK_STATE_DONE, 0));
    EXPECT_EQ(patient->httpClient().GetParameter().transferTimeout, 1000u);
}

} // namespace
