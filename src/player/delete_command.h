#pragma once
// "RMCL": deletes a content from one of the player's content tables.

#include "player/r40_request.h"

// Table kinds of the delete command and the table names sent for them.
enum DeleteTableKind : int {
    DELETE_TABLE_MOVIE = 1,     // "movie"
    DELETE_TABLE_STREAM = 2,    // "stream"
    DELETE_TABLE_STILL = 3,     // "still"
    DELETE_TABLE_FLASH = 4,     // "web"
    DELETE_TABLE_WEB = 5,       // "web"
    DELETE_TABLE_TEXT = 6,      // "text"
    DELETE_TABLE_AUDIO = 7,     // "audio"
    DELETE_TABLE_AUDCONT = 8,   // "audcont"
    DELETE_TABLE_EXTSIO = 9,    // "extsio"
    DELETE_TABLE_EXTGPIO = 10,  // "extgpio"
};

class CDeleteCommand : public CR40Request {
public:
    CDeleteCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    bool MakeRequest(int tableKind, qint32 index);

    int GetTableKind() const { return m_tableKind; }
    qint32 GetIndex() const { return m_index; }
    // The name sent for a table kind; empty for another kind.
    static QString TableName(int tableKind);

private:
    int m_tableKind = 0;
    qint32 m_index = -1;
};
