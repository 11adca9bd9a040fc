// Configuration jobs against an emulated player: the player's send file made
// from its named setup, details and record and the operating hours, uploaded
// with the attached files (and the display-link file when there is one), the
// clock and load commands, the player record afterwards (copied whole by the
// window while the job rewrites it); failures that mark the record; and the
// network form, whose reboot depends on the version.

#include "job_test_fixture.h"

#include "core/setting_ini.h"
#include "model/q9_display_xml.h"
#include "player/dlk_request_config.h"
#include "player/setup_xml.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <atomic>
#include <thread>

namespace {

using Fault = EmulatedPlayer::Fault;

constexpr int kSetupNumber = 3;

void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

void writeSetup(const QString &path, const QList<std::array<const char *, 3>> &values)
{
    SetupData data;
    for (const auto &[section, name, value] : values)
        ASSERT_TRUE(data.SetValue(QString::fromLatin1(section), QString::fromLatin1(name), QString::fromUtf8(value)));
    CSetupXml setup;
    setup.SetSetupData(data);
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(setup.Save(path));
}

class ConfigJobTest : public JobTest {
protected:
    void SetUp() override
    {
        JobTest::SetUp();
        m_player.setSystemValue(QStringLiteral("version"), QStringLiteral("1.23"));
        m_player.setSystemValue(QStringLiteral("mac"), QStringLiteral("00-11-22-33-44-55"));
        m_player.setSystemValue(QStringLiteral("serial"), QStringLiteral("R40-0042"));
        m_player.setSystemValue(QStringLiteral("configdate"), QStringLiteral("2026-03-01 09:00:00.000"));
        writeSetup(MakeSetupFilePath(m_dir.path(), kSetupNumber), {{"network", "name", "template"},
                                                                   {"http", "port", "4990"},
                                                                   {"http", "password", "plain"},
                                                                   {"clock", "timezone", "GMT +09:00"}});
        writeSetup(MakeDetailSetupFilePath(m_dir.path(), kSetupNumber),
                   {{"http", "password", "secret"}, {"extra", "volume", "30"}});
        writeFile(MakeSetupFileFolderPath(m_dir.path(), kSetupNumber) + QStringLiteral("/logo.png"), "PNG");
        writeFile(MakeSetupFileFolderPath(m_dir.path(), kSetupNumber) + QStringLiteral("/notice.txt"), "text");
        PlayerRecord player = record();
        player.SetupNo = kSetupNumber;
        player.Resolution = QStringLiteral("3840x1080");
        player.Orientation = ORIENTATION_PORTRAIT;
        setRecord(player);
        SystemOptions options;
        options.PowerOnTime = TimeValue{8, 0, 0, 0};
        options.PowerOffTime = TimeValue{20, 30, 0, 0};
        m_options.SetOptions(options);
    }

    bool runConfig(WorkerProbe &worker, bool network = false)
    {
        const CDlkRequestConfig request(network);
        m_requests.RemoveAll();
        EXPECT_TRUE(m_requests.Add(&request));
        return runJob(worker);
    }

    // A setup document the player received.
    SetupData received(const QString &remotePath)
    {
        const QString local = m_dir.filePath(QStringLiteral("received.xml"));
        writeFile(local, m_player.file(remotePath));
        CSetupXml setup;
        EXPECT_TRUE(setup.Load(local));
        SetupData data;
        setup.GetSetupData(data);
        return data;
    }

    PlayerRecord savedRecord() const
    {
        CHarlPlayerXml saved;
        EXPECT_TRUE(saved.Load(m_dir.filePath(QStringLiteral("Player.xml"))));
        return saved.GetCount() > 0 ? saved.CopyPlayers().front() : PlayerRecord{};
    }

    QStringList sentCommands() const
    {
        QStringList commands;
        for (const auto &request : m_player.requests())
            commands << (request.path == QLatin1String("/upload.php") ? request.parameter(QStringLiteral("href"))
                                                                      : request.command());
        return commands;
    }

