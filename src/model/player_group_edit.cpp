#include "model/player_group_edit.h"

#include "core/path_utils.h"
#include "core/staged_files.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "model/path_safety.h"
#include "model/player_checks.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

bool isPosition(int position, size_t count)
{
    return position >= 0 && size_t(position) < count;
}

// The folder that holds a folder for each player.
QString playerFoldersOf(const CAppData &data)
{
    return JoinPath(data.GetDataFolder(), QStringLiteral("KDP-R40"));
}

// Holds the move of a player's or group's folder to its new name in the set
// open on this thread, to be renamed with the lists in its commit. A folder
// that does not exist yet has nothing to move; one whose new name is taken
// stays, so no stored lists are merged or lost.
void holdFolderMove(const QString &parent, const QString &oldName, const QString &newName, QStringList &moved)
{
    if (oldName.isEmpty() || oldName == newName || !IsSafePathComponent(oldName))
        return;
    const QString from = JoinPath(parent, oldName);
    const QString to = JoinPath(parent, newName);
    if (!QFileInfo(from).isDir() || QFileInfo::exists(to))
        return;
    CStagedFiles::Open()->HoldFolderMove(from, to);
    moved << to;
}

// The player, group and display lists of the application data as a save
// found them, put back when its files cannot be written.
class StoredLists {
public:
    explicit StoredLists(CAppData &data)
        : m_data(data), m_players(data.GetPlayerXml().CopyPlayers()), m_groups(data.GetGroupXml().Records())
    {
        std::lock_guard lock(data.GetDisplayXml().GetLock());
        m_displays = data.GetDisplayXml().Records();
    }

    void Restore() const
    {
        m_data.GetPlayerXml().EditPlayers([this](std::vector<PlayerRecord> &stored) { stored = m_players; });
        CQ9GroupXml &groups = m_data.GetGroupXml();
        groups.RemoveAll();
        for (const CGroupRecord &group : m_groups)
            groups.AddGroup(group);
        CQ9DisplayXml &displays = m_data.GetDisplayXml();
        std::lock_guard lock(displays.GetLock());
        displays.RemoveAll();
        for (const CDisplayRecord &display : m_displays)
            displays.Add(display);
    }

private:
    CAppData &m_data;
    std::vector<PlayerRecord> m_players;
    std::vector<CGroupRecord> m_groups;
    std::vector<CDisplayRecord> m_displays;
};

} // namespace

void CPlayerGroupEdit::Load(CAppData &data)
{
    m_players = data.GetPlayerXml().CopyPlayers();
    m_groups = data.GetGroupXml().Records();
    m_loadedPlayerNames.clear();
    m_loadedGroupNames.clear();
    m_nextPlayer = 1;
    m_nextGroup = 1;
    for (const PlayerRecord &player : m_players) {
        m_loadedPlayerNames.insert(player.Number, player.Name);
        m_nextPlayer = std::max(m_nextPlayer, player.Number + 1);
    }
    for (const CGroupRecord &group : m_groups) {
        m_loadedGroupNames.insert(group.Number, group.Name);
        m_nextGroup = std::max(m_nextGroup, group.Number + 1);
        // A member list written by an older program may be the only record
        // of a player's group.
        for (qint32 number : group.Players) {
            for (PlayerRecord &player : m_players) {
                if (player.Number == number && player.Group.isEmpty())
                    player.Group = group.Name;
            }
        }
    }
    rebuildMembers();
    m_modified = false;
}

PlayerEditResult CPlayerGroupEdit::AddPlayer(PlayerRecord record)
{
    const PlayerEditResult result = checkPlayer(record, -1);
    if (result != PlayerEditResult::Ok)
        return result;
    record.Number = m_nextPlayer++;
    m_players.push_back(record);
    rebuildMembers();
    return PlayerEditResult::Ok;
}

PlayerEditResult CPlayerGroupEdit::ChangePlayer(int position, PlayerRecord record)
{
    if (!isPosition(position, m_players.size()))
        return PlayerEditResult::BadPosition;
    const PlayerEditResult result = checkPlayer(record, position);
    if (result != PlayerEditResult::Ok)
        return result;
    record.Number = m_players[size_t(position)].Number;
    m_players[size_t(position)] = record;
    rebuildMembers();
    return PlayerEditResult::Ok;
}

PlayerEditResult CPlayerGroupEdit::RemovePlayer(int position)
{
    if (!isPosition(position, m_players.size()))
        return PlayerEditResult::BadPosition;
    m_players.erase(m_players.begin() + position);
    rebuildMembers();
    return PlayerEditResult::Ok;
}

