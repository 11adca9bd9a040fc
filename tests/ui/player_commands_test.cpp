// Single player commands through the main frame against emulated players:
// the connection check's answer, a wrong password, a question answered No,
// Wake-on-LAN to a loopback destination and a MAC address that does not read;
// the player page's maintenance buttons, power-on among them, which reach the
// player as the page shows it.
#include "app/main_frame.h"
#include "core/message_box.h"
#include "model/app_data.h"
#include "player/wake_on_lan.h"
#include "player_ops_fixture.h"
#include "support/fake_clock.h"
#include "transfer/transfer_status_xml.h"
#include "ui/players/set_r40_list_dlg_view.h"
#include "ui/players/status_dlg_view.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QUdpSocket>

namespace {

QStringList Commands(const EmulatedPlayer &player)
{
    QStringList commands;
    for (const EmulatedPlayer::Request &request : player.requests())
        commands.append(request.command());
    return commands;
}

void SetMacAddress(qint32 number, const QString &mac)
{
    ASSERT_TRUE(GetAppData().GetPlayerXml().UpdatePlayer(number, [&mac](PlayerRecord &record) {
        record.MacAddress = mac;
        return true;
    }));
}

} // namespace

TEST_F(PlayerOpsTest, CheckConnectShowsThePlayersFacts)
{
    ASSERT_TRUE(startWithPlayers(1));
    player(0).setSystemValue(QStringLiteral("version"), QStringLiteral("1.23"));
    player(0).setSystemValue(QStringLiteral("serial"), QStringLiteral("SN-0042"));
    m_prompter.answer(IDOK);

    m_frame->R40CommandStart(COMMAND_MODE_CHECK_CONNECT, number(0));
    ASSERT_TRUE(waitIdle());

    ASSERT_EQ(m_prompter.prompts().size(), 1);
    const QString text = m_prompter.last().text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("接続チェック OK。"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("1.23"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("SN-0042"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1Char('%'))) << text.toStdString();
    EXPECT_EQ(GetPlayerStatusStore()->GetTransferState(), TRANSFER_STATE_COMPLETE);
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了"));
}

TEST_F(PlayerOpsTest, CommandFailuresAndRefusals)
{
    ASSERT_TRUE(startWithPlayers(1));

    // No player chosen: refused before anything is asked.
    m_prompter.answer(IDOK);
    m_frame->R40CommandStart(COMMAND_MODE_RESTART, -1);
    EXPECT_EQ(m_prompter.last().text, QStringLiteral("機器を選択してください。"));

    // Restart answered No: nothing is sent, the document is untouched.
    m_prompter.answer(IDNO);
    m_frame->R40CommandStart(COMMAND_MODE_RESTART, number(0));
    EXPECT_FALSE(m_frame->IsBusy());
    EXPECT_TRUE(player(0).requests().isEmpty());

    // A command answered OK, run to its end; false when it does not end.
    const auto runToEnd = [this](int mode) {
        m_prompter.answer(IDOK);
        m_frame->R40CommandStart(mode, number(0));
        return waitIdle();
    };

    // A wrong password: detail 1003 in the message and the status pane.
    player(0).setCredentials(QString::fromLatin1(EmulatedPlayer::kDefaultUser), QStringLiteral("other"));
    ASSERT_TRUE(runToEnd(COMMAND_MODE_SET_TIME));
    // Each code comes with the error-code table's words for it.
    EXPECT_TRUE(m_prompter.last().text.startsWith(
        QStringLiteral("エラーコード： 1003  エラーが発生しました。\nKDP-R40に接続できません(ユーザー名またはパスワードが違います)。\n"
                       "KDP-R40設定のユーザー名とパスワードを確認してください。\n\n")))
        << m_prompter.last().text.toStdString();
    EXPECT_EQ(GetPlayerStatusStore()->GetTransferState(), TRANSFER_STATE_ENDED_ERRORS);
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_DETAIL), QStringLiteral("1003"));

    // The connection check that the player answers with a server error.
    player(0).setCredentials(QString::fromLatin1(EmulatedPlayer::kDefaultUser),
                             QString::fromLatin1(EmulatedPlayer::kDefaultPassword));
    player(0).setCommandFault(QStringLiteral("SYST"), EmulatedPlayer::Fault::httpStatus(500));
    ASSERT_TRUE(runToEnd(COMMAND_MODE_CHECK_CONNECT));
    EXPECT_TRUE(m_prompter.last().text.startsWith(
        QStringLiteral("エラーコード： 1004  エラーが発生しました。\nKDP-R40との通信でエラーが発生しました。\n")))
        << m_prompter.last().text.toStdString();
    player(0).clearFaults();

    // No MAC address: said at once, nothing starts.
    SetMacAddress(number(0), QString());
    m_prompter.answer(IDOK);
    m_frame->R40CommandStart(COMMAND_MODE_POWER_ON, number(0));
    EXPECT_FALSE(m_frame->IsBusy());
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("MACアドレスが設定されていないため"))) << m_prompter.last().text.toStdString();

    // A MAC address that does not read sends nothing and says so.
    SetMacAddress(number(0), QStringLiteral("00-11-22-zz-44-55"));
    ASSERT_TRUE(runToEnd(COMMAND_MODE_POWER_ON));
    EXPECT_TRUE(m_prompter.last().text.startsWith(
        QStringLiteral("エラーコード： 3000  エラーが発生しました。\n設定ファイルまたはコマンドを作成できませんでした。\n")))
        << m_prompter.last().text.toStdString();
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);
}

