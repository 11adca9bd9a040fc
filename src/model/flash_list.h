#pragma once
// The list of Flash contents ("FlashList.xml").

#include "model/contents_list.h"

class CFlashList : public CContentsList {
public:
    CFlashList()
        : CContentsList(CONTENT_FLASH)
    {
    }
};
