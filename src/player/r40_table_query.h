#pragma once
// A query whose PASS reply carries table rows ("<rows><row>...</row></rows>"):
// the base of the CLST and STBL commands.

#include "player/r40_request.h"
#include "player/r40_row.h"

class CContentsList;

class CR40TableQuery : public CR40Request {
public:
    int GetRowCount() const { return int(m_rows.size()); }
    // Row i; an empty row outside the reply.
    R40Row GetRow(int i) const;
    // Fills the record from the first row. False with last error 13 when the
    // reply has no row or the record refuses one of its values.
    bool GetRecord(CPropertyBase &record) const;
    // Appends one record of the list's content type per row, in reply order.
    // False at the first row the record refuses (last error 13) or the list
    // does not take (the list's error); the rows before it stay added.
    bool GetList(CContentsList &list) const;

protected:
    using CR40Request::CR40Request;

    bool ReadReplyElement(QXmlStreamReader &reader) override;
    void ClearReplyData() override;

private:
    QList<R40Row> m_rows;
};