TEST_F(PlayerOpsTest, PowerOnSendsTheMagicPacketToTheMacAddressShown)
{
    ASSERT_TRUE(startWithPlayers(1));
    QUdpSocket receiver;
    ASSERT_TRUE(receiver.bind(QHostAddress::LocalHost, 0));
    CWakeOnLan::SetDestinationOverride(QStringLiteral("127.0.0.1"), receiver.localPort());
    const auto nextPacket = [&receiver] {
        if (!receiver.hasPendingDatagrams() && !receiver.waitForReadyRead(3000))
            return QByteArray();
        QByteArray packet(int(receiver.pendingDatagramSize()), '\0');
        receiver.readDatagram(packet.data(), packet.size());
        return packet;
    };
    SetMacAddress(number(0), QStringLiteral("00:1B:2C:3D:4E:F5"));
    m_prompter.answer(IDOK);

    m_frame->R40CommandStart(COMMAND_MODE_POWER_ON, number(0));
    const bool ended = waitIdle();
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("指定したKDP-R40 に電源オン"))) << m_prompter.last().text.toStdString();
    const QByteArray packet = nextPacket();
    ASSERT_EQ(packet.size(), CWakeOnLan::kPacketSize);
    EXPECT_EQ(packet.mid(6, 6), QByteArray::fromHex("001B2C3D4EF5"));

    // From the player page: the MAC address corrected with 変更 and not yet
    // saved is the one the packet goes to.
    ASSERT_TRUE(m_frame->SwitchView(CMainFrame::VIEW_SET_PLAYERS, true));
    QWidget *page = m_frame->GetViewPane(CMainFrame::PANE_SET_R40_LIST);
    ASSERT_NE(page, nullptr);
    page->findChild<QTableWidget *>(QString::number(CSetR40ListDlgView::kListId))->selectRow(0);
    page->findChild<QLineEdit *>(QString::number(CSetR40ListDlgView::kMacId))->setText(QStringLiteral("00-AA-BB-CC-DD-0E"));
    QTest::mouseClick(page->findChild<QPushButton *>(QString::number(CSetR40ListDlgView::kChangeId)), Qt::LeftButton);
    auto *powerOn = page->findChild<QPushButton *>(QString::number(CSetR40ListDlgView::kPowerOnId));
    ASSERT_TRUE(QTest::qWaitFor([powerOn] { return powerOn->isEnabled(); }));
    m_prompter.answer(IDOK);
    powerOn->click();
    const bool pageEnded = waitIdle();
    CWakeOnLan::ClearDestinationOverride();
    ASSERT_TRUE(ended && pageEnded);
    EXPECT_EQ(nextPacket().mid(6, 6), QByteArray::fromHex("00AABBCCDD0E"));
    EXPECT_EQ(GetAppData().GetPlayerXml().CopyPlayer(number(0))->MacAddress, QStringLiteral("00:1B:2C:3D:4E:F5"));

    // A MAC address cleared on the page leaves power-on resting, as stored.
    page->findChild<QLineEdit *>(QString::number(CSetR40ListDlgView::kMacId))->clear();
    QTest::mouseClick(page->findChild<QPushButton *>(QString::number(CSetR40ListDlgView::kChangeId)), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([powerOn] { return !powerOn->isEnabled(); }));
}

