#pragma once
// The display list document ("Q9Display.xml"): the displays attached to the
// players, and the link mode the players' display-link setup is written with.
// The transfer manager hands the document and its lock to every worker, which
// sets the mode and saves the player's display-link file under the lock.

#include "model/record_list_xml.h"

#include <mutex>

struct CDisplayRecord {
    qint32 Number = 0;   // display number, unique in the list
    QString Name;
    qint32 Player = 0;   // number of the player it is attached to
    qint32 Position = 0; // place in the player's display grid, row by row from 0

    friend bool operator==(const CDisplayRecord &, const CDisplayRecord &) = default;
};

class CQ9DisplayXml : public CRecordListXml<CDisplayRecord> {
public:
    CQ9DisplayXml();

    qint32 GetMode() const { return m_mode; }
    void SetMode(qint32 mode) { m_mode = mode; }
    // Numbers of the displays attached to a player, by position.
    QList<qint32> GetPlayerDisplays(qint32 player) const;

    bool Save(const QString &path) { return CXmlDocument::Save(path); }
    std::mutex &GetLock() { return m_lock; }

protected:
    bool readField(CDisplayRecord &display, QStringView name, const QString &text) override;
    void writeFields(const CDisplayRecord &display) override;
    bool readHeaderField(QStringView name, const QString &text) override;
    void writeHeader() override;
    void beginLoad() override;
    void commitLoad() override;

private:
    qint32 m_mode = 0;
    qint32 m_pendingMode = 0;
    std::mutex m_lock;
};
