#pragma once
// The month calendar of the current group. It knows its data type (50 the
// monthly schedule of the group being edited, 51 the delivery status of the
// group, 52 the calendar of the group being checked) and shows one month,
// Sunday first, each day in the calendar colour of the schedule its calendar
// row plays (with the schedule's title), under the legend of the eight
// calendar colours and their names. Dates, month and weekday names read in
// Japanese whatever the system's language.
//
// In the calendar of the group being checked, choosing a day shows the
// day's schedule in the schedule check pane and its first playlist and
// background-music list in theirs; a day without a schedule empties them.
// The calendars of a group print their month or the checked schedule.

#include "app/pane_roles.h"
#include "app/titled_pane_dlg.h"

#include <QDate>

#include "widgets/calendar_colors.h"

#include <array>

class QLabel;
class QTableWidget;
class QTableWidgetItem;
class CScheduleEditModel;

class CCalendarDlgView : public CTitledPaneDlg, public ICalendarView {
    Q_OBJECT
public:
    enum DataType : int { DATA_EDIT_CALENDAR = 50, DATA_DELIVERY_STATUS = 51, DATA_CHECK_CALENDAR = 52 };

    explicit CCalendarDlgView(int dataType);

    int GetDataType() const { return m_dataType; }
    // Selects a day and shows its month; negative values clear the selection.
    void SelectDate(int year, int month, int day) override;
    // Selects the days of a period (a schedule's) and shows its first month.
    void SelectPeriod(const QDate &first, const QDate &last) override;
    // The selected day, the first of a selected period; invalid when none is
    // selected.
    QDate GetSelectedDate() const { return m_selected; }
    // Shows a month (the selection stays); the arrows beside its name go a
    // month back or on.
    void ShowMonth(int year, int month);
    int GetShownYear() const { return m_shown.year(); }
    int GetShownMonth() const { return m_shown.month(); }
    QString GetMonthTitle() const;
    QTableWidget *GetMonthGrid() const { return m_grid; }
    // The cell of a day of the shown month; null for a day of another month.
    QTableWidgetItem *GetDayItem(const QDate &date) const;
    // The calendar colour number of a day (the background of the schedule
    // its row plays); -1 when no schedule plays then.
    int GetDayColor(const QDate &date);
    // The legend: swatch and name of each calendar colour.
    QLabel *GetLegendSwatch(int color) const;
    QLabel *GetLegendName(int color) const;
    // Chooses a day as a click on it does.
    void ChooseDate(const QDate &date);
    // The print button of the group calendars: the print choice, then the
    // month shown or the checked schedule with its lists.
    void OnPrint();

    void OnContentsListChanged(int contentType, int index, int flag) override;
    void OnContentsChanged(QWidget *sender) override;
    void OnRefreshLists() override;
    void OnGroupChanged() override;
    void OnColorChanged() override;

protected:
    bool OnInitDialog() override;

private:
    // What plays on a day: the schedule of its calendar row, with its colour and title.
    struct DayPlan {
        qint32 schedule = -1;
        int color = -1;
        QString title;
    };
    DayPlan planOf(const QDate &date);
    QDate dateOfCell(int row, int column) const;
    void fillMonth();
    void fillLegend();
    void showSelection();
    // The schedule's first playlist and background-music list in their check panes.
    void showListsOf(const CScheduleEditModel &schedule);

    int m_dataType;
    QDate m_selected;
    QDate m_selectedLast;
    QDate m_shown;
    QLabel *m_monthTitle = nullptr;
    QTableWidget *m_grid = nullptr;
    std::array<QLabel *, CSystemIni::kCalendarColorCount> m_swatches{};
    std::array<QLabel *, CSystemIni::kCalendarColorCount> m_names{};
};