TEST_F(PlayerOpsTest, PlayerPageChecksTheConnectionOfTheSelectedPlayer)
{
    ASSERT_TRUE(startWithPlayers(1));
    player(0).setSystemValue(QStringLiteral("serial"), QStringLiteral("SN-0077"));
    ASSERT_TRUE(m_frame->SwitchView(CMainFrame::VIEW_SET_PLAYERS, true));
    QWidget *page = m_frame->GetViewPane(CMainFrame::PANE_SET_R40_LIST);
    ASSERT_NE(page, nullptr);
    auto *list = page->findChild<QTableWidget *>(QString::number(CSetR40ListDlgView::kListId));
    auto *check = page->findChild<QPushButton *>(QString::number(CSetR40ListDlgView::kCheckConnectId));
    ASSERT_NE(list, nullptr);
    ASSERT_NE(check, nullptr);

    // No player chosen, or the frame busy: the commands rest; power-on
    // needs the player's MAC address.
    auto *powerOn = page->findChild<QPushButton *>(QString::number(CSetR40ListDlgView::kPowerOnId));
    ASSERT_NE(powerOn, nullptr);
    list->clearSelection();
    EXPECT_FALSE(check->isEnabled());
    list->selectRow(0);
    EXPECT_TRUE(check->isEnabled());
    EXPECT_FALSE(powerOn->isEnabled());
    page->findChild<QLineEdit *>(QString::number(CSetR40ListDlgView::kMacId))->setText(QStringLiteral("00-11-22-33-44-55"));
    QTest::mouseClick(page->findChild<QPushButton *>(QString::number(CSetR40ListDlgView::kChangeId)), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([powerOn] { return powerOn->isEnabled(); }));
    m_frame->SetBusyMode(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !check->isEnabled(); }));
    m_frame->SetBusyMode(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return check->isEnabled(); }));

    // The player's password was stored wrong: corrected with 変更 and not
    // yet saved, it is the one the check uses.
    player(0).setCredentials(QString::fromLatin1(EmulatedPlayer::kDefaultUser), QStringLiteral("corrected"));
    page->findChild<QLineEdit *>(QString::number(CSetR40ListDlgView::kPasswordId))->setText(QStringLiteral("corrected"));
    QTest::mouseClick(page->findChild<QPushButton *>(QString::number(CSetR40ListDlgView::kChangeId)), Qt::LeftButton);
    EXPECT_EQ(GetAppData().GetPlayerXml().CopyPlayer(number(0))->Pass, QString::fromLatin1(EmulatedPlayer::kDefaultPassword));
    EXPECT_TRUE(QTest::qWaitFor([&] { return check->isEnabled(); }));
    m_prompter.answer(IDOK);
    check->click();
    EXPECT_FALSE(check->isEnabled());
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(m_prompter.prompts().size(), 1);
    const QString text = m_prompter.last().text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("接続チェック OK。"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("SN-0077"))) << text.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return check->isEnabled(); }));

    // The check stores what the player reports; the page shows it, and a
    // change saved from the page keeps it.
    auto *serial = page->findChild<QLineEdit *>(QString::number(CSetR40ListDlgView::kSerialId));
    auto *timeZone = page->findChild<QLineEdit *>(QString::number(CSetR40ListDlgView::kTimeZoneId));
    ASSERT_NE(serial, nullptr);
    ASSERT_NE(timeZone, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return serial->text() == QStringLiteral("SN-0077"); })) << serial->text().toStdString();
    EXPECT_EQ(timeZone->text(), QStringLiteral("GMT +09:00"));
    EXPECT_TRUE(serial->isReadOnly());
    page->findChild<QLineEdit *>(QString::number(CSetR40ListDlgView::kPortId))->setText(QString::number(player(0).port()));
    QTest::mouseClick(page->findChild<QPushButton *>(QString::number(CSetR40ListDlgView::kChangeId)), Qt::LeftButton);
    QTest::mouseClick(page->findChild<QPushButton *>(QString::number(CSetR40ListDlgView::kOkButtonId)), Qt::LeftButton);
    CHarlPlayerXml stored;
    ASSERT_TRUE(stored.Load(GetAppData().GetPlayerFilePath()));
    ASSERT_EQ(stored.GetCount(), 1);
    EXPECT_EQ(stored.CopyPlayers()[0].Serial, QStringLiteral("SN-0077"));
    EXPECT_EQ(stored.CopyPlayers()[0].TimeZone, QStringLiteral("GMT +09:00"));
}

