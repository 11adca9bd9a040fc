// The player and group working copy of the settings pages: the value checks
// of a player, group membership kept in step on both sides, folder renames
// and the two files written together.

#include "core/atomic_file.h"
#include "core/data_folders.h"
#include "model/app_data.h"
#include "model/player_checks.h"
#include "model/player_group_edit.h"
#include "support/file_contents.h"
#include "support/kill_at_every_step.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

PlayerRecord player(const QString &name, const QString &address)
{
    PlayerRecord record;
    record.Name = name;
    record.IPAddress = address;
    return record;
}

CGroupRecord group(const QString &name)
{
    CGroupRecord record;
    record.Name = name;
    return record;
}

} // namespace

TEST(PlayerChecks, AddressesPortsAndMacAddresses)
{
    for (const char *good : {"127.0.0.2", "192.168.10.255", "player-1", "r40.example.local", "a"})
        EXPECT_TRUE(IsValidPlayerAddress(QString::fromLatin1(good))) << good;
    for (const char *bad : {"", "256.1.1.1", "1.2.3", "1.2.3.4.5", "0001.2.3.4", "-player", "player-", "pl ayer",
                            "a..b", "http://x", "1.2.3.4 "})
        EXPECT_FALSE(IsValidPlayerAddress(QString::fromLatin1(bad))) << bad;
    EXPECT_FALSE(IsValidPlayerAddress(QString(64, QLatin1Char('a'))));

    QString mac;
    ASSERT_TRUE(NormalizeMacAddress(QStringLiteral(" 00:1b:2c:3d:4e:f5 "), mac));
    EXPECT_EQ(mac, QStringLiteral("00-1B-2C-3D-4E-F5"));
    ASSERT_TRUE(NormalizeMacAddress(QStringLiteral("00-1B-2C-3D-4E-F5"), mac));
    EXPECT_EQ(mac, QStringLiteral("00-1B-2C-3D-4E-F5"));
    ASSERT_TRUE(NormalizeMacAddress(QString(), mac));
    EXPECT_TRUE(mac.isEmpty());
    for (const char *bad : {"00-1B-2C-3D-4E", "00-1B-2C-3D-4E-F5-66", "00-1B:2C-3D-4E-F5", "0G-1B-2C-3D-4E-F5",
                            "001B2C3D4EF5", "0-1B-2C-3D-4E-F5"})
        EXPECT_FALSE(NormalizeMacAddress(QString::fromLatin1(bad), mac)) << bad;
}

class PlayerGroupEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(data.SetDataRoot(dir.path()));
        edit.Load(data);
    }
    QString playerFolder(const QString &name) const
    {
        return data.GetDataFolder() + QStringLiteral("/KDP-R40/") + name;
    }
    // The group "本店" with the players "one" and "two" in it.
    void addGroupOfTwo()
    {
        ASSERT_EQ(edit.AddGroup(group(QStringLiteral("本店"))), PlayerEditResult::Ok);
        for (const char *name : {"one", "two"}) {
            PlayerRecord record = player(QString::fromLatin1(name), QStringLiteral("127.0.0.2"));
            record.Group = QStringLiteral("本店");
            ASSERT_EQ(edit.AddPlayer(record), PlayerEditResult::Ok);
        }
    }

    QTemporaryDir dir;
    CAppData data;
    CPlayerGroupEdit edit;
};

