// The program as it is started: offscreen it opens its window and closes
// again, and a second copy started meanwhile ends at once.
#include "app/telv_q9_app.h"
#include "shell_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

QProcessEnvironment ProgramEnvironment(const QTemporaryDir &home, int quitAfterMs)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    // The single-instance socket lies in the temporary folder: one of its own.
    env.insert(QStringLiteral("TMPDIR"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QString::fromLatin1(CTelvQ9App::kQuitAfterEnv), QString::number(quitAfterMs));
    return env;
}

} // namespace

TEST(ProgramStart, OffscreenStartOpensClosesAndASecondCopyEnds)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcess first;
    first.setProcessEnvironment(ProgramEnvironment(home, 4000));
    first.start(QStringLiteral(TELV_Q9_BINARY), {});
    ASSERT_TRUE(first.waitForStarted(10000));
    // Up once the start line is written.
    QElapsedTimer waited;
    waited.start();
    while (!LogText(home.path()).contains(QStringLiteral("Start")) && waited.elapsed() < 15000)
        QThread::msleep(20);
    ASSERT_TRUE(LogText(home.path()).contains(QStringLiteral("Start")));

    QProcess second;
    second.setProcessEnvironment(ProgramEnvironment(home, 0));
    second.start(QStringLiteral(TELV_Q9_BINARY), {});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 1);

    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    const QString log = LogText(home.path());
    EXPECT_EQ(log.count(QStringLiteral("TELV-Q9 Ver.1.23 Start")), 1);
    EXPECT_EQ(log.count(QStringLiteral("TELV-Q9 Ver.1.23 End")), 1);
    // The window's place was kept for the next start.
    EXPECT_TRUE(QFile::exists(QDir(home.path()).filePath(QStringLiteral("Documents/TelvData/Q9Data/Q9A.ini"))));
}
