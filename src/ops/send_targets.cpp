#include "ops/send_targets.h"

#include "core/app_ini.h"
#include "core/message_box.h"
#include "model/app_data.h"

namespace {

constexpr quint32 kMsgNoPreviewPlayer = 5263;
constexpr quint32 kMsgNoCommunication = 5276;
constexpr quint32 kMsgGroupWithoutPlayers = 5294;
constexpr quint32 kMsgGroupNoCommunication = 5275;

bool Refuse(QObject *owner, quint32 id)
{
    ShowMessage(owner, id, kTitleCaption, MB_OK | MB_ICONWARNING);
    return false;
}

} // namespace

bool SetPreviewTarget(QObject *owner, QList<qint32> &targets)
{
    const std::optional<PlayerRecord> record = GetAppData().GetPlayerXml().CopyPlayer(GetAppIni().GetLastPreviewSet());
    if (!record)
        return Refuse(owner, kMsgNoPreviewPlayer);
    if (record->NoComm)
        return Refuse(owner, kMsgNoCommunication);
    targets = {record->Number};
    return true;
}

bool SetTargetPlayers(QObject *owner, bool wholeGroup, const QString &group, qint32 selectedPlayer,
                      QList<qint32> &targets)
{
    if (!wholeGroup) {
        const std::optional<PlayerRecord> record = GetAppData().GetPlayerXml().CopyPlayer(selectedPlayer);
        if (!record)
            return false;
        if (record->NoComm)
            return Refuse(owner, kMsgNoCommunication);
        targets = {record->Number};
        return true;
    }
    const CQ9GroupXml &groups = GetAppData().GetGroupXml();
    CGroupRecord found;
    const int position = groups.FindGroupByName(group);
    if (position < 0 || !groups.GetGroup(position, found) || found.Players.isEmpty())
        return Refuse(owner, kMsgGroupWithoutPlayers);
    QList<qint32> members;
    for (qint32 number : found.Players) {
        const std::optional<PlayerRecord> record = GetAppData().GetPlayerXml().CopyPlayer(number);
        if (record && !record->NoComm)
            members.append(number);
    }
    if (members.isEmpty())
        return Refuse(owner, kMsgGroupNoCommunication);
    targets = members;
    return true;
}
