#include "transfer/group_xml.h"

#include "core/format_utils.h"
#include "core/last_error.h"
#include "transfer/registration_dom.h"

#include <algorithm>

namespace {

const QString kPropertyKind = QStringLiteral("property");

QString DateText(const SystemTime &time)
{
    return FormatDateText(time.year, time.month, time.day);
}

QString TimeText(const SystemTime &time)
{
    return FormatTimeText(TimeValue{time.hour, time.minute, time.second, 0}, false);
}

} // namespace

CGroupXml::CGroupXml() = default;
CGroupXml::~CGroupXml() = default;

bool CGroupXml::add(const QString &kind, const QString &fileName, const SystemTime &time)
{
    if (kind.isEmpty() || fileName.isEmpty())
        return fail(ERROR_INVALID_PARAMETER);
    m_entries.push_back(Entry{kind, fileName, time});
    return true;
}

bool CGroupXml::removeAt(int position)
{
    if (position < 0 || position >= GetCount())
        return fail(ERROR_INTERNAL_ERROR);
    m_entries.erase(m_entries.begin() + position);
    return true;
}

bool CGroupXml::AddCalendarFile(const QString &fileName, const SystemTime &time)
{
    return add(QStringLiteral("calendar"), fileName, time);
}

bool CGroupXml::AddPlaylistFile(const QString &fileName, const SystemTime &time)
{
    return add(QStringLiteral("playlist"), fileName, time);
}

bool CGroupXml::AddScheduleFile(const QString &fileName, const SystemTime &time)
{
    return add(QStringLiteral("schedule"), fileName, time);
}

bool CGroupXml::AddSequenceFile(const QString &fileName, const SystemTime &time)
{
    return add(QStringLiteral("sequence"), fileName, time);
}

bool CGroupXml::AddPropertyList(const QString &fileName, const SystemTime &time)
{
    if (fileName.isEmpty())
        return fail(ERROR_INVALID_PARAMETER);
    const auto existing = std::find_if(m_entries.begin(), m_entries.end(),
                                       [](const Entry &entry) { return entry.kind == kPropertyKind; });
    if (existing != m_entries.end())
        removeAt(int(existing - m_entries.begin()));
    return add(kPropertyKind, fileName, time);
}

bool CGroupXml::build(QDomDocument &doc, const SystemTime &time) const
{
    QDomElement root = StartRegistrationDocument(doc, QStringLiteral("group"), DateText(time), TimeText(time));
    if (root.isNull())
        return false;
    for (const Entry &entry : m_entries) {
        QDomElement element = AppendElementLine(doc, root, entry.kind, 1);
        if (element.isNull())
            return false;
        element.setAttribute(QStringLiteral("date"), DateText(entry.time));
        element.setAttribute(QStringLiteral("time"), TimeText(entry.time));
        if (element.appendChild(doc.createTextNode(entry.fileName)).isNull())
            return false;
    }
    return m_entries.empty() || CloseElementLine(doc, root, 0);
}

bool CGroupXml::Save(const QString &path, const SystemTime &time)
{
    if (path.isEmpty())
        return fail(ERROR_INVALID_PARAMETER);
    QDomDocument doc;
    if (!build(doc, time))
        return fail(ERROR_INVALID_DATA);
    if (!SaveRegistrationDocument(doc, path))
        return fail(::GetLastError());
    clearLastError();
    return true;
}
