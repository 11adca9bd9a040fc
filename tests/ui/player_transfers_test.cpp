// The frame's other transfers against emulated players: preview and
// interrupt play with their play commands, stopping, deleting on a player,
// fetching lists, status and logs with the log collection into a cabinet,
// the player update, and the schedule send with its calendar row; the
// material of a content being sent is not replaced; the contents lists'
// commands reach the players their pane names.
#include "app/main_frame.h"
#include "widgets/play_position_prompter.h"
#include "core/app_ini.h"
#include "core/clock.h"
#include "core/message_box.h"
#include "core/setting_ini.h"
#include "core/system_ini.h"
#include "fake_file_dialogs.h"
#include "support/file_contents.h"
#include "support/timetable_samples.h"
#include "model/app_data.h"
#include "model/calendar_list.h"
#include "model/calendar_property.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/control_property.h"
#include "model/movie_property.h"
#include "model/playlist_edit_model.h"
#include "model/playlist_file.h"
#include "model/schedule_file.h"
#include "model/schedule_property.h"
#include "model/sequence_file.h"
#include "player_ops_fixture.h"
#include "ops/send_operations.h"
#include "transfer/transfer_status_xml.h"
#include "ui/contents/contents_dlg_view.h"
#include "ui/contents/contents_list_ctrl.h"
#include "ui/contents/contents_tab_ctrl.h"
#include "ui/contents/contents_list_dlg.h"
#include "ui/players/status_dlg_view.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTableWidget>
#include <QTest>

namespace {

QByteArray MovieData()
{
    return QByteArray(64 * 1024, 'm');
}

// A schedule record and its calendar row, of one number and over the same
// days, the row marked to play or not to play.
void AddScheduleAndCalendarRow(CContentsStore &store, qint32 number, qint32 flag, const DateValue &start,
                               const DateValue &end)
{
    CScheduleProperty record;
    record.SetIndex(number);
    record.SetStartDate(start);
    record.SetEndDate(end);
    ASSERT_TRUE(store.GetList(51)->Add(&record));
    CCalendarProperty row;
    row.SetIndex(number);
    row.SetSchedule(number);
    row.SetFlag(flag);
    row.SetStartDate(start);
    row.SetEndDate(end);
    ASSERT_TRUE(store.GetList(50)->Add(&row));
}

QStringList CommandPageCommands(const EmulatedPlayer &player)
{
    QStringList commands;
    for (const EmulatedPlayer::Request &request : player.requests()) {
        if (request.path == QLatin1String("/command.php"))
            commands.append(request.command());
    }
    return commands;
}

// Answers the interrupt-playback choice with a fixed length.
class FixedPlayChoice final : public IPlayPositionPrompter {
public:
    FixedPlayChoice() { SetPlayPositionPrompter(this); }
    ~FixedPlayChoice() override { SetPlayPositionPrompter(nullptr); }
    bool PromptPlayPosition(QWidget *, InterruptPlayChoice &choice) override
    {
        ++asked;
        offered = choice.hours * 3600 + choice.minutes * 60 + choice.seconds;
        choice.playSeconds = 90;
        return answer;
    }
    bool answer = true;
    int asked = 0;
    int offered = -1; // the content's own length, in seconds
};

} // namespace

TEST_F(PlayerOpsTest, PreviewInterruptPlayAndStop)
{
    ASSERT_TRUE(startWithPlayers(2));
    ASSERT_TRUE(addMovie(kMovie, MovieData(), DateValue{2020, 1, 1}));
    GetAppIni().SetLastPreviewSet(number(1));

    m_frame->R40Play(1, kMovie, true, false);
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(m_frame->isEnabled());
    EXPECT_TRUE(CommandPageCommands(player(1)).contains(QStringLiteral("PLCL")));
    EXPECT_TRUE(player(0).requests().isEmpty());

    // The dialog offers the movie's play time of 4.92 s as 5 s, so the play is not cut short.
    CContentsList &movies = *GetContentFolders().GetList(1);
    static_cast<CMovieProperty *>(movies.GetAt(movies.FindCode(kMovie)))->SetPlayTime(PlayLength{0, 0, 4, 920});
    FixedPlayChoice choice;
    m_frame->R40Play(1, kMovie, false, false);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(choice.asked, 1);
    EXPECT_EQ(choice.offered, 5);
    for (int i = 0; i < 2; ++i) {
        const QList<EmulatedPlayer::Request> plays = player(i).requests(QStringLiteral("PLCL"));
        ASSERT_FALSE(plays.isEmpty()) << i;
        EXPECT_EQ(plays.last().parameter(QStringLiteral("playtime")), QStringLiteral("90")) << i;
    }

    // Cancelling the choice plays nothing.
    choice.answer = false;
    player(0).clearRequests();
    m_frame->R40Play(1, kMovie, false, false);
    EXPECT_FALSE(m_frame->IsBusy());

    m_frame->R40PlayStop(1, false, false);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(CommandPageCommands(player(0)), QStringList{QStringLiteral("SPCL")});
    EXPECT_TRUE(m_prompter.prompts().isEmpty());

    // Content lists that cannot be saved (a folder where the movie list
    // goes) stop the play before it starts, with a word.
    const QString listPath = GetContentFolders().GetListPath(1);
    QFile::remove(listPath);
    ASSERT_TRUE(QDir().mkpath(listPath + QStringLiteral("/held")));
    choice.answer = true;
    player(0).clearRequests();
    m_prompter.answer(IDOK);
    m_frame->R40Play(1, kMovie, false, false);
    EXPECT_FALSE(m_frame->IsBusy());
    EXPECT_TRUE(player(0).requests().isEmpty());
    EXPECT_TRUE(m_prompter.last().text.contains(QStringLiteral("保存に失敗")));
}

