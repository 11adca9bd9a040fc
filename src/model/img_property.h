#pragma once
// The record of a still-image content: its file and picture size.

#include "model/media_property.h"

class CImgProperty : public CMediaProperty {
public:
    CImgProperty();
    bool Copy(const CPropertyBase *source) override;
};
