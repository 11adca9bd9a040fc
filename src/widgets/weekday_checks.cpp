#include "widgets/weekday_checks.h"

#include "core/time_utils.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLocale>

CWeekdayChecks::CWeekdayChecks(const std::array<int, 7> &controlIds, QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    const QStringList names = ShortDayNamesSundayFirst();
    for (size_t day = 0; day < m_days.size(); ++day) {
        m_days[day] = new QCheckBox(names[qsizetype(day)], this);
        m_days[day]->setObjectName(QString::number(controlIds[day]));
        row->addWidget(m_days[day]);
    }
}

QCheckBox *CWeekdayChecks::GetCheck(int day) const
{
    return day >= 0 && day < int(m_days.size()) ? m_days[size_t(day)] : nullptr;
}

void CWeekdayChecks::SetWeekdays(const QString &digits)
{
    for (size_t day = 0; day < m_days.size(); ++day)
        m_days[day]->setChecked(digits.contains(WeekdayDigit(int(day))));
}

QString CWeekdayChecks::GetWeekdays() const
{
    QString digits;
    for (size_t day = 0; day < m_days.size(); ++day) {
        if (m_days[day]->isChecked())
            digits += WeekdayDigit(int(day));
    }
    return digits;
}

void CWeekdayChecks::SetAllChecked(bool checked)
{
    for (QCheckBox *day : m_days)
        day->setChecked(checked);
}

QStringList ShortDayNamesSundayFirst()
{
    const QLocale japanese(QLocale::Japanese);
    QStringList names;
    for (int day = 0; day < 7; ++day)
        names << japanese.dayName(day == 0 ? Qt::Sunday : day, QLocale::ShortFormat);
    return names;
}