TEST_F(PlayerOpsTest, PreviewOfTheEditedPlaylistLeavesItUnsaved)
{
    ASSERT_TRUE(startWithPlayers(1));
    ASSERT_TRUE(addMovie(kMovie, MovieData(), DateValue{2020, 1, 1}));
    GetAppIni().SetLastPreviewSet(number(0));
    CPlaylistEditModel &model = *GetContentFolders().GetPlaylistModel(52);
    CTimetableItem item;
    ASSERT_TRUE(item.Set(kMovie, TimeValue{0, 0, 0, 0}, TimeValue{0, 0, 30, 0}, 1, 0));
    ASSERT_TRUE(model.InsertItem(model.FindTrack(1), item));
    model.SetModified(true);
    const int stored = GetContentFolders().GetList(52)->GetCount();
    const QMap<QString, QByteArray> listFiles = FilesUnder(GetContentFolders().m_playlistFolder);
    const QMap<QString, QByteArray> sequenceFiles = FilesUnder(GetContentFolders().m_sequenceFolder);

    m_frame->PreviewEditPlaylist(52);
    ASSERT_TRUE(waitIdle());
    // The list went out under a number of its own and was played for its length.
    const QList<EmulatedPlayer::Request> plays = player(0).requests(QStringLiteral("PLPL"));
    ASSERT_EQ(plays.size(), 1);
    const QString sent = plays.first().parameter(QStringLiteral("index"));
    EXPECT_EQ(plays.first().parameter(QStringLiteral("playtime")), QStringLiteral("30"));
    EXPECT_EQ(GetContentFolders().GetList(52)->FindCode(sent.toInt()), -1);
    // The list is still the operator's unsaved one; no record was added.
    EXPECT_TRUE(model.IsModified());
    EXPECT_EQ(model.GetIndex(), -1);
    EXPECT_EQ(GetContentFolders().GetList(52)->GetCount(), stored);
    EXPECT_TRUE(m_prompter.prompts().isEmpty());
    // The files the preview wrote went once it was sent.
    EXPECT_EQ(FilesUnder(GetContentFolders().m_playlistFolder), listFiles);
    EXPECT_EQ(FilesUnder(GetContentFolders().m_sequenceFolder), sequenceFiles);
}

TEST_F(PlayerOpsTest, DeleteOnThePlayerAndFetchItsLists)
{
    ASSERT_TRUE(startWithPlayers(1));
    m_frame->SelectPlayer(number(0));
    CMovieProperty held;
    held.SetIndex(kMovie);
    ASSERT_TRUE(GetContentFolders().GetRemoteList(1)->Add(&held));
    m_prompter.answer(IDYES);

    m_frame->R40DeleteContents(1, {kMovie});
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(CommandPageCommands(player(0)), QStringList{QStringLiteral("RMCL")});
    EXPECT_TRUE(m_frame->isEnabled());

    player(0).clearRequests();
    EXPECT_TRUE(m_frame->R40GetRemoteList(1));
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(CommandPageCommands(player(0)).contains(QStringLiteral("CLST")));
    EXPECT_EQ(GetPlayerStatusStore()->GetTransferState(), TRANSFER_STATE_COMPLETE);
}

