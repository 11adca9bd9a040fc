// Application data: the data tree, the player, group, display, setup and
// filter documents, the resolution table and the player folder.

#include "core/last_error.h"
#include "model/app_data.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

PlayerRecord player(qint32 number, const QString &name, qint32 resolution, qint32 orientation)
{
    PlayerRecord p;
    p.Number = number;
    p.Name = name;
    p.ResolutionId = resolution;
    p.Orientation = orientation;
    return p;
}

PlayerRecord fullPlayer()
{
    PlayerRecord p = player(3, QStringLiteral("ロビー <1>"), 9, 1);
    p.NoComm = true;
    p.IPAddress = QStringLiteral("127.0.0.3");
    p.HostName = QStringLiteral("lobby");
    p.Dhcp = true;
    p.SubnetMask = QStringLiteral("255.255.255.0");
    p.Gateway = QStringLiteral("127.0.0.1");
    p.Dns1 = QStringLiteral("127.0.0.53");
    p.Dns2 = QStringLiteral("127.0.0.54");
    p.MacAddress = QStringLiteral("00-11-22-33-44-55");
    p.Serial = QStringLiteral("SN0001");
    p.Group = QStringLiteral("本社");
    p.SetupNo = 4;
    p.DispTotalX = 2;
    p.DispTotalY = 2;
    p.Resolution = QStringLiteral("2160x3840");
    p.TimeZone = QStringLiteral("GMT +09:00");
    p.SummerTime = true;
    p.FileTime = SystemTime{2024, 6, 0, 1, 12, 30, 45, 500};
    p.User = QStringLiteral("admin");
    p.Pass = QStringLiteral("p&ss");
    p.Port = 8080;
    p.Status = PLAYER_STATUS_PENDING;
    p.ErrCode = 1003;
    return p;
}

class AppDataTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(AppDataTest, SetDataRootCreatesTheDataTree)
{
    CAppData data;
    ASSERT_TRUE(data.SetDataRoot(dir.path()));
    EXPECT_EQ(data.GetDataRoot(), dir.path());
    for (const char *folder : {"TelvData/Q9Data/ContentData/Playlist/Sequence", "TelvData/Q9Data/Thumb/URL",
                               "TelvData/Q9Data/KDP-R40", "TelvData/Q9Data/PrintTemp", "TelvData/Content/Video",
                               "TelvData/Content/Url", "TelvData/Content/Audio"})
        EXPECT_TRUE(QDir(dir.filePath(QString::fromLatin1(folder))).exists()) << folder;
    EXPECT_EQ(data.GetPlayerFilePath(), dir.filePath(QStringLiteral("TelvData/Q9Data/Player.xml")));
    EXPECT_EQ(data.GetDispFilterPath(52), dir.filePath(QStringLiteral("TelvData/Q9Data/Filter_52.xml")));
}

