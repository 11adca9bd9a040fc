#pragma once
// "CLST": the content numbers of one of the player's content tables, or one
// content's row of it.

#include "player/r40_table_query.h"

// Content table codes of CLST.
enum ClstTable : int {
    CLST_MOVIE = 1,
    CLST_STILL = 2,
    CLST_TELOP = 3,
    CLST_WEB = 4,
    CLST_FLASH = 5,
    CLST_AUDIO = 6,
    CLST_VOLUME_CONTROL = 7,
    CLST_COM_CONTROL = 8,
    CLST_GPIO_CONTROL = 9,
    CLST_PLAYLIST = 10,
    CLST_SCHEDULE = 11,
    CLST_STREAMING = 12,
    CLST_PINP = 13,
};

class CClstCommand : public CR40TableQuery {
public:
    CClstCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    // The row of one content (index = content number).
    bool MakeRequest(int table, qint32 index);
    // The list of content numbers of the table.
    bool MakeRequest(int table);

    // The content numbers of an index-list reply, in the player's order.
    QList<qint32> GetIndexList() const { return m_indexes; }

protected:
    bool ReadReplyElement(QXmlStreamReader &reader) override;
    void ClearReplyData() override;

private:
    QList<qint32> m_indexes;
};
