// The HTTP client against the emulated player: replies, error mapping, time-out,
// abort, uploads with append, progress reports and file replies.

#include "core/last_error.h"
#include "player/nlog_command.h"
#include "player/r40_http.h"
#include "player/r40_request.h"
#include "connected_client.h"
#include "support/connection_use.h"
#include "support/loopback_socket.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>

#include <thread>

namespace {

using Fault = EmulatedPlayer::Fault;

class R40HttpTest : public ConnectedClientTest {
protected:
    void setTransferTimeout(quint32 ms)
    {
        R40HttpParam param;
        param.mask = R40_PARAM_TRANSFER_TIMEOUT;
        param.transferTimeout = ms;
        ASSERT_TRUE(m_http.SetParameter(param));
    }

    QString makeFile(const QString &name, qint64 size)
    {
        QByteArray data(size, Qt::Uninitialized);
        QRandomGenerator generator(42);
        for (qint64 i = 0; i < size; ++i)
            data[i] = char(generator.bounded(256));
        const QString path = m_work.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        return path;
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Runs call on this thread and aborts the client from another after
    // delayMs; an abort that comes before the call starts ends it as well.
    template <typename Call>
    void abortAfter(int delayMs, Call call, bool *result)
    {
        std::thread stopper([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            m_http.Abort();
        });
        *result = call();
        stopper.join();
    }

};

TEST_F(R40HttpTest, CommandReplyIsAnalysed)
{
    CR40Request request(QStringLiteral("SYST"));
    ASSERT_TRUE(m_http.SendCommand(&request));
    EXPECT_EQ(request.GetStatus(), R40_REPLY_PASS);
    EXPECT_EQ(request.GetResultString(), QStringLiteral("1.23"));
    int code = -1;
    EXPECT_FALSE(request.GetErrorCode(code));

    const auto seen = m_player.requests(QStringLiteral("SYST"));
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].user, QString::fromLatin1(EmulatedPlayer::kDefaultUser));
    EXPECT_EQ(seen[0].method, QStringLiteral("GET"));
}

TEST_F(R40HttpTest, ConnectionIsReusedUntilInit)
{
    CR40Request request(QStringLiteral("SYST"));
    const QString local = makeFile(QStringLiteral("reuse.bin"), 100000);
    ASSERT_TRUE(m_http.SendCommand(&request));
    ASSERT_TRUE(m_http.SendFile(local, QStringLiteral("/import/still/A201000001.jpg"), 0));
    ASSERT_TRUE(m_http.SendCommand(&request));
    ASSERT_TRUE(m_http.Init());
    ASSERT_TRUE(connect());
    ASSERT_TRUE(m_http.SendCommand(&request));
    const auto seen = m_player.requests();
    ASSERT_EQ(seen.size(), 4);
    EXPECT_EQ(seen[1].remotePort, seen[0].remotePort);
    EXPECT_EQ(seen[2].remotePort, seen[0].remotePort);
    EXPECT_NE(seen[3].remotePort, seen[0].remotePort);
}

TEST_F(R40HttpTest, SerrReplyCarriesCodeAndDescription)
{
    m_player.setCommandFault(QStringLiteral("SYST"), Fault::serr(100));
    CR40Request request(QStringLiteral("SYST"));
    ASSERT_TRUE(m_http.SendCommand(&request));
    EXPECT_EQ(request.GetStatus(), R40_REPLY_SERR);
    int code = 0;
    ASSERT_TRUE(request.GetErrorCode(code));
    EXPECT_EQ(code, 100);
    EXPECT_EQ(request.GetDescription(), QStringLiteral("injected fault"));
}

TEST_F(R40HttpTest, HttpStatusesAreErrorsNotSuccess)
{
    m_player.setCredentials(QString::fromLatin1(EmulatedPlayer::kDefaultUser), QStringLiteral("other"));
    CR40Request request(QStringLiteral("SYST"));
    EXPECT_FALSE(m_http.SendCommand(&request));
    EXPECT_EQ(m_http.GetLastError(), R40_ERROR_HTTP_STATUS + 401);
    EXPECT_EQ(GetLastError(), R40_ERROR_HTTP_STATUS + 401);

    const QString local = makeFile(QStringLiteral("small.bin"), 1000);
    EXPECT_FALSE(m_http.SendFile(local, QStringLiteral("/import/video/A101000001.mpg"), 0));
    EXPECT_EQ(m_http.GetLastError(), R40_ERROR_HTTP_STATUS + 401);
    EXPECT_FALSE(m_player.hasFile(QStringLiteral("/import/video/A101000001.mpg")));

    m_player.setCredentials(QString::fromLatin1(EmulatedPlayer::kDefaultUser), QString::fromLatin1(EmulatedPlayer::kDefaultPassword));
    m_player.setCommandFault(QStringLiteral("DRST"), Fault::httpStatus(500));
    CR40Request disk(QStringLiteral("DRST"));
    EXPECT_FALSE(m_http.SendCommand(&disk));
    EXPECT_EQ(m_http.GetLastError(), R40_ERROR_HTTP_STATUS + 500);
}

