#include "ui/timetable/calendar_dlg_view.h"

#include <QCalendarWidget>
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
