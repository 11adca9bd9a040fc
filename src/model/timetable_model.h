#pragma once
// The grid behind the playlist, background-music list and schedule editors.
//
// Each track holds the items of one layer, in time order and never
// overlapping. The rows are the spans between consecutive item edges of all
// tracks (for lists from 00:00:00.00 on, since a list plays from its start),
// so an item always covers whole rows: a cell is used by the item that starts
// in its row, continued (a gap) by an item that started in an earlier row, or
// empty. Track 0 is the row grid itself (the time column); the tracks that
// hold items are 1 up to GetTrackCount() - 1.
//
// Storage: a track is written either as one sequence file ("SQ%09d.xml",
// numbered with the model's id prefix, the track's layer and the serial of
// the list's number) named by one entry of the list file, or, for the
// playlist tracks of a schedule, as entries of the list file itself.
//
// The grid is rebuilt after every change, so reading a model never writes to it.

#include "core/win_types.h"
#include "model/timetable_header.h"
#include "model/timetable_item.h"

#include <QString>

#include <vector>

class CTimetableFile;

// One track of a model's fixed set.
struct TimetableTrack {
    int key = 0;          // the track flag of a list, the item kind of a schedule
    int sequenceKind = 0; // layer of the sequence file that stores it; 0: entries of the list file
    int itemType = 0;     // the content type every item has; 0: any playable type
};

// What GetItem reports of one cell.
struct TimetableCell {
    CTimetableItem item;   // the item playing in the cell (for a gap, the one of its owner row);
                           // an empty item (number -1, type 0) for an unused cell
    int kind = 0;          // the track's key for a used cell, 0 for an unused one
    bool gap = false;      // used by an item that started in an earlier row
    int ownerRow = -1;     // the row where the item starts; -1 for an unused cell
};

class CTimetableModel : public CTimetableHeader {
public:
    virtual ~CTimetableModel();

    // The content number being edited; -1 after Clear.
    qint32 GetIndex() const { return m_index; }
    void SetIndex(qint32 index) { m_index = index; }
    // The first digit of the numbers of the files the model writes.
    int GetIdPrefix() const { return m_idPrefix; }
    // 0 to 9; else false with last error 87.
    bool SetIdPrefix(int prefix);
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    // The folders Load and Save use: the list (or schedule) files and the sequence files.
    void SetFolders(const QString &listFolder, const QString &sequenceFolder);
    const QString &GetListFolder() const { return m_listFolder; }
    const QString &GetSequenceFolder() const { return m_sequenceFolder; }

    int GetRowCount() const { return int(m_edges.size() > 1 ? m_edges.size() - 1 : 0); }
    // The item tracks and the row grid (track 0).
    int GetTrackCount() const { return int(m_tracks.size()) + 1; }
    // Start and end of a row; false with last error 87 for a bad row.
    bool GetStartTime(int row, TimeValue &time) const;
    bool GetEndTime(int row, TimeValue &time) const;
    // True when an item starts in the cell or, with countGaps, continues
    // through it; false for a bad row or track.
    bool IsCellUsed(int row, int track, bool countGaps) const;
    // The cell of an item track (1 or more); false with last error 87 for a
    // bad row or track.
    bool GetItem(int row, int track, TimetableCell &cell) const;
    // Items placed on all tracks (gaps not counted).
    int GetItemCount() const;

    // Places an item on a track. False with last error 87 for a bad track, an
    // item of a type the track does not take, or one that overlaps an item
    // of the track. The grid is rebuilt and the model marked modified.
    bool InsertItem(int track, const CTimetableItem &item);
    // Replaces the item that uses (or continues through) a cell; the same
    // refusals as InsertItem, and the old item stays then.
    bool UpdateItem(int row, int track, const CTimetableItem &item);
    // Removes the item that uses (or continues through) a cell; false with
    // last error 87 for an unused cell.
    bool RemoveItem(int row, int track);

    // Whether a track takes contents of a type: the one rule for drops,
    // edits, loads and pastes alike. The time column takes nothing.
    bool TakesType(int track, int contentType) const;

