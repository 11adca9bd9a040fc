#pragma once
// The list of control contents ("ControlList.xml"); a player keeps its three control tables in one such list.

#include "model/contents_list.h"

class CControlList : public CContentsList {
public:
    CControlList()
        : CContentsList(CONTENT_CONTROL)
    {
    }
};
