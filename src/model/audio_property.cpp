#include "model/audio_property.h"

CAudioProperty::CAudioProperty()
    : CMediaProperty(CONTENT_AUDIO, MEDIA_LENGTH | MEDIA_AUDIO)
{
}

bool CAudioProperty::Copy(const CPropertyBase *source)
{
    return copyFrom(*this, source);
}