TEST_F(R40HttpTest, ReplyThatIsNotAStatusDocumentOrIsHostileFailsAnalysis)
{
    // A status document that would pass but for an element of many
    // attributes or a DTD declaring default attributes.
    QByteArray attributes;
    for (int i = 0; i < 2000; ++i)
        attributes += " a" + QByteArray::number(i) + "='x'";
    const QByteArray body = "<status>PASS</status><code>0</code><description>OK</description></response>";
    const QByteArray manyAttributes = "<?xml version=\"1.0\"?><response" + attributes + ">" + body;
    const QByteArray declared = "<?xml version=\"1.0\"?><!DOCTYPE response [<!ATTLIST response" + QByteArray(attributes).replace("='x'", " CDATA 'x'") + ">]><response>" + body;
    CR40Request request(QStringLiteral("SYST"));
    for (const Fault &fault : {Fault::notXml(), Fault::reply(manyAttributes), Fault::reply(declared)}) {
        m_player.setCommandFault(QStringLiteral("SYST"), fault);
        EXPECT_TRUE(m_http.SendCommand(&request));
        EXPECT_EQ(request.GetStatus(), R40_REPLY_NONE);
        EXPECT_EQ(request.GetError(), R40_ERROR_ANALYZE);
    }

    // The next good reply clears the analysis error.
    m_player.clearFaults();
    EXPECT_TRUE(m_http.SendCommand(&request));
    EXPECT_EQ(request.GetStatus(), R40_REPLY_PASS);
    EXPECT_EQ(request.GetError(), 0u);
}

TEST_F(R40HttpTest, StalledReplyTimesOut)
{
    setTransferTimeout(300);
    m_player.setCommandFault(QStringLiteral("SYST"), Fault::stall());
    CR40Request request(QStringLiteral("SYST"));
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(m_http.SendCommand(&request));
    EXPECT_EQ(m_http.GetLastError(), R40_ERROR_TIMEOUT);
    // The time-out set, not the default one, ended the wait.
    EXPECT_LT(timer.elapsed(), qint64(R40HttpParam().transferTimeout));
}

TEST_F(R40HttpTest, AbortEndsSlowReplyAndStaysUntilInit)
{
    m_player.setCommandFault(QStringLiteral("SYST"), Fault::stall());
    CR40Request request(QStringLiteral("SYST"));
    bool sent = true;
    abortAfter(200, [&] { return m_http.SendCommand(&request); }, &sent);
    EXPECT_FALSE(sent);
    EXPECT_EQ(m_http.GetLastError(), R40_ERROR_STOPPED);
    EXPECT_FALSE(m_http.IsBusy());

    // An abort also ends calls that start after it, until the client is set up again.
    m_player.clearFaults();
    EXPECT_FALSE(m_http.SendCommand(&request));
    EXPECT_EQ(m_http.GetLastError(), R40_ERROR_STOPPED);
    ASSERT_TRUE(m_http.Init());
    ASSERT_TRUE(connect());
    EXPECT_TRUE(m_http.SendCommand(&request));
}

TEST_F(R40HttpTest, StalledUploadTimesOut)
{
    setTransferTimeout(300);
    const QString local = makeFile(QStringLiteral("stall.bin"), 8 * 1024 * 1024);
    m_player.setUploadFault(Fault::stall(512 * 1024));
    EXPECT_FALSE(m_http.SendFile(local, QStringLiteral("/import/video/A101000001.mpg"), 0));
    EXPECT_EQ(m_http.GetLastError(), R40_ERROR_TIMEOUT);
}

