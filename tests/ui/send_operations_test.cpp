// Sending through the main frame to emulated players: contents to a group
// of three with each player's outcome in the status pane, the end messages
// of failed transfers, the refusals before anything is sent.
#include "app/main_frame.h"
#include "core/message_box.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "player_ops_fixture.h"
#include "transfer/dlk_transfer_manager.h"
#include "transfer/dlk_transfer_worker.h"
#include "transfer/transfer_status_xml.h"
#include "ui/players/status_dlg_view.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTableWidget>

namespace {

using Fault = EmulatedPlayer::Fault;

QByteArray PatternedMovieData()
{
    QByteArray data(200 * 1024, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i * 7 + 3);
    return data;
}

bool HasUploadOf(const EmulatedPlayer &player, const QString &suffix)
{
    for (const EmulatedPlayer::Request &request : player.requests()) {
        if (request.path == QLatin1String("/upload.php") && request.parameter(QStringLiteral("href")).endsWith(suffix))
            return true;
    }
    return false;
}

} // namespace

TEST_F(PlayerOpsTest, ContentsSendToGroupListsEveryPlayersOutcome)
{
    ASSERT_TRUE(startWithPlayers(3));
    ASSERT_TRUE(addMovie(kMovie, PatternedMovieData(), DateValue{2020, 1, 1}));

    m_frame->R40SendContents(1, {kMovie});
    ASSERT_TRUE(m_frame->IsBusy());
    ASSERT_TRUE(waitIdle());

    EXPECT_TRUE(m_prompter.prompts().isEmpty());
    EXPECT_EQ(GetPlayerStatusStore()->GetTransferState(), TRANSFER_STATE_COMPLETE);
    ASSERT_NE(statusList(), nullptr);
    ASSERT_EQ(statusList()->rowCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(statusCell(i, CStatusDlgView::COLUMN_NAME), QStringLiteral("Shop%1").arg(i + 1));
        EXPECT_EQ(statusCell(i, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了")) << i;
        EXPECT_TRUE(HasUploadOf(player(i), QStringLiteral("101000001.mpg"))) << i;
    }
    // The delete date moved to the send's keep limit and was saved.
    CContentsList *movies = GetContentFolders().GetList(1);
    const CPropertyBase *record = movies->GetAt(movies->FindCode(kMovie));
    ASSERT_NE(record, nullptr);
    EXPECT_GT(record->GetDeleteDate().year, 2020);
}

TEST_F(PlayerOpsTest, OneFailingPlayerIsReportedWhileTheOthersFinish)
{
    ASSERT_TRUE(startWithPlayers(3));
    ASSERT_TRUE(addMovie(kMovie, PatternedMovieData(), DateValue{2020, 1, 1}));
    player(1).setCredentials(QString::fromLatin1(EmulatedPlayer::kDefaultUser), QStringLiteral("other"));
    player(2).setUploadFault(Fault::httpStatus(500));
    m_prompter.answer(IDOK);

    m_frame->R40SendContents(1, {kMovie});
    ASSERT_TRUE(waitIdle());

    ASSERT_EQ(m_prompter.prompts().size(), 1);
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("エラーコード： "))) << m_prompter.last().text.toStdString();
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了"));
    EXPECT_NE(statusCell(1, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了"));
    EXPECT_EQ(statusCell(1, CStatusDlgView::COLUMN_DETAIL), QStringLiteral("1003"));
    EXPECT_NE(statusCell(2, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了"));
    EXPECT_TRUE(m_frame->isEnabled());
}

TEST_F(PlayerOpsTest, RefusalsChangeNothing)
{
    ASSERT_TRUE(startWithPlayers(2));
    ASSERT_TRUE(addMovie(kMovie, PatternedMovieData(), DateValue{2020, 1, 1}));

    // A missing content file: 5116, nothing queued, the record untouched.
    QFile::remove(GetContentFolders().GetContentFolder(1) + QStringLiteral("/clip101000001.mpg"));
    m_prompter.expect(5116, IDOK);
    m_frame->R40SendContents(1, {kMovie});
    EXPECT_FALSE(m_frame->IsBusy());
    CContentsList *movies = GetContentFolders().GetList(1);
    EXPECT_EQ(movies->GetAt(movies->FindCode(kMovie))->GetDeleteDate().year, 2020);

    // An index that is not in the library: reported, not a silent end.
    m_prompter.expect(5419, IDOK);
    m_frame->R40SendContents(1, {101000099});
    EXPECT_FALSE(m_frame->IsBusy());

    // A group whose players may not communicate.
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(GetAppData().GetPlayerXml().UpdatePlayer(number(i), [](PlayerRecord &record) {
            record.NoComm = true;
            return true;
        }));
    }
    m_prompter.expect(5275, IDOK);
    m_frame->R40SendContents(1, {kMovie});
    EXPECT_FALSE(m_frame->IsBusy());
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);
}

TEST_F(PlayerOpsTest, StoppingAStalledSendEndsEverything)
{
    ASSERT_TRUE(startWithPlayers(3));
    ASSERT_TRUE(addMovie(kMovie, PatternedMovieData(), DateValue{2020, 1, 1}));
    player(1).setUploadFault(Fault::delay(60000, 1024));
    player(2).setUploadFault(Fault::reset(4096).once());
    m_prompter.answer(IDOK);

    m_frame->R40SendContents(1, {kMovie});
    // Wait until the stalled player is the only one left: the others' jobs
    // have ended, and the manager has taken the first one's success (its last
    // send time is the manager's, written after the job's own end state; a
    // stop before that would rightly find the job still running).
    const QDeadlineTimer deadline(30000);
    const auto settled = [this](int i) {
        return GetPlayerStatusStore()->GetSendStatus(number(i)) >= DLK_STATE_DONE;
    };
    const auto taken = [this] {
        TransferStatusRecord record;
        return GetPlayerStatusStore()->GetPlayerStatus(number(0), record) && record.SendLastDateTime.year != 0;
    };
    while (!(taken() && settled(2)) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(taken() && settled(0) && settled(2));
    EXPECT_TRUE(m_frame->IsBusy());

    m_frame->StopTransfer();
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(m_prompter.last().text, QStringLiteral("処理を中止しました。"));
    // A player that finished just before the stop may still be counted as
    // stopped by the manager; the stalled one always is.
    EXPECT_EQ(statusCell(1, CStatusDlgView::COLUMN_STATE), QStringLiteral("中止"));
    EXPECT_TRUE(m_frame->isEnabled());
}
