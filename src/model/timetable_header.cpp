#include "model/timetable_header.h"

#include "core/last_error.h"
#include "model/property_base.h"
#include "model/property_checks.h"

namespace {

bool refuse()
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

} // namespace

bool CTimetableHeader::SetTitle(const QString &title)
{
    if (title.size() > CPropertyBase::kMaxTitle)
        return refuse();
    m_title = title;
    return true;
}

bool CTimetableHeader::SetInfo(const QString &info)
{
    if (info.size() > CPropertyBase::kMaxInfo)
        return refuse();
    m_info = info;
    return true;
}

bool CTimetableHeader::SetDeleteDate(const DateValue &date)
{
    if (!IsValidDateValue(date, true))
        return refuse();
    m_deleteDate = date;
    return true;
}

void CTimetableHeader::clearHeader()
{
    m_title.clear();
    m_info.clear();
    m_deleteDate = DateValue{};
}
