#include "ui/timetable/schedule_set_dlg.h"

#include "core/string_table.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimeEdit>

namespace {

constexpr quint32 kTitleString = 1;

QDate ToQDate(const DateValue &date)
{
    return QDate(date.year, date.month, date.day);
}

DateValue ToDateValue(const QDate &date)
{
    return DateValue{quint16(date.year()), quint16(date.month()), quint16(date.day())};
}

QTime ToQTime(const TimeValue &time)
{
    return QTime(time.hour, time.minute, time.second);
}

TimeValue ToTimeValue(const QTime &time)
{
    return TimeValue{quint16(time.hour()), quint16(time.minute()), quint16(time.second()), 0};
}

} // namespace

CScheduleSetDlg::CScheduleSetDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(LoadString(kTitleString));
    auto *form = new QFormLayout(this);
    m_setSchedule = new QCheckBox(this);
    form->addRow(m_setSchedule);
    m_group = new QLabel(this);
    form->addRow(m_group);
    m_startDate = new QDateEdit(this);
    m_endDate = new QDateEdit(this);
    m_startTime = new QTimeEdit(this);
    m_endTime = new QTimeEdit(this);
    for (QDateEdit *edit : {m_startDate, m_endDate}) {
        edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        edit->setCalendarPopup(true);
    }
    for (QTimeEdit *edit : {m_startTime, m_endTime})
        edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    form->addRow(QStringLiteral("開始日"), m_startDate);
    form->addRow(QStringLiteral("終了日"), m_endDate);
    form->addRow(QStringLiteral("開始時刻"), m_startTime);
    form->addRow(QStringLiteral("終了時刻"), m_endTime);
    auto *days = new QHBoxLayout;
    for (int i = 0; i < 7; ++i) {
        m_days[size_t(i)] = new QCheckBox(QString::number(i + 1), this);
        days->addWidget(m_days[size_t(i)]);
    }
    form->addRow(QStringLiteral("曜日"), days);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CScheduleSetDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CScheduleSetDlg::reject);
    form->addRow(buttons);
    showBlock();
}

void CScheduleSetDlg::SetBlock(const ScheduleSetBlock &block)
{
    m_block = block;
    showBlock();
}

void CScheduleSetDlg::showBlock()
{
    m_setSchedule->setChecked(m_block.setSchedule);
    m_group->setText(m_block.groupName);
    const QDate today = QDate::currentDate();
    const QDate start = ToQDate(m_block.startDate);
    const QDate end = ToQDate(m_block.endDate);
    m_startDate->setDate(start.isValid() ? start : today);
    m_endDate->setDate(end.isValid() ? end : today);
    m_startTime->setTime(ToQTime(m_block.startTime));
    m_endTime->setTime(ToQTime(m_block.endTime));
    for (int i = 0; i < 7; ++i)
        m_days[size_t(i)]->setChecked(m_block.weekdays.contains(QChar(u'1' + i)));
}

void CScheduleSetDlg::accept()
{
    m_block.setSchedule = m_setSchedule->isChecked();
    m_block.startDate = ToDateValue(m_startDate->date());
    m_block.endDate = ToDateValue(m_endDate->date());
    m_block.startTime = ToTimeValue(m_startTime->time());
    m_block.endTime = ToTimeValue(m_endTime->time());
    m_block.weekdays.clear();
    for (int i = 0; i < 7; ++i) {
        if (m_days[size_t(i)]->isChecked())
            m_block.weekdays.append(QChar(u'1' + i));
    }
    QDialog::accept();
}
