#include "model/flash_property.h"

CFlashProperty::CFlashProperty()
    : CMediaProperty(CONTENT_FLASH, MEDIA_PICTURE | MEDIA_LENGTH | MEDIA_AUDIO)
{
}

bool CFlashProperty::Copy(const CPropertyBase *source)
{
    return copyFrom(*this, source);
}
