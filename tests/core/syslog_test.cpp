#include "core/log_cleaner.h"
#include "core/syslog.h"
#include "support/fake_clock.h"
#include "support/file_contents.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

class SyslogTest : public ::testing::Test {
protected:
    void TearDown() override { CloseSyslog(); }
    QTemporaryDir m_dir;
    ScopedFakeClock m_clock{QDateTime(QDate(2026, 3, 9), QTime(7, 8, 9, 45))};
};

} // namespace

TEST_F(SyslogTest, FileNameAndLineFormat)
{
    EXPECT_EQ(SyslogFileName("/x/Log", "Q9_", 2026, 3, 9), "/x/Log/Q9_20260309.log");
    ASSERT_TRUE(OpenSyslog(m_dir.path() + "/Log", kLogFilePrefix, LOG_NOTICE));
    WriteSyslog(LOG_ERR_WIN, "CR40Http::Connect : InternetConnect Error : Error = %d", 12029);
    WriteSyslogText(LOG_NOTICE, QStringLiteral("[再生機1] : 接続"));
    EXPECT_EQ(ReadAll(m_dir.path() + "/Log/Q9_20260309.log"),
              QByteArray("07:08:09.045 : ERR [WIN] : CR40Http::Connect : InternetConnect Error : Error = 12029\n")
                  + QStringLiteral("07:08:09.045 : NTC : [再生機1] : 接続\n").toUtf8());
}

TEST_F(SyslogTest, LevelFilterAndClosedLogWriteNothing)
{
    ASSERT_TRUE(OpenSyslog(m_dir.path(), "Q9_", LOG_WARNING));
    WriteSyslog(LOG_NOTICE, "dropped");
    WriteSyslog(LOG_DEBUG, "dropped");
    WriteSyslog(LOG_WARNING, "kept");
    WriteSyslog(-1, "bad level");
    CloseSyslog();
    WriteSyslog(LOG_ERR_APP, "after close");
    EXPECT_EQ(ReadAll(m_dir.path() + "/Q9_20260309.log"), QByteArray("07:08:09.045 : WNG : kept\n"));
}

TEST_F(SyslogTest, DayChangeStartsANewFile)
{
    ASSERT_TRUE(OpenSyslog(m_dir.path(), "Q9_", LOG_NOTICE));
    WriteSyslog(LOG_NOTICE, "before");
    m_clock.clock().set(QDateTime(QDate(2026, 3, 10), QTime(0, 0, 1)));
    WriteSyslog(LOG_NOTICE, "after");
    EXPECT_TRUE(ReadAll(m_dir.path() + "/Q9_20260309.log").endsWith("before\n"));
    EXPECT_EQ(ReadAll(m_dir.path() + "/Q9_20260310.log"), QByteArray("00:00:01.000 : NTC : after\n"));
}

TEST_F(SyslogTest, ConcurrentWritersNeverInterleaveLines)
{
    ASSERT_TRUE(OpenSyslog(m_dir.path(), "Q9_", LOG_DEBUG));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 200; ++i)
                WriteSyslog(LOG_INFO, "thread %d line %d %s", t, i, "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx");
        });
    for (auto &thread : threads)
        thread.join();
    const QList<QByteArray> lines = ReadAll(m_dir.path() + "/Q9_20260309.log").split('\n');
    ASSERT_EQ(lines.size(), 801); // 800 lines and the empty rest after the last break
    for (int i = 0; i < 800; ++i)
        EXPECT_TRUE(lines[i].startsWith("07:08:09.045 : INF : thread ") && lines[i].endsWith("xxxx")) << lines[i].constData();
}

TEST(LogCleaner, DeletesOnlyOldFilesOfItsPrefix)
{
    QTemporaryDir dir;
    const QStringList names{"Q9_20260301.log", "Q9_20260302.log", "Q9_20260303.log", "Q9_20260310.log",
                            "XX_20200101.log", "Q9_notadate.log", "Q9_20200101.txt"};
    for (const QString &name : names) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    // Keeping 7 days on 03-10 keeps 03-03 and later.
    EXPECT_EQ(CLogCleaner::DeleteOldLogs(dir.path(), "Q9_", 7, QDate(2026, 3, 10)), 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("Q9_20260301.log")));
    EXPECT_FALSE(QFile::exists(dir.filePath("Q9_20260302.log")));
    for (const QString &name : names.mid(2))
        EXPECT_TRUE(QFile::exists(dir.filePath(name))) << qPrintable(name);
    EXPECT_EQ(CLogCleaner::DeleteOldLogs(dir.path(), "Q9_", 0, QDate(2030, 1, 1)), 0);
}

TEST(LogCleaner, ThreadSweepsAtStartAndStopsPromptly)
{
    QTemporaryDir dir;
    QFile old(dir.filePath("Q9_20000101.log"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    CLogCleaner cleaner;
    ASSERT_TRUE(cleaner.Start(dir.path(), "Q9_", 30));
    EXPECT_FALSE(cleaner.Start(dir.path(), "Q9_", 30));
    // The sweep runs on the cleaner's thread, as soon as a loaded machine lets it.
    for (int i = 0; i < 3000 && QFile::exists(old.fileName()); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(QFile::exists(old.fileName()));
    cleaner.Stop(); // returns at once although the next sweep is an hour away
    EXPECT_FALSE(cleaner.IsRunning());
    cleaner.Stop();
}
