#pragma once
// The group document ("Q9Group.xml"): the groups of players that share a
// screen layout, with the resolution and orientation the group plays in.

#include "model/record_list_xml.h"

#include <QList>

struct CGroupRecord {
    qint32 Number = 0;
    QString Name;
    qint32 ResolutionId = 0;
    qint32 Orientation = 0; // 0 landscape, 1 portrait
    QList<qint32> Players;  // player numbers

    // Total width and height of the group's resolution in its orientation.
    void GetScreenSize(qint32 &width, qint32 &height) const;

    friend bool operator==(const CGroupRecord &, const CGroupRecord &) = default;
};

class CQ9GroupXml : public CRecordListXml<CGroupRecord> {
public:
    CQ9GroupXml();

    bool GetGroup(int position, CGroupRecord &group) const { return GetAt(position, group); }
    void AddGroup(const CGroupRecord &group) { Add(group); }
    // Position of the group with a name (case-insensitive), or -1.
    int FindGroupByName(const QString &name) const;

    bool Save(const QString &path) { return CXmlDocument::Save(path); }

protected:
    bool readField(CGroupRecord &group, QStringView name, const QString &text) override;
    void writeFields(const CGroupRecord &group) override;
};
