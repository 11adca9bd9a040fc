#include "job_test_fixture.h"

#include <QDir>

void JobTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(m_player.start());
    ASSERT_TRUE(QDir().mkpath(playerFolder()));
    PlayerRecord record;
    record.Number = kPlayerNumber;
    record.Name = QStringLiteral("Lobby");
    record.IPAddress = m_player.address();
    record.Status = PLAYER_STATUS_PENDING;
    m_players.AddPlayer(record);
    m_status.SetPlayers({kPlayerNumber});
}

std::unique_ptr<WorkerProbe> JobTest::makeWorker(CSettingIni *options)
{
    auto worker = std::make_unique<WorkerProbe>(nullptr, options);
    EXPECT_TRUE(worker->SetDlkName(QStringLiteral("Lobby")));
    EXPECT_TRUE(worker->SetPcFolder(m_dir.path(), playerFolder()));
    worker->SetStatusDocument(&m_status, kPlayerNumber);
    worker->SetPlayerTable(&m_players, m_dir.filePath(QStringLiteral("Player.xml")));
    EXPECT_TRUE(worker->EnableCallback(true, &NoticeLog::callback, &m_notices));
    worker->SetPingFactory(m_ping.factory());
    return worker;
}

bool JobTest::runJob(WorkerProbe &worker)
{
    EXPECT_TRUE(worker.StartTransfer(m_player.address(), QString::fromLatin1(EmulatedPlayer::kDefaultUser),
                                     QString::fromLatin1(EmulatedPlayer::kDefaultPassword), m_player.port(), 0,
                                     &m_requests, 0));
    return worker.FinishTransfer();
}

void JobTest::connect(WorkerProbe &worker)
{
    R40HttpParam param;
    param.mask = R40_PARAM_PORT | R40_PARAM_WORK_FOLDER;
    param.port = m_player.port();
    param.workFolder = playerFolder();
    ASSERT_TRUE(worker.httpClient().SetParameter(param));
    ASSERT_TRUE(worker.httpClient().Init());
    ASSERT_TRUE(worker.httpClient().Connect(m_player.address(), QString::fromLatin1(EmulatedPlayer::kDefaultUser),
                                            QString::fromLatin1(EmulatedPlayer::kDefaultPassword)));
}

QString JobTest::playerFolder() const
{
    return m_dir.filePath(QStringLiteral("KDP-R40/Lobby"));
}

QString JobTest::playerFile(const QString &name) const
{
    return QDir(playerFolder()).filePath(name);
}

PlayerRecord JobTest::record() const
{
    return m_players.CopyPlayers().at(0);
}

void JobTest::setRecord(const PlayerRecord &record)
{
    m_players.EditPlayers([&record](std::vector<PlayerRecord> &players) { players.at(0) = record; });
}

int JobTest::noticeCount(quint16 kind) const
{
    int count = 0;
    for (const auto &notice : m_notices.notices())
        count += notice.first == kind ? 1 : 0;
    return count;
}