TEST_F(R40HttpTest, AbortEndsUpload)
{
    const QString local = makeFile(QStringLiteral("large.bin"), 8 * 1024 * 1024);
    m_player.setUploadFault(Fault::stall(1024 * 1024));
    bool sent = true;
    abortAfter(300, [&] { return m_http.SendFile(local, QStringLiteral("/import/video/A101000001.mpg"), 0); }, &sent);
    EXPECT_FALSE(sent);
    EXPECT_EQ(m_http.GetLastError(), R40_ERROR_STOPPED);
}

TEST_F(R40HttpTest, UploadStoresFileAndAppendResumesByteExact)
{
    const QString local = makeFile(QStringLiteral("movie.mpg"), 3 * 1024 * 1024 + 17);
    const QString remote = QStringLiteral("/import/video/A101000001.mpg");

    // A reset after the first megabyte leaves a partial copy on the player.
    m_player.setUploadFault(Fault::reset(1024 * 1024).once());
    EXPECT_FALSE(m_http.SendFile(local, remote, 0));
    const quint32 error = m_http.GetLastError();
    EXPECT_TRUE(error == INET_ERROR_CONNECTION_RESET || error == INET_ERROR_CONNECTION_ABORTED) << error;
    const QByteArray partial = m_player.file(remote);
    ASSERT_EQ(partial.size(), 1024 * 1024);

    ASSERT_TRUE(m_http.SendFile(local, remote, quint64(partial.size())));
    EXPECT_EQ(m_player.file(remote), contents(local));
    // The player may log the cut upload after the resumed one: find the resume by its parameter.
    const auto uploads = m_player.requests();
    const auto resumed = std::find_if(uploads.cbegin(), uploads.cend(), [](const auto &request) {
        return !request.parameter(QStringLiteral("append")).isEmpty();
    });
    ASSERT_NE(resumed, uploads.cend());
    EXPECT_EQ(resumed->parameter(QStringLiteral("append")), QString::number(partial.size()));
    EXPECT_EQ(resumed->bodyBytes, contents(local).size() - partial.size());

    // A whole upload replaces the player's copy.
    const QString shorter = makeFile(QStringLiteral("short.mpg"), 100);
    ASSERT_TRUE(m_http.SendFile(shorter, remote, 0));
    EXPECT_EQ(m_player.file(remote), contents(shorter));
}

TEST_F(R40HttpTest, UploadFailuresAreReported)
{
    const QString local = makeFile(QStringLiteral("a.jpg"), 5000);
    EXPECT_FALSE(m_http.SendFile(local, QStringLiteral("/etc/passwd"), 0));
    EXPECT_EQ(m_http.GetLastError(), R40_ERROR_UPLOAD_REFUSED);
    EXPECT_FALSE(m_http.SendFile(local, QStringLiteral("/import/../outside.jpg"), 0));
    EXPECT_EQ(m_http.GetLastError(), R40_ERROR_UPLOAD_REFUSED);

    EXPECT_FALSE(m_http.SendFile(m_work.filePath(QStringLiteral("missing.jpg")), QStringLiteral("/import/still/A.jpg"), 0));
    EXPECT_EQ(m_http.GetLastError(), quint32(ERROR_FILE_NOT_FOUND));

    EXPECT_FALSE(m_http.SendFile(local, QStringLiteral("/import/still/A.jpg"), 5001));
    EXPECT_EQ(m_http.GetLastError(), quint32(ERROR_INVALID_PARAMETER));

    m_player.setUploadFault(Fault::diskFull(1000));
    EXPECT_FALSE(m_http.SendFile(local, QStringLiteral("/import/still/A.jpg"), 0));
    EXPECT_EQ(m_http.GetLastError(), R40_ERROR_UPLOAD_REFUSED);
}

TEST_F(R40HttpTest, MakeDirectoryCreatesFolder)
{
    ASSERT_TRUE(m_http.MakeDirectory(QStringLiteral("/import/web/A401000001/img")));
    EXPECT_TRUE(QDir(m_player.rootFolder() + QStringLiteral("/import/web/A401000001/img")).exists());
    EXPECT_EQ(m_player.requests().last().parameter(QStringLiteral("mkdir")), QStringLiteral("1"));
}

