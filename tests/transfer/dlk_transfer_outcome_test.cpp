// The (state, detail) pairs of failed commands and uploads, taken from the
// errors the HTTP client really reports against an emulated player, the
// reply-status rule, and what a stop request changes.

#include "worker_test_support.h"
#include "core/last_error.h"
#include "player/r40_request.h"
#include "support/emulated_player.h"
#include "support/loopback_socket.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_transfer.h"
#include "transfer/transfer_status_xml.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

namespace {

using Fault = EmulatedPlayer::Fault;

// Opens the outcome operations of the worker to the test.
class OutcomeProbe : public CDlkTransfer {
public:
    OutcomeProbe()
        : CDlkTransfer(nullptr, nullptr)
    {
    }
    using CDlkTransfer::checkReplyStatus;
    using CDlkTransfer::httpClient;
    using CDlkTransfer::setCommandError;
    using CDlkTransfer::setCommandReplyError;
    using CDlkTransfer::setCommandSendError;
    using CDlkTransfer::setErrorIndexSource;
    using CDlkTransfer::setSendFileError;
};

class TransferOutcomeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_player.start());
        m_status.SetPlayers({7});
        m_probe.SetStatusDocument(&m_status, 7);
        m_file = m_dir.filePath(QStringLiteral("A101000001.mpg"));
        QFile file(m_file);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(256 * 1024, 'v'));
    }

    // Initialises and connects the probe's client to a port of the player's address.
    void connectClient(quint16 port, const QString &password = QString::fromLatin1(EmulatedPlayer::kDefaultPassword),
                       quint32 transferTimeoutMs = 60000)
    {
        R40HttpParam param;
        param.mask = R40_PARAM_PORT | R40_PARAM_WORK_FOLDER | R40_PARAM_TRANSFER_TIMEOUT;
        param.port = port;
        param.workFolder = m_dir.path();
        param.transferTimeout = transferTimeoutMs;
        ASSERT_TRUE(m_probe.httpClient().SetParameter(param));
        ASSERT_TRUE(m_probe.httpClient().Init());
        ASSERT_TRUE(m_probe.httpClient().Connect(m_player.address(), QString::fromLatin1(EmulatedPlayer::kDefaultUser),
                                                 password));
    }

    // Sends SYST; true when the exchange worked.
    bool sendCommand()
    {
        CR40Request request(QStringLiteral("SYST"));
        return m_probe.httpClient().SendCommand(&request);
    }

    bool sendFile() { return m_probe.httpClient().SendFile(m_file, QStringLiteral("/import/video/A101000001.mpg"), 0); }

    std::pair<quint32, quint32> commandOutcome()
    {
        EXPECT_FALSE(sendCommand());
        m_probe.setCommandError();
        return outcome();
    }

    std::pair<quint32, quint32> uploadOutcome()
    {
        EXPECT_FALSE(sendFile());
        m_probe.setSendFileError(m_file, QStringLiteral("/import/video/A101000001.mpg"));
        return outcome();
    }

    // Runs call while another thread aborts the client after delayMs.
    template <typename Call>
    void abortDuring(Call call, int delayMs = 100)
    {
        std::thread stopper([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            m_probe.httpClient().Abort();
        });
        call();
        stopper.join();
    }

    std::pair<quint32, quint32> outcome() const { return {m_probe.GetState(), m_probe.GetDetail()}; }
    static std::pair<quint32, quint32> pair(quint32 state, quint32 detail) { return {state, detail}; }

    QTemporaryDir m_dir;
    QString m_file;
    EmulatedPlayer m_player;
    CTransferStatusXml m_status;
    OutcomeProbe m_probe;
};

TEST_F(TransferOutcomeTest, FailedCommands)
{
    connectClient(m_player.port(), QStringLiteral("wrong"));
    EXPECT_EQ(commandOutcome(), pair(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_PASSWORD));

    connectClient(m_player.port());
    m_player.setCommandFault(QStringLiteral("SYST"), Fault::httpStatus(500).once());
    EXPECT_EQ(commandOutcome(), pair(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_SEND_ERROR));

    connectClient(m_player.port(), QString::fromLatin1(EmulatedPlayer::kDefaultPassword), 300);
    m_player.setCommandFault(QStringLiteral("SYST"), Fault::stall().once());
    EXPECT_EQ(commandOutcome(), pair(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_TIMEOUT));

    m_player.clearFaults();
    connectClient(m_player.port());
    m_player.setCommandFault(QStringLiteral("SYST"), Fault::stall().once());
    abortDuring([&] { EXPECT_EQ(commandOutcome(), pair(DLK_STATE_STOPPED, 0)); });

    // A platform error of the link: nothing listens on the port any more.
    const RefusingPort closed(QStringLiteral("127.0.0.2"));
    ASSERT_NE(closed.port(), 0);
    connectClient(closed.port());
    EXPECT_EQ(commandOutcome(), pair(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_SEND_ERROR));

    // Another error of the client's own: no connection was set up.
    OutcomeProbe fresh;
    CR40Request request(QStringLiteral("SYST"));
    EXPECT_FALSE(fresh.httpClient().SendCommand(&request));
    fresh.setCommandError();
    EXPECT_EQ(std::make_pair(fresh.GetState(), fresh.GetDetail()), pair(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_INTERNAL));
}

