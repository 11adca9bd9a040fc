// The schedule setting dialog and the group calendar: the dialog edits the
// whole schedule block; a playlist saved with a schedule colours its days in
// the group's calendars, and choosing a day in the overview shows that day's
// schedule and playlist in the check panes, while the schedule check of a
// schedule selects its days there.
#include "widgets/calendar_colors.h"
#include "widgets/color_dialog.h"
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "core/message_box.h"
#include "core/profile_ini.h"
#include "core/setting_ini.h"
#include "core/system_ini.h"
#include "model/contents_store.h"
#include "model/schedule_property.h"
#include "shell_fixture.h"
#include "support/fake_clock.h"
#include "support/time_codes.h"
#include "ui/contents/color_combo_box.h"
#include "ui/contents/contents_dlg_view.h"
#include "ui/contents/contents_list_ctrl.h"
#include "ui/timetable/calendar_dlg_view.h"
#include "ui/timetable/playlist_edit_dlg_view.h"
#include "ui/timetable/save_dlg_prompter.h"
#include "ui/timetable/schedule_edit_dlg_view.h"
#include "ui/timetable/schedule_set_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTest>
#include <QTimeEdit>

namespace {

class ScheduleCalendar : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        frame = startSetUpFrameWithGroups({QStringLiteral("本店"), QStringLiteral("支店")});
        ASSERT_NE(frame, nullptr);
    }

    // A playlist of one still, saved with a schedule of the current group
    // in colour 4 on the weekdays of December 2026, set in the dialog.
    qint32 savePlaylistWithSchedule()
    {
        CPlaylistEditModel &model = *GetContentFolders().GetPlaylistModel(52);
        CTimetableItem still;
        EXPECT_TRUE(still.Set(200000001, Tc(0, 0), Tc(0, 1), 2, 0));
        EXPECT_TRUE(model.InsertItem(1, still));
        model.SetTitle(QStringLiteral("朝の案内"));
        OnNextModal<CScheduleSetDlg>([](CScheduleSetDlg *dialog) {
            dialog->GetSetScheduleCheck()->setChecked(true);
            dialog->GetColorCombo()->setCurrentIndex(4);
            dialog->GetStartDateEdit()->setDate(QDate(2026, 12, 1));
            dialog->GetEndDateEdit()->setDate(QDate(2026, 12, 31));
            dialog->GetStartTimeEdit()->setTime(QTime(9, 0));
            dialog->GetEndTimeEdit()->setTime(QTime(17, 0));
            for (int day = 0; day < 7; ++day)
                dialog->GetWeekdayCheck(day)->setChecked(day >= 1 && day <= 5);
            dialog->accept();
        });
        m_prompter.answer(IDNO); // keep the list in the editor
        EXPECT_TRUE(frame->PlaylistSave(52, false));
        return model.GetIndex();
    }

    void clickDay(CCalendarDlgView &calendar, const QDate &date)
    {
        QTableWidget *grid = calendar.GetMonthGrid();
        const QRect cell = grid->visualItemRect(calendar.GetDayItem(date));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

    CMainFrame *frame = nullptr;
    CSaveDlgPrompter saveDialogs; // the program's own save dialogs
};

} // namespace

