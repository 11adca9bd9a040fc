#include "core/last_error.h"
#include "core/profile_ini.h"
#include "ini_test_support.h"

#include <QFileDevice>

#include <atomic>
#include <csignal>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using ProfileIni = IniFolderTest;

TEST_F(ProfileIni, NamesCompareWithoutCaseAndSectionsMayHoldBackslashes)
{
    writeFile("a.ini", "[Content\\Index]\nVideo=12\n[Content\\Use]\nAudio=0\n[ExOption]\nLogFolder=C:\\TelvData\\Q9Data\\Log\n");
    CProfileIni ini(path("a.ini"));
    EXPECT_EQ(ini.GetInt("content\\INDEX", "vIDEO", 0), 12);
    EXPECT_EQ(ini.GetInt("Content\\Use", "AUDIO", 1), 0);
    EXPECT_EQ(ini.GetString("exoption", "logfolder"), "C:\\TelvData\\Q9Data\\Log");
    // "Content" alone is another section.
    EXPECT_FALSE(ini.HasSection("Content"));
    EXPECT_EQ(ini.GetInt("Content", "Video", -1), -1);

    ASSERT_TRUE(ini.WriteInt("CONTENT\\index", "VIDEO", 13));
    EXPECT_EQ(readFile("a.ini"), "[Content\\Index]\nVideo=13\n[Content\\Use]\nAudio=0\n[ExOption]\nLogFolder=C:\\TelvData\\Q9Data\\Log\n");
}

TEST_F(ProfileIni, ValuesAreTrimmedAroundOnlyAndCommentsAndStrayLinesAreNoKeys)
{
    writeFile("a.ini",
              "Orphan=1\n"
              "[ S ]\n"
              "  Key \t=  a  b \t\n"
              "Quoted=\"x\"\n"
              ";Hidden=1\n"
              "  ; Also=1\n"
              "NoEquals\n"
              "Empty=\n"
              "Eq=a=b\n"
              "Key=second\n"
              "[s]\n"
              "Later=1\n");
    CProfileIni ini(path("a.ini"));
    EXPECT_EQ(ini.GetString("S", "Key"), "a  b");       // inner blanks kept, first key wins
    EXPECT_EQ(ini.GetString("S", "Quoted"), "\"x\"");  // no quote stripping
    EXPECT_EQ(ini.GetString("S", "Eq"), "a=b");
    EXPECT_EQ(ini.GetString("S", "Empty", "dflt"), ""); // present but empty is not the default
    EXPECT_EQ(ini.GetInt("S", "Empty", 7), 7);          // ... but does not parse as a number
    for (const char *key : {"Hidden", "Also", ";Hidden", "NoEquals", "Orphan", "Later"})
        EXPECT_FALSE(ini.HasKey("S", key)) << key;
}

TEST_F(ProfileIni, IntegersParseStrictlyAndFallBackToTheDefault)
{
    const struct {
        const char *text;
        int expected;
    } cases[] = {
        {"12", 12}, {"-5", -5}, {"+7", 7}, {"007", 7}, {"0x1F", 31}, {"0XfF", 255},
        {"0xFFFFFFFF", -1}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"", 99}, {"abc", 99}, {"12abc", 99}, {"1 2", 99}, {"-", 99}, {"0x", 99}, {"0x123456789", 99},
        {"0x-1", 99}, {"0x+1", 99}, {"0x 1", 99}, {"0x0x5", 99}, {"0xG", 99}, {"2147483648", 99}, {"-2147483649", 99}, {"1.5", 99},
        {"\xEF\xBC\x91", 99}, // a full-width digit
    };
    QByteArray file = "[N]\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        file += "K" + QByteArray::number(qulonglong(i)) + "=" + cases[i].text + "\n";
    writeFile("n.ini", file);
    CProfileIni ini(path("n.ini"));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ini.GetInt("N", QStringLiteral("K%1").arg(i), 99), cases[i].expected) << cases[i].text;
    EXPECT_TRUE(ini.GetBool("N", "K0", false));
    EXPECT_TRUE(ini.GetBool("N", "Missing", true));
}

