#include "model/calendar_property.h"

#include "core/content_id.h"
#include "model/property_checks.h"
#include "model/property_fields.h"

CCalendarProperty::CCalendarProperty()
    : CPeriodProperty(CONTENT_CALENDAR)
{
}

bool CCalendarProperty::Copy(const CPropertyBase *source)
{
    return copyFrom(*this, source);
}

bool CCalendarProperty::SetSchedule(qint32 index)
{
    return setChecked(index >= 0 && index <= kMaxContentId, m_schedule, index);
}

bool CCalendarProperty::SetFlag(qint32 flag)
{
    return setChecked(flag >= FLAG_FORCEPLAY && flag <= FLAG_PLAY, m_flag, flag);
}

bool CCalendarProperty::SetStatus(qint32 status)
{
    return setChecked(status >= 0 && status <= kMaxStatus, m_status, status);
}

void CCalendarProperty::WriteFields(CPropertyWriter &writer) const
{
    CPeriodProperty::WriteFields(writer);
    writer.WriteField(u"schedule", IndexFieldText(m_schedule));
    writer.WriteField(u"flag", QString::number(m_flag));
    writer.WriteField(u"status", QString::number(m_status));
}

FieldResult CCalendarProperty::ReadField(QStringView name, const QString &text)
{
    qint64 number = 0;
    if (name == u"schedule") {
        qint32 index = 0;
        return FieldResultOf(ParseIndexField(text, index) && SetSchedule(index));
    }
    if (name == u"flag")
        return FieldResultOf(ParseIntField(text, -1, 1, number) && SetFlag(qint32(number)));
    if (name == u"status")
        return FieldResultOf(ParseIntField(text, 0, kMaxStatus, number) && SetStatus(qint32(number)));
    return CPeriodProperty::ReadField(name, text);
}
