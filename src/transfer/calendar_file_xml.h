#pragma once
// The calendar registration file ("Calendar.xml", or "Calendar<n>.xml" with
// the send number): the calendar rows a player loads into its calendar table.
// Each row is first deleted and then inserted, so the player replaces a row
// with the same index.

#include "core/win_types.h"
#include "transfer/last_error_keeper.h"

#include <QString>

#include <memory>
#include <vector>

class CCalendarProperty;
class QDomDocument;

class CCalendarFileXml : public CLastErrorKeeper {
public:
    CCalendarFileXml();
    ~CCalendarFileXml();

    CCalendarFileXml(const CCalendarFileXml &) = delete;
    CCalendarFileXml &operator=(const CCalendarFileXml &) = delete;

    // Appends a copy of the row. False when the record is null (87) or the
    // copy fails (the record's own error).
    bool Add(const CCalendarProperty *record);
    void RemoveAll();
    int GetCount() const { return int(m_records.size()); }

    // Writes the file fileName in folder, stamped with time. False with 87 for
    // an empty folder or a file name that does not stay inside the folder;
    // false with the file system's error when the file cannot be written (no
    // partial file is left).
    bool Save(const QString &folder, const QString &fileName, const SystemTime &time);

private:
    bool build(QDomDocument &doc, const SystemTime &time) const;

    std::vector<std::unique_ptr<CCalendarProperty>> m_records;
};