TEST_F(ProfileIni, TimesParseAsHoursMinutesSeconds)
{
    writeFile("t.ini", "[T]\nA=01:02:03\nB=1:2:3\nC=24:00:00\nD=10:60:00\nE=10:00\nF=10:00:00:00\nG=aa:bb:cc\nH=23:59:59\n");
    CProfileIni ini(path("t.ini"));
    const TimeValue fallback{9, 9, 9, 0};
    EXPECT_EQ(ini.GetTime("T", "A", fallback), (TimeValue{1, 2, 3, 0}));
    EXPECT_EQ(ini.GetTime("T", "B", fallback), (TimeValue{1, 2, 3, 0}));
    EXPECT_EQ(ini.GetTime("T", "H", fallback), (TimeValue{23, 59, 59, 0}));
    for (const char *key : {"C", "D", "E", "F", "G", "Missing"})
        EXPECT_EQ(ini.GetTime("T", key, fallback), fallback) << key;
    ASSERT_TRUE(ini.WriteTime("T", "A", TimeValue{7, 5, 0, 0}));
    EXPECT_EQ(ini.GetString("T", "A"), "07:05:00");
}

TEST_F(ProfileIni, WritingKeepsEveryOtherByteCommentsLineEndsAndBom)
{
    const QByteArray original = "\xEF\xBB\xBF; settings\r\n"
                                "[Option]\r\n"
                                "AutoSend = 0   \r\n"
                                "; the no-send period\r\n"
                                "NotSendStartTime=00:00:00\r\n"
                                "\r\n"
                                "[ExOption]\r\n"
                                "R40RetryInterval=300\r\n"
                                "\r\n"
                                "; trailing comment";
    writeFile("w.ini", original);
    CProfileIni ini(path("w.ini"));

    ASSERT_TRUE(ini.WriteInt("option", "autosend", 1));
    QByteArray expected = original;
    expected.replace("AutoSend = 0   \r\n", "AutoSend=1\r\n");
    EXPECT_EQ(readFile("w.ini"), expected);

    // A new key goes after the last key of its section, before the blank line.
    ASSERT_TRUE(ini.WriteString("Option", "NotSendEndTime", "01:00:00"));
    expected.replace("NotSendStartTime=00:00:00\r\n", "NotSendStartTime=00:00:00\r\nNotSendEndTime=01:00:00\r\n");
    EXPECT_EQ(readFile("w.ini"), expected);

    // A new section goes at the end, after a blank line; the last line gets its end.
    ASSERT_TRUE(ini.WriteString("Content\\Index", "User", "2"));
    expected += "\r\n\r\n[Content\\Index]\r\nUser=2\r\n";
    EXPECT_EQ(readFile("w.ini"), expected);

    // Writing the value already stored leaves the file alone.
    ASSERT_TRUE(ini.WriteString("Content\\Index", "User", "2"));
    EXPECT_EQ(readFile("w.ini"), expected);
}

TEST_F(ProfileIni, NewFileUsesPlainLineEndsAndKeyInEmptySectionFollowsHeader)
{
    CProfileIni ini(path("new.ini"));
    EXPECT_EQ(ini.GetString("A", "B", "none"), "none");
    ASSERT_TRUE(ini.WriteString("A", "B", "1"));
    ASSERT_TRUE(ini.WriteString("C", "D", "2"));
    ASSERT_TRUE(ini.WriteString("A", "E", "3"));
    EXPECT_EQ(readFile("new.ini"), "[A]\nB=1\nE=3\n\n[C]\nD=2\n");

    writeFile("empty-section.ini", "[A]\n; note\n[B]\nX=1\n");
    CProfileIni other(path("empty-section.ini"));
    ASSERT_TRUE(other.WriteString("A", "K", "v"));
    EXPECT_EQ(readFile("empty-section.ini"), "[A]\nK=v\n; note\n[B]\nX=1\n");
}

