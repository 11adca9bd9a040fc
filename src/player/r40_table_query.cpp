#include "player/r40_table_query.h"

#include "core/last_error.h"
#include "model/contents_list.h"
#include "model/property_base.h"

#include <QXmlStreamReader>

R40Row CR40TableQuery::GetRow(int i) const
{
    return i >= 0 && i < m_rows.size() ? m_rows[i] : R40Row();
}

bool CR40TableQuery::GetRecord(CPropertyBase &record) const
{
    if (m_rows.isEmpty()) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    return m_rows.first().FillRecord(record);
}

bool CR40TableQuery::GetList(CContentsList &list) const
{
    for (const R40Row &row : m_rows) {
        const std::unique_ptr<CPropertyBase> record = CreateProperty(list.GetContentType());
        if (!record) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        if (!row.FillRecord(*record))
            return false;
        if (!list.Add(record.get())) {
            SetLastError(list.GetLastError());
            return false;
        }
    }
    return true;
}

bool CR40TableQuery::ReadReplyElement(QXmlStreamReader &reader)
{
    if (reader.name() != QLatin1String("rows"))
        return CR40Request::ReadReplyElement(reader);
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("row"))
            m_rows.append(ReadR40Row(reader));
        else
            reader.skipCurrentElement();
    }
    return true;
}

void CR40TableQuery::ClearReplyData()
{
    m_rows.clear();
}