TEST_F(PlayerOpsTest, ClockQueryLeadsToSettingTheClock)
{
    ASSERT_TRUE(startWithPlayers(1));
    m_prompter.answer(IDYES).answer(IDOK);

    m_frame->R40CommandStart(COMMAND_MODE_QUERY_TIME, number(0));
    ASSERT_TRUE(waitIdle());

    ASSERT_EQ(m_prompter.prompts().size(), 2);
    const QString query = m_prompter.prompts().first().text;
    EXPECT_TRUE(query.startsWith(QStringLiteral("-- システム日時の情報 --"))) << query.toStdString();
    EXPECT_TRUE(query.contains(QStringLiteral("GMT "))) << query.toStdString();
    EXPECT_EQ(m_prompter.last().text, QStringLiteral("KDP-R40の日付と時刻の設定が完了しました。"));
    EXPECT_EQ(Commands(player(0)), (QStringList{QStringLiteral("SYST"), QStringLiteral("DATE")}));
}

TEST_F(PlayerOpsTest, ARunningCommandKeepsOthersOutUntilStopped)
{
    ASSERT_TRUE(startWithPlayers(1));
    player(0).setCommandFault(QStringLiteral("SYST"), EmulatedPlayer::Fault::delay(60000));
    m_frame->R40CommandStart(COMMAND_MODE_CHECK_CONNECT, number(0));
    ASSERT_TRUE(m_frame->IsBusy());

    m_prompter.expect(5295, IDOK);
    m_frame->R40CommandStart(COMMAND_MODE_SET_TIME, number(0));
    m_prompter.expect(5295, IDOK);
    m_frame->R40SendContents(1, {kMovie});

    m_prompter.answer(IDOK);
    m_frame->StopTransfer();
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(m_prompter.last().text, QStringLiteral("処理を中止しました。"));
    EXPECT_EQ(GetPlayerStatusStore()->GetTransferState(), TRANSFER_STATE_STOPPED);
}

TEST_F(PlayerOpsTest, TheNoSendPeriodRefusesPlayerOperations)
{
    writeIni("Q9S.ini", QStringLiteral("Option"), QStringLiteral("NotSendStartTime"), QStringLiteral("11:00:00"));
    writeIni("Q9S.ini", QStringLiteral("Option"), QStringLiteral("NotSendEndTime"), QStringLiteral("13:00:00"));
    ASSERT_TRUE(startWithPlayers(1));
    ScopedFakeClock clock(QDateTime(QDate(2026, 4, 1), QTime(12, 0, 0)));
    m_prompter.expect(5350, IDOK).expect(5350, IDOK);
    m_frame->R40SendContents(1, {kMovie});
    m_frame->R40CommandStart(COMMAND_MODE_CHECK_CONNECT, number(0));
    EXPECT_FALSE(m_frame->IsBusy());
    EXPECT_TRUE(player(0).requests().isEmpty());
}
