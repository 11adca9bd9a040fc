#pragma once
// "DTBL": deletes a row of the player's calendar table.

#include "player/r40_request.h"

class CCalendarTableCommand : public CR40Request {
public:
    CCalendarTableCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    // "table" = "CALENDAR_TBL", "where" = "index=<index>".
    bool MakeRequest(qint32 index);

    qint32 GetIndex() const { return m_index; }

private:
    qint32 m_index = -1;
};