TEST_F(PlayerGroupEditTest, EachBadValueIsRefusedAndNothingChanges)
{
    EXPECT_EQ(edit.AddPlayer(player(QString(), QStringLiteral("127.0.0.2"))), PlayerEditResult::EmptyName);
    EXPECT_EQ(edit.AddPlayer(player(QStringLiteral("a/b"), QStringLiteral("127.0.0.2"))), PlayerEditResult::BadName);
    EXPECT_EQ(edit.AddPlayer(player(QStringLiteral(".."), QStringLiteral("127.0.0.2"))), PlayerEditResult::BadName);
    EXPECT_EQ(edit.AddPlayer(player(QStringLiteral("ロビー"), QStringLiteral("300.0.0.1"))), PlayerEditResult::BadAddress);
    PlayerRecord badPort = player(QStringLiteral("ロビー"), QStringLiteral("127.0.0.2"));
    for (int port : {-1, 65536}) {
        badPort.Port = port;
        EXPECT_EQ(edit.AddPlayer(badPort), PlayerEditResult::BadPort) << port;
    }
    PlayerRecord badMac = player(QStringLiteral("ロビー"), QStringLiteral("127.0.0.2"));
    badMac.MacAddress = QStringLiteral("00-11-22");
    EXPECT_EQ(edit.AddPlayer(badMac), PlayerEditResult::BadMac);
    PlayerRecord unknownGroup = player(QStringLiteral("ロビー"), QStringLiteral("127.0.0.2"));
    unknownGroup.Group = QStringLiteral("none");
    EXPECT_EQ(edit.AddPlayer(unknownGroup), PlayerEditResult::BadPosition);
    EXPECT_TRUE(edit.Players().empty());
    EXPECT_FALSE(edit.IsModified());

    ASSERT_EQ(edit.AddPlayer(player(QStringLiteral("ロビー"), QStringLiteral(" 127.0.0.2 "))), PlayerEditResult::Ok);
    EXPECT_EQ(edit.Players()[0].IPAddress, QStringLiteral("127.0.0.2"));
    EXPECT_EQ(edit.AddPlayer(player(QStringLiteral("ろびー"), QStringLiteral("127.0.0.3"))), PlayerEditResult::Ok);
    // Names are folder names: the same name in another case is the same player.
    EXPECT_EQ(edit.AddPlayer(player(QStringLiteral("Lobby"), QStringLiteral("h1"))), PlayerEditResult::Ok);
    EXPECT_EQ(edit.AddPlayer(player(QStringLiteral("LOBBY"), QStringLiteral("h2"))), PlayerEditResult::DuplicateName);
    // A player may keep its own name when changed.
    EXPECT_EQ(edit.ChangePlayer(2, player(QStringLiteral("lobby"), QStringLiteral("h3"))), PlayerEditResult::Ok);
    EXPECT_EQ(edit.ChangePlayer(2, player(QStringLiteral("ロビー"), QStringLiteral("h3"))), PlayerEditResult::DuplicateName);
    EXPECT_EQ(edit.ChangePlayer(7, player(QStringLiteral("x"), QStringLiteral("h3"))), PlayerEditResult::BadPosition);
    EXPECT_EQ(edit.Players()[2].Number, 3);
    EXPECT_TRUE(edit.IsModified());
}