    CSettingIni m_options;
};

TEST_F(ConfigJobTest, TheSetupIsSentLoadedAndTakenIntoTheRecord)
{
    auto worker = makeWorker(&m_options);
    // The window copies the record, and the whole list as its panes fill,
    // while the job rewrites it: each copy is the record before or after,
    // never a mix (ThreadSanitizer sees the rest).
    std::atomic<bool> jobEnded = false;
    QSet<QString> passwordsSeen;
    std::thread window([&] {
        do {
            if (const std::optional<PlayerRecord> copy = m_players.CopyPlayer(kPlayerNumber))
                passwordsSeen.insert(copy->Pass);
            for (const PlayerRecord &player : m_players.CopyPlayers())
                passwordsSeen.insert(player.Pass);
        } while (!jobEnded);
    });
    EXPECT_TRUE(runConfig(*worker));
    jobEnded = true;
    window.join();
    EXPECT_TRUE((passwordsSeen - QSet<QString>{QString(), QStringLiteral("secret")}).isEmpty());
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_DONE, 0));

    EXPECT_EQ(sentCommands(), QStringList({"SYST", "/import/kdp-r40_setup_send.xml", "/import/logo.png",
                                           "/import/notice.txt", "DATE", "LCNF"}))
        << "no display-link file without a display document";
    const SetupData sent = received(QStringLiteral("/import/kdp-r40_setup_send.xml"));
    EXPECT_EQ(sent.Value("network", "name"), QStringLiteral("Lobby"));
    EXPECT_EQ(sent.Value("network", "ipaddress"), m_player.address());
    EXPECT_EQ(sent.Value("display", "resolution"), QStringLiteral("3840x1080"));
    EXPECT_EQ(sent.Value("display", "orientation"), QStringLiteral("1"));
    EXPECT_EQ(sent.Value("http", "password"), QStringLiteral("secret")) << "the details win over the setup";
    EXPECT_EQ(sent.Value("extra", "volume"), QStringLiteral("30"));
    EXPECT_EQ(sent.Value("clock", "timezone"), QStringLiteral("GMT +09:00"));
    EXPECT_EQ(sent.Value("power", "poweronuse"), QStringLiteral("1"));
    EXPECT_EQ(sent.Value("power", "poweron"), QStringLiteral("1899-12-30 08:00:00.000"));
    EXPECT_EQ(sent.Value("power", "poweroff"), QStringLiteral("1899-12-30 20:30:00.000"));
    EXPECT_EQ(m_player.file(QStringLiteral("/import/logo.png")), QByteArray("PNG"));

    const auto date = m_player.requests(QStringLiteral("DATE"));
    ASSERT_EQ(date.size(), 1);
    EXPECT_EQ(date[0].parameter(QStringLiteral("datetime")).size(), 23);
    EXPECT_EQ(date[0].parameter(QStringLiteral("reboot")), QStringLiteral("0"));
    const auto load = m_player.requests(QStringLiteral("LCNF"));
    ASSERT_EQ(load.size(), 1);
    EXPECT_EQ(load[0].parameter(QStringLiteral("file")), QStringLiteral("/import/kdp-r40_setup_send.xml"));
    EXPECT_EQ(load[0].parameter(QStringLiteral("mode")), QStringLiteral("reboot"));

    const PlayerRecord saved = savedRecord();
    EXPECT_EQ(saved.Status, PLAYER_STATUS_OK);
    EXPECT_EQ(saved.ErrCode, 0);
    EXPECT_EQ(saved.Pass, QStringLiteral("secret"));
    EXPECT_EQ(saved.Port, 4990);
    EXPECT_EQ(saved.MacAddress, QStringLiteral("00-11-22-33-44-55"));
    EXPECT_EQ(saved.Serial, QStringLiteral("R40-0042"));
    EXPECT_FALSE(QFileInfo::exists(playerFile(QStringLiteral("kdp-r40_setup_send.xml"))))
        << "the send file is removed after the upload";
}

TEST_F(ConfigJobTest, TheDisplayLinkFileIsMadeInThePlayerFolder)
{
    CQ9DisplayXml displays;
    displays.Add(CDisplayRecord{1, QStringLiteral("Left"), kPlayerNumber, 0});
    auto worker = makeWorker(&m_options);
    worker->SetDisplayLinkValues(&displays, &displays.GetLock());
    EXPECT_TRUE(runConfig(*worker));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_DONE, 0));
    EXPECT_EQ(displays.GetMode(), 2);
    QFile made(playerFile(QStringLiteral("pan_link_setup.xml")));
    ASSERT_TRUE(made.open(QIODevice::ReadOnly));
    EXPECT_EQ(m_player.file(QStringLiteral("/import/pan_link_setup.xml")), made.readAll());
    EXPECT_FALSE(QFileInfo::exists(MakeSetupFileFolderPath(m_dir.path(), kSetupNumber)
                                   + QStringLiteral("/../pan_link_setup.xml")))
        << "nothing is written where players sharing the setup would meet";
}

