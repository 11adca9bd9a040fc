#include "player/r40_system_command.h"

#include "model/property_fields.h"

#include <QXmlStreamReader>

CR40SystemCommand::CR40SystemCommand()
    : CR40Request(QStringLiteral("SYST"))
{
}

std::unique_ptr<CR40Request> CR40SystemCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CR40SystemCommand(*this));
}

bool CR40SystemCommand::MakeRequest()
{
    BeginRequest(QStringLiteral("SYST"));
    return true;
}

bool CR40SystemCommand::GetDateTime(SystemTime &time) const
{
    return dateTime(QStringLiteral("datetime"), time);
}

bool CR40SystemCommand::GetConfigDate(SystemTime &time) const
{
    return dateTime(QStringLiteral("configdate"), time);
}

bool CR40SystemCommand::ReadReplyElement(QXmlStreamReader &reader)
{
    const QString name = reader.name().toString();
    m_values.insert(name, ReadElementText(reader));
    return true;
}

int CR40SystemCommand::number(const QString &name) const
{
    qint64 result = -1;
    return ParseIntField(value(name), -1, 0x7FFFFFFF, result) ? int(result) : -1;
}

bool CR40SystemCommand::dateTime(const QString &name, SystemTime &time) const
{
    return ParseDateTimeField(value(name), time);
}