TEST_F(PlayerOpsTest, LogsOfThePlayersEndInACabinetWhereTheMessageSays)
{
    ASSERT_TRUE(startWithPlayers(2));
    for (int i = 0; i < 2; ++i)
        player(i).setLogFile(QStringLiteral("syslog%1.cab").arg(i), QByteArray("player log ") + QByteArray::number(i));
    // The fresh home has no desktop: the message says where the cabinet went.
    m_prompter.expect(5480, IDOK);

    m_frame->R40GetLog(3, {number(0), number(1)});
    ASSERT_TRUE(waitIdle());

    EXPECT_EQ(m_prompter.last().arguments, (QStringList{QStringLiteral("Q9_AllLog.cab"), m_home.path()}));
    EXPECT_EQ(GetPlayerStatusStore()->GetTransferState(), TRANSFER_STATE_LOG_COMPRESSED);
    const QString cab = QDir(m_home.path()).filePath(QStringLiteral("Q9_AllLog.cab"));
    ASSERT_TRUE(QFile::exists(cab));
    QProcess check;
    check.start(QStringLiteral("cabextract"), {QStringLiteral("-t"), cab});
    ASSERT_TRUE(check.waitForFinished(30000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardError().toStdString();
    EXPECT_TRUE(check.readAllStandardOutput().contains("LogTemp"));
    EXPECT_FALSE(QDir(dataFolder() + QStringLiteral("/LogTemp")).exists());

    // One player's log: the file it sent, copied under its name.
    m_prompter.expect(5480, IDOK);
    m_frame->R40GetLog(2, {number(1)});
    ASSERT_TRUE(waitIdle());
    QFile copied(QDir(m_home.path()).filePath(QStringLiteral("Shop2_Log.cab")));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), QByteArray("player log 1"));
}

TEST_F(PlayerOpsTest, StatusAndUpdateReachTheChosenPlayers)
{
    ASSERT_TRUE(startWithPlayers(2));
    m_frame->R40GetStatus({number(0)});
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(CommandPageCommands(player(0)).contains(QStringLiteral("SYST")));
    EXPECT_TRUE(player(1).requests().isEmpty());

    const QString update = QDir(m_home.path()).filePath(QStringLiteral("r40update.cab"));
    ASSERT_TRUE(writeUpdateCabinet(update));
    FakeFileDialogs dialogs;
    dialogs.answers << update;
    m_prompter.answer(IDYES).answer(IDOK);
    m_frame->R40Update({number(1)}, false);
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(player(1).hasFile(QStringLiteral("/import/update/r40update.cab")));
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("KDP-R40のアップデートファイルの送信が完了し")));
    EXPECT_EQ(GetAppIni().GetLastUpdateFolder(), m_home.path());
}