TEST_F(ProfileIni, DeletingRemovesEveryCopySoNoneReappears)
{
    writeFile("d.ini", "[A]\nK=1\nOther=2\nk=3\n[B]\nX=1\n[a]\nK=4\n");
    CProfileIni ini(path("d.ini"));
    ASSERT_TRUE(ini.DeleteKey("a", "K"));
    EXPECT_FALSE(ini.HasKey("A", "K"));
    EXPECT_EQ(readFile("d.ini"), "[A]\nOther=2\n[B]\nX=1\n[a]\nK=4\n");
    ASSERT_TRUE(ini.DeleteSection("A"));
    EXPECT_FALSE(ini.HasSection("A"));
    EXPECT_EQ(readFile("d.ini"), "[B]\nX=1\n");
    // Deleting what is not there succeeds and writes nothing.
    ASSERT_TRUE(ini.DeleteKey("Nope", "K"));
    ASSERT_TRUE(ini.DeleteSection("Nope"));
    EXPECT_EQ(readFile("d.ini"), "[B]\nX=1\n");
}

TEST_F(ProfileIni, LargeSectionsKeepTheRulesWhenThousandsOfKeysAreAddedInOneBatch)
{
    // A section large enough to have its keys indexed, with a repeated key, a
    // comment among the keys and one after them.
    QByteArray text = "[Big]\n";
    for (int i = 0; i < 40; ++i)
        text += "K" + QByteArray::number(i) + "=" + QByteArray::number(i) + (i == 20 ? "\n; among\n" : "\n");
    text += "k5=repeated\n; after the keys\n\n[Next]\nX=1";
    writeFile("big.ini", text);
    CProfileIni ini(path("big.ini"));
    EXPECT_EQ(ini.GetString("BIG", "k5"), "5") << "the first of a repeated key counts";

    QList<ProfileChange> changes;
    for (int i = 0; i < 3000; ++i)
        changes.append({"Big", QStringLiteral("New%1").arg(i), QString::number(i)});
    changes.append({"Big", "K7", "seven"});
    changes.append({"Fresh", "A", "1"});
    ASSERT_TRUE(ini.WriteChanges(changes));
    const QByteArray written = readFile("big.ini");
    EXPECT_LT(written.indexOf("k5=repeated\nNew0=0\nNew1=1\n"), written.indexOf("; after the keys"))
        << "new keys follow the last key, before the lines after it";
    EXPECT_TRUE(written.endsWith("New2999=2999\n; after the keys\n\n[Next]\nX=1\n\n[Fresh]\nA=1\n"));

    CProfileIni reread(path("big.ini"));
    EXPECT_EQ(reread.GetString("big", "new2999"), "2999");
    EXPECT_EQ(reread.GetString("Big", "K7"), "seven");
    ASSERT_TRUE(reread.DeleteKey("Big", "K5"));
    EXPECT_FALSE(reread.HasKey("Big", "k5")) << "every copy goes";
    ASSERT_TRUE(reread.WriteString("Big", "Last", "x"));
    EXPECT_EQ(reread.GetString("Big", "New1500"), "1500");
    EXPECT_TRUE(readFile("big.ini").contains("New2999=2999\nLast=x\n; after the keys\n"));
}

