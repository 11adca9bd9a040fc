#include "model/q9_group_xml.h"

#include "core/last_error.h"
#include "model/app_data.h"

namespace {

bool readGroupField(CGroupRecord &group, QStringView name, const QString &text)
{
    if (name == u"No")
        return ParseInt32(text, 0, INT32_MAX, group.Number);
    if (name == u"Name") {
        group.Name = text;
        return true;
    }
    if (name == u"ResolutionId")
        return ParseInt32(text, 0, INT32_MAX, group.ResolutionId);
    if (name == u"Orientation")
        return ParseInt32(text, 0, 1, group.Orientation);
    if (name == u"Players/No") {
        qint32 number = 0;
        if (!ParseInt32(text, 0, INT32_MAX, number))
            return false;
        group.Players.append(number);
        return true;
    }
    return true;
}

} // namespace

void CGroupRecord::GetScreenSize(qint32 &width, qint32 &height) const
{
    GetAppData().GetResolutionSize(ResolutionId, Orientation, width, height);
}

CQ9GroupXml::CQ9GroupXml()
    : CRecordListXml(QStringLiteral("GroupList"), QStringLiteral("Group"))
{
}

int CQ9GroupXml::FindGroupByName(const QString &name) const
{
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

bool CQ9GroupXml::readField(CGroupRecord &group, QStringView name, const QString &text)
{
    return readGroupField(group, name, text);
}

void CQ9GroupXml::writeFields(const CGroupRecord &group)
{
    WriteElementInt(QStringLiteral("No"), group.Number);
    WriteElement(QStringLiteral("Name"), group.Name);
    WriteElementInt(QStringLiteral("ResolutionId"), group.ResolutionId);
    WriteElementInt(QStringLiteral("Orientation"), group.Orientation);
    StartElement(QStringLiteral("Players"));
    for (qint32 number : group.Players)
        WriteElementInt(QStringLiteral("No"), number);
    EndElement(QStringLiteral("Players"));
}