TEST_F(PlayerOpsTest, ScheduleSendMarksItsCalendarRow)
{
    ASSERT_TRUE(startWithPlayers(2));
    ASSERT_TRUE(addMovie(kMovie, MovieData(), DateValue{2020, 1, 1}));
    CContentsStore &store = GetContentFolders();
    QString scheduleFolder;
    QString sequenceFolder;
    ASSERT_TRUE(store.GetGroupScheduleFolders(QString::fromLatin1(kGroup), scheduleFolder, sequenceFolder));
    QDir().mkpath(sequenceFolder);
    const qint32 schedule = 151900001;
    const qint32 sequence = 112900001;
    ASSERT_TRUE(SaveOneItemFile<CSequenceFile>(sequenceFolder, sequence, kMovie, 1, 0));
    ASSERT_TRUE(SaveOneItemFile<CScheduleFile>(scheduleFolder, schedule, sequence, 54, 12));
    ASSERT_NO_FATAL_FAILURE(AddScheduleAndCalendarRow(store, schedule, CCalendarProperty::FLAG_PLAY,
                                                      DateValue{2026, 4, 1}, DateValue{2026, 4, 30}));

    m_frame->R40SendSchedule({schedule});
    ASSERT_TRUE(waitIdle());

    EXPECT_TRUE(m_prompter.prompts().isEmpty());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(statusCell(i, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了")) << i;
        EXPECT_TRUE(player(i).hasFile(QStringLiteral("/import/db/SC151900001.xml"))) << i;
    }
    CContentsList *calendars = store.GetList(50);
    const auto *sent = dynamic_cast<const CCalendarProperty *>(calendars->GetAt(calendars->FindCode(schedule)));
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(sent->GetStatus(), 3);
    // The member movie loses a date before the keep limit.
    CContentsList *movies = store.GetList(1);
    EXPECT_EQ(movies->GetAt(movies->FindCode(kMovie))->GetDeleteDate().year, 0);
}

// A schedule send that cannot go says why, once: two schedules whose days
// overlap, and a schedule whose background-music list is gone, named as a
// background-music list. Nothing reaches the players.
TEST_F(PlayerOpsTest, ScheduleSendRefusalsSayWhyInOneMessage)
{
    ASSERT_TRUE(startWithPlayers(1));
    CContentsStore &store = GetContentFolders();
    QString scheduleFolder;
    QString sequenceFolder;
    ASSERT_TRUE(store.GetGroupScheduleFolders(QString::fromLatin1(kGroup), scheduleFolder, sequenceFolder));
    const qint32 first = 151900001;
    const qint32 second = 151900002;
    QDir().mkpath(scheduleFolder);
    const qint32 bgmList = 53000001;
    for (qint32 schedule : {first, second})
        ASSERT_TRUE(SaveOneItemFile<CScheduleFile>(scheduleFolder, schedule, bgmList, 53, SCHEDULE_KIND_BGM));
    ASSERT_NO_FATAL_FAILURE(AddScheduleAndCalendarRow(store, first, CCalendarProperty::FLAG_PLAY,
                                                      DateValue{2026, 4, 1}, DateValue{2026, 4, 30}));
    ASSERT_NO_FATAL_FAILURE(AddScheduleAndCalendarRow(store, second, CCalendarProperty::FLAG_PLAY,
                                                      DateValue{2026, 4, 30}, DateValue{2026, 5, 10}));

    m_prompter.answer(IDOK);
    m_frame->R40SendSchedule({first, second});
    ASSERT_EQ(m_prompter.prompts().size(), 1);
    EXPECT_EQ(m_prompter.last().text, QStringLiteral("再生期間が重なるスケジュールは同時に配信できません。"));

    m_prompter.answer(IDOK);
    m_frame->R40SendSchedule({first});
    ASSERT_EQ(m_prompter.prompts().size(), 2);
    EXPECT_EQ(m_prompter.last().stringId, 5366u);
    EXPECT_TRUE(m_prompter.last().text.startsWith(QStringLiteral("053000001(BGMリスト) が見つからないため")))
        << m_prompter.last().text.toStdString();
    EXPECT_FALSE(m_frame->IsBusy());
    EXPECT_TRUE(player(0).requests().isEmpty());
}

TEST_F(PlayerOpsTest, ANoPlayPeriodReachesThePlayersAsItsCalendarRow)
{
    ASSERT_TRUE(startWithPlayers(2));
    CContentsStore &store = GetContentFolders();
    // A no-play period: a schedule record and a calendar row of one number,
    // and no schedule file.
    const qint32 period = 54900001;
    ASSERT_NO_FATAL_FAILURE(AddScheduleAndCalendarRow(store, period, CCalendarProperty::FLAG_NOTPLAY,
                                                      DateValue{2026, 5, 1}, DateValue{2026, 5, 5}));

    m_frame->R40SendSchedule({period});
    ASSERT_TRUE(waitIdle());

    EXPECT_TRUE(m_prompter.prompts().isEmpty()) << m_prompter.last().text.toStdString();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(statusCell(i, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了")) << i;
        QString calendar;
        for (const EmulatedPlayer::Request &request : player(i).requests()) {
            const QString target = request.parameter(QStringLiteral("href"));
            if (target.contains(QStringLiteral("Calendar")))
                calendar = target;
        }
        ASSERT_FALSE(calendar.isEmpty()) << i;
        EXPECT_TRUE(player(i).file(calendar).contains("<index>54900001</index>")) << i;
        EXPECT_FALSE(player(i).hasFile(QStringLiteral("/import/db/SC054900001.xml"))) << i;
    }
    CContentsList *calendars = store.GetList(50);
    const auto *sent = dynamic_cast<const CCalendarProperty *>(calendars->GetAt(calendars->FindCode(period)));
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(sent->GetStatus(), 3);
}

TEST_F(PlayerOpsTest, TheStatusPaneCountsTheWholeSendAndNothingMeaningless)
{
    ASSERT_TRUE(startWithPlayers(2));
    const qint32 second = kMovie + 1;
    ASSERT_TRUE(addMovie(kMovie, MovieData(), DateValue{2020, 1, 1}));
    ASSERT_TRUE(addMovie(second, QByteArray(200 * 1024, 'n'), DateValue{2020, 1, 1}));

    m_frame->R40SendContents(1, {kMovie, second});
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(statusList()->rowCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(statusCell(i, CStatusDlgView::COLUMN_FILES), QStringLiteral("2/2")) << i;
        const QStringList bytes = statusCell(i, CStatusDlgView::COLUMN_BYTES).split(QLatin1Char('/'));
        ASSERT_EQ(bytes.size(), 2) << i;
        EXPECT_EQ(bytes[0], bytes[1]) << i;
        EXPECT_GE(bytes[0].toLongLong(), 264 * 1024) << i;
    }

    // A delete on the selected player: its row alone, one delete of one, no bytes.
    m_frame->SelectPlayer(number(1));
    m_prompter.answer(IDYES);
    m_frame->R40DeleteContents(1, {second});
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(statusList()->rowCount(), 1);
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_NAME), QStringLiteral("Shop2"));
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_FILES), QStringLiteral("1/1"));
    EXPECT_TRUE(statusCell(0, CStatusDlgView::COLUMN_BYTES).isEmpty());

    // One player drops a send; the retry pass resumes it and finds the
    // other's copy in place: both rows show the whole movie delivered, and
    // the row finished before the retry keeps what it showed.
    SystemSettings settings = GetSystemIni().Settings();
    settings.R40RetryEnable = true;
    settings.R40RetryInterval = 1;
    ASSERT_TRUE(GetSystemIni().SaveSettings(settings));
    const qint32 third = kMovie + 2;
    const QByteArray movie(300 * 1024, 'o');
    ASSERT_TRUE(addMovie(third, movie, DateValue{2020, 1, 1}));
    player(1).setUploadFault(EmulatedPlayer::Fault::reset(64 * 1024));
    m_frame->R40SendContents(1, {third});
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return GetPlayerStatusStore()->GetTransferState() == TRANSFER_STATE_RETRY_WAIT; }, 60000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return statusCell(0, CStatusDlgView::COLUMN_STATE) == QStringLiteral("完了"); }));
    const QString delivered = statusCell(0, CStatusDlgView::COLUMN_BYTES);
    player(1).clearFaults();
    ASSERT_TRUE(waitIdle());
    EXPECT_GE(GetPlayerStatusStore()->GetSendRetryCount(number(1)), 1);
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_BYTES), delivered);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(statusCell(i, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了")) << i;
        EXPECT_EQ(statusCell(i, CStatusDlgView::COLUMN_FILES), QStringLiteral("1/1")) << i;
        const QStringList bytes = statusCell(i, CStatusDlgView::COLUMN_BYTES).split(QLatin1Char('/'));
        ASSERT_EQ(bytes.size(), 2) << i;
        EXPECT_EQ(bytes[0], bytes[1]) << i;
        EXPECT_GE(bytes[0].toLongLong(), movie.size()) << i;
    }
}

