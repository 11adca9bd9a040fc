#pragma once
// The setup list document ("Q9SetupList.xml"): the named detailed player
// setups; a player's setup number names one, whose files live in the folder
// of that number below Setup.

#include "model/record_list_xml.h"

struct CSetupListRecord {
    qint32 Number = 0;
    QString Name;

    friend bool operator==(const CSetupListRecord &, const CSetupListRecord &) = default;
};

class CQ9SetupListXml : public CRecordListXml<CSetupListRecord> {
public:
    CQ9SetupListXml();

    // Position of the setup with a number, or -1.
    int FindSetup(qint32 number) const;
    bool Save(const QString &path) { return CXmlDocument::Save(path); }

protected:
    bool readField(CSetupListRecord &setup, QStringView name, const QString &text) override;
    void writeFields(const CSetupListRecord &setup) override;
};
