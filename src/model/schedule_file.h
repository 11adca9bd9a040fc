#pragma once
// The schedule file "SC%09d.xml" of a schedule: entries that play a playlist
// or background-music list for a span of the day, and one entry per sequence
// of the schedule's other tracks.

#include "model/timetable_file.h"

using CScheduleFileItem = CTimetableItem;

class CScheduleFile : public CTimetableFile {
public:
    CScheduleFile();

protected:
    // Playlists and background-music lists (52, 53) of any kind, and
    // sequences (54) whose kind is the layer their number carries.
    bool acceptsItem(const CTimetableItem &item) const override;
};
