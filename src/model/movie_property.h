#pragma once
// The record of a video content: its file, picture size, length and audio level.

#include "model/media_property.h"

class CMovieProperty : public CMediaProperty {
public:
    CMovieProperty();
    bool Copy(const CPropertyBase *source) override;
};