TEST_F(ConfigJobTest, DefaultsForAnEmptyPasswordAndPort)
{
    writeSetup(MakeSetupFilePath(m_dir.path(), kSetupNumber), {{"network", "name", "template"}});
    writeSetup(MakeDetailSetupFilePath(m_dir.path(), kSetupNumber), {{"extra", "volume", "30"}});
    auto worker = makeWorker();
    EXPECT_TRUE(runConfig(*worker));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_DONE, 0));
    const PlayerRecord saved = savedRecord();
    EXPECT_EQ(saved.Pass, DefaultPlayerUser());
    EXPECT_EQ(saved.Port, 4980);
    EXPECT_EQ(received(QStringLiteral("/import/kdp-r40_setup_send.xml")).Value("power", "poweronuse"),
              QStringLiteral("1"))
        << "the default operating hours differ, so the power times are used";
}

TEST_F(ConfigJobTest, FailuresMarkThePlayerRecord)
{
    PlayerRecord player = record();
    player.SetupNo = 9; // no such setup
    setRecord(player);
    auto worker = makeWorker(&m_options);
    EXPECT_TRUE(runConfig(*worker));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
    PlayerRecord saved = savedRecord();
    EXPECT_EQ(saved.Status, PLAYER_STATUS_ERROR);
    EXPECT_EQ(saved.ErrCode, DLK_DETAIL_CONFIG_FILE);
    EXPECT_TRUE(m_player.requests(QStringLiteral("LCNF")).isEmpty());

    player.SetupNo = kSetupNumber;
    player.Status = PLAYER_STATUS_PENDING;
    setRecord(player);
    m_player.setUploadFault(Fault::httpStatus(500));
    auto refused = makeWorker(&m_options);
    EXPECT_TRUE(runConfig(*refused));
    EXPECT_EQ(outcome(*refused), pair(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_SEND_ERROR));
    saved = savedRecord();
    EXPECT_EQ(saved.Status, PLAYER_STATUS_ERROR);
    EXPECT_EQ(saved.ErrCode, DLK_DETAIL_SEND_ERROR);
    EXPECT_FALSE(QFileInfo::exists(playerFile(QStringLiteral("kdp-r40_setup_send.xml"))));

    player.Status = PLAYER_STATUS_PENDING;
    setRecord(player);
    m_player.clearFaults();
    m_player.setCommandFault(QStringLiteral("LCNF"), Fault::serr(112));
    auto notLoaded = makeWorker(&m_options);
    EXPECT_TRUE(runConfig(*notLoaded));
    EXPECT_EQ(outcome(*notLoaded), pair(DLK_STATE_COMMAND_FAILED, 112u));
    EXPECT_EQ(savedRecord().ErrCode, 112);
    EXPECT_EQ(record().Pass, QString()) << "the record takes the setup's access only when the player loaded it";
}

TEST_F(ConfigJobTest, NetworkSetupRebootsOnlyOldVersions)
{
    const QString netFile = MakeSetupNetFilePath(m_dir.path(), true);
    writeFile(netFile, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<setup ver=\"1.0\"><network><dhcp>1</dhcp>"
                       "</network></setup>\n");
    m_player.setSystemValue(QStringLiteral("version"), QStringLiteral("1.11"));
    auto worker = makeWorker();
    EXPECT_TRUE(runConfig(*worker, true));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_DONE, 0));
    EXPECT_EQ(sentCommands(), QStringList({"SYST", "/import/kdp-r40_setup_send.xml", "DATE", "LCNF"}));
    EXPECT_TRUE(m_player.requests(QStringLiteral("LCNF"))[0].parameter(QStringLiteral("mode")).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(netFile)) << "the network setup is every player's and stays";
    EXPECT_EQ(record().Status, PLAYER_STATUS_PENDING) << "the network form leaves the record alone";

    m_player.clearRequests();
    m_player.setSystemValue(QStringLiteral("version"), QStringLiteral("1.10"));
    auto old = makeWorker();
    EXPECT_TRUE(runConfig(*old, true));
    EXPECT_EQ(m_player.requests(QStringLiteral("LCNF"))[0].parameter(QStringLiteral("mode")), QStringLiteral("reboot"));

    QFile::remove(netFile);
    auto missing = makeWorker();
    EXPECT_TRUE(runConfig(*missing, true));
    EXPECT_EQ(outcome(*missing), pair(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_FILE_NOT_FOUND));
    EXPECT_EQ(record().Status, PLAYER_STATUS_PENDING);
}

} // namespace
