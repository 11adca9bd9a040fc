#pragma once
// The list of streaming contents ("StreamingList.xml").

#include "model/contents_list.h"

class CStreamingList : public CContentsList {
public:
    CStreamingList()
        : CContentsList(CONTENT_STREAMING)
    {
    }
};
