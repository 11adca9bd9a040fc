#pragma once
// The list of still-image contents ("StillList.xml").

#include "model/contents_list.h"

class CImgList : public CContentsList {
public:
    CImgList()
        : CContentsList(CONTENT_IMAGE)
    {
    }
};