TEST_F(ScheduleCalendar, TheScheduleDialogEditsTheWholeBlockAndRefusesWhatCannotPlay)
{
    ScheduleSetBlock block;
    block.groupName = QStringLiteral("本店");
    block.background = 5;
    block.startDate = DateValue{2026, 12, 1};
    block.endDate = DateValue{2026, 12, 31};
    block.startTime = Tc(9, 0);
    block.endTime = Tc(18, 30);
    block.weekdays = QStringLiteral("23456");
    CScheduleSetDlg dialog;
    dialog.SetBlock(block);

    // It shows the block; while no schedule is set, nothing else is asked.
    EXPECT_FALSE(dialog.GetSetScheduleCheck()->isChecked());
    EXPECT_FALSE(dialog.GetStartDateEdit()->isEnabled());
    EXPECT_EQ(dialog.GetGroupCombo()->currentText(), QStringLiteral("本店"));
    EXPECT_EQ(dialog.GetGroupCombo()->count(), 2);
    ColorRef background = 0;
    ColorRef text = 0;
    QString name;
    dialog.GetColorCombo()->GetColorInfo(-1, background, text, name);
    EXPECT_EQ(background, GetCalendarColor(5));
    EXPECT_EQ(name, GetCalendarColorName(5));
    EXPECT_EQ(dialog.GetColorCombo()->count(), CSystemIni::kCalendarColorCount);
    EXPECT_EQ(dialog.GetWeekdayCheck(0)->text(), QStringLiteral("日"));
    EXPECT_FALSE(dialog.GetWeekdayCheck(0)->isChecked());
    EXPECT_TRUE(dialog.GetWeekdayCheck(1)->isChecked());
    EXPECT_EQ(dialog.GetEndTimeEdit()->time(), QTime(18, 30));

    // The operator sets a schedule for the other group, in another colour,
    // to mid-January, Sundays too.
    dialog.GetSetScheduleCheck()->setChecked(true);
    EXPECT_TRUE(dialog.GetGroupCombo()->isEnabled());
    dialog.GetGroupCombo()->setCurrentIndex(dialog.GetGroupCombo()->findText(QStringLiteral("支店")));
    dialog.GetColorCombo()->setCurrentIndex(2);
    dialog.GetEndDateEdit()->setDate(QDate(2027, 1, 15));
    dialog.GetWeekdayCheck(0)->setChecked(true);

    // Refused: an end time not five seconds after the start, or before it
    // (the day's event would pass midnight), no weekday, an end date before the start.
    dialog.GetEndTimeEdit()->setTime(QTime(9, 0, 4));
    m_prompter.expect(5246, IDOK);
    dialog.accept();
    dialog.GetEndTimeEdit()->setTime(QTime(8, 0));
    m_prompter.expect(5229, IDOK);
    dialog.accept();
    dialog.GetEndTimeEdit()->setTime(QTime(18, 30));
    for (int day = 0; day < 7; ++day)
        dialog.GetWeekdayCheck(day)->setChecked(false);
    m_prompter.expect(5244, IDOK);
    dialog.accept();
    for (int day : {0, 1, 2, 3, 4, 5})
        dialog.GetWeekdayCheck(day)->setChecked(true);
    dialog.GetStartDateEdit()->setDate(QDate(2027, 2, 1));
    m_prompter.expect(5243, IDOK);
    dialog.accept();
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.GetBlock(), block); // nothing taken yet
    dialog.GetStartDateEdit()->setDate(QDate(2026, 12, 1));
    dialog.accept();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);

    ScheduleSetBlock expected = block;
    expected.setSchedule = true;
    expected.groupName = QStringLiteral("支店");
    expected.background = 2;
    expected.endDate = DateValue{2027, 1, 15};
    expected.weekdays = QStringLiteral("123456");
    EXPECT_EQ(dialog.GetBlock(), expected);

    // A schedule needs a group.
    CScheduleSetDlg groupless;
    groupless.GetSetScheduleCheck()->setChecked(true);
    m_prompter.expect(5326, IDOK);
    groupless.accept();
    EXPECT_EQ(groupless.result(), 0);

    // Shown again, the block comes back unchanged; a schedule's own block
    // keeps its flag, group and times.
    CScheduleSetDlg again;
    again.SetBlock(expected);
    EXPECT_FALSE(again.GetSetScheduleCheck()->isEnabled());
    EXPECT_FALSE(again.GetGroupCombo()->isEnabled());
    EXPECT_FALSE(again.GetStartTimeEdit()->isEnabled());
    EXPECT_TRUE(again.GetColorCombo()->isEnabled());
    again.accept();
    EXPECT_EQ(again.GetBlock(), expected);
}