PlayerEditResult CPlayerGroupEdit::SetPlayerGroup(int position, const QString &group)
{
    if (!isPosition(position, m_players.size()) || (!group.isEmpty() && findGroupName(group) < 0))
        return PlayerEditResult::BadPosition;
    PlayerRecord &player = m_players[size_t(position)];
    if (player.Group == group)
        return PlayerEditResult::Ok;
    player.Group = group;
    rebuildMembers();
    return PlayerEditResult::Ok;
}

PlayerEditResult CPlayerGroupEdit::AddGroup(CGroupRecord group)
{
    const PlayerEditResult result = checkGroup(group, -1);
    if (result != PlayerEditResult::Ok)
        return result;
    group.Number = m_nextGroup++;
    group.Players.clear();
    m_groups.push_back(group);
    rebuildMembers();
    return PlayerEditResult::Ok;
}

PlayerEditResult CPlayerGroupEdit::ChangeGroup(int position, CGroupRecord group)
{
    if (!isPosition(position, m_groups.size()))
        return PlayerEditResult::BadPosition;
    const PlayerEditResult result = checkGroup(group, position);
    if (result != PlayerEditResult::Ok)
        return result;
    CGroupRecord &stored = m_groups[size_t(position)];
    for (PlayerRecord &player : m_players) {
        if (player.Group.compare(stored.Name, Qt::CaseInsensitive) == 0)
            player.Group = group.Name;
    }
    stored.Name = group.Name;
    stored.ResolutionId = group.ResolutionId;
    stored.Orientation = group.Orientation;
    rebuildMembers();
    return PlayerEditResult::Ok;
}

PlayerEditResult CPlayerGroupEdit::RemoveGroup(int position)
{
    if (!isPosition(position, m_groups.size()))
        return PlayerEditResult::BadPosition;
    const QString name = m_groups[size_t(position)].Name;
    for (PlayerRecord &player : m_players) {
        if (player.Group.compare(name, Qt::CaseInsensitive) == 0)
            player.Group.clear();
    }
    m_groups.erase(m_groups.begin() + position);
    rebuildMembers();
    return PlayerEditResult::Ok;
}

int CPlayerGroupEdit::GroupMemberCount(int position) const
{
    return isPosition(position, m_groups.size()) ? int(m_groups[size_t(position)].Players.size()) : 0;
}

bool CPlayerGroupEdit::Save(CAppData &data)
{
    const StoredLists before(data);
    bool saved = false;
    {
        // The folders take their new names with the lists, in one commit.
        CStagedFiles staged;
        const QStringList moved = holdFolderMoves(data);
        saved = makePlayerFolders(data, moved) && writeLists(data) && staged.Commit();
    }
    if (!saved) {
        before.Restore();
        return false;
    }
    for (const PlayerRecord &player : m_players)
        m_loadedPlayerNames.insert(player.Number, player.Name);
    for (const CGroupRecord &group : m_groups)
        m_loadedGroupNames.insert(group.Number, group.Name);
    m_modified = false;
    return true;
}

// The player, group and display files are written together or not at all.
bool CPlayerGroupEdit::writeLists(CAppData &data)
{
    CHarlPlayerXml &players = data.GetPlayerXml();
    players.EditPlayers([this](std::vector<PlayerRecord> &stored) {
        takeReportedFacts(stored);
        stored = m_players;
    });
    CQ9GroupXml &groups = data.GetGroupXml();
    groups.RemoveAll();
    for (const CGroupRecord &group : m_groups)
        groups.AddGroup(group);
    return players.Save(data.GetPlayerFilePath()) && groups.Save(data.GetGroupFilePath())
        && dropDisplaysOfRemovedPlayers(data);
}

// A folder the commit's move brings is not made beforehand: the move would
// find its name taken.
bool CPlayerGroupEdit::makePlayerFolders(const CAppData &data, const QStringList &moved) const
{
    const QString playerParent = playerFoldersOf(data);
    for (const PlayerRecord &player : m_players) {
        QString folder;
        if (moved.contains(JoinPath(playerParent, player.Name)))
            continue;
        if (!data.MakePlayerFolder(player.Name, folder))
            return false;
    }
    return true;
}