// While a send stalls (until it is stopped), the row shows what the player
// acknowledged, not what waits in this side's send queue; stopped and sent
// again, the upload resumes where the player's copy ends and the row shows
// the whole file sent.
TEST_F(PlayerOpsTest, TheStatusRowShowsWhatThePlayerTookAndAResumedSendAsWhole)
{
    ASSERT_TRUE(startWithPlayers(1));
    const QByteArray movie(16 * 1024 * 1024, 'r');
    ASSERT_TRUE(addMovie(kMovie, movie, DateValue{2020, 1, 1}));
    player(0).setUploadFault(EmulatedPlayer::Fault::stall(1024 * 1024).once());
    const auto uploads = [this] {
        QStringList appends;
        for (const EmulatedPlayer::Request &request : player(0).requests()) {
            if (request.parameter(QStringLiteral("href")).startsWith(QLatin1String("/import/video/")))
                appends.append(request.parameter(QStringLiteral("append")));
        }
        return appends;
    };
    const auto stored = [this] {
        qint64 size = 0;
        for (const char *path : {"/import/video/A101000001.mpg", "/import/video/B101000001.mpg"})
            size = std::max(size, qint64(player(0).file(QString::fromLatin1(path)).size()));
        return size;
    };
    const auto bytes = [this] { return statusCell(0, CStatusDlgView::COLUMN_BYTES).split(QLatin1Char('/')); };

    m_frame->R40SendContents(1, {kMovie});
    ASSERT_TRUE(player(0).waitForStalls());
    // The pane's refresh comes a second after the start, when the buffers
    // between have filled: the player has had acknowledged at most what its
    // socket and server hold unread; this side's send queue (MiBs on
    // loopback) is not counted.
    ASSERT_TRUE(QTest::qWaitFor([&] { return bytes().size() == 2; }, 30000));
    const qint64 shown = bytes()[0].toLongLong();
    EXPECT_GT(shown, 0);
    EXPECT_LE(shown, stored() + player(0).unreadCapacity())
        << shown << " shown, " << stored() << " stored, " << player(0).unreadCapacity() << " unread at most";

    m_prompter.answer(IDOK);
    m_frame->StopTransfer();
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(m_prompter.last().text, QStringLiteral("処理を中止しました。"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return uploads().size() == 1; }, 10000));
    const qint64 kept = stored();
    ASSERT_GT(kept, 0);
    ASSERT_LT(kept, movie.size());

    m_frame->R40SendContents(1, {kMovie});
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(uploads(), (QStringList{QString(), QString::number(kept)}));
    EXPECT_EQ(stored(), movie.size());
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了"));
    EXPECT_EQ(statusCell(0, CStatusDlgView::COLUMN_FILES), QStringLiteral("1/1"));
    ASSERT_EQ(bytes().size(), 2);
    EXPECT_EQ(bytes()[0].toLongLong(), bytes()[1].toLongLong());
    EXPECT_GE(bytes()[0].toLongLong(), movie.size());
}