TEST_F(TransferOutcomeTest, FailedUploads)
{
    connectClient(m_player.port(), QStringLiteral("wrong"));
    EXPECT_EQ(uploadOutcome(), pair(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_SEND_ERROR)) << "401 on an upload";

    connectClient(m_player.port());
    m_player.setUploadFault(Fault::reset(64 * 1024).once());
    EXPECT_EQ(uploadOutcome(), pair(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_DISCONNECT));

    connectClient(m_player.port(), QString::fromLatin1(EmulatedPlayer::kDefaultPassword), 300);
    m_player.setUploadFault(Fault::stall(64 * 1024).once());
    EXPECT_EQ(uploadOutcome(), pair(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_TIMEOUT));

    connectClient(m_player.port());
    m_player.setUploadFault(Fault::stall(64 * 1024).once());
    abortDuring([&] { EXPECT_EQ(uploadOutcome(), pair(DLK_STATE_STOPPED, 0)); });

    connectClient(m_player.port());
    m_player.setUploadFault(Fault::serr(122).once());
    EXPECT_EQ(uploadOutcome(), pair(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_INTERNAL)) << "an upload the player refused";

    QFile::remove(m_file);
    EXPECT_EQ(uploadOutcome(), pair(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_FILE_NOT_FOUND));
}

TEST_F(TransferOutcomeTest, StopRequestDecidesOnlyForCommands)
{
    // Hold the probe's own job in its ping, so that its stop flag is set
    // while the test uses the client.
    PingScript ping;
    ping.hold();
    m_probe.SetPingFactory(ping.factory());
    CDlkRequestList requests;
    ASSERT_TRUE(m_probe.StartTransfer(m_player.address(), QStringLiteral("u"), QStringLiteral("p"), m_player.port(), 0,
                                      &requests, 0));
    ASSERT_TRUE(ping.waitHeld());
    m_probe.Stop();

    const RefusingPort closed(QStringLiteral("127.0.0.2"));
    ASSERT_NE(closed.port(), 0);
    connectClient(closed.port());
    EXPECT_EQ(commandOutcome(), pair(DLK_STATE_STOPPED, 0)) << "a platform error after a stop is the stop";

    connectClient(m_player.port());
    m_player.setUploadFault(Fault::reset(64 * 1024).once());
    EXPECT_EQ(uploadOutcome(), pair(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_DISCONNECT))
        << "an upload maps the platform error by its code";

    ping.release(false);
    EXPECT_FALSE(m_probe.FinishTransfer());
    EXPECT_EQ(outcome(), pair(DLK_STATE_STOPPED, 0));
}

TEST_F(TransferOutcomeTest, ReplyStatusRule)
{
    connectClient(m_player.port());
    m_probe.setErrorIndexSource(101000001);
    CR40Request pass(QStringLiteral("SYST"));
    ASSERT_TRUE(m_probe.httpClient().SendCommand(&pass));
    EXPECT_TRUE(m_probe.checkReplyStatus(pass));

    m_player.setCommandFault(QStringLiteral("SYST"), Fault::serr(100).once());
    CR40Request notStarted(QStringLiteral("SYST"));
    ASSERT_TRUE(m_probe.httpClient().SendCommand(&notStarted));
    EXPECT_FALSE(m_probe.checkReplyStatus(notStarted));
    EXPECT_EQ(outcome(), pair(DLK_STATE_COMMAND_FAILED, 100));
    TransferStatusRecord record;
    ASSERT_TRUE(m_status.GetPlayerStatus(7, record));
    EXPECT_EQ(record.SendSts, DLK_STATE_COMMAND_FAILED);
    EXPECT_EQ(record.ErrorCode, 100);
    EXPECT_EQ(record.ErrorIndex, 101000001);
    EXPECT_EQ(m_probe.GetErrorIndex(), 101000001);

    m_player.setCommandFault(QStringLiteral("SYST"), Fault::serr(115).once());
    CR40Request missing(QStringLiteral("SYST"));
    ASSERT_TRUE(m_probe.httpClient().SendCommand(&missing));
    EXPECT_FALSE(m_probe.checkReplyStatus(missing));
    EXPECT_EQ(outcome(), pair(DLK_STATE_COMMAND_FAILED, 115));

    m_player.setCommandFault(QStringLiteral("SYST"), Fault::notXml().once());
    CR40Request garbled(QStringLiteral("SYST"));
    ASSERT_TRUE(m_probe.httpClient().SendCommand(&garbled));
    EXPECT_FALSE(m_probe.checkReplyStatus(garbled));
    EXPECT_EQ(outcome(), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));

    m_probe.setErrorIndexSource(-1);
    m_probe.setCommandSendError(ERROR_INVALID_PARAMETER);
    EXPECT_EQ(outcome(), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
    EXPECT_EQ(m_status.GetSendStatus(7), DLK_STATE_INTERNAL);
    ASSERT_TRUE(m_status.GetPlayerStatus(7, record));
    EXPECT_EQ(record.ErrorIndex, -1);
}

} // namespace