void CPlayerGroupEdit::takeReportedFacts(const std::vector<PlayerRecord> &stored)
{
    for (PlayerRecord &player : m_players) {
        const auto current = std::find_if(stored.begin(), stored.end(),
                                          [&](const PlayerRecord &record) { return record.Number == player.Number; });
        if (current == stored.end())
            continue;
        player.Serial = current->Serial;
        player.TimeZone = current->TimeZone;
        player.SummerTime = current->SummerTime;
    }
}

PlayerEditResult CPlayerGroupEdit::checkPlayer(PlayerRecord &record, int position) const
{
    record.Name = record.Name.trimmed();
    record.IPAddress = record.IPAddress.trimmed();
    if (const PlayerEditResult name = checkName(record.Name); name != PlayerEditResult::Ok)
        return name;
    const int same = findPlayerName(record.Name);
    if (same >= 0 && same != position)
        return PlayerEditResult::DuplicateName;
    if (!IsValidPlayerAddress(record.IPAddress))
        return PlayerEditResult::BadAddress;
    if (record.Port != 0 && (record.Port < kMinPlayerPort || record.Port > kMaxPlayerPort))
        return PlayerEditResult::BadPort;
    QString mac;
    if (!NormalizeMacAddress(record.MacAddress, mac))
        return PlayerEditResult::BadMac;
    record.MacAddress = mac;
    if (!record.Group.isEmpty() && findGroupName(record.Group) < 0)
        return PlayerEditResult::BadPosition;
    return PlayerEditResult::Ok;
}

// A player's or group's name is its folder's name: one plain path component
// without the characters other file systems refuse, of at most kMaxNameBytes.
PlayerEditResult CPlayerGroupEdit::checkName(const QString &name)
{
    if (name.isEmpty())
        return PlayerEditResult::EmptyName;
    if (!IsSafePathComponent(name) || name.contains(QRegularExpression(QStringLiteral("[*?\"<>|]"))))
        return PlayerEditResult::BadName;
    if (name.toUtf8().size() > kMaxNameBytes)
        return PlayerEditResult::LongName;
    return PlayerEditResult::Ok;
}

PlayerEditResult CPlayerGroupEdit::checkGroup(const CGroupRecord &group, int position) const
{
    if (group.Name.trimmed().isEmpty())
        return PlayerEditResult::EmptyName;
    if (group.Name != group.Name.trimmed())
        return PlayerEditResult::BadName;
    if (const PlayerEditResult name = checkName(group.Name); name != PlayerEditResult::Ok)
        return name;
    const int same = findGroupName(group.Name);
    if (same >= 0 && same != position)
        return PlayerEditResult::DuplicateName;
    return PlayerEditResult::Ok;
}

int CPlayerGroupEdit::findPlayerName(const QString &name) const
{
    for (size_t i = 0; i < m_players.size(); ++i) {
        if (m_players[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

int CPlayerGroupEdit::findGroupName(const QString &name) const
{
    for (size_t i = 0; i < m_groups.size(); ++i) {
        if (m_groups[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QStringList CPlayerGroupEdit::holdFolderMoves(const CAppData &data) const
{
    QStringList moved;
    const QString playerParent = playerFoldersOf(data);
    for (const PlayerRecord &player : m_players)
        holdFolderMove(playerParent, m_loadedPlayerNames.value(player.Number), player.Name, moved);
    const QString groupParent = JoinPath(data.GetDataFolder(), QStringLiteral("Group"));
    for (const CGroupRecord &group : m_groups)
        holdFolderMove(groupParent, m_loadedGroupNames.value(group.Number), group.Name, moved);
    return moved;
}

bool CPlayerGroupEdit::dropDisplaysOfRemovedPlayers(CAppData &data) const
{
    CQ9DisplayXml &displays = data.GetDisplayXml();
    std::lock_guard lock(displays.GetLock());
    bool dropped = false;
    for (int position = displays.GetCount() - 1; position >= 0; --position) {
        const qint32 owner = displays.Records()[size_t(position)].Player;
        const bool kept = std::any_of(m_players.begin(), m_players.end(),
                                      [owner](const PlayerRecord &player) { return player.Number == owner; });
        if (!kept) {
            displays.Delete(position);
            dropped = true;
        }
    }
    return !dropped || displays.Save(data.GetDisplayFilePath());
}

void CPlayerGroupEdit::rebuildMembers()
{
    for (CGroupRecord &group : m_groups) {
        group.Players.clear();
        for (const PlayerRecord &player : m_players) {
            if (player.Group.compare(group.Name, Qt::CaseInsensitive) == 0)
                group.Players.append(player.Number);
        }
    }
    m_modified = true;
}
