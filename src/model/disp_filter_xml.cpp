#include "model/disp_filter_xml.h"

#include "core/last_error.h"
#include "model/property_checks.h"
#include "model/property_fields.h"

bool CDispFilterXml::SetDate(const SystemTime &date)
{
    if (!IsValidSystemTime(date, true)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    m_filter.date = date;
    return true;
}

void CDispFilterXml::beginLoad()
{
    m_pending = ContentsFilter{};
}

void CDispFilterXml::commitLoad()
{
    m_filter = m_pending;
}

void CDispFilterXml::OnCharacters(const QString &path, const QString &text)
{
    bool accepted = true;
    if (path == u"/DispFilter/Config/UseDate")
        accepted = ParseBool(text, m_pending.useDate);
    else if (path == u"/DispFilter/Config/Date")
        accepted = ParseDateTimeField(text, m_pending.date) && IsValidSystemTime(m_pending.date, true);
    else if (path == u"/DispFilter/Config/UseType")
        accepted = ParseBool(text, m_pending.useType);
    else if (path == u"/DispFilter/Type/Name")
        m_pending.excluded.append(text);
    if (!accepted)
        refuseValue();
}

bool CDispFilterXml::WriteContents()
{
    StartElement(QStringLiteral("DispFilter"), {QStringLiteral("ver")}, {QStringLiteral("1.0")});
    StartElement(QStringLiteral("Config"));
    WriteElement(QStringLiteral("UseDate"), BoolText(m_filter.useDate));
    WriteElement(QStringLiteral("Date"), DateTimeFieldText(m_filter.date));
    WriteElement(QStringLiteral("UseType"), BoolText(m_filter.useType));
    EndElement(QStringLiteral("Config"));
    StartElement(QStringLiteral("Type"));
    for (const QString &name : m_filter.excluded)
        WriteElement(QStringLiteral("Name"), name);
    EndElement(QStringLiteral("Type"));
    EndElement(QStringLiteral("DispFilter"));
    return true;
}
