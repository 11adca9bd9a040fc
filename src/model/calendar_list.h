#pragma once
// The calendar list of a group ("CalendarList.xml").

#include "model/contents_list.h"

class CCalendarList : public CContentsList {
public:
    CCalendarList()
        : CContentsList(CONTENT_CALENDAR)
    {
    }
};
