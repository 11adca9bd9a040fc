#include "player/clst_command.h"

#include "core/content_id.h"
#include "model/property_fields.h"

#include <QXmlStreamReader>

CClstCommand::CClstCommand()
    : CR40TableQuery(QStringLiteral("CLST"))
{
}

std::unique_ptr<CR40Request> CClstCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CClstCommand(*this));
}

bool CClstCommand::MakeRequest(int table, qint32 index)
{
    if (!MakeRequest(table))
        return false;
    if (!IsValidContentId(index))
        return FailRequest();
    AddParameter(QStringLiteral("index"), FormatContentId(index));
    return true;
}

bool CClstCommand::MakeRequest(int table)
{
    BeginRequest(QStringLiteral("CLST"));
    if (table < CLST_MOVIE || table > CLST_PINP)
        return FailRequest();
    AddParameter(QStringLiteral("table"), table);
    return true;
}

// "<indexes><index>101000001</index>...</indexes>"; a number that does not
// parse makes the reply not analysable.
bool CClstCommand::ReadReplyElement(QXmlStreamReader &reader)
{
    if (reader.name() != QLatin1String("indexes"))
        return CR40TableQuery::ReadReplyElement(reader);
    while (reader.readNextStartElement()) {
        if (reader.name() != QLatin1String("index")) {
            reader.skipCurrentElement();
            continue;
        }
        qint32 index = 0;
        if (!ParseIndexField(ReadElementText(reader), index))
            return false;
        m_indexes.append(index);
    }
    return true;
}

void CClstCommand::ClearReplyData()
{
    CR40TableQuery::ClearReplyData();
    m_indexes.clear();
}
