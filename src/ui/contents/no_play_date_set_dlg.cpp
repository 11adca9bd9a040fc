#include "ui/contents/no_play_date_set_dlg.h"

#include "app/dialog_buttons.h"
#include "core/message_box.h"
#include "ui/contents/save_number_choice.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const kDayNames[] = {"日", "月", "火", "水", "木", "金", "土"};

QDate toQDate(const DateValue &date)
{
    return QDate(date.year, date.month, date.day);
}

DateValue toDateValue(const QDate &date)
{
    return DateValue{quint16(date.year()), quint16(date.month()), quint16(date.day())};
}

bool hasMonth(const DateValue &date)
{
    return date.month >= 1 && date.month <= 12;
}

// Sunday "1" to Saturday "7".
QChar weekdayDigit(const QDate &date)
{
    return QChar('0' + date.dayOfWeek() % 7 + 1);
}

} // namespace

CNoPlayDateSetDlg::CNoPlayDateSetDlg(QWidget *parent)
    : QDialog(parent), m_startEdit(new QDateEdit(this)), m_endEdit(new QDateEdit(this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("再生しない期間の設定"));
    m_startEdit->setObjectName(QString::number(kStartDateId));
    m_endEdit->setObjectName(QString::number(kEndDateId));
    auto *period = new QHBoxLayout;
    period->addWidget(m_startEdit);
    period->addWidget(new QLabel(QStringLiteral("～"), this));
    period->addWidget(m_endEdit);

    auto *days = new QHBoxLayout;
    for (size_t i = 0; i < m_weekdays.size(); ++i) {
        m_weekdays[i] = new QCheckBox(QString::fromUtf8(kDayNames[i]), this);
        m_weekdays[i]->setObjectName(QString::number(kWeekdayIds[i]));
        days->addWidget(m_weekdays[i]);
    }
    auto *checkAll = new QPushButton(QStringLiteral("全てチェックする"), this);
    checkAll->setObjectName(QString::number(kCheckAllId));
    auto *uncheckAll = new QPushButton(QStringLiteral("全てチェックしない"), this);
    uncheckAll->setObjectName(QString::number(kUncheckAllId));
    days->addWidget(checkAll);
    days->addWidget(uncheckAll);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(period);
    layout->addLayout(days);
    layout->addWidget(CreateOkCancelButtons(this));

    for (QDateEdit *edit : {m_startEdit, m_endEdit}) {
        edit->setDateRange(QDate(2007, 1, 1), QDate(2035, 12, 31));
        edit->setCalendarPopup(true);
        connect(edit, &QDateEdit::dateChanged, this, [this] { m_modified = true; });
    }
    connect(checkAll, &QPushButton::clicked, this, [this] { setAllWeekdays(true); });
    connect(uncheckAll, &QPushButton::clicked, this, [this] { setAllWeekdays(false); });
}

QCheckBox *CNoPlayDateSetDlg::GetWeekdayCheck(int day) const
{
    return day >= 0 && day < int(m_weekdays.size()) ? m_weekdays[size_t(day)] : nullptr;
}

void CNoPlayDateSetDlg::showEvent(QShowEvent *event)
{
    const bool stored = hasMonth(m_start) && hasMonth(m_end);
    m_startEdit->setDate(stored ? toQDate(m_start) : QDate::currentDate());
    m_endEdit->setDate(stored ? toQDate(m_end) : QDate::currentDate());
    const QString week = stored && !m_week.isEmpty() ? m_week : QStringLiteral("1234567");
    for (size_t i = 0; i < m_weekdays.size(); ++i)
        m_weekdays[i]->setChecked(week.contains(QChar('1' + int(i))));
    m_modified = false;
    QDialog::showEvent(event);
}

void CNoPlayDateSetDlg::setAllWeekdays(bool checked)
{
    for (QCheckBox *day : m_weekdays)
        day->setChecked(checked);
    m_modified = true;
}

QString CNoPlayDateSetDlg::checkedWeekdays() const
{
    QString week;
    for (size_t i = 0; i < m_weekdays.size(); ++i) {
        if (m_weekdays[i]->isChecked())
            week += QChar('1' + int(i));
    }
    return week;
}

QString CNoPlayDateSetDlg::WeekdaysInPeriod(const QDate &start, const QDate &end)
{
    QString digits;
    for (QDate day = start; day <= end && digits.size() < 7; day = day.addDays(1)) {
        if (!digits.contains(weekdayDigit(day)))
            digits += weekdayDigit(day);
    }
    return digits;
}

quint32 CNoPlayDateSetDlg::PeriodRefusal(const QDate &start, const QDate &end, const QString &week)
{
    if (end < start)
        return 5243;
    if (week.isEmpty())
        return 5244;
    const QString inPeriod = WeekdaysInPeriod(start, end);
    for (QChar digit : week) {
        if (!inPeriod.contains(digit))
            return 5245;
    }
    return 0;
}

void CNoPlayDateSetDlg::accept()
{
    const QDate start = m_startEdit->date();
    const QDate end = m_endEdit->date();
    const QString week = checkedWeekdays();
    if (const quint32 refusal = PeriodRefusal(start, end, week)) {
        ShowMessage(this, refusal, kTitleCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    m_start = toDateValue(start);
    m_end = toDateValue(end);
    m_week = week;
    QDialog::accept();
}

void CNoPlayDateSetDlg::reject()
{
    if (!MayDiscardEdits(this, m_modified))
        return;
    QDialog::reject();
}
