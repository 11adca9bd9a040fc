// The operator's whole road through the real main window, only by its
// widgets: the first set-up from an empty data folder, two players and their
// group, a movie, a still, a web page and a bitmap telop registered by the
// contents pane's register commands, each sent to the group, and every
// player's result in the status pane; then the files as the emulated players
// received them, the telop's registration naming its bitmap. The
// second road, with a still only, has one player refusing the password. The
// third asks the status of players added as the README says: it passes until
// a player's serial number changes, and a failed send then shows no earlier
// answer. The settings package made straight after the first set-up is whole.
//
// With TELV_SCREENSHOT_DIR set, the window is grabbed at three points of the
// road into that folder (`make screenshots`).

#include "operator_road_fixture.h"

TEST_F(OperatorRoad, FromAnEmptyDataFolderToContentsOnEveryPlayerOfTheGroup)
{
    ASSERT_TRUE(startPlayers(2));
    ASSERT_TRUE(showWindow());
    const std::vector<Registered> contents = setUpAndRegister(false);
    ASSERT_EQ(contents.size(), 4u);
    sendEach(contents);
    snapshot("3-sent");

    EXPECT_TRUE(m_prompter.prompts().isEmpty()) << m_prompter.last().text.toStdString();
    ASSERT_EQ(statusList()->rowCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(statusCell(i, CStatusDlgView::COLUMN_NAME), QStringLiteral("Shop%1").arg(i + 1));
        EXPECT_EQ(statusCell(i, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了")) << i;
        for (const Registered &content : contents)
            EXPECT_TRUE(received(i, content)) << "player " << i << " type " << content.type;
        const QList<EmulatedPlayer::Row> telops = player(i).contentRows(3);
        ASSERT_EQ(telops.size(), 1);
        const QString link = EmulatedPlayer::fieldText(telops[0], QStringLiteral("link"));
        EXPECT_TRUE(link.endsWith(QStringLiteral("%1.bmp").arg(contents[3].index, 9, 10, QLatin1Char('0'))))
            << link.toStdString();
    }
}

TEST_F(OperatorRoad, APlayerThatRefusesThePasswordIsTheOneReported)
{
    ASSERT_TRUE(startPlayers(2));
    player(1).setCredentials(QString::fromLatin1(EmulatedPlayer::kDefaultUser), QStringLiteral("changed-on-site"));
    ASSERT_TRUE(showWindow());
    const std::vector<Registered> contents = setUpAndRegister(true);
    ASSERT_EQ(contents.size(), 1u);
    const Registered still = contents[0];
    m_prompter.answer(IDOK);
    sendEach({still});

    ASSERT_EQ(m_prompter.prompts().size(), 1);
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("エラーコード： 1003")))
        << m_prompter.last().text.toStdString();
    ASSERT_EQ(statusList()->rowCount(), 2);
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了"));
    EXPECT_TRUE(received(0, still));
    EXPECT_NE(statusCell(1, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了"));
    EXPECT_EQ(statusCell(1, CStatusDlgView::COLUMN_DETAIL), QStringLiteral("1003"));
    EXPECT_FALSE(received(1, still));
    EXPECT_TRUE(m_frame->isEnabled());
}

TEST_F(OperatorRoad, StatusOfPlayersAddedByTheReadmePassesUntilOneOfThemChanges)
{
    ASSERT_TRUE(startPlayers(2));
    ASSERT_TRUE(showWindow());
    const std::vector<Registered> contents = setUpAndRegister(true);
    ASSERT_EQ(contents.size(), 1u);
    clickNavigation(CMainFrame::VIEW_ADVANCE_DELIVERY);
    QWidget *status = pane(CMainFrame::PANE_STATUS);
    const auto askEveryStatus = [&] {
        auto *button = control<QPushButton>(status, CStatusDlgView::ID_STATUS_ALL);
        // The controls follow the frame's idle state on their own timer.
        ASSERT_TRUE(QTest::qWaitFor([button] { return button->isEnabled(); }));
        click(button);
        ASSERT_TRUE(waitIdle());
        ASSERT_EQ(statusList()->rowCount(), 2);
    };

    // The first answer is taken as the players are; asked again, nothing differs.
    for (int round = 0; round < 2; ++round) {
        askEveryStatus();
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(statusCell(i, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了")) << round << i;
            EXPECT_TRUE(statusCell(i, CStatusDlgView::COLUMN_DETAIL).isEmpty()) << round << i;
            EXPECT_EQ(statusCell(i, CStatusDlgView::COLUMN_VERSION), QStringLiteral("1.23")) << round << i;
        }
    }
    EXPECT_TRUE(m_prompter.prompts().isEmpty()) << m_prompter.last().text.toStdString();

    // Another unit under the second player's address is a change.
    player(1).setSystemValue(QStringLiteral("serial"), QStringLiteral("R40-000777"));
    askEveryStatus();
    EXPECT_TRUE(statusCell(0, CStatusDlgView::COLUMN_DETAIL).isEmpty());
    EXPECT_EQ(statusCell(1, CStatusDlgView::COLUMN_DETAIL), QStringLiteral("3003 設定の不一致"));

    // A send that fails shows what it learnt, not the clock and disk of the status query.
    player(0).setUploadFault(EmulatedPlayer::Fault::httpStatus(500));
    m_prompter.answer(IDOK);
    sendEach(contents);
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("エラーコード："))) << m_prompter.last().text.toStdString();
    ASSERT_EQ(statusList()->rowCount(), 2);
    EXPECT_NE(statusCell(0, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了"));
    for (int i = 0; i < 2; ++i) {
        for (int column : {CStatusDlgView::COLUMN_VERSION, CStatusDlgView::COLUMN_FREE, CStatusDlgView::COLUMN_CLOCK})
            EXPECT_TRUE(statusCell(i, column).isEmpty()) << i << " " << column;
    }
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);
}

// Straight after the first set-up, with no displays set up, the settings
// package goes out whole: the display list in it is the empty list.
TEST_F(OperatorRoad, SettingsPackageRightAfterTheFirstSetUp)
{
    ASSERT_TRUE(startPlayers(1));
    ASSERT_TRUE(showWindow());
    completeFirstSetUp(1);
    const QDir data(dataFolder());
    ASSERT_FALSE(data.exists(QStringLiteral("Q9Display.xml")));

    const QString target = QDir(m_home.path()).filePath(QStringLiteral("Q9Setup.cab"));
    m_dialogs.answers << target;
    m_prompter.answer(IDOK);
    m_frame->OnExportSettings();
    ASSERT_EQ(m_prompter.prompts().size(), 1);
    EXPECT_TRUE(m_prompter.last().text.contains(target)) << m_prompter.last().text.toStdString();

    const QString out = QDir(m_home.path()).filePath(QStringLiteral("out"));
    ASSERT_EQ(DLKxDecompressCab({target, out}), 0);
    const QString emptyList = QDir(m_home.path()).filePath(QStringLiteral("empty.xml"));
    ASSERT_TRUE(CQ9DisplayXml().Save(emptyList));
    QFile packed(QDir(out).filePath(QStringLiteral("TelvData/Q9Data/Q9Display.xml")));
    QFile expected(emptyList);
    ASSERT_TRUE(packed.open(QIODevice::ReadOnly));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    EXPECT_EQ(packed.readAll(), expected.readAll());
    EXPECT_TRUE(QFile::exists(QDir(out).filePath(QStringLiteral("TelvData/Q9Data/Player.xml"))));
}
