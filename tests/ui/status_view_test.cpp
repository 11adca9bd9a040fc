// The status pane's player operations, driven through its controls against
// emulated players: the status of the chosen or of every player with each
// one's answer beside its row, the content lists with the touch-panel option,
// the three kinds of log collection into cabinets on the desktop (or where
// they went when there is none), and the firmware update with its file
// dialog, its check of the file and its question; the controls rest while an
// operation runs, 停止 stops it, and the list shows exactly the players of
// the last one.
#include "app/main_frame.h"
#include "cab/dlkx_cab.h"
#include "core/message_box.h"
#include "core/setting_ini.h"
#include "control_lookup.h"
#include "fake_file_dialogs.h"
#include "model/app_data.h"
#include "ops/log_collection.h"
#include "player_ops_fixture.h"
#include "transfer/transfer_status_xml.h"
#include "ui/players/status_dlg_view.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What `cabextract -t` says of a cabinet; empty when it refuses it.
QString TestedMembers(const QString &cabinet)
{
    QProcess check;
    check.start(QStringLiteral("cabextract"), {QStringLiteral("-t"), cabinet});
    if (!check.waitForFinished(30000) || check.exitCode() != 0)
        return QString();
    return QString::fromUtf8(check.readAllStandardOutput());
}

} // namespace

class StatusViewTest : public PlayerOpsTest {
protected:
    // The communication status view with count players whose records match
    // what they answer to a status query.
    bool start(int count)
    {
        if (!startWithPlayers(count))
            return false;
        for (int i = 0; i < count; ++i) {
            const bool known = GetAppData().GetPlayerXml().UpdatePlayer(number(i), [](PlayerRecord &record) {
                record.Serial = QStringLiteral("R40-000001");
                record.TimeZone = QStringLiteral("GMT +09:00");
                return true;
            });
            if (!known)
                return false;
            player(i).setSystemValue(QStringLiteral("resolution"), QString());
        }
        m_frame->resize(1200, 800);
        return m_frame->SwitchView(CMainFrame::VIEW_COMM_STATUS, true);
    }
    QWidget *pane() const { return m_frame->GetViewPane(CMainFrame::PANE_STATUS); }
    QPushButton *button(int id) const { return control<QPushButton>(pane(), id); }
    void click(int id)
    {
        QPushButton *pressed = button(id);
        ASSERT_NE(pressed, nullptr) << id;
        // The controls follow the frame's idle state on their own timer.
        ASSERT_TRUE(QTest::qWaitFor([pressed] { return pressed->isEnabled(); })) << id;
        QTest::mouseClick(pressed, Qt::LeftButton);
    }
    void choose(int i)
    {
        auto *combo = control<QComboBox>(pane(), CStatusDlgView::ID_PLAYER);
        ASSERT_NE(combo, nullptr);
        const int index = combo->findData(number(i));
        ASSERT_GE(index, 0);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        ASSERT_EQ(m_frame->GetCurrentPlayerId(), number(i));
    }
    int rows() const { return statusList()->rowCount(); }
    QString desktop(const QString &name) const { return QDir(GetLogTargetFolder()).filePath(name); }
};