TEST_F(PlayerGroupEditTest, MembershipFollowsThePlayersOnEverySideAndSaveWritesBothFiles)
{
    ASSERT_EQ(edit.AddGroup(group(QStringLiteral("本店"))), PlayerEditResult::Ok);
    ASSERT_EQ(edit.AddGroup(group(QStringLiteral("支店"))), PlayerEditResult::Ok);
    EXPECT_EQ(edit.AddGroup(group(QStringLiteral("本店"))), PlayerEditResult::DuplicateName);
    EXPECT_EQ(edit.AddGroup(group(QStringLiteral(" x"))), PlayerEditResult::BadName);
    PlayerRecord first = player(QStringLiteral("one"), QStringLiteral("127.0.0.2"));
    first.Group = QStringLiteral("本店");
    first.MacAddress = QStringLiteral("00:11:22:33:44:55");
    ASSERT_EQ(edit.AddPlayer(first), PlayerEditResult::Ok);
    ASSERT_EQ(edit.AddPlayer(player(QStringLiteral("two"), QStringLiteral("127.0.0.3"))), PlayerEditResult::Ok);
    ASSERT_EQ(edit.SetPlayerGroup(1, QStringLiteral("本店")), PlayerEditResult::Ok);
    EXPECT_EQ(edit.Groups()[0].Players, (QList<qint32>{1, 2}));
    // Moving a player moves it out of its old group.
    ASSERT_EQ(edit.SetPlayerGroup(0, QStringLiteral("支店")), PlayerEditResult::Ok);
    EXPECT_EQ(edit.Groups()[0].Players, (QList<qint32>{2}));
    EXPECT_EQ(edit.Groups()[1].Players, (QList<qint32>{1}));

    ASSERT_TRUE(edit.Save(data));
    EXPECT_FALSE(edit.IsModified());
    EXPECT_TRUE(QFileInfo(playerFolder(QStringLiteral("one"))).isDir());
    EXPECT_TRUE(QFileInfo(playerFolder(QStringLiteral("two"))).isDir());
    CHarlPlayerXml players;
    ASSERT_TRUE(players.Load(data.GetPlayerFilePath()));
    ASSERT_EQ(players.GetCount(), 2);
    EXPECT_EQ(players.CopyPlayers()[0].Group, QStringLiteral("支店"));
    EXPECT_EQ(players.CopyPlayers()[0].MacAddress, QStringLiteral("00-11-22-33-44-55"));
    CQ9GroupXml groups;
    ASSERT_TRUE(groups.Load(data.GetGroupFilePath()));
    EXPECT_EQ(groups.Records(), data.GetGroupXml().Records());

    // A renamed group keeps its players and its folder; a removed one leaves them without a group.
    const QString groupFolder = data.GetDataFolder() + QStringLiteral("/Group/");
    ASSERT_TRUE(QDir().mkpath(groupFolder + QStringLiteral("本店/Schedule")));
    CGroupRecord renamed = group(QStringLiteral("本社"));
    ASSERT_EQ(edit.ChangeGroup(0, renamed), PlayerEditResult::Ok);
    EXPECT_EQ(edit.Players()[1].Group, QStringLiteral("本社"));
    EXPECT_EQ(edit.GroupMemberCount(0), 1);
    ASSERT_EQ(edit.RemoveGroup(1), PlayerEditResult::Ok);
    EXPECT_TRUE(edit.Players()[0].Group.isEmpty());
    // A renamed player takes its folder along.
    PlayerRecord second = edit.Players()[1];
    second.Name = QStringLiteral("two-b");
    ASSERT_EQ(edit.ChangePlayer(1, second), PlayerEditResult::Ok);
    ASSERT_TRUE(edit.Save(data));
    EXPECT_TRUE(QFileInfo(groupFolder + QStringLiteral("本社/Schedule")).isDir());
    EXPECT_FALSE(QFileInfo::exists(groupFolder + QStringLiteral("本店")));
    EXPECT_TRUE(QFileInfo(playerFolder(QStringLiteral("two-b"))).isDir());
    EXPECT_FALSE(QFileInfo::exists(playerFolder(QStringLiteral("two"))));
    ASSERT_EQ(data.GetGroupXml().GetCount(), 1);
    CGroupRecord stored;
    ASSERT_TRUE(data.GetGroupXml().GetGroup(0, stored));
    EXPECT_EQ(stored.Players, (QList<qint32>{2}));

    // Removed and added players never share a number; a removed player's displays go with it.
    for (qint32 owner : {1, 2}) {
        CDisplayRecord display;
        display.Number = owner;
        display.Player = owner;
        data.GetDisplayXml().Add(display);
    }
    ASSERT_EQ(edit.RemovePlayer(1), PlayerEditResult::Ok);
    ASSERT_TRUE(edit.Save(data));
    CQ9DisplayXml displays;
    ASSERT_TRUE(displays.Load(data.GetDisplayFilePath()));
    ASSERT_EQ(displays.GetCount(), 1);
    EXPECT_EQ(displays.Records()[0].Player, 1);
    ASSERT_EQ(edit.AddPlayer(player(QStringLiteral("three"), QStringLiteral("127.0.0.4"))), PlayerEditResult::Ok);
    EXPECT_EQ(edit.Players().back().Number, 3);
}

