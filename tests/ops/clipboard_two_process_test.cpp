// Copied lists and schedules travel between two running copies of the
// program. The offscreen platform keeps its clipboard inside one process, so
// these tests start a private X server and run the copying and the pasting
// side as two processes of clipboard_peer on it.
#include <QProcess>
#include <QProcessEnvironment>

#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace {

// Only a guard against a hung child; every wait ends on the child's own
// output or exit long before it.
constexpr int kHangGuardMs = 30000;

QString firstLine(QByteArray output)
{
    const qsizetype end = output.indexOf('\n');
    return QString::fromUtf8(end < 0 ? output : output.left(end)).trimmed();
}

// Waits until the process has written a whole line or has ended.
void waitForLine(QProcess &process)
{
    while (!process.canReadLine() && process.waitForReadyRead(kHangGuardMs)) {
    }
}

class ClipboardBetweenProcesses : public ::testing::Test {
protected:
    void SetUp() override
    {
        // -displayfd makes the server pick a free display itself and write its
        // number once it accepts connections.
        m_server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                                QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                                QStringLiteral("-noreset"),
                                                QStringLiteral("-screen"), QStringLiteral("0"),
                                                QStringLiteral("320x240x24")});
        if (!m_server.waitForStarted(kHangGuardMs))
            GTEST_SKIP() << "Xvfb could not be started (" << m_server.errorString().toStdString()
                         << "); the two-process clipboard needs an X server";
        waitForLine(m_server);
        const QString display = firstLine(m_server.readLine());
        if (display.isEmpty())
            GTEST_SKIP() << "Xvfb gave no display number: " << m_server.readAllStandardError().toStdString();
        m_display = QLatin1Char(':') + display;
    }

    void TearDown() override
    {
        stopPutter();
        if (m_server.state() == QProcess::NotRunning)
            return;
        m_server.terminate(); // lets the server remove its lock file and socket
        if (!m_server.waitForFinished(kHangGuardMs)) {
            m_server.kill();
            m_server.waitForFinished(kHangGuardMs);
        }
    }

    QProcessEnvironment peerEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        return environment;
    }

    // Starts a copying process that stays running as the clipboard's owner
    // (replacing the previous one) and waits until it owns the clipboard.
    ::testing::AssertionResult put(const QStringList &args)
    {
        stopPutter();
        m_putter = std::make_unique<QProcess>();
        m_putter->setProcessEnvironment(peerEnvironment());
        m_putter->start(QStringLiteral(CLIPBOARD_PEER_BINARY), QStringList{QStringLiteral("put")} + args);
        waitForLine(*m_putter);
        const QString line = firstLine(m_putter->readLine());
        if (line == QLatin1String("ready"))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "put " << args.join(' ').toStdString() << ": \"" << line.toStdString()
                                             << "\" " << m_putter->readAllStandardError().toStdString();
    }

    // Runs a pasting process to its end and returns what it read.
    std::string get(const QStringList &args) const
    {
        QProcess getter;
        getter.setProcessEnvironment(peerEnvironment());
        getter.start(QStringLiteral(CLIPBOARD_PEER_BINARY), QStringList{QStringLiteral("get")} + args);
        getter.waitForFinished(kHangGuardMs);
        const QString line = firstLine(getter.readAllStandardOutput());
        return (line.isEmpty() ? QStringLiteral("no answer: ") + QString::fromUtf8(getter.readAllStandardError()) : line)
            .toStdString();
    }

    // Closing its input ends the copying process.
    void stopPutter()
    {
        if (!m_putter)
            return;
        m_putter->closeWriteChannel();
        if (!m_putter->waitForFinished(kHangGuardMs)) {
            m_putter->kill();
            m_putter->waitForFinished(kHangGuardMs);
        }
        m_putter.reset();
    }

private:
    QProcess m_server;
    QString m_display;
    std::unique_ptr<QProcess> m_putter;
};

} // namespace

TEST_F(ClipboardBetweenProcesses, CopiedListsAndSchedulesArriveFieldForField)
{
    ASSERT_TRUE(put({"playlist", "52", "3", "0", "70000"}));
    EXPECT_EQ(get({"playlist", "52", "70001"}), "indexes 3 0 70000");
    EXPECT_EQ(get({"playlist", "53", "70001"}), "empty"); // a playlist is no background-music list

    // An empty selection still travels, as a block with count 0.
    ASSERT_TRUE(put({"playlist", "53"}));
    EXPECT_EQ(get({"playlist", "53", "0"}), "indexes");

    // Words past 16 bits show the byte order survives the trip.
    ASSERT_TRUE(put({"schedule", "16909060", "4", "1", "0", "5"}));
    EXPECT_EQ(get({"schedule", "6"}), "group 16909060 resolution 4 orientation 1 indexes 0 5");
    EXPECT_EQ(get({"playlist", "52", "10"}), "empty"); // the schedule replaced the playlist
}

TEST_F(ClipboardBetweenProcesses, ShortOrHostileBlocksFromAnotherProcessAreRefused)
{
    // A schedule block whose count asks for a gigabyte it does not carry.
    ASSERT_TRUE(put({"bytes", "schedule", "070000000300000001000000000000400000000000000000"}));
    EXPECT_EQ(get({"schedule", "100"}), "refused");

    // A playlist block too short to hold its count.
    ASSERT_TRUE(put({"bytes", "playlist", "030000"}));
    EXPECT_EQ(get({"playlist", "52", "10"}), "refused");

    // Well-formed, but naming a playlist the pasting side does not have.
    ASSERT_TRUE(put({"playlist", "52", "2", "9"}));
    EXPECT_EQ(get({"playlist", "52", "5"}), "refused");
}