TEST_F(ScheduleCalendar, ANewScheduleOpensOnValuesItsOwnCheckAccepts)
{
    ScopedFakeClock clock(QDateTime(QDate(2031, 6, 11), QTime(12, 0))); // a Wednesday
    // The schedule save's dialog, also when the players switch off after
    // midnight or never.
    for (const auto &[on, off] : {std::pair{Tc(10, 0), Tc(18, 0)}, {Tc(22, 0), Tc(6, 0)}, {Tc(6, 0), Tc(6, 0)}}) {
        SystemOptions options = GetSettingIni().Options();
        options.PowerOnTime = on;
        options.PowerOffTime = off;
        GetSettingIni().SetOptions(options);
        ScheduleSetBlock block = DefaultScheduleBlock(QStringLiteral("本店"));
        CScheduleSetDlg dialog;
        dialog.SetBlock(block);
        dialog.GetSetScheduleCheck()->setChecked(true); // as a playlist's save asks for one
        dialog.accept();
        EXPECT_EQ(dialog.result(), int(QDialog::Accepted)) << on.hour;
        block.setSchedule = true;
        dialog.SetBlock(block);
        dialog.accept();
        EXPECT_EQ(dialog.result(), int(QDialog::Accepted)) << on.hour;
    }

    // A playlist's save that only asks for a schedule plays it every day of
    // the week from today.
    CPlaylistEditModel &model = *GetContentFolders().GetPlaylistModel(52);
    CTimetableItem still;
    ASSERT_TRUE(still.Set(200000001, Tc(0, 0), Tc(0, 1), 2, 0));
    ASSERT_TRUE(model.InsertItem(1, still));
    OnNextModal<CScheduleSetDlg>([](CScheduleSetDlg *dialog) {
        EXPECT_EQ(dialog->GetStartDateEdit()->date(), QDate(2031, 6, 11));
        dialog->GetSetScheduleCheck()->setChecked(true);
        dialog->accept();
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog refused its own values";
            dialog->reject();
        }
    });
    m_prompter.answer(IDNO);
    EXPECT_TRUE(frame->PlaylistSave(52, false));
    ASSERT_EQ(GetContentFolders().GetList(51)->GetCount(), 1);
    const auto *schedule = dynamic_cast<const CScheduleProperty *>(GetContentFolders().GetList(51)->GetAt(0));
    EXPECT_EQ(schedule->GetStartDate(), (DateValue{2031, 6, 11}));
    EXPECT_EQ(schedule->GetEndDate(), (DateValue{2031, 6, 17}));
    EXPECT_EQ(schedule->GetWeek(), QStringLiteral("1234567"));
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);
}

TEST_F(ScheduleCalendar, ASchedulesDaysShowInItsColourChoosingOneShowsItAndCheckingItSelectsThem)
{
    const qint32 playlist = savePlaylistWithSchedule();
    ASSERT_GT(playlist, 0);
    CContentsStore &store = GetContentFolders();
    ASSERT_EQ(store.GetList(51)->GetCount(), 1);
    const auto *schedule = dynamic_cast<const CScheduleProperty *>(store.GetList(51)->GetAt(0));
    EXPECT_EQ(schedule->GetBgColor(), 4);
    EXPECT_EQ(schedule->GetStartTime(), Tc(9, 0));
    const qint32 number = schedule->GetIndex();

    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_OVERVIEW, true));
    auto *calendar = PaneOf<CCalendarDlgView>(frame, CMainFrame::PANE_CALENDAR_GROUP);
    calendar->SelectDate(2026, 12, 1);
    EXPECT_EQ(calendar->GetMonthTitle(), QStringLiteral("2026年 12月"));
    EXPECT_EQ(calendar->GetMonthGrid()->horizontalHeaderItem(0)->text(), QStringLiteral("日"));
    // Weekdays play in the schedule's colour, titled; Sundays do not.
    QTableWidgetItem *tuesday = calendar->GetDayItem(QDate(2026, 12, 1));
    ASSERT_NE(tuesday, nullptr);
    EXPECT_EQ(tuesday->background().color(), ToQColor(GetCalendarColor(4)));
    EXPECT_EQ(tuesday->text(), QStringLiteral("1\n朝の案内"));
    EXPECT_EQ(calendar->GetDayItem(QDate(2026, 12, 6))->background().style(), Qt::NoBrush);
    EXPECT_EQ(calendar->GetDayColor(QDate(2027, 1, 5)), -1);
    EXPECT_EQ(PaneOf<CCalendarDlgView>(frame, CMainFrame::PANE_CALENDAR_MONTH)->GetDayColor(QDate(2026, 12, 31)), 4);

    // The legend names the colours, as the operator renames them.
    EXPECT_EQ(calendar->GetLegendName(4)->text(), GetCalendarColorName(4));
    EXPECT_EQ(calendar->GetLegendSwatch(4)->palette().color(QPalette::Window), ToQColor(GetCalendarColor(4)));
    ASSERT_TRUE(GetSystemIni().SetColorName(4, QStringLiteral("催事")));
    frame->NotifyColorChanged();
    EXPECT_EQ(calendar->GetLegendName(4)->text(), QStringLiteral("催事"));

    // Choosing a day shows its schedule and the schedule's playlist; the day stays chosen.
    clickDay(*calendar, QDate(2026, 12, 2));
    EXPECT_EQ(calendar->GetSelectedDate(), QDate(2026, 12, 2));
    EXPECT_EQ(store.GetSecondScheduleModel()->GetIndex(), number);
    EXPECT_EQ(store.GetSecondPlaylistModel(52)->GetIndex(), playlist);
    // The check grids are headed by the names of their tracks.
    const QAbstractItemModel *scheduleGrid =
        PaneOf<CScheduleEditDlgView>(frame, CMainFrame::PANE_SCHEDULE_CHECK)->GetGrid()->model();
    EXPECT_GT(scheduleGrid->rowCount(), 0);
    EXPECT_EQ(scheduleGrid->headerData(1, Qt::Horizontal).toString(), QStringLiteral("プレイリスト"));
    const QAbstractItemModel *playlistGrid =
        PaneOf<CPlaylistEditDlgView>(frame, CMainFrame::PANE_PLAYLIST_CHECK)->GetGrid()->model();
    EXPECT_EQ(playlistGrid->rowCount(), 1);
    EXPECT_EQ(playlistGrid->headerData(1, Qt::Horizontal).toString(), QStringLiteral("メイン"));
    EXPECT_TRUE(frame->GetViewFrame(CMainFrame::PANE_PLAYLIST_CHECK)->isVisible());

    // A day without a schedule empties the check panes.
    clickDay(*calendar, QDate(2026, 12, 6));
    EXPECT_EQ(store.GetSecondScheduleModel()->GetIndex(), -1);
    EXPECT_EQ(store.GetSecondPlaylistModel(52)->GetIndex(), -1);
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);

    // The schedule check of the group send view selects the schedule's days,
    // 1 to 31 December, in the calendar there and in the overview's, whatever
    // month and day they showed.
    CProfileIni(GetSystemIni().GetFileName()).WriteString(QStringLiteral("Option"), QStringLiteral("ScheduleConf"),
                                                          QStringLiteral("1"));
    GetSystemIni().Load();
    calendar->SelectDate(2027, 3, 3);
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_GROUP_DELIVERY, true));
    auto *sent = PaneOf<CCalendarDlgView>(frame, CMainFrame::PANE_CALENDAR_STATUS);
    sent->SelectDate(2026, 11, 20);
    CContentsListCtrl *schedules = PaneOf<CContentsDlgView>(frame, CMainFrame::PANE_CONTENTS)->GetVisibleList();
    ASSERT_EQ(schedules->GetContentType(), 51);
    schedules->SelectContentIndexes({number});
    ASSERT_TRUE(schedules->CanExecute(6212));
    schedules->OnCommand(6212); // スケジュール確認
    EXPECT_EQ(store.GetSecondScheduleModel()->GetIndex(), number);
    for (CCalendarDlgView *shown : {sent, calendar}) {
        EXPECT_EQ(shown->GetMonthTitle(), QStringLiteral("2026年 12月"));
        EXPECT_EQ(shown->GetSelectedDate(), QDate(2026, 12, 1));
        EXPECT_EQ(shown->GetMonthGrid()->selectedItems().size(), 31);
        EXPECT_TRUE(shown->GetDayItem(QDate(2026, 12, 31))->isSelected());
    }
}

