#pragma once
// The operator's working copy of the players and groups while a settings page
// edits them. Every change is checked first; nothing reaches the application
// data until Save, which writes "Player.xml" and "Q9Group.xml" together so a
// player's group and the group's member list always agree.
//
// A player belongs to at most one group: its record names the group, and Save
// rebuilds each group's member list from the records in list order.

#include "model/player_record.h"
#include "model/q9_group_xml.h"

#include <QHash>
#include <QStringList>

#include <utility>
#include <vector>

class CAppData;

// Why a change was refused.
enum class PlayerEditResult {
    Ok,
    EmptyName,          // no name
    BadName,            // not one safe folder name
    LongName,           // longer than kMaxNameBytes
    DuplicateName,      // another player (or group) has that name, in any case
    BadAddress,         // neither a dotted IPv4 address nor a host name
    BadPort,            // outside 1-65535 (0 keeps the system default)
    BadMac,             // not six bytes
    BadPosition,        // no such player or group
};

class CPlayerGroupEdit {
public:
    // Copies the players and groups of the application data.
    void Load(CAppData &data);

    const std::vector<PlayerRecord> &Players() const { return m_players; }
    const std::vector<CGroupRecord> &Groups() const { return m_groups; }
    bool IsModified() const { return m_modified; }

    // A new player gets the next free number; its MAC address is stored in
    // the form NormalizeMacAddress gives.
    PlayerEditResult AddPlayer(PlayerRecord record);
    PlayerEditResult ChangePlayer(int position, PlayerRecord record);
    PlayerEditResult RemovePlayer(int position);
    // Puts the player into the group (empty: none).
    PlayerEditResult SetPlayerGroup(int position, const QString &group);

    PlayerEditResult AddGroup(CGroupRecord group);
    // A renamed group keeps its players.
    PlayerEditResult ChangeGroup(int position, CGroupRecord group);
    // Its players are left without a group.
    PlayerEditResult RemoveGroup(int position);
    int GroupMemberCount(int position) const;

    // Renames the folders of renamed players and groups and writes the
    // player, group and display files together (one staged set, so a kill
    // leaves all of them old or all new), and creates every player's folder.
    // The displays of removed players go too, so a player added later under
    // a freed number inherits none. When a folder or a file fails (false
    // with the last error), the files, the application data's lists and the
    // folders' names stay as they were and the edits wait for a second Save.
    // What the players reported of themselves (serial number, time zone,
    // summer time) is taken from the application data, where it may have
    // been learnt while the page was open.
    bool Save(CAppData &data);

    // The most bytes (UTF-8) of a player's or a group's name. Each becomes a
    // folder name and part of longer names, which a file system or a
    // cabinet holds to 255 bytes: the log cabinet "<name>_Log.cab" and its
    // temporary "<name>_Log.cab.<8 hex digits>.telvq9-tmp" beside it, and
    // the member "TelvData\Q9Data\LogTemp\<name>\<log file>" of the
    // all-log cabinet, which leaves the player over 100 bytes for the name
    // of its log file.
    static constexpr int kMaxNameBytes = 128;

private:
    PlayerEditResult checkPlayer(PlayerRecord &record, int position) const;
    PlayerEditResult checkGroup(const CGroupRecord &group, int position) const;
    static PlayerEditResult checkName(const QString &name);
    int findPlayerName(const QString &name) const;
    int findGroupName(const QString &name) const;
    // Holds the folder moves in the open set; the folders they bring.
    QStringList holdFolderMoves(const CAppData &data) const;
    bool writeLists(CAppData &data);
    bool makePlayerFolders(const CAppData &data, const QStringList &moved) const;
    void takeReportedFacts(const std::vector<PlayerRecord> &stored);
    bool dropDisplaysOfRemovedPlayers(CAppData &data) const;
    void rebuildMembers();

    std::vector<PlayerRecord> m_players;
    std::vector<CGroupRecord> m_groups;
    // Names as loaded, by number: renamed players and groups take their folders along.
    QHash<qint32, QString> m_loadedPlayerNames;
    QHash<qint32, QString> m_loadedGroupNames;
    qint32 m_nextPlayer = 1;
    qint32 m_nextGroup = 1;
    bool m_modified = false;
};
