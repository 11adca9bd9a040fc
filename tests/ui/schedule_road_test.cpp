// The operator's road from an empty data folder to a day's programme on the
// players, only by the window's widgets: the first set-up, two players in a
// group, a movie, a still, a telop and a sound registered by the contents
// pane's commands (the movie and the sound with lengths that end in a fraction
// of a second); a playlist composed on its grid by dragging them there,
// one event's time changed in the time dialog; a background-music list; a
// schedule of both with its days and colour set in the schedule dialog; the
// group's calendar showing it; the group delivery; then the files and table
// rows the emulated players hold, checked against docs/file-formats.md and
// docs/player-protocol.md, down to the events' lengths.
//
// With TELV_SCREENSHOT_DIR set, the playlist, the schedule and the calendar
// are grabbed into that folder (`make screenshots`).

#include "widgets/calendar_colors.h"
#include "widgets/color_dialog.h"
#include "model/calendar_property.h"
#include "model/schedule_property.h"
#include "operator_road_fixture.h"
#include "widgets/time_code_ctrl.h"
#include "widgets/time_edit_dlg.h"
#include "ui/contents/color_combo_box.h"
#include "ui/contents/name_dlg.h"
#include "ui/contents/property_set_dlg.h"
#include "ui/contents/telop_edit_ctrl.h"
#include "ui/contents/telop_edit_dlg.h"
#include "ui/contents/telop_view_dlg.h"
#include "timetable_drops.h"
#include "ui/timetable/calendar_dlg_view.h"
#include "ui/timetable/playlist_edit_dlg_view.h"
#include "ui/timetable/schedule_edit_dlg_view.h"
#include "ui/timetable/save_dlg_prompter.h"
#include "ui/timetable/schedule_set_dlg.h"


#include <QApplication>
#include <QDateEdit>
#include <QInputMethodEvent>
#include <QRegularExpression>

