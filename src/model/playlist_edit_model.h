#pragma once
// The playlist (type 52) or background-music list (type 53) being edited or
// checked: a timetable grid (timetable_model.h) whose tracks are named by
// track flags, with the screen resolution and orientation the list is laid
// out for. The tracks of a playlist, in this order, with the layer of the
// sequence file that stores each:
//
//   flag  1   2   4   8  16  32  64  128
//   layer 1   2  11   3   6   5   7    9
//
// A background-music list has one track, flag 32, stored as layer 21.

#include "model/timetable_model.h"

class CPlaylistEditModel : public CTimetableModel {
public:
    // 52 playlist or 53 background-music list; any other value makes a playlist.
    explicit CPlaylistEditModel(int listType = 52);

    int GetListType() const { return m_listType; }

    // The item track with a track flag, or -1 when the list has none.
    int FindTrack(int flag) const { return findTrackByKey(flag); }
    // The flag of an item track; 0 for track 0 or a bad track.
    int GetTrackFlag(int track) const;

    // Id in the screen-resolution table, and 0 landscape / 1 portrait.
    qint32 GetResolution() const { return m_resolution; }
    void SetResolution(qint32 resolution) { m_resolution = resolution; }
    qint32 GetOrientation() const { return m_orientation; }
    void SetOrientation(qint32 orientation) { m_orientation = orientation; }

    // Reads the list with a content number from the playlist folder and its
    // sequences from the sequence folder (SetFolders). False with last error
    // 87 for a type other than the model's; otherwise as loadFiles.
    bool Load(qint32 index, int type);
    // Writes the list's files under a content number (its id prefix and
    // layers name the sequence files). False with last error 87 for a type
    // other than the model's or a bad number; a failed write leaves the
    // model as it was, still modified.
    bool Save(qint32 index, int type);

protected:
    // A moved item has no rectangle until it takes its new track's area.
    void leaveTrack(CTimetableItem &item) const override { item.SetRect(0, 0, 0, 0); }

private:
    int m_listType;
    qint32 m_resolution = 0;
    qint32 m_orientation = 0;
};

// The name of the track with a flag, as the grid heads it and the layout
// windows label its area: メイン, サブ1 to サブ5, BGM, and 制御 for the control track.
QString PlaylistTrackName(int flag);