TEST_F(ProfileIni, UnsafeNamesAndValuesAreRefusedWithoutTouchingTheFile)
{
    writeFile("u.ini", "[A]\nK=1\n");
    CProfileIni ini(path("u.ini"));
    const ProfileChange refused[] = {
        {"A", "K", QString("1\n[Evil]\nX=1")}, {"A", "K", QString("1\r2")}, {"A", "K=2", QString("1")},
        {"A", "", QString("1")},              {"A", ";K", QString("1")},   {"A", "[K", QString("1")},
        {"A]x", "K", QString("1")},           {"", "K", QString("1")},     {"A\nB", "K", QString("1")},
    };
    for (const ProfileChange &change : refused) {
        SetLastError(0);
        EXPECT_FALSE(ini.WriteChanges({change})) << qPrintable(change.section) << "/" << qPrintable(change.key);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    // One bad change in a batch refuses the whole batch.
    EXPECT_FALSE(ini.WriteChanges({{"A", "K", QString("2")}, {"A", "X", QString("a\nb")}}));
    EXPECT_EQ(readFile("u.ini"), "[A]\nK=1\n");
    EXPECT_EQ(ini.GetInt("A", "K", 0), 1);
}

TEST_F(ProfileIni, FileReplacedOnDiskIsReadAgainAndItsEditsSurviveOurWrites)
{
    writeFile("r.ini", "[A]\nK=1\n");
    CProfileIni ini(path("r.ini"));
    EXPECT_EQ(ini.GetInt("A", "K", 0), 1);

    // Another program replaces the file (same size, new inode).
    QFile::remove(path("r.ini"));
    writeFile("r.ini", "[A]\nK=2\n");
    EXPECT_EQ(ini.GetInt("A", "K", 0), 2);

    writeFile("r.ini", "[A]\nK=2\n[Ext]\nY=9\n");
    ASSERT_TRUE(ini.WriteInt("A", "K", 3));
    EXPECT_EQ(readFile("r.ini"), "[A]\nK=3\n[Ext]\nY=9\n");
}

// A write that fails half way (here the file-size limit stops it, as a crash
// or a full disk would) reports failure and leaves the old file whole.
TEST_F(ProfileIni, FailedSaveLeavesTheOldFileWholeAndTheMemoryInStep)
{
    const QByteArray original = "[A]\nK=1\n";
    writeFile("f.ini", original);
    CProfileIni ini(path("f.ini"));

    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = ini.WriteString("A", "Big", QString(4096, QLatin1Char('x')));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_NE(GetLastError(), 0u);
    EXPECT_EQ(readFile("f.ini"), original);
    EXPECT_FALSE(ini.HasKey("A", "Big"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"f.ini"}); // no temporary left

    // The folder is gone: the save cannot start.
    CProfileIni lost(path("missing/f.ini"));
    EXPECT_FALSE(lost.WriteInt("A", "K", 1));
    EXPECT_NE(GetLastError(), 0u);
    EXPECT_FALSE(lost.HasKey("A", "K"));
}

TEST_F(ProfileIni, ReadOnlyFolderFailsWithoutDamageAndAnUnreadableFileIsSetAside)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    writeFile("p.ini", "[A]\nK=1\n");
    CProfileIni ini(path("p.ini"));
    const auto folderPermissions = QFile::permissions(m_dir.path());
    QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(ini.WriteInt("A", "K", 2));
    QFile::setPermissions(m_dir.path(), folderPermissions);
    EXPECT_EQ(readFile("p.ini"), "[A]\nK=1\n");
    EXPECT_EQ(ini.GetInt("A", "K", 0), 1);

    // A file that exists but cannot be read is not replaced by the new key
    // alone: it is set aside whole and the key starts a fresh file.
    QFile::setPermissions(path("p.ini"), QFileDevice::WriteOwner);
    CProfileIni blind(path("p.ini"));
    EXPECT_TRUE(blind.WriteInt("B", "X", 1));
    EXPECT_TRUE(blind.IsDamaged());
    QFile::setPermissions(path("p.ini.damaged"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(readFile("p.ini.damaged"), "[A]\nK=1\n");
    EXPECT_EQ(readFile("p.ini"), "[B]\nX=1\n");
}

TEST_F(ProfileIni, ReadersOnOtherThreadsSeeWholeValuesWhileOneThreadWrites)
{
    CProfileIni ini(path("m.ini"));
    ASSERT_TRUE(ini.WriteString("A", "K", "v0"));
    std::atomic<bool> stop{false};
    std::atomic<int> badReads{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i) {
        readers.emplace_back([&] {
            while (!stop) {
                if (!ini.GetString("a", "k").startsWith(QLatin1Char('v')))
                    ++badReads;
            }
        });
    }
    for (int i = 1; i <= 100; ++i)
        ASSERT_TRUE(ini.WriteString("A", "K", QStringLiteral("v%1").arg(i)));
    stop = true;
    for (std::thread &reader : readers)
        reader.join();
    EXPECT_EQ(badReads.load(), 0);
    EXPECT_EQ(readFile("m.ini"), "[A]\nK=v100\n");
}

} // namespace
