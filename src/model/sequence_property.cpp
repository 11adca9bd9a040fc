#include "model/sequence_property.h"

CSequenceProperty::CSequenceProperty()
    : CPropertyBase(CONTENT_SEQUENCE)
{
}

bool CSequenceProperty::Copy(const CPropertyBase *source)
{
    return copyFrom(*this, source);
}