TEST_F(StatusViewTest, StatusOfTheChosenAndOfEveryPlayerShowsEachAnswerBesideItsRow)
{
    ASSERT_TRUE(start(2));
    player(0).setDisk(8ull << 30, 6ull << 30, 4ull << 30, 1ull << 30);
    player(1).setSystemValue(QStringLiteral("fan1"), QStringLiteral("2"));

    // The delivery views fetch status and lists; logs and updates are the
    // communication status view's.
    ASSERT_TRUE(m_frame->SwitchView(CMainFrame::VIEW_GROUP_DELIVERY, true));
    EXPECT_FALSE(button(CStatusDlgView::ID_STATUS_ALL)->isHidden());
    EXPECT_TRUE(button(CStatusDlgView::ID_UPDATE_ALL)->isHidden());
    EXPECT_TRUE(button(CStatusDlgView::ID_LOG_APPLICATION)->isHidden());
    ASSERT_TRUE(m_frame->SwitchView(CMainFrame::VIEW_COMM_STATUS, true));
    EXPECT_FALSE(button(CStatusDlgView::ID_UPDATE_ALL)->isHidden());

    choose(0);
    click(CStatusDlgView::ID_STATUS_SELECTED);
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(player(1).requests().isEmpty());
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_NAME), QStringLiteral("Shop1"));
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_VERSION), QStringLiteral("1.23"));
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_FREE), QStringLiteral("6144 / 8192 MB"));
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_FREE_AV), QStringLiteral("1024 / 4096 MB"));
    EXPECT_FALSE(statusCell(0, CStatusDlgView::COLUMN_CLOCK).isEmpty());
    // Nothing was counted: no files or bytes to show.
    EXPECT_TRUE(statusCell(0, CStatusDlgView::COLUMN_FILES).isEmpty());
    EXPECT_TRUE(statusCell(0, CStatusDlgView::COLUMN_BYTES).isEmpty());

    // Every player: the one whose fan failed is reported as itself.
    click(CStatusDlgView::ID_STATUS_ALL);
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(rows(), 2);
    EXPECT_TRUE(statusCell(0, CStatusDlgView::COLUMN_DETAIL).isEmpty());
    EXPECT_EQ(statusCell(1, CStatusDlgView::COLUMN_NAME), QStringLiteral("Shop2"));
    EXPECT_EQ(statusCell(1, CStatusDlgView::COLUMN_DETAIL), QStringLiteral("3005 ファン異常"));
    EXPECT_EQ(statusCell(1, CStatusDlgView::COLUMN_VERSION), QStringLiteral("1.23"));
    EXPECT_TRUE(statusCell(1, CStatusDlgView::COLUMN_FREE).isEmpty());

    // A player that does not answer shows no earlier answer as its own.
    player(0).setCommandFault(QStringLiteral("SYST"), EmulatedPlayer::Fault::httpStatus(500));
    m_prompter.answer(IDOK);
    click(CStatusDlgView::ID_STATUS_SELECTED);
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(rows(), 1);
    EXPECT_FALSE(statusCell(0, CStatusDlgView::COLUMN_DETAIL).isEmpty());
    EXPECT_TRUE(statusCell(0, CStatusDlgView::COLUMN_VERSION).isEmpty());
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("エラーコード："))) << m_prompter.last().text.toStdString();
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);

    // A stalled player is stopped in the view that shows it; idle, there is nothing to stop.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !button(CStatusDlgView::ID_STOP)->isEnabled(); }));
    player(0).clearFaults();
    player(0).setCommandFault(QStringLiteral("SYST"), EmulatedPlayer::Fault::stall());
    m_prompter.answer(IDOK);
    click(CStatusDlgView::ID_STATUS_SELECTED);
    ASSERT_TRUE(player(0).waitForStalls());
    click(CStatusDlgView::ID_STOP);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(GetPlayerStatusStore()->GetTransferState(), TRANSFER_STATE_STOPPED);
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_STATE), QStringLiteral("中止"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !button(CStatusDlgView::ID_STOP)->isEnabled(); }));
}

TEST_F(StatusViewTest, ContentListsOfTheChosenPlayerAskForTouchPanelPlaylistsWhenTheOptionIsOn)
{
    ASSERT_TRUE(start(2));
    SystemOptions options = GetSettingIni().Options();
    options.VODUse = true;
    GetSettingIni().SetOptions(options);
    choose(1);

    click(CStatusDlgView::ID_REMOTE_LIST);
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(player(0).requests().isEmpty());
    bool playlistsAsked = false;
    for (const EmulatedPlayer::Request &request : player(1).requests(QStringLiteral("STBL"))) {
        if (request.parameter(QStringLiteral("table")) == QLatin1String("1")) {
            playlistsAsked = true;
            EXPECT_EQ(request.parameter(QStringLiteral("flag")), QStringLiteral("1"));
        }
    }
    EXPECT_TRUE(playlistsAsked);
    EXPECT_FALSE(player(1).requests(QStringLiteral("CLST")).isEmpty());
    EXPECT_EQ(GetPlayerStatusStore()->GetTransferState(), TRANSFER_STATE_COMPLETE);
    EXPECT_TRUE(m_prompter.prompts().isEmpty());
}

