#pragma once
// The list of audio contents ("AudioList.xml").

#include "model/contents_list.h"

class CAudioList : public CContentsList {
public:
    CAudioList()
        : CContentsList(CONTENT_AUDIO)
    {
    }
};
