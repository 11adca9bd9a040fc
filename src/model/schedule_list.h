#pragma once
// The schedule list of a group ("ScheduleList.xml"), which also holds the no-play periods.

#include "model/contents_list.h"

class CScheduleList : public CContentsList {
public:
    CScheduleList()
        : CContentsList(CONTENT_SCHEDULE)
    {
    }
};
