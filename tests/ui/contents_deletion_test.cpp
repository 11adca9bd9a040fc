// Deleting contents from the library through the frame, with the counter
// window and its abort and the question that names what loses a content or
// list; the deletion-date dialog.
#include "widgets/del_date_chg_dlg.h"
#include "widgets/delete_dlg.h"
#include "app/main_frame.h"
#include "core/clock.h"
#include "core/content_id.h"
#include "core/message_box.h"
#include "model/contents_list.h"
#include "model/calendar_property.h"
#include "model/contents_store.h"
#include "model/playlist_file.h"
#include "model/property_base.h"
#include "model/schedule_file.h"
#include "model/sequence_file.h"
#include "model/schedule_property.h"
#include "player_ops_fixture.h"
#include "support/timetable_samples.h"
#include "ui/timetable/playlist_edit_dlg_view.h"
#include "ui/timetable/timetable_grid.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QThread>

namespace {

bool WaitEnabled(CMainFrame *frame)
{
    const QDeadlineTimer deadline(30000);
    while (!frame->isEnabled() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    QCoreApplication::processEvents();
    return frame->isEnabled();
}

QString MovieFile(qint32 index)
{
    return GetContentFolders().GetContentFolder(1) + QStringLiteral("/clip%1.mpg").arg(index);
}

} // namespace

TEST_F(PlayerOpsTest, LibraryDeletionRemovesFilesAndRecords)
{
    ASSERT_TRUE(startWithPlayers(0));
    const QList<qint32> movies = {kMovie, kMovie + 1, kMovie + 2};
    for (qint32 index : movies)
        ASSERT_TRUE(addMovie(index, "data", DateValue{}));

    // No: nothing happens.
    m_prompter.answer(IDNO);
    m_frame->StartDeleteContents(movies, 1);
    EXPECT_TRUE(m_frame->isEnabled());
    EXPECT_TRUE(QFile::exists(MovieFile(kMovie)));

    m_prompter.answer(IDYES);
    m_frame->StartDeleteContents(movies, 1);
    ASSERT_TRUE(WaitEnabled(m_frame));
    CContentsList *list = GetContentFolders().GetList(1);
    for (qint32 index : movies) {
        EXPECT_LT(list->FindCode(index), 0) << index;
        EXPECT_FALSE(QFile::exists(MovieFile(index))) << index;
    }

    // A schedule goes with every calendar row of its number, a left-over
    // second one too.
    CContentsStore &store = GetContentFolders();
    const qint32 schedule = MakeContentId(0, 51, 7);
    CScheduleProperty record;
    record.SetIndex(schedule);
    ASSERT_TRUE(store.GetList(51)->Add(&record));
    for (int copy = 0; copy < 2; ++copy) {
        CCalendarProperty row;
        row.SetIndex(schedule);
        row.SetSchedule(schedule);
        ASSERT_TRUE(store.GetList(50)->Add(&row));
    }
    m_prompter.answer(IDYES);
    m_frame->StartDeleteContents({schedule}, 51);
    ASSERT_TRUE(WaitEnabled(m_frame));
    EXPECT_LT(store.GetList(51)->FindCode(schedule), 0);
    EXPECT_LT(store.GetList(50)->FindCode(schedule), 0);
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);
}

