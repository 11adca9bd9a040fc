// The transfer status document: records in the order given and found by
// number, its written form against a hand-written golden file, reading back
// (sizes above 4 GiB under a non-C locale, paths without case, bad texts),
// and setters on several threads against readers.

#include "transfer_test_util.h"

#include "transfer/transfer_status_xml.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <thread>
#include <vector>

namespace {

// Sets and restores the default locale of the process.
class ScopedLocale {
public:
    explicit ScopedLocale(const QLocale &locale) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

TransferStatusRecord StatusOf(const CTransferStatusXml &document, qint32 number)
{
    TransferStatusRecord record;
    EXPECT_TRUE(document.GetPlayerStatus(number, record)) << number;
    return record;
}

// Loads XML text into a document whose players are 1 and 2.
void LoadText(CTransferStatusXml &document, const QByteArray &text)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("status.xml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    ASSERT_TRUE(document.Load(file.fileName()));
}

// The three players of the golden file.
void FillGoldenPlayers(CTransferStatusXml &document)
{
    document.SetPlayers({7, 3, 5});
    document.SetSendStatus(7, 3);
    document.SetSendFileCount(7, 2);
    document.SetSendFileTotal(7, 4);
    document.SetSendLastDateTime(7, MakeTime(2026, 4, 1, 9, 5, 3, 500));
    document.SetSendRetryCount(7, 1);
    document.SetCheckFileCount(7, 5);
    document.SetCheckFileTotal(7, 6);
    document.SetSendContFileSize(7, 5000000000ULL);
    document.SetContFileSize(7, 6000000000ULL);
    EXPECT_TRUE(document.SetPlayerDateTime(7, MakeTime(2026, 12, 31, 23, 59, 59)));
    EXPECT_TRUE(document.SetVersion(7, "2.10"));
    EXPECT_TRUE(document.SetSerial(7, "SN-0007"));
    EXPECT_TRUE(document.SetTimeZone(7, "GMT +09:00"));
    EXPECT_TRUE(document.SetSummerTime(7, true));
    EXPECT_TRUE(document.SetResolution(7, "1920x1080"));
    EXPECT_TRUE(document.SetNtpStatus(7, 2));
    EXPECT_TRUE(document.SetDiskSpace(7, 1, 2, 3, 4));

    document.SetErrorCode(3, 1004);
    document.SetErrorIndex(3, -1);
    document.SetSendLastDateTime(3, MakeTime(2026, 0, 1, 10)); // month 0: not written
    EXPECT_TRUE(document.SetPlayerDateTime(3, MakeTime(2026, 2, 30))); // no such day: not written
    EXPECT_TRUE(document.SetDiskSpace(3, 100, 0, 0, 0)); // no total: no disk elements
}

} // namespace

TEST(TransferStatusXml, RecordsKeepTheGivenOrderAndAreFoundByNumber)
{
    CTransferStatusXml document;
    // Extreme numbers: a subtracting comparator would overflow on these.
    document.SetPlayers({7, INT_MAX, 3, INT_MIN, 5, -1});
    const qint32 numbers[] = {7, INT_MAX, 3, INT_MIN, 5, -1};
    for (const qint32 number : numbers) {
        document.SetSendFileCount(number, number == INT_MIN ? 11 : 22);
        EXPECT_EQ(StatusOf(document, number).No, number);
    }
    EXPECT_EQ(document.GetSendFileCount(INT_MIN), 11);
    EXPECT_EQ(document.GetSendFileCount(INT_MAX), 22);

    // A rebuild discards every earlier state.
    document.SetPlayers({3});
    EXPECT_EQ(document.GetSendFileCount(3), 0);
    TransferStatusRecord record;
    EXPECT_FALSE(document.GetPlayerStatus(7, record));
}

TEST(TransferStatusXml, UnknownNumbersReadZeroAndChangeNothing)
{
    CTransferStatusXml document;
    document.SetPlayers({1});
    document.SetSendStatus(2, 3);
    document.SetSendContFileSize(2, 5);
    EXPECT_EQ(document.GetSendStatus(2), 0);
    EXPECT_EQ(document.GetSendRetryCount(2), 0);
    EXPECT_EQ(document.GetCheckFileTotal(2), 0);
    EXPECT_EQ(document.GetSendContFileSize(2), 0u);
    EXPECT_FALSE(document.SetVersion(2, "9.99"));
    EXPECT_FALSE(document.SetDiskSpace(2, 1, 2, 3, 4));
    EXPECT_FALSE(document.SetSummerTime(2, true));
    TransferStatusRecord fresh;
    fresh.No = 1;
    EXPECT_EQ(StatusOf(document, 1), fresh);
}

TEST(TransferStatusXml, TransferStateAndFolder)
{
    CTransferStatusXml document;
    EXPECT_EQ(document.GetTransferState(), TRANSFER_STATE_IDLE);
    document.SetTransferState(TRANSFER_STATE_ENDED_ERRORS);
    EXPECT_EQ(document.GetTransferState(), 10);
    document.SetFolder("/home/op");
    EXPECT_EQ(document.GetFolder(), "/home/op/TelvData/Q9Data");
}

TEST(TransferStatusXml, WrittenFormMatchesTheGoldenFile)
{
    QTemporaryDir dir;
    CTransferStatusXml document;
    FillGoldenPlayers(document);
    ASSERT_TRUE(document.Save(dir.filePath("status.xml")));
    EXPECT_EQ(ReadFileBytes(dir.filePath("status.xml")), ReadGolden("status.xml"));
}

TEST(TransferStatusXml, RoundTripUnderAnotherLocale)
{
    const ScopedLocale locale(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir dir;
    CTransferStatusXml written;
    FillGoldenPlayers(written);
    written.SetSendContFileSize(5, 18446744073709551615ULL);
    written.SetSendStatus(5, -1);
    written.SetNtpStatus(5, -2);
    ASSERT_TRUE(written.Save(dir.filePath("status.xml")));

    CTransferStatusXml read;
    read.SetPlayers({7, 3, 5});
    read.SetTransferState(TRANSFER_STATE_RUNNING);
    ASSERT_TRUE(read.Load(dir.filePath("status.xml")));
    EXPECT_EQ(read.GetVersion(), "1");
    EXPECT_EQ(read.GetTransferState(), TRANSFER_STATE_IDLE);

    TransferStatusRecord expected7 = StatusOf(written, 7);
    expected7.SendLastDateTime.milliseconds = 0; // written to the second
    expected7.SendLastDateTime.dayOfWeek = 3;    // 2026-04-01 is a Wednesday
    expected7.R40DateTime.dayOfWeek = 4;
    EXPECT_EQ(StatusOf(read, 7), expected7);
    EXPECT_EQ(StatusOf(read, 7).SendContFileSize, 5000000000ULL);

    // What is not written reads back as the reader's defaults.
    const TransferStatusRecord read3 = StatusOf(read, 3);
    EXPECT_EQ(read3.ErrorCode, 1004);
    EXPECT_EQ(read3.ErrorIndex, -1);
    EXPECT_EQ(read3.SendLastDateTime, SystemTime());
    EXPECT_EQ(read3.RemainHdd, 0u);

    const TransferStatusRecord read5 = StatusOf(read, 5);
    EXPECT_EQ(read5.SendContFileSize, 18446744073709551615ULL);
    EXPECT_EQ(read5.SendSts, -1);
    EXPECT_EQ(read5.R40NtpStatus, -2);
}

TEST(TransferStatusXml, ReadingMatchesPathsWithoutCaseAndGathersSplitText)
{
    CTransferStatusXml document;
    document.SetPlayers({1, 2});
    LoadText(document, "<harlp2wgroup><SYSTEM><version>7</version></SYSTEM>"
                       "<player index=\"1\"><NO>2</NO><sendsts>3</sendsts>"
                       "<R40Version>1.<![CDATA[2]]>&#51;<!-- x --></R40Version>"
                       "<R40SerIal>A&amp;B</R40SerIal>"
                       "<SendLastDateTime>2026/4/1 9:05:03</SendLastDateTime>"
                       "<R40SummerTime>2</R40SummerTime><Unknown>5</Unknown></player>"
                       "</harlp2wgroup>");
    EXPECT_EQ(document.GetVersion(), "7");
    const TransferStatusRecord record = StatusOf(document, 2);
    EXPECT_EQ(record.SendSts, 3);
    EXPECT_EQ(record.R40Version, "1.23");
    EXPECT_EQ(record.R40Serial, "A&B");
    SystemTime sent = MakeTime(2026, 4, 1, 9, 5, 3);
    sent.dayOfWeek = 3;
    EXPECT_EQ(record.SendLastDateTime, sent);
    EXPECT_TRUE(record.R40SummerTime);
    EXPECT_EQ(StatusOf(document, 1).SendSts, 0);
}

TEST(TransferStatusXml, BadTextsReadAsZeroAndPlayersWithoutNumberAreIgnored)
{
    CTransferStatusXml document;
    document.SetPlayers({0, 1, 2});
    document.SetSendFileCount(2, 9);
    LoadText(document, "<HarlP2WGroup>"
                       "<Player><SendFileCount>5</SendFileCount></Player>"
                       "<Player><No>zero</No><SendFileCount>7</SendFileCount></Player>"
                       "<Player><No>3</No><SendFileCount>6</SendFileCount></Player>"
                       "<Player><No>1</No><SendFileCount>12abc</SendFileCount>"
                       "<ContFileSize>-1</ContFileSize><ErrorCode>99999999999</ErrorCode>"
                       "<R40DateTime>01.04.2026 09:05:03</R40DateTime>"
                       "<SendLastDateTime>2026/02/30 00:00:00</SendLastDateTime></Player>"
                       "</HarlP2WGroup>");
    EXPECT_EQ(document.GetSendFileCount(2), 9);
    EXPECT_EQ(document.GetSendFileCount(0), 0);
    const TransferStatusRecord record = StatusOf(document, 1);
    EXPECT_EQ(record.SendFileCount, 0);
    EXPECT_EQ(record.ContFileSize, 0u);
    EXPECT_EQ(record.ErrorCode, 0);
    EXPECT_EQ(record.ErrorIndex, -1);
    EXPECT_EQ(record.R40DateTime, SystemTime());
    EXPECT_EQ(record.SendLastDateTime, SystemTime());
}

TEST(TransferStatusXml, BrokenFileChangesNothing)
{
    CTransferStatusXml document;
    document.SetPlayers({1});
    document.SetSendFileCount(1, 4);
    QTemporaryDir dir;
    QFile file(dir.filePath("status.xml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<HarlP2WGroup><Player><No>1</No><SendFileCount>8</SendFileCount></Player>");
    file.close();
    EXPECT_FALSE(document.Load(file.fileName()));
    EXPECT_EQ(document.GetSendFileCount(1), 4);
}

// Workers update their players while the window reads records and the whole
// document is written; a reader never sees half of a record update.
TEST(TransferStatusXmlConcurrency, SettersOnWorkerThreadsAgainstReaders)
{
    QTemporaryDir dir;
    CTransferStatusXml document;
    const QList<qint32> players = {1, 2, 3, 4};
    document.SetPlayers(players);
    std::atomic<bool> torn = false;
    std::vector<std::thread> threads;
    for (const qint32 player : players) {
        threads.emplace_back([&document, player] {
            for (quint64 round = 1; round <= 2000; ++round) {
                document.SetDiskSpace(player, round, round, round, round);
                document.SetSendFileCount(player, int(round));
                document.SetSendContFileSize(player, round << 33);
                document.SetVersion(player, QString::number(round));
                document.SetTransferState(int(round % 11));
            }
        });
    }
    threads.emplace_back([&document, &players, &torn] {
        for (int round = 0; round < 2000; ++round) {
            TransferStatusRecord record;
            document.GetPlayerStatus(players[round % players.size()], record);
            if (record.RemainHdd != record.TotalHdd || record.RemainHddAV != record.TotalHdd
                || record.TotalHddAV != record.TotalHdd)
                torn = true;
            document.GetSendContFileSize(players[0]);
            document.GetTransferState();
        }
    });
    threads.emplace_back([&document, &dir] {
        for (int round = 0; round < 50; ++round)
            document.Save(dir.filePath("status.xml"));
    });
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_FALSE(torn);
    for (const qint32 player : players) {
        const TransferStatusRecord record = StatusOf(document, player);
        EXPECT_EQ(record.TotalHdd, 2000u);
        EXPECT_EQ(record.SendFileCount, 2000);
        EXPECT_EQ(record.SendContFileSize, 2000ULL << 33);
        EXPECT_EQ(record.R40Version, "2000");
    }

    CTransferStatusXml reread;
    reread.SetPlayers(players);
    EXPECT_TRUE(reread.Load(dir.filePath("status.xml")));
}
