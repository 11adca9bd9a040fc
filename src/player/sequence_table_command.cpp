#include "player/sequence_table_command.h"

#include "core/content_id.h"

CSequenceTableCommand::CSequenceTableCommand()
    : CR40Request(QStringLiteral("RMPL"))
{
}

std::unique_ptr<CR40Request> CSequenceTableCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CSequenceTableCommand(*this));
}

bool CSequenceTableCommand::MakeRequest(int table, qint32 number)
{
    BeginRequest(QStringLiteral("RMPL"));
    m_table = 0;
    m_number = -1;
    QString kind;
    QString name;
    switch (table) {
    case SEQUENCE_TABLE_SCHEDULE:
        kind = QStringLiteral("schedule");
        name = MakeScheduleTableName(number);
        break;
    case SEQUENCE_TABLE_PLAYLIST:
        kind = QStringLiteral("playlist");
        name = MakePlaylistTableName(number);
        break;
    case SEQUENCE_TABLE_SEQUENCE:
        kind = QStringLiteral("sequence");
        name = MakeSequenceTableName(number);
        break;
    default:
        break;
    }
    if (name.isEmpty())
        return FailRequest();
    m_table = table;
    m_number = number;
    AddParameter(QStringLiteral("table"), kind);
    AddParameter(QStringLiteral("name"), name);
    return true;
}
