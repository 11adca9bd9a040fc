#pragma once
// The playlist file "PL%09d.xml" of a playlist or background-music list: one
// entry per sequence (layer) of the list, naming the sequence by its table
// name with the span it plays in.

#include "model/timetable_file.h"

using CPlaylistFileItem = CTimetableItem;

class CPlaylistFile : public CTimetableFile {
public:
    CPlaylistFile();

protected:
    // Only sequences (type 54) whose kind is the layer their number carries.
    bool acceptsItem(const CTimetableItem &item) const override;
};
