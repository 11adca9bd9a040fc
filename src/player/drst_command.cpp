#include "player/drst_command.h"

#include "model/property_fields.h"

#include <QXmlStreamReader>

CDrstCommand::CDrstCommand()
    : CR40Request(QStringLiteral("DRST"))
{
}

std::unique_ptr<CR40Request> CDrstCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CDrstCommand(*this));
}

bool CDrstCommand::MakeRequest()
{
    BeginRequest(QStringLiteral("DRST"));
    return true;
}

bool CDrstCommand::GetCapacity(quint64 &total, quint64 &remain) const
{
    if (!IsCapacityValid())
        return false;
    total = *m_total;
    remain = *m_remain;
    return true;
}

bool CDrstCommand::GetCapacityAV(quint64 &total, quint64 &remain) const
{
    if (!IsCapacityAVValid())
        return false;
    total = *m_totalAv;
    remain = *m_remainAv;
    return true;
}

// A value that does not parse is left out, so the validity test fails.
bool CDrstCommand::ReadReplyElement(QXmlStreamReader &reader)
{
    std::optional<quint64> *slot = nullptr;
    if (reader.name() == QLatin1String("total"))
        slot = &m_total;
    else if (reader.name() == QLatin1String("remain"))
        slot = &m_remain;
    else if (reader.name() == QLatin1String("totalav"))
        slot = &m_totalAv;
    else if (reader.name() == QLatin1String("remainav"))
        slot = &m_remainAv;
    if (!slot)
        return CR40Request::ReadReplyElement(reader);
    quint64 value = 0;
    if (ParseUInt64Field(ReadElementText(reader), value))
        *slot = value;
    return true;
}

void CDrstCommand::ClearReplyData()
{
    m_total.reset();
    m_remain.reset();
    m_totalAv.reset();
    m_remainAv.reset();
}

bool CDrstCommand::isValid(const std::optional<quint64> &total, const std::optional<quint64> &remain)
{
    return total && remain && *remain <= *total;
}
