#pragma once
// The list of picture-in-picture contents ("PinPList.xml").

#include "model/contents_list.h"

class CPinPList : public CContentsList {
public:
    CPinPList()
        : CContentsList(CONTENT_PINP)
    {
    }
};
