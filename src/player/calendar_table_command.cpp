#include "player/calendar_table_command.h"

#include "core/content_id.h"

CCalendarTableCommand::CCalendarTableCommand()
    : CR40Request(QStringLiteral("DTBL"))
{
}

std::unique_ptr<CR40Request> CCalendarTableCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CCalendarTableCommand(*this));
}

bool CCalendarTableCommand::MakeRequest(qint32 index)
{
    BeginRequest(QStringLiteral("DTBL"));
    m_index = -1;
    if (!IsValidContentId(index))
        return FailRequest();
    m_index = index;
    AddParameter(QStringLiteral("table"), QStringLiteral("CALENDAR_TBL"));
    AddParameter(QStringLiteral("where"), QStringLiteral("index=%1").arg(index));
    return true;
}