TEST_F(R40HttpTest, ProgressReportsAddUpToTheBytesMoved)
{
    struct Totals {
        quint64 sent = 0;
        quint64 received = 0;
    } totals;
    m_http.EnableCallback(true, [](void *context, int kind, quint64 amount) {
        auto *sums = static_cast<Totals *>(context);
        (kind == R40_PROGRESS_SENT ? sums->sent : sums->received) += amount;
    }, &totals);

    const qint64 size = 2 * 1024 * 1024 + 5;
    const QString local = makeFile(QStringLiteral("b.bin"), size);
    ASSERT_TRUE(m_http.SendFile(local, QStringLiteral("/import/aud/A601000001.mp3"), 0));
    EXPECT_EQ(totals.sent, quint64(size));
    ASSERT_TRUE(m_http.SendFile(local, QStringLiteral("/import/aud/A601000001.mp3"), 1000));
    EXPECT_EQ(totals.sent, quint64(size + size - 1000));

    m_player.setLogFile(QStringLiteral("syslog.cab"), QByteArray(300000, 'x'));
    totals.received = 0;
    CNlogCommand download;
    ASSERT_TRUE(download.MakeRequest(m_work.filePath(QStringLiteral("logs/player1"))));
    ASSERT_TRUE(m_http.SendCommand(&download));
    EXPECT_EQ(totals.received, 300000u);

    m_http.EnableCallback(false, nullptr, nullptr);
    ASSERT_TRUE(m_http.SendFile(local, QStringLiteral("/import/aud/A601000001.mp3"), 0));
    EXPECT_EQ(totals.sent, quint64(size + size - 1000));
}

TEST_F(R40HttpTest, ParametersAreCheckedAndKeptWhenRefused)
{
    R40HttpParam good;
    good.mask = R40_PARAM_CONNECT_TIMEOUT | R40_PARAM_TRANSFER_TIMEOUT | R40_PARAM_SEND_BUFFER | R40_PARAM_RECEIVE_BUFFER;
    good.connectTimeout = kR40MaxTimeoutMs;
    good.transferTimeout = 0;
    good.sendBufferSize = 1;
    good.receiveBufferSize = kR40MaxBufferKiB;
    ASSERT_TRUE(m_http.SetParameter(good));

    const R40HttpParam before = m_http.GetParameter();
    EXPECT_EQ(before.mask, quint32(R40_PARAM_ALL));
    EXPECT_EQ(before.connectTimeout, kR40MaxTimeoutMs);
    EXPECT_EQ(before.port, m_player.port());

    const auto refused = [&](R40HttpParam param) {
        EXPECT_FALSE(m_http.SetParameter(param));
        EXPECT_EQ(m_http.GetLastError(), R40_ERROR_BAD_PARAMETER);
        const R40HttpParam after = m_http.GetParameter();
        EXPECT_EQ(after.port, before.port);
        EXPECT_EQ(after.connectTimeout, before.connectTimeout);
        EXPECT_EQ(after.sendBufferSize, before.sendBufferSize);
    };
    R40HttpParam bad;
    bad.mask = R40_PARAM_PORT | R40_PARAM_CONNECT_TIMEOUT;
    bad.port = 80;
    bad.connectTimeout = kR40MaxTimeoutMs + 1;
    refused(bad);
    bad.mask = R40_PARAM_SEND_BUFFER;
    bad.sendBufferSize = 0;
    refused(bad);
    bad.mask = R40_PARAM_RECEIVE_BUFFER;
    bad.receiveBufferSize = kR40MaxBufferKiB + 1;
    refused(bad);
    bad.mask = R40_PARAM_PORT;
    bad.port = 0;
    refused(bad);
}

TEST_F(R40HttpTest, LinkFailuresUseNetworkErrorNumbers)
{
    // A port where nothing listens on the player's address.
    const RefusingPort closed(QStringLiteral("127.0.0.3"));
    ASSERT_NE(closed.port(), 0);
    R40HttpParam param;
    param.mask = R40_PARAM_PORT;
    param.port = closed.port();
    ASSERT_TRUE(m_http.SetParameter(param));
    ASSERT_TRUE(m_http.Connect(QStringLiteral("127.0.0.3"), QStringLiteral("u"), QStringLiteral("p")));
    CR40Request request(QStringLiteral("SYST"));
    EXPECT_FALSE(m_http.SendCommand(&request));
    EXPECT_EQ(m_http.GetLastError(), quint32(INET_ERROR_CANNOT_CONNECT));

    EXPECT_FALSE(m_http.Connect(QStringLiteral("127.0.0.1/command.php?"), QStringLiteral("u"), QStringLiteral("p")));
    EXPECT_EQ(m_http.GetLastError(), quint32(ERROR_INVALID_PARAMETER));

    CR40Http fresh;
    EXPECT_FALSE(fresh.SendCommand(&request));
    EXPECT_EQ(fresh.GetLastError(), R40_ERROR_NOT_CONNECTED);
}

