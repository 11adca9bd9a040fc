#pragma once
// The group registration file ("group.xml", or "group<n>.xml" with the send
// number): the list of registration files of one job, each with its kind and
// time, that the player loads in one go. At most one property file is listed,
// always as the last one added.

#include "core/win_types.h"
#include "transfer/last_error_keeper.h"

#include <QString>

#include <vector>

class QDomDocument;

class CGroupXml : public CLastErrorKeeper {
public:
    CGroupXml();
    ~CGroupXml();

    // Append an entry of kind "calendar", "playlist", "schedule" or
    // "sequence". False with 87 for an empty file name.
    bool AddCalendarFile(const QString &fileName, const SystemTime &time);
    bool AddPlaylistFile(const QString &fileName, const SystemTime &time);
    bool AddScheduleFile(const QString &fileName, const SystemTime &time);
    bool AddSequenceFile(const QString &fileName, const SystemTime &time);
    // Replaces the "property" entry: an earlier one leaves the list and the
    // new one is appended.
    bool AddPropertyList(const QString &fileName, const SystemTime &time);

    int GetCount() const { return int(m_entries.size()); }

    // Writes the file at path, stamped with time. False with 87 for an empty
    // path, else with the file system's error (no partial file is left).
    bool Save(const QString &path, const SystemTime &time);

private:
    struct Entry {
        QString kind; // the element name
        QString fileName;
        SystemTime time;
    };

    bool add(const QString &kind, const QString &fileName, const SystemTime &time);
    bool removeAt(int position);
    bool build(QDomDocument &doc, const SystemTime &time) const;

    std::vector<Entry> m_entries;
};