// The player, group and display files are written together: when one cannot
// be put in place, every file, list and folder name stays as it was, and a
// second save finishes the edits.
TEST_F(PlayerGroupEditTest, AFailedSaveLeavesEveryFileListAndFolderAsItWas)
{
    ASSERT_NO_FATAL_FAILURE(addGroupOfTwo());
    CDisplayRecord display;
    display.Number = 1;
    display.Player = 2;
    data.GetDisplayXml().Add(display);
    ASSERT_TRUE(edit.Save(data));
    ASSERT_EQ(edit.RemovePlayer(1), PlayerEditResult::Ok);
    PlayerRecord renamed = edit.Players()[0];
    renamed.Name = QStringLiteral("one-b");
    ASSERT_EQ(edit.ChangePlayer(0, renamed), PlayerEditResult::Ok);
    ASSERT_EQ(edit.ChangeGroup(0, group(QStringLiteral("本社"))), PlayerEditResult::Ok);
    // A folder where the group file goes: it cannot be put in place.
    ASSERT_TRUE(QFile::remove(data.GetGroupFilePath()));
    ASSERT_TRUE(QDir().mkpath(data.GetGroupFilePath()));
    const QMap<QString, QByteArray> files = FilesUnder(dir.path());
    const std::vector<PlayerRecord> players = data.GetPlayerXml().CopyPlayers();
    const std::vector<CGroupRecord> groups = data.GetGroupXml().Records();
    const std::vector<CDisplayRecord> displays = data.GetDisplayXml().Records();

    EXPECT_FALSE(edit.Save(data));
    EXPECT_EQ(FilesUnder(dir.path()), files);
    EXPECT_EQ(data.GetPlayerXml().CopyPlayers(), players);
    EXPECT_EQ(data.GetGroupXml().Records(), groups);
    EXPECT_EQ(data.GetDisplayXml().Records(), displays);
    EXPECT_TRUE(QFileInfo(playerFolder(QStringLiteral("one"))).isDir());
    EXPECT_FALSE(QFileInfo::exists(playerFolder(QStringLiteral("one-b"))));
    EXPECT_TRUE(edit.IsModified());

    ASSERT_TRUE(QDir(data.GetGroupFilePath()).removeRecursively());
    ASSERT_TRUE(edit.Save(data));
    CHarlPlayerXml stored;
    ASSERT_TRUE(stored.Load(data.GetPlayerFilePath()));
    ASSERT_EQ(stored.GetCount(), 1);
    EXPECT_EQ(stored.CopyPlayers()[0].Group, QStringLiteral("本社"));
    EXPECT_TRUE(QFileInfo(playerFolder(QStringLiteral("one-b"))).isDir());
    EXPECT_EQ(data.GetDisplayXml().GetCount(), 0);
}

// A save killed at each step in turn, and the start's repair after it, leaves
// the lists and the folders they name all old or all new: a renamed group's
// schedules and a renamed player's files are where the lists look for them.
TEST_F(PlayerGroupEditTest, ASaveKilledAtAnyStepIsOldOrNewAfterTheStart)
{
    ASSERT_NO_FATAL_FAILURE(addGroupOfTwo());
    ASSERT_TRUE(edit.Save(data));
    const QString groups = data.GetDataFolder() + QStringLiteral("/Group/");
    ASSERT_TRUE(QDir().mkpath(groups + QStringLiteral("本店/Schedule")));
    ASSERT_TRUE(WriteFileAtomically(groups + QStringLiteral("本店/Schedule/SC100000001.xml"), "schedule"));
    ASSERT_TRUE(WriteFileAtomically(playerFolder(QStringLiteral("one")) + QStringLiteral("/list.xml"), "one's list"));
    ASSERT_EQ(edit.ChangeGroup(0, group(QStringLiteral("本社"))), PlayerEditResult::Ok);
    PlayerRecord renamed = edit.Players()[0];
    renamed.Name = QStringLiteral("one-b");
    ASSERT_EQ(edit.ChangePlayer(0, renamed), PlayerEditResult::Ok);
    ASSERT_EQ(edit.AddPlayer(player(QStringLiteral("three"), QStringLiteral("127.0.0.4"))), PlayerEditResult::Ok);

    const KillOutcomes outcomes = ExpectOldOrNewAfterEveryKill(
        DataTreeOf(dir.path()), [this] { return edit.Save(data); }, [this] { RecoverDataTree(dir.path()); });
    EXPECT_GE(outcomes.old, 5);
    EXPECT_GE(outcomes.whole, 2);
    EXPECT_EQ(ReadAll(groups + QStringLiteral("本社/Schedule/SC100000001.xml")), QByteArray("schedule"));
    EXPECT_EQ(ReadAll(playerFolder(QStringLiteral("one-b")) + QStringLiteral("/list.xml")), QByteArray("one's list"));
}

TEST_F(PlayerGroupEditTest, AMemberListWithoutThePlayersGroupNameIsTakenOnLoad)
{
    PlayerRecord record = player(QStringLiteral("one"), QStringLiteral("127.0.0.2"));
    record.Number = 4;
    data.GetPlayerXml().AddPlayer(record);
    CGroupRecord stored = group(QStringLiteral("本店"));
    stored.Number = 2;
    stored.Players = {4};
    data.GetGroupXml().AddGroup(stored);
    edit.Load(data);
    EXPECT_EQ(edit.Players()[0].Group, QStringLiteral("本店"));
    EXPECT_FALSE(edit.IsModified());
    ASSERT_EQ(edit.AddGroup(group(QStringLiteral("支店"))), PlayerEditResult::Ok);
    EXPECT_EQ(edit.Groups().back().Number, 3);
}