TEST_F(PlayerOpsTest, StillScreenSaverScheduleStopAndRemotePlay)
{
    ASSERT_TRUE(startWithPlayers(1));
    GetAppIni().SetLastPreviewSet(number(0));
    m_frame->SelectPlayer(number(0));
    const int group = m_frame->GetGroupNo(QString::fromLatin1(kGroup));
    CContentsStore &store = GetContentFolders();

    // A substitute still that is not a JPEG is refused; a JPG one goes as still 0.
    ASSERT_TRUE(addMovie(kMovie, MovieData(), DateValue{}));
    std::unique_ptr<CPropertyBase> png = CreateProperty(2);
    png->SetIndex(201000002);
    static_cast<CMediaProperty &>(*png).SetLink(QStringLiteral("photo.png"));
    ASSERT_TRUE(store.GetList(2)->Add(png.get()));
    m_prompter.answer(IDOK);
    m_frame->R40SendRecoverStill(201000002);
    EXPECT_EQ(m_prompter.last().text, QStringLiteral("代替再生の静止画は、JPEGファイルを指定してください。"));
    EXPECT_FALSE(m_frame->IsBusy());
    QFile photo(store.GetContentFolder(2) + QStringLiteral("/photo.JPG"));
    ASSERT_TRUE(photo.open(QIODevice::WriteOnly));
    photo.write("jpeg");
    photo.close();
    std::unique_ptr<CPropertyBase> image = CreateProperty(2);
    image->SetIndex(201000001);
    static_cast<CMediaProperty &>(*image).SetLink(QStringLiteral("photo.JPG"));
    static_cast<CMediaProperty &>(*image).SetFileDate(ToSystemTime(QFileInfo(photo).lastModified().toLocalTime()));
    ASSERT_TRUE(store.GetList(2)->Add(image.get()));
    m_frame->R40SendRecoverStill(201000001);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(m_prompter.prompts().size(), 1);
    EXPECT_EQ(GetAppIni().GetRecoverContIndex(group), 201000001);
    bool stillSent = false;
    for (const EmulatedPlayer::Request &request : player(0).requests())
        stillSent = stillSent || request.parameter(QStringLiteral("href")).contains(QStringLiteral("000000000"));
    EXPECT_TRUE(stillSent);

    m_frame->R40CancelRecoverStill();
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(GetAppIni().GetRecoverContIndex(group), -1);
    EXPECT_EQ(player(0).requests(QStringLiteral("RMCL")).last().parameter(QStringLiteral("index")), QStringLiteral("000000000"));

    // Stopping a schedule marks its calendar row only when it worked.
    CCalendarProperty row;
    row.SetIndex(151900001);
    row.SetSchedule(151900001);
    row.SetStatus(3);
    ASSERT_TRUE(store.GetList(50)->Add(&row));
    player(0).setTableRow(3, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("151900001")}}));
    m_frame->R40StopSchedule(151900001);
    ASSERT_TRUE(waitIdle());
    const auto *stopped =
        dynamic_cast<const CCalendarProperty *>(store.GetList(50)->GetAt(store.GetList(50)->FindCode(151900001)));
    ASSERT_NE(stopped, nullptr);
    EXPECT_EQ(stopped->GetStatus(), 1);

    // Remote play, remote stop and preview stop of what the player holds:
    // what its list names, which the library lacks; a content it does not
    // name is refused with a word.
    FixedPlayChoice choice;
    player(0).clearRequests();
    constexpr qint32 kHeld = 100000777;
    std::unique_ptr<CPropertyBase> held = CreateProperty(1);
    held->SetIndex(kHeld);
    ASSERT_TRUE(store.GetRemoteList(1)->Add(held.get()));
    m_prompter.answer(IDOK);
    m_frame->R40PlayRemote(1, kMovie, false);
    EXPECT_TRUE(m_prompter.last().text.contains(QStringLiteral("コンテンツ一覧にない")));
    EXPECT_TRUE(player(0).requests().isEmpty());
    m_frame->R40PlayRemote(1, kHeld, false);
    ASSERT_TRUE(waitIdle());
    m_frame->R40PlayStop(1, false, true);
    ASSERT_TRUE(waitIdle());
    m_frame->R40PlayStop(52, true, false);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(CommandPageCommands(player(0)),
              (QStringList{QStringLiteral("PLCL"), QStringLiteral("SPCL"), QStringLiteral("SPPL")}));
    EXPECT_EQ(player(0).requests(QStringLiteral("PLCL")).first().parameter(QStringLiteral("id")), QStringLiteral("2"));
    EXPECT_EQ(player(0).requests(QStringLiteral("PLCL")).first().parameter(QStringLiteral("index")),
              QStringLiteral("100000777"));

    // A playlist of the background layer only becomes the user screen saver.
    const qint32 playlist = 152000042;
    const qint32 sequence = 101000042;
    ASSERT_TRUE(SaveOneItemFile<CSequenceFile>(store.m_sequenceFolder, sequence, kMovie, 1, 0));
    ASSERT_TRUE(SaveOneItemFile<CPlaylistFile>(store.m_playlistFolder, playlist, sequence, 54, 1));
    std::unique_ptr<CPropertyBase> playlistRecord = CreateProperty(52);
    playlistRecord->SetIndex(playlist);
    ASSERT_TRUE(store.GetList(52)->Add(playlistRecord.get()));
    m_frame->R40SendScreenSaver(playlist);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(GetAppIni().GetScSaverContIndex(group), playlist);

    // Cancelling the user screen saver removes its calendar row and schedule.
    player(0).setTableRow(3, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("0")}}));
    m_frame->R40CancelScreenSaver();
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(GetAppIni().GetScSaverContIndex(group), -1);
    EXPECT_EQ(m_prompter.prompts().size(), 2) << m_prompter.last().text.toStdString();
}

