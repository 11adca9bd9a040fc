#include "ui/timetable/calendar_dlg_view.h"

#include "app/main_frame.h"
#include "ui/contents/print_calendar_dlg.h"
#include "ui/timetable/timetable_grid.h"

#include <QCalendarWidget>
#include <QPushButton>
#include <QLabel>
#include <QLayout>

namespace {

quint32 TitleOfType(int dataType)
{
    return dataType == CCalendarDlgView::DATA_DELIVERY_STATUS ? 5510 : 5509;
}

} // namespace

CCalendarDlgView::CCalendarDlgView(int dataType)
    : CTitledPaneDlg(0, QSize(300, 240), TitleOfType(dataType)), m_dataType(dataType)
{
}

bool CCalendarDlgView::OnInitDialog()
{
    if (!CTitledPaneDlg::OnInitDialog())
        return false;
    // The month calendar takes the place of the title.
    GetTitleLabel()->hide();
    m_calendar = new QCalendarWidget(this);
    m_calendar->setGridVisible(true);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    layout()->addWidget(m_calendar);
    if (m_dataType != DATA_DELIVERY_STATUS) {
        QPushButton *print = CreatePrintButton(this);
        connect(print, &QPushButton::clicked, this, [this] { OnPrint(); });
        layout()->addWidget(print);
    }
    return true;
}

void CCalendarDlgView::SelectDate(int year, int month, int day)
{
    if (year < 0 || month < 0 || day < 0) {
        m_selected = QDate();
        return;
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return;
    m_selected = date;
    if (m_calendar)
        m_calendar->setSelectedDate(date);
}

void CCalendarDlgView::OnPrint()
{
    CMainFrame *frame = GetMainFrame();
    CPrintCalendarDlg choice(this);
    if (!frame || choice.exec() != QDialog::Accepted)
        return;
    if (choice.GetChoice() == 0)
        frame->PrintCalendar(m_calendar->yearShown(), m_calendar->monthShown());
    else
        frame->PrintSchedule(false, false);
}