// A list that a schedule plays, or a content that a list or schedule plays:
// the question before the deletion names what is deleted by its kind and
// what loses it; an unused list gets the plain question. The open playlist
// editor then shows the gone content as gone.
TEST_F(PlayerOpsTest, DeletingWhatAListOrSchedulePlaysSaysSoFirst)
{
    ASSERT_TRUE(startWithPlayers(0));
    CContentsStore &store = GetContentFolders();
    QString scheduleFolder;
    QString sequenceFolder;
    ASSERT_TRUE(store.GetGroupScheduleFolders(QString::fromLatin1(kGroup), scheduleFolder, sequenceFolder));
    ASSERT_TRUE(QDir().mkpath(sequenceFolder));
    ASSERT_TRUE(SaveOneItemFile<CScheduleFile>(scheduleFolder, 151900002, 53000001, 53, SCHEDULE_KIND_BGM));
    ASSERT_TRUE(SaveOneItemFile<CScheduleFile>(scheduleFolder, 151900003, 52000001, 52, SCHEDULE_KIND_PLAYLIST));

    m_prompter.expect(5444, IDNO);
    m_frame->StartDeleteContents({53000001, 53000002}, 53);
    EXPECT_TRUE(m_prompter.last().text.contains(QStringLiteral("053000001(BGMリスト)：スケジュール 151900002（Shop）")))
        << m_prompter.last().text.toStdString();
    EXPECT_FALSE(m_prompter.last().text.contains(QStringLiteral("053000002")));
    EXPECT_TRUE(m_frame->isEnabled());

    m_prompter.expect(5444, IDNO);
    m_frame->StartDeleteContents({52000001}, 52);
    EXPECT_TRUE(m_prompter.last().text.contains(QStringLiteral("052000001(プレイリスト)：スケジュール 151900003（Shop）")))
        << m_prompter.last().text.toStdString();

    m_prompter.answer(IDNO);
    m_frame->StartDeleteContents({52000002}, 52);
    EXPECT_EQ(m_prompter.last().text, QStringLiteral("削除します。\nよろしいですか？"));

    // A movie in a library playlist's sequence and in a schedule's.
    ASSERT_TRUE(addMovie(kMovie, "data", DateValue{}));
    const qint32 playlist = 152000042;
    ASSERT_TRUE(SaveOneItemFile<CSequenceFile>(store.m_sequenceFolder, 101000042, kMovie, 1, 0));
    ASSERT_TRUE(SaveOneItemFile<CPlaylistFile>(store.m_playlistFolder, playlist, 101000042, 54, 1));
    std::unique_ptr<CPropertyBase> record = CreateProperty(52);
    record->SetIndex(playlist);
    ASSERT_TRUE(store.GetList(52)->Add(record.get()));
    ASSERT_TRUE(SaveOneItemFile<CSequenceFile>(sequenceFolder, 112900001, kMovie, 1, 0));
    ASSERT_TRUE(SaveOneItemFile<CScheduleFile>(scheduleFolder, 151900004, 112900001, 54, 12));
    ASSERT_TRUE(m_frame->PlaylistLoad(playlist, 52));
    const CTimetableGrid &grid = *PaneOf<CPlaylistEditDlgView>(m_frame, CMainFrame::PANE_PLAYLIST_EDIT)->GetGrid();
    const auto cells = [&grid] {
        QStringList texts;
        for (int column = 1; column < grid.model()->columnCount(); ++column)
            texts << grid.model()->index(0, column).data().toString();
        return texts;
    };
    EXPECT_TRUE(cells().contains(QStringLiteral("動画 101000001"))) << cells().join(u',').toStdString();
    m_prompter.expect(5445, IDYES);
    m_frame->StartDeleteContents({kMovie}, 1);
    EXPECT_TRUE(m_prompter.last().text.contains(
        QStringLiteral("101000001(動画)：プレイリスト 152000042\n101000001(動画)：スケジュール 151900004（Shop）")))
        << m_prompter.last().text.toStdString();
    ASSERT_TRUE(WaitEnabled(m_frame));
    EXPECT_EQ(store.FindRecord(1, kMovie), nullptr);
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);
    EXPECT_TRUE(cells().contains(QStringLiteral("101000001（削除済み）"))) << cells().join(u',').toStdString();

    // External input names no content of the library: nothing is gone.
    ASSERT_TRUE(SaveOneItemFile<CSequenceFile>(store.m_sequenceFolder, 101000043, 111000001, 11, 0));
    ASSERT_TRUE(SaveOneItemFile<CPlaylistFile>(store.m_playlistFolder, playlist + 1, 101000043, 54, 1));
    record->SetIndex(playlist + 1);
    ASSERT_TRUE(store.GetList(52)->Add(record.get()));
    ASSERT_TRUE(m_frame->PlaylistLoad(playlist + 1, 52));
    EXPECT_TRUE(cells().join(u',').contains(QStringLiteral("111000001"))) << cells().join(u',').toStdString();
    EXPECT_FALSE(cells().join(u',').contains(QStringLiteral("削除済み"))) << cells().join(u',').toStdString();
}

TEST_F(PlayerOpsTest, AbortedDeletionRemovesExactlyTheRecordsWhoseFilesWent)
{
    ASSERT_TRUE(startWithPlayers(0));
    QList<qint32> movies;
    for (int i = 0; i < 200; ++i) {
        movies.append(kMovie + i);
        ASSERT_TRUE(addMovie(kMovie + i, "data", DateValue{}));
    }
    m_prompter.answer(IDYES);
    m_frame->StartDeleteContents(movies, 1);
    auto *dialog = m_frame->findChild<CDeleteDlg *>();
    ASSERT_NE(dialog, nullptr);
    dialog->OnAbort();
    ASSERT_TRUE(WaitEnabled(m_frame));

    CContentsList *list = GetContentFolders().GetList(1);
    int removed = 0;
    for (qint32 index : movies) {
        const bool fileGone = !QFile::exists(MovieFile(index));
        const bool recordGone = list->FindCode(index) < 0;
        EXPECT_EQ(fileGone, recordGone) << index;
        removed += recordGone ? 1 : 0;
    }
    EXPECT_LT(removed, int(movies.size()));
    EXPECT_EQ(m_frame->findChild<CDeleteDlg *>(), nullptr);
}

TEST_F(PlayerOpsTest, DeletionDialogsShowTheirStart)
{
    ASSERT_TRUE(startWithPlayers(0));
    CDeleteDlg counter;
    counter.SetTotal(5);
    EXPECT_EQ(counter.GetCounter()->text(), QStringLiteral("0/5"));
    counter.SetCount(2);
    EXPECT_EQ(counter.GetCounter()->text(), QStringLiteral("2/5"));

    CDelDateChgDlg dialog;
    dialog.SetDate(DateValue{9999, 12, 31});
    EXPECT_TRUE(dialog.GetNeverRadio()->isChecked());
    const QDate first = Clock().now().date().addDays(30);
    EXPECT_EQ(dialog.GetDatePicker()->date(), first);

    // A stored date before the first pickable day stays unless changed.
    dialog.SetDate(DateValue{2020, 5, 6});
    EXPECT_TRUE(dialog.GetChangeRadio()->isChecked());
    EXPECT_EQ(dialog.GetDatePicker()->date(), QDate(2020, 5, 6));

    // No to 5009 keeps the dialog open with the date.
    m_prompter.expect(5009, IDNO);
    dialog.accept();
    EXPECT_EQ(dialog.result(), 0);
    m_prompter.expect(5009, IDYES);
    dialog.accept();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(dialog.GetDate(), (DateValue{2020, 5, 6}));
}
