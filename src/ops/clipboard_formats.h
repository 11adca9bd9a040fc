#pragma once
// The program's private clipboard formats and the blocks that carry copied
// playlists, background-music lists and schedules between panes and between
// running copies of the program.
//
// A format travels as the MIME type "application/x-<name>". A block is a run
// of 32-bit little-endian unsigned integers:
//   playlist copy:  count N, then N list indexes              (4 + 4 N bytes)
//   schedule copy:  group number, resolution id, orientation,
//                   count N, then N schedule indexes          (16 + 4 N bytes)
//   contents:       per content twelve words: 0, the content
//                   type, the content number, nine zeros      (48 N bytes)
//   grid event:     the row where the dragged item starts and
//                   its track                                 (8 bytes)
// Readers never trust the count: a block shorter than its count asks for, or
// an index outside the list it names, is refused as a whole.

#include <QByteArray>
#include <QList>
#include <QString>

class CQ9GroupXml;

// The formats in the order the frame registers them.
enum ClipboardFormat : int {
    CLIPBOARD_BGM_LIST_COPY,
    CLIPBOARD_CONTENTS,
    CLIPBOARD_NODE,
    CLIPBOARD_PLAYLIST_COPY,
    CLIPBOARD_PLAYLIST_EVENT,
    CLIPBOARD_SCHEDULE_COPY,
    CLIPBOARD_SCHEDULE_EVENT,
    CLIPBOARD_FORMAT_COUNT
};

// The registered name of a format ("TelvPlaylistCoppyData" ...).
const char *ClipboardFormatName(ClipboardFormat format);
// The MIME type under which data of a format name travels.
QString ClipboardMimeType(const char *formatName);
QString ClipboardMimeType(ClipboardFormat format);

// The copy format of a list type: playlists (52) or background-music lists
// (any other type).
ClipboardFormat PlaylistCopyFormat(int type);

// The dragged or copied contents of one type.
QByteArray MakeContentsDataBlock(int type, const QList<qint32> &numbers);

// One dragged content.
struct DraggedContent {
    int type = 0;
    qint32 number = -1;
};
// The contents of a contents block; empty for a block that is not whole
// records.
QList<DraggedContent> ReadContentsDataBlock(const QByteArray &block);

// The cell of an item dragged within a timetable grid.
QByteArray MakeGridEventBlock(int row, int track);
// False for a block of another size.
bool ReadGridEventBlock(const QByteArray &block, int &row, int &track);

QByteArray MakePlaylistCopyBlock(const QList<quint32> &indexes);
// The indexes of a playlist copy block whose indexes all lie below
// listCount; false (indexes emptied) for a short or out-of-range block.
bool ReadPlaylistCopyBlock(const QByteArray &block, qsizetype listCount, QList<quint32> &indexes);

struct ScheduleCopyBlock {
    quint32 groupNumber = 0;
    quint32 resolutionId = 0;
    quint32 orientation = 0;
    QList<quint32> indexes;

    friend bool operator==(const ScheduleCopyBlock &, const ScheduleCopyBlock &) = default;
};

QByteArray MakeScheduleCopyBlock(const ScheduleCopyBlock &copy);
// False for a block shorter than its count asks for. The indexes are checked
// against the source group's schedule list by the paste, once that group is
// found (AreIndexesBelow).
bool ReadScheduleCopyBlock(const QByteArray &block, ScheduleCopyBlock &copy);
bool AreIndexesBelow(const QList<quint32> &indexes, qsizetype count);

// Makes the block the clipboard's whole content under the format's MIME type;
// false when there is no clipboard.
bool PutClipboardBlock(ClipboardFormat format, const QByteArray &block);
// The clipboard's block of the format; empty when it holds none.
QByteArray GetClipboardBlock(ClipboardFormat format);

// Puts a playlist copy block of the indexes on the clipboard in the copy
// format of the list type (52 playlists, else background-music lists).
bool CopyPlaylistSelection(int type, const QList<quint32> &indexes);

// Puts a schedule copy block of the named group's (case-insensitive) screen
// data and the indexes on the clipboard. False, with the clipboard left as it
// was, when no group has the name.
bool CopyScheduleSelection(const CQ9GroupXml &groups, const QString &groupName, const QList<quint32> &indexes);
