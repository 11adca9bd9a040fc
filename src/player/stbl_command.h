#pragma once
// "STBL": rows of the player's playlist, schedule or calendar table, or the
// playlist or schedule file of one row.

#include "player/r40_table_query.h"

enum StblTable : int {
    STBL_PLAYLIST = 1,
    STBL_SCHEDULE = 2,
    STBL_CALENDAR = 3,
};

class CStblCommand : public CR40TableQuery {
public:
    CStblCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    // The rows of the table; index -1 for every row, else the row of that
    // number. flag 0 or 1 is sent with the playlist table (touch-panel
    // playlists), -1 sends none.
    bool MakeRequest(int table, qint32 index = -1, int flag = -1);
    // The playlist (table 1) or schedule (table 2) file of a number, written
    // as "PL<number>.xml" or "SC<number>.xml" into the client's working folder.
    bool MakeFileRequest(int table, qint32 number);
};