TEST_F(AppDataTest, PlayerListKeepsEveryFieldAndChangesOnePlayerByNumber)
{
    CHarlPlayerXml players;
    players.AddPlayer(fullPlayer());
    players.AddPlayer(player(7, QStringLiteral("b"), 0, 0));
    // A list written before it was kept private becomes so with its next save.
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    ASSERT_TRUE(players.Save(path("Player.xml")));
    EXPECT_EQ(QFile::permissions(path("Player.xml")), ownerOnly);
    ASSERT_TRUE(QFile::setPermissions(path("Player.xml"), ownerOnly | QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(players.Save(path("Player.xml")));
    EXPECT_EQ(QFile::permissions(path("Player.xml")), ownerOnly);

    CHarlPlayerXml loaded;
    ASSERT_TRUE(loaded.Load(path("Player.xml")));
    ASSERT_EQ(loaded.GetCount(), 2);
    EXPECT_EQ(loaded.CopyPlayers().front(), fullPlayer());

    EXPECT_EQ(loaded.FindPlayer(7), 1);
    EXPECT_EQ(loaded.FindPlayer(8), -1);
    EXPECT_TRUE(loaded.HasPlayer(7));
    EXPECT_FALSE(loaded.HasPlayer(8));
    const auto setError = [](PlayerRecord &record) {
        record.ErrCode = 1006;
        return true;
    };
    EXPECT_TRUE(loaded.UpdatePlayer(7, setError));
    EXPECT_FALSE(loaded.UpdatePlayer(8, setError));
    EXPECT_FALSE(loaded.UpdatePlayer(fullPlayer().Number, [](PlayerRecord &) { return false; }));
    EXPECT_EQ(loaded.CopyPlayer(7)->ErrCode, 1006);
    EXPECT_EQ(loaded.CopyPlayer(fullPlayer().Number)->ErrCode, 1003);
}

TEST_F(AppDataTest, DamagedPlayerFileFailsWith13AndKeepsTheLoadedPlayers)
{
    CHarlPlayerXml players;
    players.AddPlayer(player(1, QStringLiteral("a"), 0, 0));
    for (const QByteArray &bytes :
         {QByteArray("<PlayerList><Player><No>1</No>"), QByteArray("<PlayerList><Player><No>x</No></Player></PlayerList>"),
          QByteArray("<PlayerList><Player><Set><Port>70000</Port></Set></Player></PlayerList>")}) {
        QFile file(path("Player.xml"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        EXPECT_FALSE(players.Load(path("Player.xml"))) << bytes.constData();
        EXPECT_EQ(GetLastError(), 13u);
        EXPECT_EQ(players.GetCount(), 1);
    }
    EXPECT_TRUE(players.Load(path("none.xml")));
    EXPECT_EQ(players.GetCount(), 0);
}

TEST_F(AppDataTest, GroupsDisplaysAndSetupsReadBack)
{
    CQ9GroupXml groups;
    CGroupRecord group{5, QStringLiteral("Tokyo Office"), 9, 1, {3, 7}};
    groups.AddGroup(group);
    ASSERT_TRUE(groups.Save(path("Q9Group.xml")));
    CQ9GroupXml loadedGroups;
    ASSERT_TRUE(loadedGroups.Load(path("Q9Group.xml")));
    EXPECT_EQ(loadedGroups.FindGroupByName(QStringLiteral("tokyo OFFICE")), 0);
    EXPECT_EQ(loadedGroups.FindGroupByName(QStringLiteral("Osaka")), -1);
    CGroupRecord read;
    ASSERT_TRUE(loadedGroups.GetGroup(0, read));
    EXPECT_EQ(read, group);
    EXPECT_FALSE(loadedGroups.GetGroup(1, read));
    EXPECT_EQ(GetLastError(), 87u);
    qint32 width = 0, height = 0;
    read.GetScreenSize(width, height);
    EXPECT_EQ(width, 2160);
    EXPECT_EQ(height, 3840);

    CQ9DisplayXml displays;
    displays.SetMode(2);
    displays.Add(CDisplayRecord{11, QStringLiteral("右"), 3, 1});
    displays.Add(CDisplayRecord{10, QStringLiteral("左"), 3, 0});
    displays.Add(CDisplayRecord{12, QStringLiteral("other"), 4, 0});
    ASSERT_TRUE(displays.Save(path("Q9Display.xml")));
    CQ9DisplayXml loadedDisplays;
    ASSERT_TRUE(loadedDisplays.Load(path("Q9Display.xml")));
    EXPECT_EQ(loadedDisplays.GetMode(), 2);
    EXPECT_EQ(loadedDisplays.GetPlayerDisplays(3), (QList<qint32>{10, 11}));

    CQ9SetupListXml setups;
    setups.Add(CSetupListRecord{4, QStringLiteral("標準")});
    ASSERT_TRUE(setups.Save(path("Q9SetupList.xml")));
    CQ9SetupListXml loadedSetups;
    ASSERT_TRUE(loadedSetups.Load(path("Q9SetupList.xml")));
    EXPECT_EQ(loadedSetups.FindSetup(4), 0);
    EXPECT_EQ(loadedSetups.Records()[0].Name, QStringLiteral("標準"));
}

TEST_F(AppDataTest, DisplayFilterUsesItsElementPathsAndReadsBack)
{
    CDispFilterXml filter;
    filter.SetUseDate(true);
    ASSERT_TRUE(filter.SetDate(SystemTime{2024, 3, 0, 15, 0, 0, 0, 0}));
    EXPECT_FALSE(filter.SetDate(SystemTime{2024, 2, 0, 30, 0, 0, 0, 0}));
    filter.SetUseType(true);
    filter.AddType(QStringLiteral("春"));
    filter.AddType(QStringLiteral("夏"));
    ASSERT_TRUE(filter.Save(path("Filter_1.xml")));

    QFile file(path("Filter_1.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("<UseDate>1</UseDate>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<Name>夏</Name>")));

    CDispFilterXml loaded;
    ASSERT_TRUE(loaded.Load(path("Filter_1.xml")));
    EXPECT_TRUE(loaded.GetUseDate());
    EXPECT_EQ(loaded.GetDate().day, 15);
    EXPECT_EQ(loaded.GetTypeCount(), 2);
    EXPECT_EQ(loaded.GetType(1), QStringLiteral("夏"));
    loaded.RemoveAllTypes();
    EXPECT_EQ(loaded.GetTypeCount(), 0);

    CAppData data;
    EXPECT_NE(data.GetDispFilter(53), nullptr);
    EXPECT_EQ(data.GetDispFilter(51), nullptr);
    EXPECT_EQ(data.GetDispFilter(10), nullptr);
}

TEST(ResolutionTable, PortraitSwapsTheSizeAndUnknownIdsTakeEntryZero)
{
    EXPECT_EQ(CAppData::FindResolution(CAppData::GetResolutionTable()[13].Id), 13);
    EXPECT_EQ(CAppData::FindResolution(99), -1);
    qint32 width = 0, height = 0;
    CAppData::GetResolutionSize(9, 0, width, height);
    EXPECT_EQ(width, 3840);
    EXPECT_EQ(height, 2160);
    CAppData::GetResolutionSize(9, 1, width, height);
    EXPECT_EQ(width, 2160);
    EXPECT_EQ(height, 3840);
    CAppData::GetResolutionSize(99, 1, width, height);
    EXPECT_EQ(width, CAppData::GetResolutionTable()[0].Height);
    EXPECT_EQ(height, CAppData::GetResolutionTable()[0].Width);
}

TEST_F(AppDataTest, PlayerNumbersFoldersAndResolutionPairs)
{
    CAppData data;
    ASSERT_TRUE(data.SetDataRoot(dir.path()));
    CHarlPlayerXml &players = data.GetPlayerXml();
    players.AddPlayer(player(1, QStringLiteral("a"), 9, 1));
    PlayerRecord silent = player(2, QStringLiteral("b"), 0, 0);
    silent.NoComm = true;
    players.AddPlayer(silent);
    players.AddPlayer(player(3, QStringLiteral("c"), 9, 1));
    players.AddPlayer(player(4, QStringLiteral("d"), 0, 1));

    EXPECT_EQ(data.GetPlayerNumbers(false), (QList<qint32>{1, 2, 3, 4}));
    EXPECT_EQ(data.GetPlayerNumbers(true), (QList<qint32>{1, 3, 4}));
    using Pair = QPair<qint32, qint32>;
    EXPECT_EQ(data.GetResolutionPairs(), (QList<Pair>{Pair(0, 0), Pair(0, 1), Pair(9, 1)}));

    QString folder;
    ASSERT_TRUE(data.MakePlayerFolder(QStringLiteral("受付 1"), folder));
    EXPECT_EQ(folder, dir.filePath(QStringLiteral("TelvData/Q9Data/KDP-R40/受付 1")));
    EXPECT_TRUE(QDir(folder).exists());
    for (const QString &name : {QStringLiteral(".."), QStringLiteral("../x"), QStringLiteral("a/b"),
                                QStringLiteral("a\\b"), QString(), QStringLiteral("tab\there")}) {
        folder = QStringLiteral("unchanged");
        EXPECT_FALSE(data.MakePlayerFolder(name, folder)) << qPrintable(name);
        EXPECT_EQ(folder, QStringLiteral("unchanged"));
        EXPECT_EQ(GetLastError(), 87u);
    }
}