    // ---- Editing in the grid ------------------------------------------------
    // Each refuses with last error 87 what InsertItem refuses, and with
    // ERROR_TOO_MANY_NAMES or ERROR_ARITHMETIC_OVERFLOW what would pass the limits
    // below; a refused edit leaves the model as it was.

    // Where a new item goes on a track: the start of a row, or for row -1
    // the end of the track's last item (for an empty track the start of the
    // grid, or firstStart when the grid is empty).
    TimeValue PlaceStart(int track, int row, const TimeValue &firstStart) const;
    // Places a content on a track from start for length frames. When an
    // item of the track starts earlier than the end, the new one is cut
    // there; a start inside an item is refused.
    bool PlaceItem(int track, const TimeValue &start, int lengthFrames, qint32 index, int contentType);
    // Moves the item of a cell to another track (or the same) to start at
    // start, keeping its length and content.
    bool MoveItem(int row, int track, int toTrack, const TimeValue &start);
    // New start and end of the item of a cell.
    bool SetItemTimes(int row, int track, const TimeValue &start, const TimeValue &end);
    // Removes the items that start in a row; false (87) for a bad row or a
    // row where no item starts.
    bool RemoveRow(int row);

    // The items a model may hold, and the latest end of an item in frames.
    static constexpr int kMaxItems = 2000;
    void SetLatestEndFrames(int frames) { m_latestEnd = frames; }

    // Empties the model: items, texts, date, index -1, not modified. The
    // folders and the id prefix stay.
    virtual void Clear();

protected:
    using TrackItems = std::vector<std::vector<CTimetableItem>>;

    CTimetableModel(std::vector<TimetableTrack> tracks, bool fromMidnight);

    const TimetableTrack &trackAt(int track) const { return m_tracks[size_t(track - 1)]; }
    // An item that MoveItem takes to another track; a model whose tracks
    // show in areas of the screen drops the rectangle of the old one.
    virtual void leaveTrack(CTimetableItem &) const {}
    // The item track with a key; -1 when the model has none.
    int findTrackByKey(int key) const;

    // Reads the list file of a number from the list folder and the sequence
    // files it names from the sequence folder. On success the model holds
    // them, takes the number as its index and is not modified; on failure
    // (last error 13 for files that do not fit the model) it is unchanged.
    bool loadFiles(CTimetableFile &listFile, qint32 index);
    // Writes the sequence files of the tracks in use, then the list file,
    // under a number of a list type (the files StoredListFilesOf names), and
    // removes the sequence files of tracks left empty. On success the model
    // is not modified; its index stays as it was.
    bool saveFiles(CTimetableFile &listFile, int type, qint32 index);

private:
    struct CellRef {
        int item = -1;     // position in the track's items, -1 for an unused cell
        int ownerRow = -1;
    };

    bool trackTakes(int track, const CTimetableItem &item) const;
    // Inserts in start order; false when the item overlaps another.
    static bool insertSorted(std::vector<CTimetableItem> &items, const CTimetableItem &item);
    bool isItemTrack(int track) const { return track >= 1 && track < GetTrackCount(); }
    bool isCell(int row, int track) const { return row >= 0 && row < GetRowCount() && isItemTrack(track); }
    const CellRef &cellAt(int row, int track) const;
    bool stageListItem(const CTimetableItem &entry, TrackItems &staged) const;
    bool stageSequence(int track, qint32 number, TrackItems &staged) const;
    void rebuildGrid();
    // The item a cell uses, or nullptr.
    const CTimetableItem *itemAt(int row, int track) const;
    bool withinLimits(const CTimetableItem &item, int added) const;

    std::vector<TimetableTrack> m_tracks;
    bool m_fromMidnight;
    TrackItems m_items;

    qint32 m_index = -1;
    int m_idPrefix = 0;
    bool m_modified = false;
    int m_latestEnd = 24 * 108000;
    QString m_listFolder;
    QString m_sequenceFolder;

    // The grid: row edges in frames and, row by row, one cell per item track.
    std::vector<int> m_edges;
    std::vector<CellRef> m_cells;
};
