#pragma once
// The list of web contents ("UrlList.xml").

#include "model/contents_list.h"

class CWebList : public CContentsList {
public:
    CWebList()
        : CContentsList(CONTENT_WEB)
    {
    }
};
