#include "model/schedule_property.h"

#include "core/content_id.h"
#include "core/time_utils.h"
#include "model/property_checks.h"
#include "model/property_fields.h"

CScheduleProperty::CScheduleProperty()
    : CPeriodProperty(CONTENT_SCHEDULE)
{
}

bool CScheduleProperty::Copy(const CPropertyBase *source)
{
    return copyFrom(*this, source);
}

bool CScheduleProperty::SetStartTime(const TimeValue &time)
{
    return setChecked(IsValidTimeOfDay(time), m_startTime, time);
}

bool CScheduleProperty::SetEndTime(const TimeValue &time)
{
    return setChecked(IsValidTimeOfDay(time), m_endTime, time);
}

bool CScheduleProperty::SetBgColor(qint32 color)
{
    return setChecked(color >= -1 && color <= 255, m_bgColor, color);
}

bool CScheduleProperty::SetReceivedDate(const SystemTime &time)
{
    return setChecked(IsValidSystemTime(time, true), m_receivedDate, time);
}

bool CScheduleProperty::IsNoPlayPeriod() const
{
    int kind = 0;
    return SplitContentId(GetIndex(), nullptr, &kind, nullptr) && kind == CONTENT_SEQUENCE;
}

int CScheduleProperty::CompareBy(int column, const CPropertyBase &other) const
{
    const auto *schedule = dynamic_cast<const CScheduleProperty *>(&other);
    if (!schedule)
        return CPeriodProperty::CompareBy(column, other);
    switch (column) {
    case SORT_START_TIME:
        return CompareTimes(m_startTime, schedule->m_startTime);
    case SORT_END_TIME:
        return CompareTimes(m_endTime, schedule->m_endTime);
    case SORT_BG_COLOR:
        return CompareNumbers(m_bgColor, schedule->m_bgColor);
    case SORT_RECEIVED:
        return CompareSystemTime(m_receivedDate, schedule->m_receivedDate);
    default:
        return CPeriodProperty::CompareBy(column, other);
    }
}

void CScheduleProperty::WriteFields(CPropertyWriter &writer) const
{
    CPeriodProperty::WriteFields(writer);
    writer.WriteField(u"stime", TimeFieldText(m_startTime));
    writer.WriteField(u"etime", TimeFieldText(m_endTime));
    writer.WriteField(u"bgcolor", QString::number(m_bgColor));
    if (m_receivedDate.month != 0)
        writer.WriteField(u"rdate", DateTimeFieldText(m_receivedDate));
}

FieldResult CScheduleProperty::ReadField(QStringView name, const QString &text)
{
    TimeValue time;
    if (name == u"stime")
        return FieldResultOf(ParseTimeField(text, time) && SetStartTime(time));
    if (name == u"etime")
        return FieldResultOf(ParseTimeField(text, time) && SetEndTime(time));
    if (name == u"bgcolor") {
        qint64 number = 0;
        return FieldResultOf(ParseIntField(text, -1, 255, number) && SetBgColor(qint32(number)));
    }
    if (name == u"rdate") {
        SystemTime received;
        return FieldResultOf(ParseDateTimeField(text, received) && SetReceivedDate(received));
    }
    return CPeriodProperty::ReadField(name, text);
}