namespace {

constexpr int kNewCommand = 57600;
constexpr int kScheduleColor = 5;
const QDate kFirstDay(2026, 12, 1);
const QDate kLastDay(2026, 12, 31);

QString Number(qint32 index)
{
    return QStringLiteral("%1").arg(index, 9, 10, QLatin1Char('0'));
}

// The row of a table that has an index.
EmulatedPlayer::Row RowOf(const QList<EmulatedPlayer::Row> &rows, qint32 index)
{
    for (const EmulatedPlayer::Row &row : rows) {
        if (EmulatedPlayer::fieldText(row, QStringLiteral("index")).toLongLong() == index)
            return row;
    }
    return {};
}

// What follows a content's index in the sequence files a player holds: the
// captures of `fields` joined by spaces; empty when no entry names it.
QString EntryOnPlayer(EmulatedPlayer &r40, const QStringList &sequences, qint32 content, const QString &fields)
{
    const QRegularExpression entry(QStringLiteral("<index>%1</index>[\\s\\S]*?").arg(Number(content)) + fields);
    for (const QString &name : sequences) {
        const QRegularExpressionMatch found = entry.match(QString::fromUtf8(r40.file(QStringLiteral("/import/db/") + name)));
        if (found.hasMatch())
            return found.capturedTexts().mid(1).join(QLatin1Char(' '));
    }
    return {};
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

} // namespace

class ScheduleRoad : public OperatorRoad {
protected:
    QString makeSound()
    {
        const QString path = mediaPath(QStringLiteral("chime.wav"));
        QProcess tool;
        tool.start(QStringLiteral("ffmpeg"),
                   {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=8.0457", path});
        EXPECT_TRUE(tool.waitForFinished(60000) && tool.exitCode() == 0) << tool.readAllStandardError().toStdString();
        return path;
    }

    // The telop tab's new command: the text typed in the telop editor
    // (through the input method, as Japanese comes), confirmed in its preview.
    void registerTelop(const QString &text)
    {
        showTab(3);
        OnNextModal<CTelopEditDlg>([text](CTelopEditDlg *editor) {
            QInputMethodEvent typed;
            typed.setCommitString(text);
            QApplication::sendEvent(editor->GetEditCtrl(), &typed);
            editor->OnConfirm();
            if (CTelopViewDlg *preview = editor->GetPreview())
                preview->OnOK();
        });
        clickToolBarCommand(kNewCommand);
        ASSERT_EQ(GetContentFolders().GetList(3)->GetCount(), 1);
        EXPECT_EQ(GetContentFolders().GetList(3)->GetAt(0)->GetTitle(), text);
    }

    // The drag block the contents pane makes for the first content of a tab,
    // chosen there as the operator does.
    QMimeData *dragFirst(int type)
    {
        CContentsListCtrl *list = showTab(type);
        if (!list)
            return nullptr;
        clickFirstRow(list->GetActiveView());
        return list->CreateDragData();
    }

    static qint32 firstOf(int type) { return GetContentFolders().GetList(type)->GetAt(0)->GetIndex(); }

    // The row of a model where a content starts on a track; -1 when it does not.
    static int rowOf(const CTimetableModel &model, int track, qint32 content)
    {
        TimetableCell cell;
        for (int row = 0; row < model.GetRowCount(); ++row) {
            if (model.GetItem(row, track, cell) && !cell.gap && cell.item.GetIndex() == content)
                return row;
        }
        return -1;
    }

    // The playlist: the movie and then the still on the main track, the
    // telop beside the movie; the still plays to one minute, set in the time
    // dialog. Saved without a schedule of its own; the editor empties.
    qint32 composePlaylist()
    {
        clickNavigation(CMainFrame::VIEW_PLAYLIST);
        auto *editor = dynamic_cast<CPlaylistEditDlgView *>(pane(CMainFrame::PANE_PLAYLIST_EDIT));
        CTimetableGrid &grid = *editor->GetGrid();
        CPlaylistEditModel &model = *GetContentFolders().GetPlaylistModel(52);
        EXPECT_TRUE(DropOn(grid, dragFirst(1), -1, 1));
        EXPECT_TRUE(DropOn(grid, dragFirst(2), -1, 1));
        EXPECT_TRUE(DropOn(grid, dragFirst(3), 0, 2));
        EXPECT_EQ(model.GetItemCount(), 3);

        const int still = rowOf(model, 1, firstOf(2));
        EXPECT_GE(still, 0);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellPoint(grid, still, 1));
        OnNextModal<CTimeEditDlg>([](CTimeEditDlg *dialog) {
            dialog->GetTimeCtrl()->SetMinute(1);
            dialog->GetTimeCtrl()->SetSecond(0);
            dialog->accept();
        });
        click(editor->GetButton(QStringLiteral("time")));
        TimeValue end;
        EXPECT_TRUE(model.GetEndTime(model.GetRowCount() - 1, end));
        EXPECT_EQ(end, (TimeValue{0, 1, 0, 0}));
        snapshot("4-playlist");

        OnNextModal<CScheduleSetDlg>([](CScheduleSetDlg *dialog) { dialog->accept(); });
        m_prompter.answer(IDYES); // saved: start another
        click(editor->GetButton(QStringLiteral("save")));
        EXPECT_EQ(model.GetItemCount(), 0);
        return GetContentFolders().GetList(52)->GetCount() == 1 ? firstOf(52) : -1;
    }

    // The background-music list: named in the name dialog, the sound
    // dropped on its track, saved with the name as its title.
    qint32 composeMusicList()
    {
        clickNavigation(CMainFrame::VIEW_BGM);
        auto *editor = dynamic_cast<CPlaylistEditDlgView *>(pane(CMainFrame::PANE_BGM_EDIT));
        OnNextModal<CNameDlg>([](CNameDlg *dialog) {
            dialog->GetEdit()->setText(QStringLiteral("朝のBGM"));
            dialog->accept();
        });
        click(editor->GetButton(QStringLiteral("settings")));
        EXPECT_TRUE(DropOn(*editor->GetGrid(), dragFirst(6), -1, 1));
        OnNextModal<CPropertySetDlg>([](CPropertySetDlg *dialog) { dialog->accept(); });
        m_prompter.answer(IDYES);
        click(editor->GetButton(QStringLiteral("save")));
        CContentsList &lists = *GetContentFolders().GetList(53);
        EXPECT_EQ(lists.GetCount(), 1) << m_prompter.last().text.toStdString();
        if (lists.GetCount() != 1)
            return -1;
        EXPECT_EQ(lists.GetAt(0)->GetTitle(), QStringLiteral("朝のBGM"));
        return lists.GetAt(0)->GetIndex();
    }

    // The schedule: the playlist and the music list dropped on the day's
    // first row, saved with its days, hours and colour in the schedule dialog.
    qint32 composeSchedule()
    {
        clickNavigation(CMainFrame::VIEW_SCHEDULE);
        auto *editor = dynamic_cast<CScheduleEditDlgView *>(pane(CMainFrame::PANE_SCHEDULE_EDIT));
        CTimetableGrid &grid = *editor->GetGrid();
        EXPECT_TRUE(DropOn(grid, dragFirst(52), 0, 1));
        EXPECT_TRUE(DropOn(grid, dragFirst(53), 0, 2));
        EXPECT_EQ(GetContentFolders().GetScheduleModel()->GetItemCount(), 2);
        snapshot("5-schedule");
        OnNextModal<CScheduleSetDlg>(&ScheduleRoad::answerScheduleDialog);
        m_prompter.answer(IDNO); // saved: keep it in the editor
        click(editor->GetButton(QStringLiteral("save")));
        CContentsList &schedules = *GetContentFolders().GetList(51);
        EXPECT_EQ(schedules.GetCount(), 1);
        if (schedules.GetCount() != 1)
            return -1;
        const auto *schedule = dynamic_cast<const CScheduleProperty *>(schedules.GetAt(0));
        EXPECT_EQ(schedule->GetBgColor(), kScheduleColor);
        EXPECT_EQ(schedule->GetWeek(), QStringLiteral("23456"));
        return schedule->GetIndex();
    }

    // The schedule dialog of a schedule's save: the weekdays of December
    // 2026, in a colour of its own.
    static void answerScheduleDialog(CScheduleSetDlg *dialog)
    {
        dialog->GetColorCombo()->setCurrentIndex(kScheduleColor);
        dialog->GetStartDateEdit()->setDate(kFirstDay);
        dialog->GetEndDateEdit()->setDate(kLastDay);
        for (int day = 0; day < 7; ++day)
            dialog->GetWeekdayCheck(day)->setChecked(day >= 1 && day <= 5);
        dialog->accept();
    }

    // The overview's calendar shows the schedule's days in its colour.
    void checkCalendar(qint32 schedule, qint32 playlist)
    {
        clickNavigation(CMainFrame::VIEW_OVERVIEW);
        auto *calendar = dynamic_cast<CCalendarDlgView *>(pane(CMainFrame::PANE_CALENDAR_GROUP));
        ASSERT_NE(calendar, nullptr);
        calendar->SelectDate(kFirstDay.year(), kFirstDay.month(), kFirstDay.day());
        EXPECT_EQ(calendar->GetDayItem(kFirstDay)->background().color(), ToQColor(GetCalendarColor(kScheduleColor)));
        EXPECT_EQ(calendar->GetDayColor(QDate(2026, 12, 6)), -1); // a Sunday
        // The day chosen shows its schedule and the schedule's playlist.
        QTableWidget *month = calendar->GetMonthGrid();
        QTest::mouseClick(month->viewport(), Qt::LeftButton, {},
                          month->visualItemRect(calendar->GetDayItem(kFirstDay.addDays(1))).center());
        EXPECT_EQ(GetContentFolders().GetSecondScheduleModel()->GetIndex(), schedule);
        EXPECT_EQ(GetContentFolders().GetSecondPlaylistModel(52)->GetIndex(), playlist);
        snapshot("6-calendar");
    }

    // Group delivery: the schedule chosen in its tab and sent with the pane's send button.
    void sendScheduleToGroup()
    {
        clickNavigation(CMainFrame::VIEW_GROUP_DELIVERY);
        CContentsListCtrl *list = showTab(51);
        ASSERT_NE(list, nullptr);
        clickFirstRow(list);
        click(control<QPushButton>(contentsPane(), CContentsDlgView::IDC_ACTION));
        ASSERT_TRUE(waitIdle());
    }

    // What player i holds of the programme: the list, sequence and schedule
    // files as they were written here, the calendar file, and the rows of its
    // playlist, schedule, calendar and content tables.
    void checkPlayer(int i, qint32 playlist, qint32 bgm, qint32 schedule)
    {
        CContentsStore &store = GetContentFolders();
        EmulatedPlayer &r40 = player(i);
        const QString playlistFolder = store.GetPlaylistModel(52)->GetListFolder();
        for (qint32 list : {playlist, bgm})
            EXPECT_EQ(r40.file(QStringLiteral("/import/db/PL%1.xml").arg(Number(list))),
                      FileBytes(QStringLiteral("%1/PL%2.xml").arg(playlistFolder, Number(list))));
        QString scheduleFolder;
        QString sequenceFolder;
        ASSERT_TRUE(store.GetGroupScheduleFolders(QString::fromLatin1(kGroup), scheduleFolder, sequenceFolder));
        EXPECT_EQ(r40.file(QStringLiteral("/import/db/SC%1.xml").arg(Number(schedule))),
                  FileBytes(QStringLiteral("%1/SC%2.xml").arg(scheduleFolder, Number(schedule))));
        // Every sequence of the lists went with them.
        const QDir sequences(store.GetPlaylistModel(52)->GetSequenceFolder());
        const QStringList sent = sequences.entryList({QStringLiteral("SQ*.xml")}, QDir::Files);
        EXPECT_FALSE(sent.isEmpty());
        for (const QString &name : sent)
            EXPECT_EQ(r40.file(QStringLiteral("/import/db/") + name), FileBytes(sequences.filePath(name))) << name.toStdString();
        // The default layout of the full-HD screen: the movie fills it, the
        // telop shows in the band at its bottom.
        const QString area = QStringLiteral("<x>(-?\\d+)</x>\\s*<y>(-?\\d+)</y>\\s*<width>(\\d+)</width>\\s*<height>(\\d+)</height>");
        EXPECT_EQ(EntryOnPlayer(r40, sent, firstOf(1), area), QStringLiteral("0 0 1920 1080"));
        EXPECT_EQ(EntryOnPlayer(r40, sent, firstOf(3), area), QStringLiteral("0 960 1920 120"));
        // An event lasts its content's play time, rounded up to the second:
        // the 4.92 s movie 5 s, the 8.0457 s sound 9 s.
        const QString end = QStringLiteral("<etime>([^<]*)</etime>");
        EXPECT_EQ(EntryOnPlayer(r40, sent, firstOf(1), end), QStringLiteral("00:00:05.000"));
        EXPECT_EQ(EntryOnPlayer(r40, sent, firstOf(6), end), QStringLiteral("00:00:09.000"));
        bool calendarFile = false;
        for (const EmulatedPlayer::Request &request : r40.requests()) {
            const QString href = request.parameter(QStringLiteral("href"));
            calendarFile = calendarFile || (request.path == QLatin1String("/upload.php")
                                            && r40.file(href).contains("CALENDAR_TBL"));
        }
        EXPECT_TRUE(calendarFile);

        for (qint32 list : {playlist, bgm})
            EXPECT_FALSE(RowOf(r40.tableRows(1), list).isEmpty()) << list;
        EXPECT_FALSE(RowOf(r40.tableRows(2), schedule).isEmpty());
        const EmulatedPlayer::Row day = RowOf(r40.tableRows(3), schedule);
        EXPECT_EQ(EmulatedPlayer::fieldText(day, QStringLiteral("schedule")),
                  QStringLiteral("SC%1_TBL").arg(Number(schedule)));
        EXPECT_EQ(EmulatedPlayer::fieldText(day, QStringLiteral("sdate")), QStringLiteral("2026-12-01"));
        EXPECT_EQ(EmulatedPlayer::fieldText(day, QStringLiteral("edate")), QStringLiteral("2026-12-31"));
        EXPECT_EQ(EmulatedPlayer::fieldText(day, QStringLiteral("week")), QStringLiteral("23456"));
        EXPECT_EQ(EmulatedPlayer::fieldText(day, QStringLiteral("flag")), QStringLiteral("1"));
        // The contents the lists play: movie, still, telop and sound tables.
        for (const auto &[type, table] : {std::pair{1, 1}, std::pair{2, 2}, std::pair{3, 3}, std::pair{6, 6}}) {
            const qint32 content = store.GetList(type)->GetAt(0)->GetIndex();
            EXPECT_FALSE(RowOf(r40.contentRows(table), content).isEmpty()) << "type " << type;
        }
    }

    CSaveDlgPrompter m_saveDialogs; // the program's own save dialogs
};

TEST_F(ScheduleRoad, FromAnEmptyDataFolderToADaysProgrammeOnEveryPlayerOfTheGroup)
{
    ASSERT_TRUE(startPlayers(2));
    ASSERT_TRUE(showWindow());
    completeFirstSetUp(2);
    makeGroup(QString::fromLatin1(kGroup));
    registerFile(1, 4201, makeMovie(QStringLiteral("4.92"), 25));
    registerFile(2, 4201, makeStill());
    registerTelop(QStringLiteral("本日のお知らせ"));
    registerFile(6, 4201, makeSound());
    for (int type : {1, 6}) { // play times with a fraction of a second
        const auto *media = dynamic_cast<const CMediaProperty *>(GetContentFolders().GetList(type)->GetAt(0));
        EXPECT_NE(media->GetPlayTime().millisecond, 0) << type;
    }
    EXPECT_TRUE(m_prompter.prompts().isEmpty()) << m_prompter.last().text.toStdString();

    const qint32 playlist = composePlaylist();
    ASSERT_GT(playlist, 0);
    const qint32 music = composeMusicList();
    ASSERT_GT(music, 0);
    const qint32 schedule = composeSchedule();
    ASSERT_GT(schedule, 0);
    checkCalendar(schedule, playlist);
    sendScheduleToGroup();

    // Only the three questions after the saves were asked.
    EXPECT_EQ(m_prompter.prompts().size(), 3) << m_prompter.last().text.toStdString();
    ASSERT_EQ(statusList()->rowCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(statusCell(i, CStatusDlgView::COLUMN_STATE), QStringLiteral("完了")) << i;
        checkPlayer(i, playlist, music, schedule);
    }
}