TEST_F(PlayerOpsTest, MaterialOfAContentBeingSentIsRefusedBeforeAFileIsChosen)
{
    constexpr int kReplaceCommand = 6372;
    ASSERT_TRUE(startWithPlayers(1));
    ASSERT_TRUE(addMovie(kMovie, QByteArray(200 * 1024, 'm'), DateValue{2020, 1, 1}));
    player(0).setUploadFault(EmulatedPlayer::Fault::stall(1024));
    ASSERT_TRUE(m_frame->SwitchView(CMainFrame::VIEW_CONTENTS, true));
    m_frame->NotifyContentsListChanged(1, 0, 0);
    auto *pane = dynamic_cast<CContentsDlgView *>(m_frame->GetViewPane(CMainFrame::PANE_CONTENTS));
    ASSERT_NE(pane, nullptr);
    pane->SelectTab(0);
    CContentsListCtrl *list = pane->GetVisibleList();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetContentType(), 1);

    m_frame->R40SendContents(1, {kMovie});
    ASSERT_TRUE(m_frame->IsBusy());
    list->SelectContentIndexes({kMovie});
    ASSERT_EQ(list->GetSelectedContentIndexes(), QList<qint32>{kMovie});
    FakeFileDialogs dialogs;
    m_prompter.expect(5332, IDOK);
    list->OnCommand(kReplaceCommand);
    EXPECT_TRUE(dialogs.requests.isEmpty());
    EXPECT_EQ(m_prompter.stringIds(), QList<quint32>{5332});

    m_prompter.answer(IDOK);
    m_frame->StopTransfer();
    ASSERT_TRUE(waitIdle());
}

