#pragma once
// The sequence file "SQ%09d.xml": the contents one layer of a playlist,
// background-music list or schedule plays, each with its span and the
// rectangle it is shown in.

#include "model/timetable_file.h"

using CSequenceFileItem = CTimetableItem;

class CSequenceFile : public CTimetableFile {
public:
    CSequenceFile();

    // Whether a sequence can play contents of a type: the media, telop, web,
    // control, streaming and picture-in-picture types and external input.
    static bool IsPlayableType(int contentType);

protected:
    // Contents of the playable types; the entries of a sequence have no kind.
    bool acceptsItem(const CTimetableItem &item) const override;
};
