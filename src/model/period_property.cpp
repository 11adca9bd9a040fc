#include "model/period_property.h"

#include "model/property_checks.h"
#include "model/property_fields.h"

CPeriodProperty::CPeriodProperty(int contentType)
    : CPropertyBase(contentType)
{
}

void CPeriodProperty::GetStartDate(quint16 &year, quint16 &month, quint16 &day) const
{
    year = m_startDate.year;
    month = m_startDate.month;
    day = m_startDate.day;
}

void CPeriodProperty::GetEndDate(quint16 &year, quint16 &month, quint16 &day) const
{
    year = m_endDate.year;
    month = m_endDate.month;
    day = m_endDate.day;
}

bool CPeriodProperty::SetStartDate(const DateValue &date)
{
    return setChecked(IsValidDateValue(date, true), m_startDate, date);
}

bool CPeriodProperty::SetEndDate(const DateValue &date)
{
    return setChecked(IsValidDateValue(date, true), m_endDate, date);
}

bool CPeriodProperty::SetWeek(const QString &week)
{
    return setChecked(IsValidWeekString(week), m_week, week);
}

int CPeriodProperty::CompareBy(int column, const CPropertyBase &other) const
{
    const auto *period = dynamic_cast<const CPeriodProperty *>(&other);
    if (!period)
        return CPropertyBase::CompareBy(column, other);
    switch (column) {
    case SORT_START_DATE:
        return CompareDates(m_startDate, period->m_startDate);
    case SORT_END_DATE:
        return CompareDates(m_endDate, period->m_endDate);
    case SORT_WEEK:
        return QString::compare(m_week, period->m_week);
    default:
        return CPropertyBase::CompareBy(column, other);
    }
}

void CPeriodProperty::WriteFields(CPropertyWriter &writer) const
{
    CPropertyBase::WriteFields(writer);
    if (m_startDate.month != 0)
        writer.WriteField(u"sdate", DateFieldText(m_startDate));
    if (m_endDate.month != 0)
        writer.WriteField(u"edate", DateFieldText(m_endDate));
    writer.WriteField(u"week", m_week);
}

FieldResult CPeriodProperty::ReadField(QStringView name, const QString &text)
{
    DateValue date;
    if (name == u"sdate")
        return FieldResultOf(ParseDateField(text, date) && SetStartDate(date));
    if (name == u"edate")
        return FieldResultOf(ParseDateField(text, date) && SetEndDate(date));
    if (name == u"week")
        return FieldResultOf(SetWeek(text));
    return CPropertyBase::ReadField(name, text);
}
