#include "model/movie_property.h"

CMovieProperty::CMovieProperty()
    : CMediaProperty(CONTENT_MOVIE, MEDIA_PICTURE | MEDIA_LENGTH | MEDIA_AUDIO)
{
}

bool CMovieProperty::Copy(const CPropertyBase *source)
{
    return copyFrom(*this, source);
}
