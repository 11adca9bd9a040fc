#include "model/property_base.h"

#include "core/content_id.h"
#include "core/time_utils.h"
#include "model/property_checks.h"
#include "model/property_fields.h"

CPropertyBase::CPropertyBase(int contentType)
    : m_contentType(contentType)
{
}

CPropertyBase::~CPropertyBase() = default;

bool CPropertyBase::refuse(quint32 error)
{
    m_lastError = error;
    return false;
}

bool CPropertyBase::accept()
{
    m_lastError = 0;
    return true;
}

bool CPropertyBase::SetIndex(qint32 index)
{
    return setChecked(index >= 0 && index <= kMaxContentId, m_index, index);
}

bool CPropertyBase::SetTitle(const QString &title)
{
    return setChecked(title.size() <= kMaxTitle, m_title, title);
}

bool CPropertyBase::SetInfo(const QString &info)
{
    return setChecked(info.size() <= kMaxInfo, m_info, info);
}

bool CPropertyBase::SetDataFormat(const QString &format)
{
    return setChecked(format.size() <= kMaxDataFormat, m_dataFormat, format);
}

bool CPropertyBase::SetCreateDate(const SystemTime &time)
{
    return setChecked(IsValidSystemTime(time, true), m_createDate, time);
}

bool CPropertyBase::SetDDate(const SystemTime &time)
{
    return setChecked(IsValidSystemTime(time, true), m_dDate, time);
}

bool CPropertyBase::SetExportDate(const SystemTime &time)
{
    return setChecked(IsValidSystemTime(time, true), m_exportDate, time);
}

bool CPropertyBase::SetDeleteDate(const DateValue &date)
{
    return setChecked(IsValidDateValue(date, true), m_deleteDate, date);
}

int CPropertyBase::CompareBy(int column, const CPropertyBase &other) const
{
    switch (column) {
    case SORT_INDEX:
        return CompareNumbers(m_index, other.m_index);
    case SORT_CATEGORY:
        return CompareText(m_info, other.m_info);
    case SORT_TITLE:
        return CompareText(m_title, other.m_title);
    case SORT_FORMAT:
        return CompareText(m_dataFormat, other.m_dataFormat);
    case SORT_SIZE:
        return CompareNumbers(m_size, other.m_size);
    case SORT_DELETE_DATE:
        return CompareDates(m_deleteDate, other.m_deleteDate);
    case SORT_UPDATE:
        return CompareSystemTime(m_createDate, other.m_createDate);
    default:
        return 0;
    }
}

void CPropertyBase::WriteFields(CPropertyWriter &writer) const
{
    writer.WriteField(u"index", IndexFieldText(m_index));
    writer.WriteField(u"cdate", DateTimeFieldText(m_createDate));
    if (m_dDate.month != 0)
        writer.WriteField(u"ddate", DateTimeFieldText(m_dDate));
    writer.WriteField(u"title", m_title);
    writer.WriteField(u"size", QString::number(m_size));
    if (m_deleteDate.month != 0)
        writer.WriteField(u"deldate", DateFieldText(m_deleteDate));
    writer.WriteField(u"info", m_info);
    writer.WriteField(u"dataformat", m_dataFormat);
    if (m_exportDate.month != 0)
        writer.WriteField(u"exportdate", DateTimeFieldText(m_exportDate));
}

FieldResult CPropertyBase::ReadField(QStringView name, const QString &text)
{
    if (name == u"index") {
        qint32 index = 0;
        return FieldResultOf(ParseIndexField(text, index) && SetIndex(index));
    }
    if (name == u"cdate") {
        SystemTime time;
        return FieldResultOf(ParseDateTimeField(text, time) && SetCreateDate(time));
    }
    if (name == u"ddate") {
        SystemTime time;
        return FieldResultOf(ParseDateTimeField(text, time) && SetDDate(time));
    }
    if (name == u"title")
        return FieldResultOf(SetTitle(text));
    if (name == u"size")
        return FieldResultOf(ParseUInt64Field(text, m_size));
    if (name == u"deldate") {
        DateValue date;
        return FieldResultOf(ParseDateField(text, date) && SetDeleteDate(date));
    }
    if (name == u"info")
        return FieldResultOf(SetInfo(text));
    if (name == u"dataformat")
        return FieldResultOf(SetDataFormat(text));
    if (name == u"exportdate") {
        SystemTime time;
        return FieldResultOf(ParseDateTimeField(text, time) && SetExportDate(time));
    }
    return FieldResult::Unknown;
}
