#pragma once
// The calendar list of a group ("CalendarList.xml").

#include "model/contents_list.h"

#include <QList>

class CCalendarProperty;

class CCalendarList : public CContentsList {
public:
    CCalendarList()
        : CContentsList(CONTENT_CALENDAR)
    {
    }

    // Sets the send status (0 to 4) of the row at a storage position; false
    // with last error 87 for a bad position or status (the row keeps its own).
    bool SetStatus(int position, qint32 status);
    // Storage position of the row that applies to a date: its period holds
    // the date and its weekdays (every day when empty) the date's weekday. A
    // NOTPLAY row wins over the others; otherwise the first such row. -1 when
    // no row applies.
    int FindByDate(const DateValue &date);
    // Storage position of a row of one of the given schedules, other than
    // ownIndex, whose period shares at least one day with start..end; -1
    // when there is none.
    int FindOverlap(const DateValue &start, const DateValue &end, qint32 ownIndex, const QList<qint32> &indexes);

private:
    CCalendarProperty *rowAt(int position);
};
