#pragma once
// The list of telop contents ("TextList.xml").

#include "model/contents_list.h"

class CTelopList : public CContentsList {
public:
    CTelopList()
        : CContentsList(CONTENT_TELOP)
    {
    }
};
