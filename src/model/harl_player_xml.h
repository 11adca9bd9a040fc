#pragma once
// The player list document ("Player.xml"): one PlayerRecord per managed
// player. The transfer engine reads and writes records from its threads, and
// saves the file from there.

#include "model/player_record.h"
#include "model/record_list_xml.h"

#include <functional>
#include <mutex>
#include <optional>
#include <vector>

// Every access takes the document's lock: the records are reached only through
// the copies and the changes below, never as the list itself.
class CHarlPlayerXml : private CRecordListXml<PlayerRecord> {
public:
    CHarlPlayerXml();

    // Reads the file (see CModelXmlDocument); the records are replaced under the lock.
    using CRecordListXml::Load;

    int GetCount() const;
    // A copy of every record, in list order.
    std::vector<PlayerRecord> CopyPlayers() const;
    // A copy of the record of the player with a number, so a transfer worker
    // rewriting the record (a configuration send sets a new password) is never
    // seen half way; nothing for an unknown number.
    std::optional<PlayerRecord> CopyPlayer(qint32 number) const;
    bool HasPlayer(qint32 number) const;
    // Position of the player with a number in the list, or -1.
    int FindPlayer(qint32 number) const;

    // Lets change rewrite the record of the player with a number under the
    // lock; change returns whether it changed anything. False for an unknown
    // number or no change. change and edit run with the lock held and must
    // not use this list.
    bool UpdatePlayer(qint32 number, const std::function<bool(PlayerRecord &)> &change);
    // Lets edit rewrite the whole list under the lock.
    void EditPlayers(const std::function<void(std::vector<PlayerRecord> &)> &edit);
    void AddPlayer(const PlayerRecord &record);
    void RemoveAll();

    // Writes the file under the lock. changedPlayer names the player whose
    // record changed (-1: none) for the log.
    bool Save(const QString &path, qint32 changedPlayer = -1);

private:
    bool readField(PlayerRecord &record, QStringView name, const QString &text) override;
    void writeFields(const PlayerRecord &record) override;
    void commitLoad() override;
    int findPlayerLocked(qint32 number) const;

    // Guards the records between the user-interface thread and the transfer workers.
    mutable std::mutex m_lock;
};
