#include "model/img_property.h"

CImgProperty::CImgProperty()
    : CMediaProperty(CONTENT_IMAGE, MEDIA_PICTURE)
{
}

bool CImgProperty::Copy(const CPropertyBase *source)
{
    return copyFrom(*this, source);
}