// Each play, stop and send command of the contents lists reaches the frame
// with the arguments of its pane: the preview player or the group, COM2,
// the chosen player's held contents, and every selected row.
TEST_F(PlayerOpsTest, ContentsCommandsReachThePlayersAsTheirPaneSays)
{
    ASSERT_TRUE(startWithPlayers(2));
    ASSERT_TRUE(addMovie(kMovie, MovieData(), DateValue{2020, 1, 1}));
    ASSERT_TRUE(addMovie(kMovie + 1, MovieData(), DateValue{2020, 1, 1}));
    CSettingIni &settings = GetSettingIni();
    SystemOptions options = settings.Options();
    options.SIControl = true;
    settings.SetOptions(options);
    CControlProperty control;
    ASSERT_TRUE(control.SetIndex(701000001) && control.SetCtrlType(CControlProperty::CTRL_COM));
    ASSERT_TRUE(GetContentFolders().GetList(7)->Add(&control));
    GetAppIni().SetLastPreviewSet(number(1));
    m_frame->NotifyContentsListChanged(0, 0, 0);
    FixedPlayChoice choice;
    // Runs a command on the rows of a type in a pane put in a mode.
    auto run = [&](int paneIndex, int mode, int type, const QList<qint32> &rows, int command) {
        auto *pane = dynamic_cast<CContentsDlgView *>(m_frame->GetViewPane(paneIndex));
        ASSERT_NE(pane, nullptr);
        pane->ChangeMode(mode);
        for (int i = 0; i < pane->GetTabCtrl()->count(); ++i) {
            if (pane->GetTabCtrl()->GetPage(i) && pane->GetTabCtrl()->GetPage(i)->GetContentType() == type)
                pane->SelectTab(i);
        }
        CContentsListCtrl *list = pane->GetVisibleList();
        ASSERT_EQ(list->GetContentType(), type);
        list->SelectContentIndexes(rows);
        for (int i = 0; i < 2; ++i)
            player(i).clearRequests();
        list->OnCommand(command);
        ASSERT_TRUE(waitIdle());
    };
    const QString playlistPlay = QStringLiteral("PLCL");

    // Sending takes every selected row to every player of the group.
    run(CMainFrame::PANE_CONTENTS, 14, 1, {kMovie, kMovie + 1}, 4058);
    EXPECT_EQ(m_frame->GetTransferMode(), TRANSFER_MODE_CONTENTS_SEND);
    for (int i = 0; i < 2; ++i) {
        QString hrefs;
        for (const EmulatedPlayer::Request &request : player(i).requests())
            hrefs += request.parameter(QStringLiteral("href"));
        EXPECT_TRUE(hrefs.contains(QString::number(kMovie)) && hrefs.contains(QString::number(kMovie + 1))) << i;
    }

    // Preview and its stop go to the preview player only.
    run(CMainFrame::PANE_CONTENTS, 10, 1, {kMovie}, 4041);
    EXPECT_EQ(m_frame->GetTransferMode(), TRANSFER_MODE_PREVIEW);
    EXPECT_TRUE(CommandPageCommands(player(1)).contains(playlistPlay));
    EXPECT_TRUE(player(0).requests().isEmpty());
    run(CMainFrame::PANE_CONTENTS, 10, 1, {kMovie}, 4042);
    EXPECT_EQ(CommandPageCommands(player(1)), QStringList{QStringLiteral("SPCL")});
    EXPECT_TRUE(player(0).requests().isEmpty());

    // COM2 runs the control on the preview player as a COM2 play.
    run(CMainFrame::PANE_CONTENTS, 10, 7, {701000001}, 4079);
    ASSERT_FALSE(player(1).requests(playlistPlay).isEmpty());
    EXPECT_EQ(player(1).requests(playlistPlay).last().parameter(QStringLiteral("id")), QStringLiteral("20"));

    // Interrupt play goes to the group.
    run(CMainFrame::PANE_CONTENTS, 16, 1, {kMovie}, 4037);
    EXPECT_EQ(m_frame->GetTransferMode(), TRANSFER_MODE_PLAY);
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(CommandPageCommands(player(i)).contains(playlistPlay)) << i;

    // On a player's own contents, play and stop are the remote ones.
    m_frame->SelectPlayer(number(0));
    CMovieProperty held;
    held.SetIndex(kMovie);
    ASSERT_TRUE(GetContentFolders().GetRemoteList(1)->Add(&held));
    m_frame->NotifyContentsListChanged(1, 0, 0);
    run(CMainFrame::PANE_PLAYER_CONTENTS, 17, 1, {kMovie}, 4037);
    EXPECT_EQ(m_frame->GetTransferMode(), TRANSFER_MODE_REMOTE_PLAY);
    EXPECT_EQ(CommandPageCommands(player(0)), QStringList{playlistPlay});
    run(CMainFrame::PANE_PLAYER_CONTENTS, 17, 1, {kMovie}, 4042);
    EXPECT_EQ(CommandPageCommands(player(0)), QStringList{QStringLiteral("SPCL")});
    EXPECT_TRUE(player(1).requests().isEmpty());
}