TEST_F(R40HttpTest, ResetInTheMiddleOfAReplyIsADroppedConnection)
{
    m_player.setCommandFault(QStringLiteral("SYST"), Fault::reset());
    CR40Request request(QStringLiteral("SYST"));
    EXPECT_FALSE(m_http.SendCommand(&request));
    const quint32 error = m_http.GetLastError();
    EXPECT_TRUE(error == INET_ERROR_CONNECTION_RESET || error == INET_ERROR_CONNECTION_ABORTED) << error;
}

} // namespace

TEST_F(R40HttpTest, RequestsLostToAKeptAliveConnectionClosingAreSentAgainOnceOnAFreshOne)
{
    // The player closes every kept-alive connection just as the next request
    // arrives on it: each request is lost once and must go out again, once,
    // on a new connection; a command that acts between them goes out on a
    // connection of its own, closed after its answer, so that a request sent
    // again is never lost a second time on it.
    m_player.setCommandFault(QStringLiteral("*"), Fault::dropReused());
    m_player.setUploadFault(Fault::dropReused());
    CR40Request request(QStringLiteral("SYST"));
    CR40Request play(QStringLiteral("PLPL"));
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(m_http.SendCommand(&request)) << i << ": " << m_http.GetLastError();
        EXPECT_EQ(request.GetStatus(), R40_REPLY_PASS);
    }
    // Small enough to be sent whole before the loss shows, and large enough
    // to be lost while it is sent.
    const QString small = makeFile(QStringLiteral("still.jpg"), 1000);
    const QString local = makeFile(QStringLiteral("clip.mpg"), 8 << 20);
    const QString remote = QStringLiteral("/import/video/A101000001.mpg");
    for (const QString &file : {small, local, local}) {
        ASSERT_TRUE(m_http.SendCommand(&play)) << m_http.GetLastError();
        ASSERT_TRUE(m_http.SendFile(file, remote, 0)) << m_http.GetLastError();
        EXPECT_EQ(m_player.file(remote), contents(file));
        ASSERT_TRUE(m_http.SendCommand(&play)) << m_http.GetLastError();
        ASSERT_TRUE(m_http.SendCommand(&request)) << m_http.GetLastError();
    }
    // An append goes out again from its own offset.
    ASSERT_TRUE(m_http.SendFile(local, remote, 1000)) << m_http.GetLastError();
    EXPECT_EQ(m_player.file(remote), contents(local));
    ASSERT_TRUE(m_http.MakeDirectory(QStringLiteral("/import/web/A401000001"))) << m_http.GetLastError();
    ExpectConnectionsAsDocumented(m_player.requests());
    EXPECT_EQ(m_player.requests(QStringLiteral("PLPL")).size(), 6);
}

TEST_F(R40HttpTest, CommandsThatActAreNeverSentTwiceWhileLostQueriesAreSentAgain)
{
    // The player carries out every request that arrives on a kept-alive
    // connection and then closes it unanswered: only the answer is lost.
    m_player.setCommandFault(QStringLiteral("*"), Fault::actThenDropReused());
    CR40Request query(QStringLiteral("SYST"));
    ASSERT_TRUE(m_http.SendCommand(&query)) << m_http.GetLastError();
    for (const QString code : {"RSET", "PLPL", "PLCL", "SPPL", "RMCL", "RMPL", "LCNF", "COMC", "DATE"}) {
        CR40Request command(code);
        EXPECT_TRUE(m_http.SendCommand(&command)) << code.toStdString() << ": " << m_http.GetLastError();
        // The query after it goes out on the kept-alive connection, is lost
        // and is sent again.
        ASSERT_TRUE(m_http.SendCommand(&query)) << m_http.GetLastError();
        EXPECT_EQ(query.GetStatus(), R40_REPLY_PASS);
        EXPECT_EQ(m_player.requests(code).size(), 1) << code.toStdString();
    }
    ExpectConnectionsAsDocumented(m_player.requests());
    EXPECT_EQ(m_player.requests(QStringLiteral("SYST")).size(), 1 + 2 * 9);
}
