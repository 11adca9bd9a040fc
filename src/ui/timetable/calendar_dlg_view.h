#pragma once
// STAND-IN for the month calendar pane, until the calendar editor is built:
// the least the main frame needs of it. It knows its data type (50 the
// monthly schedule of the group being edited, 51 the delivery status of the
// group, 52 the calendar of the group being checked) and keeps one selected
// day, shown on a month calendar. It shows no schedules and edits nothing;
// the calendars of a group print their month or the checked schedule.

#include "app/pane_roles.h"
#include "app/titled_pane_dlg.h"

#include <QDate>

class QCalendarWidget;

class CCalendarDlgView : public CTitledPaneDlg, public ICalendarView {
    Q_OBJECT
public:
    enum DataType : int { DATA_EDIT_CALENDAR = 50, DATA_DELIVERY_STATUS = 51, DATA_CHECK_CALENDAR = 52 };

    explicit CCalendarDlgView(int dataType);

    int GetDataType() const { return m_dataType; }
    // Selects a day; negative values clear the selection.
    void SelectDate(int year, int month, int day) override;
    // The selected day; invalid when none is selected.
    QDate GetSelectedDate() const { return m_selected; }
    // The print button of the group calendars: the print choice, then the
    // month shown or the checked schedule with its lists.
    void OnPrint();

protected:
    bool OnInitDialog() override;

private:
    int m_dataType;
    QDate m_selected;
    QCalendarWidget *m_calendar = nullptr;
};
