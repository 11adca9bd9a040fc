#include "model/q9_setup_list_xml.h"

CQ9SetupListXml::CQ9SetupListXml()
    : CRecordListXml(QStringLiteral("SetupList"), QStringLiteral("Setup"))
{
}

int CQ9SetupListXml::FindSetup(qint32 number) const
{
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].Number == number)
            return int(i);
    }
    return -1;
}

bool CQ9SetupListXml::readField(CSetupListRecord &setup, QStringView name, const QString &text)
{
    if (name == u"No")
        return ParseInt32(text, 0, INT32_MAX, setup.Number);
    if (name == u"Name")
        setup.Name = text;
    return true;
}

void CQ9SetupListXml::writeFields(const CSetupListRecord &setup)
{
    WriteElementInt(QStringLiteral("No"), setup.Number);
    WriteElement(QStringLiteral("Name"), setup.Name);
}
