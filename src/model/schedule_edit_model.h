#pragma once
// The schedule (type 51) being edited or checked: a timetable grid
// (timetable_model.h) whose tracks are named by item kinds, with the daily
// operating window the schedule's events must lie in. The tracks, in this
// order:
//
//   kind 1  playlists (type 52), entries of the schedule file
//   kind 6  background-music lists (type 53), entries of the schedule file
//   kind 5, 9, 3, 8  contents, each track one sequence file of layer 12, 14, 20, 22
//
// Its rows start at the first event: a schedule plays at times of the day.

#include "model/timetable_model.h"

class CScheduleEditModel : public CTimetableModel {
public:
    CScheduleEditModel();

    // The item track that takes an item kind, or -1.
    int FindTrackForType(int kind) const { return findTrackByKey(kind); }
    // The item kind of an item track; 0 for track 0 or a bad track.
    int GetTrackKind(int track) const;

    // The daily operating window (power-on to power-off). Equal times mean
    // no window; a start after the end spans midnight.
    void GetTimeRange(TimeValue &start, TimeValue &end) const;
    // False with last error 87 unless both are times of day.
    bool SetTimeRange(const TimeValue &start, const TimeValue &end);
    // True when an event from start to end lies inside the operating window
    // (always without a window).
    bool IsInTimeRange(const TimeValue &start, const TimeValue &end) const;

    // Reads the schedule with a content number from the schedule folder and
    // its sequences from the sequence folder (SetFolders); as loadFiles.
    bool Load(qint32 index);
    // Writes the schedule's files under a content number; as saveFiles.
    bool Save(qint32 index);

private:
    TimeValue m_rangeStart;
    TimeValue m_rangeEnd;
};
