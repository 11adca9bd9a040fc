#include "transfer/calendar_file_xml.h"

#include "core/content_id.h"
#include "core/format_utils.h"
#include "core/last_error.h"
#include "model/calendar_property.h"
#include "model/path_safety.h"
#include "transfer/registration_dom.h"

namespace {

QString DateText(const DateValue &date)
{
    return FormatDateText(date.year, date.month, date.day);
}

bool NamesSchedule(qint32 flag)
{
    return flag == CCalendarProperty::FLAG_PLAY || flag == CCalendarProperty::FLAG_FORCEPLAY;
}

// One row: "delete" with its index, then "insert" with the whole row.
bool AppendRow(QDomDocument &doc, QDomElement table, const CCalendarProperty &record)
{
    const QString index = QString::number(record.GetIndex());
    QDomElement remove = AppendElementLine(doc, table, QStringLiteral("delete"), 2);
    if (!AppendTextElementLine(doc, remove, QStringLiteral("index"), index, 3) || !CloseElementLine(doc, remove, 2))
        return false;

    QDomElement insert = AppendElementLine(doc, table, QStringLiteral("insert"), 2);
    bool ok = AppendTextElementLine(doc, insert, QStringLiteral("index"), index, 3)
        && AppendTextElementLine(doc, insert, QStringLiteral("sdate"), DateText(record.GetStartDate()), 3)
        && AppendTextElementLine(doc, insert, QStringLiteral("edate"), DateText(record.GetEndDate()), 3);
    if (ok && !record.GetWeek().isEmpty())
        ok = AppendTextElementLine(doc, insert, QStringLiteral("week"), record.GetWeek(), 3);
    if (ok && NamesSchedule(record.GetFlag()))
        ok = AppendTextElementLine(doc, insert, QStringLiteral("schedule"),
                                   MakeScheduleTableName(record.GetSchedule()), 3);
    if (ok)
        ok = AppendTextElementLine(doc, insert, QStringLiteral("flag"), QString::number(record.GetFlag()), 3);
    const DateValue &deleteDate = record.GetDeleteDate();
    if (ok && deleteDate.month >= 1 && deleteDate.month <= 12)
        ok = AppendTextElementLine(doc, insert, QStringLiteral("deldate"), DateText(deleteDate), 3);
    return ok && CloseElementLine(doc, insert, 2);
}

} // namespace

CCalendarFileXml::CCalendarFileXml() = default;
CCalendarFileXml::~CCalendarFileXml() = default;

bool CCalendarFileXml::Add(const CCalendarProperty *record)
{
    if (!record)
        return fail(ERROR_INVALID_PARAMETER);
    auto copy = std::make_unique<CCalendarProperty>();
    if (!copy->Copy(record))
        return fail(copy->GetLastError());
    m_records.push_back(std::move(copy));
    return true;
}

void CCalendarFileXml::RemoveAll()
{
    m_records.clear();
}

bool CCalendarFileXml::build(QDomDocument &doc, const SystemTime &time) const
{
    QDomElement root = StartRegistrationDocument(
        doc, QStringLiteral("calendar"), FormatDateText(time.year, time.month, time.day),
        FormatTimeMsText(time.hour, time.minute, time.second, time.milliseconds));
    QDomElement table = AppendElementLine(doc, root, QStringLiteral("CALENDAR_TBL"), 1);
    if (table.isNull())
        return false;
    for (const auto &record : m_records) {
        if (!AppendRow(doc, table, *record))
            return false;
    }
    if (!m_records.empty() && !CloseElementLine(doc, table, 1))
        return false;
    return CloseElementLine(doc, root, 0);
}

bool CCalendarFileXml::Save(const QString &folder, const QString &fileName, const SystemTime &time)
{
    QString path;
    if (!JoinInsideFolder(folder, fileName, path))
        return fail(ERROR_INVALID_PARAMETER);
    QDomDocument doc;
    if (!build(doc, time))
        return fail(ERROR_INVALID_DATA);
    if (!SaveRegistrationDocument(doc, path))
        return fail(::GetLastError());
    clearLastError();
    return true;
}
