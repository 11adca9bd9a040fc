#include "model/q9_display_xml.h"

#include <algorithm>

CQ9DisplayXml::CQ9DisplayXml()
    : CRecordListXml(QStringLiteral("DisplayList"), QStringLiteral("Display"))
{
}

QList<qint32> CQ9DisplayXml::GetPlayerDisplays(qint32 player) const
{
    std::vector<const CDisplayRecord *> attached;
    for (const CDisplayRecord &display : m_records) {
        if (display.Player == player)
            attached.push_back(&display);
    }
    std::stable_sort(attached.begin(), attached.end(),
                     [](const CDisplayRecord *a, const CDisplayRecord *b) { return a->Position < b->Position; });
    QList<qint32> numbers;
    for (const CDisplayRecord *display : attached)
        numbers.append(display->Number);
    return numbers;
}

bool CQ9DisplayXml::readField(CDisplayRecord &display, QStringView name, const QString &text)
{
    if (name == u"No")
        return ParseInt32(text, 0, INT32_MAX, display.Number);
    if (name == u"Name") {
        display.Name = text;
        return true;
    }
    if (name == u"Player")
        return ParseInt32(text, 0, INT32_MAX, display.Player);
    if (name == u"Position")
        return ParseInt32(text, 0, 255, display.Position);
    return true;
}

void CQ9DisplayXml::writeFields(const CDisplayRecord &display)
{
    WriteElementInt(QStringLiteral("No"), display.Number);
    WriteElement(QStringLiteral("Name"), display.Name);
    WriteElementInt(QStringLiteral("Player"), display.Player);
    WriteElementInt(QStringLiteral("Position"), display.Position);
}

bool CQ9DisplayXml::readHeaderField(QStringView name, const QString &text)
{
    return name != u"Mode" || ParseInt32(text, INT32_MIN, INT32_MAX, m_pendingMode);
}

void CQ9DisplayXml::writeHeader()
{
    WriteElementInt(QStringLiteral("Mode"), m_mode);
}

void CQ9DisplayXml::beginLoad()
{
    m_pendingMode = 0;
    CRecordListXml::beginLoad();
}

void CQ9DisplayXml::commitLoad()
{
    m_mode = m_pendingMode;
    CRecordListXml::commitLoad();
}
