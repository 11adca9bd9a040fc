#pragma once
// The list of video contents ("VideoList.xml").

#include "model/contents_list.h"

class CMovieList : public CContentsList {
public:
    CMovieList()
        : CContentsList(CONTENT_MOVIE)
    {
    }
};
