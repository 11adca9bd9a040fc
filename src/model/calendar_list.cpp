#include "model/calendar_list.h"

#include "core/last_error.h"
#include "core/time_utils.h"
#include "model/calendar_property.h"

namespace {

bool periodHolds(const CCalendarProperty &row, const DateValue &date)
{
    return CompareDate(row.GetStartDate(), date) <= 0 && CompareDate(date, row.GetEndDate()) <= 0;
}

} // namespace

CCalendarProperty *CCalendarList::rowAt(int position)
{
    return static_cast<CCalendarProperty *>(GetAt(position));
}

bool CCalendarList::SetStatus(int position, qint32 status)
{
    CCalendarProperty *row = rowAt(position);
    if (row && row->SetStatus(status))
        return true;
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

int CCalendarList::FindByDate(const DateValue &date)
{
    const QDate day = ToQDate(date);
    if (!day.isValid())
        return -1;
    const QChar weekday = WeekdayDigitOf(day);
    int found = -1;
    for (int position = 0; position < GetCount(); ++position) {
        const CCalendarProperty &row = *rowAt(position);
        if (!periodHolds(row, date) || (!row.GetWeek().isEmpty() && !row.GetWeek().contains(weekday)))
            continue;
        if (row.GetFlag() == CCalendarProperty::FLAG_NOTPLAY)
            return position;
        if (found < 0)
            found = position;
    }
    return found;
}

int CCalendarList::FindOverlap(const DateValue &start, const DateValue &end, qint32 ownIndex,
                               const QList<qint32> &indexes)
{
    for (int position = 0; position < GetCount(); ++position) {
        const CCalendarProperty &row = *rowAt(position);
        const qint32 schedule = row.GetSchedule();
        if (schedule == ownIndex || !indexes.contains(schedule))
            continue;
        // Periods are whole days: one shared day overlaps, adjacent periods do not.
        if (CompareDate(row.GetStartDate(), end) <= 0 && CompareDate(start, row.GetEndDate()) <= 0)
            return position;
    }
    return -1;
}
