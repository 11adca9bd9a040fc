#pragma once
// "RMPL": deletes a schedule, playlist or sequence table (and its file) from
// the player.

#include "player/r40_request.h"

enum SequenceTableKind : int {
    SEQUENCE_TABLE_SCHEDULE = 1,
    SEQUENCE_TABLE_PLAYLIST = 2,
    SEQUENCE_TABLE_SEQUENCE = 3,
};

class CSequenceTableCommand : public CR40Request {
public:
    CSequenceTableCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    // "table" = "schedule", "playlist" or "sequence"; "name" = the table name
    // of the number ("SC", "PL" or "SQ", nine digits, "_TBL").
    bool MakeRequest(int table, qint32 number);

    int GetTable() const { return m_table; }
    qint32 GetNumber() const { return m_number; }

private:
    int m_table = 0;
    qint32 m_number = -1;
};