TEST_F(ScheduleCalendar, NegativeValuesClearTheSelectionAndTheMonthReadsJapaneseInAnyLanguage)
{
    const QLocale system;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    auto restoreLocale = qScopeGuard([system] { QLocale::setDefault(system); });
    CCalendarDlgView calendar(CCalendarDlgView::DATA_CHECK_CALENDAR);
    {
        ScopedFakeClock clock(QDateTime(QDate(2031, 6, 11), QTime(12, 0)));
        ASSERT_TRUE(calendar.Create(nullptr));
    }
    EXPECT_EQ(calendar.GetMonthTitle(), QStringLiteral("2031年 6月")); // today's month
    calendar.SelectDate(2026, 4, 29);
    restoreLocale.dismiss();
    QLocale::setDefault(system);
    EXPECT_EQ(calendar.GetMonthTitle(), QStringLiteral("2026年 4月"));
    EXPECT_EQ(calendar.GetMonthGrid()->horizontalHeaderItem(6)->text(), QStringLiteral("土"));
    EXPECT_EQ(calendar.GetSelectedDate(), QDate(2026, 4, 29));
    EXPECT_EQ(calendar.GetShownMonth(), 4);
    EXPECT_TRUE(calendar.GetDayItem(QDate(2026, 4, 29))->isSelected());
    calendar.SelectDate(2026, 2, 30); // no such day: the selection stays
    EXPECT_EQ(calendar.GetSelectedDate(), QDate(2026, 4, 29));
    calendar.SelectDate(-1, -1, -1);
    EXPECT_FALSE(calendar.GetSelectedDate().isValid());
    EXPECT_TRUE(calendar.GetMonthGrid()->selectedItems().isEmpty());
}
