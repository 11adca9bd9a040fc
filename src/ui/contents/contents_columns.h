#pragma once
// The columns of the contents lists: one table per content type, which
// columns a pane mode shows, the text of a cell, and the mapping between a
// column and the sort key the content store remembers.

#include "core/win_types.h"

#include <QString>

#include <span>

class CPropertyBase;

// Column kinds (the column ids of the list).
enum ContentsColumnKind : int {
    COL_NO = 0,
    COL_INDEX = 1,
    COL_CATEGORY = 2,
    COL_TITLE = 3,
    COL_SIZE = 4,
    COL_DELETE_DATE = 5,
    COL_UPDATE = 6,
    COL_IMAGE_SIZE = 7,
    COL_PLAY_TIME = 8,
    COL_FILE_NAME = 9,
    COL_ADDRESS = 10,
    COL_EFFECT = 11,
    COL_CONTROL_KIND = 12,
    COL_START_TIME = 14,
    COL_END_TIME = 15,
    COL_START_DATE = 16,
    COL_END_DATE = 17,
    COL_WEEK = 18,
    COL_BG_COLOR = 20,
    COL_RECEIVED = 21,
    COL_INPUT = 22,
    COL_FORMAT = 23,
};

struct ContentsColumn {
    quint32 headerId; // header text; also the command of the header menu
    int kind;
    int format;       // LVCFMT_LEFT, LVCFMT_RIGHT or LVCFMT_CENTER
    int width;
    bool hideable;
    bool shownByDefault;
};

// The column table of a content type; empty for types without a list.
std::span<const ContentsColumn> ContentsColumns(int type);
// Whether the pane mode ever shows the column kind on the type's list.
bool IsColumnAllowed(int mode, int type, int kind);

// The stored sort key of sorting by a column kind; -1 when the kind does not
// sort (the No. column sorts only the player-side schedule list).
int SortKeyOfColumn(int kind, bool ascending, int type, bool remote);
// The column kind and direction of a stored key; an unknown key gives the
// content number, ascending.
void ColumnOfSortKey(int key, int &kind, bool &ascending);

// The text of a cell without its framing blanks; row is the display position.
QString ColumnText(const CPropertyBase &record, int kind, int row);
// The cell as the list shows it: one blank on either side of a non-empty text.
QString FramedColumnText(const CPropertyBase &record, int kind, int row);

// The widest text a column of a fixed form holds on a tab of the type (a
// date, a time stamp, an IP address, a content file's path, a picture size
// or resolution, weekdays); empty for columns whose texts vary freely.
QString WidestColumnText(int type, int kind);

// Helpers of the cell texts.
QString FormatSizeKb(quint64 bytes);           // "1,000,000 KB"
QString FormatWeekdays(const QString &week);   // "日 土"; empty for every day
