#pragma once
// The record of an audio content: its file, length and audio level.

#include "model/media_property.h"

class CAudioProperty : public CMediaProperty {
public:
    CAudioProperty();
    bool Copy(const CPropertyBase *source) override;
};
