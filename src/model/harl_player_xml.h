#pragma once
// The player list document ("Player.xml"): one PlayerRecord per managed
// player. The transfer engine reads and writes records from its threads under
// the document's lock (GetLock), and saves the file from there.

#include "model/player_record.h"
#include "model/record_list_xml.h"

#include <mutex>
#include <optional>

class CHarlPlayerXml : public CRecordListXml<PlayerRecord> {
public:
    CHarlPlayerXml();

    const std::vector<PlayerRecord> &GetPlayers() const { return Records(); }
    bool GetPlayer(int position, PlayerRecord &record) const { return GetAt(position, record); }
    bool SetPlayer(int position, const PlayerRecord &record) { return SetAt(position, record); }
    void AddPlayer(const PlayerRecord &record) { Add(record); }
    bool DeletePlayer(int position) { return Delete(position); }

    // Position of the player with a number, or -1. The caller holds the lock
    // or is the only thread that changes the list.
    int FindPlayer(qint32 number) const;
    // A copy of the record of the player with a number, taken under the
    // lock, so a transfer worker rewriting the record (a configuration send
    // sets a new password) is never seen half way; nothing for an unknown number.
    std::optional<PlayerRecord> CopyPlayer(qint32 number) const;
    // Sets status and error code of the record at a position, or of every
    // record when the position is outside the list.
    void SetPlayerStatus(int position, qint32 status, qint32 errorCode);

    // Writes the file. context names the record that changed (-1: none) for
    // the log; with exclusive false the document's lock is taken while the
    // records are written, with exclusive true the caller already holds it.
    bool Save(const QString &path, int context = -1, bool exclusive = false);

    // Guards the records between the user-interface thread and the transfer workers.
    std::mutex &GetLock() { return m_lock; }

protected:
    bool readField(PlayerRecord &record, QStringView name, const QString &text) override;
    void writeFields(const PlayerRecord &record) override;

private:
    mutable std::mutex m_lock;
};
