#include "player/delete_command.h"

#include "core/content_id.h"

CDeleteCommand::CDeleteCommand()
    : CR40Request(QStringLiteral("RMCL"))
{
}

std::unique_ptr<CR40Request> CDeleteCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CDeleteCommand(*this));
}

QString CDeleteCommand::TableName(int tableKind)
{
    static const char *const names[] = {"movie", "stream", "still", "web", "web", "text", "audio", "audcont", "extsio", "extgpio"};
    if (tableKind < DELETE_TABLE_MOVIE || tableKind > DELETE_TABLE_EXTGPIO)
        return QString();
    return QString::fromLatin1(names[tableKind - 1]);
}

bool CDeleteCommand::MakeRequest(int tableKind, qint32 index)
{
    BeginRequest(QStringLiteral("RMCL"));
    m_tableKind = 0;
    m_index = -1;
    const QString table = TableName(tableKind);
    if (table.isEmpty() || !IsValidContentId(index))
        return FailRequest();
    m_tableKind = tableKind;
    m_index = index;
    AddParameter(QStringLiteral("table"), table);
    AddParameter(QStringLiteral("index"), FormatContentId(index));
    return true;
}