TEST_F(StatusViewTest, LogsOfEachKindEndInCabinetsOnTheDesktopWithTheirMembers)
{
    ASSERT_TRUE(start(2));
    // A player sends its log as a cabinet.
    QTemporaryDir source;
    QFile log(QDir(source.path()).filePath(QStringLiteral("syslog.txt")));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("player log\n");
    log.close();
    const QString playerCab = QDir(source.path()).filePath(QStringLiteral("syslog.cab"));
    ASSERT_EQ(DLKxCompressCab({source.path(), {QStringLiteral("syslog.txt")}, 1, playerCab}), 0);
    QFile sent(playerCab);
    ASSERT_TRUE(sent.open(QIODevice::ReadOnly));
    const QByteArray cabinet = sent.readAll();
    for (int i = 0; i < 2; ++i)
        player(i).setLogFile(QStringLiteral("syslog.cab"), cabinet);
    click(CStatusDlgView::ID_STATUS_ALL);
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(rows(), 2);

    // This program's data: a cabinet that cannot be written says where.
    QDir().mkpath(desktop(QStringLiteral("Q9_Log.cab")));
    m_prompter.expect(5483, IDOK);
    click(CStatusDlgView::ID_LOG_APPLICATION);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(m_prompter.last().arguments, QStringList{GetLogTargetFolder()});
    // The collection concerns no player: no row of the earlier status query stays.
    EXPECT_EQ(rows(), 0);
    QDir(desktop(QStringLiteral("Q9_Log.cab"))).removeRecursively();
    // Without a desktop the message names the folder the cabinet went to.
    ASSERT_FALSE(QFileInfo::exists(QDir(m_home.path()).filePath(QStringLiteral("Desktop"))));
    m_prompter.expect(5480, IDOK);
    click(CStatusDlgView::ID_LOG_APPLICATION);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(m_prompter.last().arguments, (QStringList{QStringLiteral("Q9_Log.cab"), QDir::homePath()}));
    EXPECT_TRUE(QFileInfo::exists(QDir::home().filePath(QStringLiteral("Q9_Log.cab"))));
    ASSERT_TRUE(QDir(m_home.path()).mkdir(QStringLiteral("Desktop")));
    m_prompter.expect(5271, IDOK);
    click(CStatusDlgView::ID_LOG_APPLICATION);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(m_prompter.last().arguments, QStringList{QStringLiteral("Q9_Log.cab")});
    EXPECT_EQ(pane()->findChild<QLabel *>(QString::fromLatin1(CStatusDlgView::kStateLabelName))->text(),
              QStringLiteral("システムログ圧縮完了"));
    QString members = TestedMembers(desktop(QStringLiteral("Q9_Log.cab")));
    EXPECT_TRUE(members.contains(QStringLiteral("Q9S.ini"))) << members.toStdString();
    EXPECT_FALSE(members.contains(QStringLiteral("LogTemp"))) << members.toStdString();
    EXPECT_FALSE(QFileInfo(desktop(QStringLiteral("Q9_Log.cab"))).permissions().testFlag(QFileDevice::ReadOther));
    EXPECT_TRUE(player(0).requests(QStringLiteral("NLOG")).isEmpty());

    // The chosen player's log: the cabinet it sent, under its name.
    choose(1);
    m_prompter.expect(5271, IDOK);
    click(CStatusDlgView::ID_LOG_PLAYER);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(rows(), 1);
    EXPECT_TRUE(player(0).requests(QStringLiteral("NLOG")).isEmpty());
    members = TestedMembers(desktop(QStringLiteral("Shop2_Log.cab")));
    EXPECT_TRUE(members.contains(QStringLiteral("syslog.txt"))) << members.toStdString();

    // Everything: every player's log before this program's data; a log an
    // earlier run left behind is no player's of this one.
    const QString workFolder = LogWorkFolder(GetAppData().GetDataRoot());
    QDir().mkpath(QDir(workFolder).filePath(QStringLiteral("Renamed")));
    QFile::copy(playerCab, QDir(workFolder).filePath(QStringLiteral("Renamed/syslog.cab")));
    m_prompter.expect(5271, IDOK);
    click(CStatusDlgView::ID_LOG_ALL);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(rows(), 2);
    members = TestedMembers(desktop(QStringLiteral("Q9_AllLog.cab")));
    const qsizetype first = members.indexOf(QStringLiteral("LogTemp/Shop1/"));
    EXPECT_GE(first, 0) << members.toStdString();
    EXPECT_TRUE(members.contains(QStringLiteral("LogTemp/Shop2/"))) << members.toStdString();
    EXPECT_FALSE(members.contains(QStringLiteral("LogTemp/Renamed/"))) << members.toStdString();
    EXPECT_GT(members.indexOf(QStringLiteral("Q9S.ini")), first) << members.toStdString();

    // A name as long as a file name allows, stored before names were held
    // shorter: its own log still reaches the desktop; the whole collection
    // says why it cannot be made and leaves nothing that would fail the next.
    CHarlPlayerXml &players = GetAppData().GetPlayerXml();
    const std::optional<PlayerRecord> stored = players.CopyPlayer(number(1));
    ASSERT_TRUE(stored);
    const QString shopName = stored->Name;
    const QString longName(247, QLatin1Char('L'));
    auto rename = [&](const QString &name) {
        players.UpdatePlayer(number(1), [&](PlayerRecord &record) { record.Name = name; return true; });
    };
    rename(longName);
    m_prompter.expect(5271, IDOK);
    click(CStatusDlgView::ID_LOG_PLAYER);
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(QFileInfo::exists(desktop(longName + QStringLiteral("_Log.cab"))));
    m_prompter.expect(5485, IDOK);
    click(CStatusDlgView::ID_LOG_ALL);
    ASSERT_TRUE(waitIdle());
    EXPECT_FALSE(QFileInfo::exists(workFolder));
    EXPECT_TRUE(QDir(GetLogTargetFolder()).entryList({QStringLiteral("*.telvq9-tmp")}, QDir::Files).isEmpty());
    rename(shopName);
    m_prompter.expect(5271, IDOK);
    click(CStatusDlgView::ID_LOG_ALL);
    ASSERT_TRUE(waitIdle());

    // One player refuses: the cabinet holds what came, the one message names
    // the player that failed and why, and no work folder stays.
    player(1).setCredentials(QString::fromLatin1(EmulatedPlayer::kDefaultUser), QStringLiteral("other"));
    QFile::remove(desktop(QStringLiteral("Q9_AllLog.cab")));
    qsizetype shown = m_prompter.prompts().size();
    m_prompter.expect(5496, IDOK);
    click(CStatusDlgView::ID_LOG_ALL);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(m_prompter.prompts().size(), shown + 1);
    EXPECT_EQ(m_prompter.last().arguments,
              (QStringList{QStringLiteral("Q9_AllLog.cab"),
                           QStringLiteral("Shop2 (エラーコード： 1003 "
                                          "KDP-R40に接続できません(ユーザー名またはパスワードが違います)。)")}));
    members = TestedMembers(desktop(QStringLiteral("Q9_AllLog.cab")));
    EXPECT_TRUE(members.contains(QStringLiteral("LogTemp/Shop1/"))) << members.toStdString();
    EXPECT_FALSE(members.contains(QStringLiteral("LogTemp/Shop2/"))) << members.toStdString();
    EXPECT_TRUE(members.contains(QStringLiteral("Q9S.ini"))) << members.toStdString();
    EXPECT_FALSE(QFileInfo::exists(workFolder));
    // That player's own log: its failure, and again no work folder.
    shown = m_prompter.prompts().size();
    m_prompter.answer(IDOK);
    click(CStatusDlgView::ID_LOG_PLAYER);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(m_prompter.prompts().size(), shown + 1);
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("エラーコード： 1003"))) << m_prompter.last().text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(workFolder));
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);
}

