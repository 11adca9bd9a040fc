#pragma once
// The record of a Flash content: its file, stage size, length and audio level.

#include "model/media_property.h"

class CFlashProperty : public CMediaProperty {
public:
    CFlashProperty();
    bool Copy(const CPropertyBase *source) override;
};