TEST_F(StatusViewTest, UpdateReachesThePlayersAfterItsFileAndQuestionAndRestsTheControlsMeanwhile)
{
    ASSERT_TRUE(start(2));
    const QString folder = QDir(m_home.path()).filePath(QStringLiteral("firmware"));
    const QString update = QDir(folder).filePath(QStringLiteral("r40update.cab"));
    ASSERT_TRUE(writeUpdateCabinet(update));
    FakeFileDialogs dialogs;
    choose(0);

    // Cancelled file dialog, then No to the question: nothing is sent.
    click(CStatusDlgView::ID_UPDATE_SELECTED);
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].title, QStringLiteral("KDP-R40アップデートファイルの選択"));
    EXPECT_EQ(dialogs.requests[0].filter, QStringLiteral("KDP-R40アップデートファイル (*.cab)"));
    EXPECT_TRUE(m_prompter.prompts().isEmpty());

    // A file that is not a whole cabinet is refused by name before the
    // question: typed text, and a cabinet cut short.
    const QString typed = QDir(folder).filePath(QStringLiteral("notes.cab"));
    QFile text(typed);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("firmware 1.24 notes\n");
    text.close();
    const QString cut = QDir(folder).filePath(QStringLiteral("cut.cab"));
    ASSERT_TRUE(QFile::copy(update, cut));
    ASSERT_TRUE(QFile::resize(cut, QFileInfo(update).size() - 1));
    for (const QString &wrong : {typed, cut}) {
        dialogs.answers << wrong;
        m_prompter.expect(5479, IDOK);
        click(CStatusDlgView::ID_UPDATE_SELECTED);
        EXPECT_EQ(m_prompter.last().arguments, QStringList{wrong});
    }
    EXPECT_FALSE(m_frame->IsBusy());
    EXPECT_TRUE(player(0).requests().isEmpty());
    dialogs.answers << update;
    m_prompter.answer(IDNO);
    click(CStatusDlgView::ID_UPDATE_SELECTED);
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("選択したKDP-R40にアップデートを行い")));
    EXPECT_FALSE(m_frame->IsBusy());
    EXPECT_TRUE(player(0).requests().isEmpty());

    dialogs.answers << update;
    m_prompter.answer(IDYES).answer(IDOK);
    click(CStatusDlgView::ID_UPDATE_SELECTED);
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(player(0).hasFile(QStringLiteral("/import/update/r40update.cab")));
    EXPECT_FALSE(player(0).requests(QStringLiteral("RSET")).isEmpty());
    EXPECT_TRUE(player(1).requests().isEmpty());
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("KDP-R40のアップデートファイルの送信が完了し")));

    // Every player; one refuses the file and is reported as itself. While
    // it runs every control rests.
    player(0).setUploadFault(EmulatedPlayer::Fault::delay(1000).once());
    player(1).setUploadFault(EmulatedPlayer::Fault::httpStatus(500));
    dialogs.answers << update;
    m_prompter.answer(IDYES).answer(IDOK);
    click(CStatusDlgView::ID_UPDATE_ALL);
    EXPECT_TRUE(m_prompter.prompts()[m_prompter.prompts().size() - 1].text.startsWith(
        QStringLiteral("通信可能なすべてのKDP-R40にアップデートを行い")));
    ASSERT_TRUE(m_frame->IsBusy());
    for (int id = CStatusDlgView::ID_STATUS_SELECTED; id <= CStatusDlgView::ID_LOG_ALL; ++id)
        EXPECT_FALSE(button(id)->isEnabled()) << id;
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了"));
    EXPECT_NE(statusCell(1, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了"));
    EXPECT_FALSE(statusCell(1, CStatusDlgView::COLUMN_DETAIL).isEmpty());
    EXPECT_TRUE(player(1).requests(QStringLiteral("RSET")).isEmpty());
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("エラーコード："))) << m_prompter.last().text.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return button(CStatusDlgView::ID_UPDATE_ALL)->isEnabled(); }));
}
