#include "ops/player_commands.h"

#include "core/clock.h"
#include "core/printf_format.h"
#include "core/setting_ini.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "model/player_checks.h"
#include "player/date_time_command.h"
#include "player/r40_http.h"
#include "player/r40_system_command.h"
#include "player/system_command.h"
#include "player/wake_on_lan.h"
#include "transfer/transfer_status_xml.h"

#include <QRegularExpression>

#include <memory>

namespace {

const char *const kCommandModeTexts[] = {
    "R40 check connect.", "R40 query time.", "R40 set time.", "R40 restart.", "R40 power on.", "R40 power off.",
};

// The request of an HTTP command mode; null for another mode or when the
// request cannot be made.
std::unique_ptr<CR40Request> MakeCommand(int mode)
{
    switch (mode) {
    case COMMAND_MODE_CHECK_CONNECT:
    case COMMAND_MODE_QUERY_TIME: {
        auto command = std::make_unique<CR40SystemCommand>();
        return command->MakeRequest() ? std::move(command) : nullptr;
    }
    case COMMAND_MODE_SET_TIME: {
        auto command = std::make_unique<CDateTimeCommand>();
        return command->MakeRequest(GetSystemTimeUtc()) ? std::move(command) : nullptr;
    }
    case COMMAND_MODE_RESTART:
    case COMMAND_MODE_POWER_OFF: {
        auto command = std::make_unique<CSystemCommand>();
        const int action = mode == COMMAND_MODE_RESTART ? SYSTEM_ACTION_REBOOT : SYSTEM_ACTION_SHUTDOWN;
        return command->MakeRequest(action) ? std::move(command) : nullptr;
    }
    default:
        return nullptr;
    }
}

void TakeSystemReply(const CR40SystemCommand &command, qint32 playerNumber, PlayerCommandReply &reply)
{
    if (command.GetDateTime(reply.playerClock)) {
        reply.playerTime = FormatCommandTime(reply.playerClock);
        if (CTransferStatusXml *status = GetPlayerStatusStore())
            status->SetPlayerDateTime(playerNumber, reply.playerClock);
    }
    reply.playerTimeZone = command.GetTimeZone();
    reply.summerTime = command.GetSummerTime() == 1;
    reply.version = command.GetVersion();
    reply.serial = command.GetSerialNumber();
    reply.macAddress = command.GetMacAddress();
}

// The record keeps what the checked player reports; a list that cannot be
// saved logs why, and the record is written with the next save.
void StoreCheckedFacts(qint32 number, const PlayerCommandReply &reply)
{
    CAppData &data = GetAppData();
    CHarlPlayerXml &players = data.GetPlayerXml();
    if (players.UpdatePlayer(number, [&reply](PlayerRecord &record) {
            return StoreReportedFacts(record, {reply.serial, reply.playerTimeZone, reply.summerTime}, false);
        }))
        players.Save(data.GetPlayerFilePath(), number);
}
} // namespace

const char *CommandModeLogText(int mode)
{
    if (mode < 0 || mode >= int(std::size(kCommandModeTexts)))
        return "R40 maintain start.";
    return kCommandModeTexts[mode];
}

QString FormatCommandTime(const SystemTime &time)
{
    return FormatPrintf(QStringLiteral("%04d/%02d/%02d %02d:%02d:%02d"),
                        {PrintfArg(int(time.year)), PrintfArg(int(time.month)), PrintfArg(int(time.day)),
                         PrintfArg(int(time.hour)), PrintfArg(int(time.minute)), PrintfArg(int(time.second))});
}

CommandOutcome SendR40Command(CR40Http &http, const PlayerRecord &record, int mode, int defaultPort,
                              PlayerCommandReply &reply, const std::atomic<bool> *stop)
{
    const QByteArray name = record.Name.toUtf8();
    R40HttpParam param;
    param.mask = R40_PARAM_PORT;
    param.port = quint16(record.Port >= 1 ? record.Port : defaultPort);
    QString folder;
    GetAppData().MakePlayerFolder(record.Name, folder);
    if (!http.SetParameter(param) || !http.Init()
        || !http.Connect(record.IPAddress, DefaultPlayerUser(),
                         record.Pass.isEmpty() ? DefaultPlayerUser() : record.Pass)) {
        WriteSyslog(LOG_ERR_APP, "[%s] : R40 HTTP Open Error", name.constData());
        return {COMMAND_RESULT_NOT_MADE, kCommandDetailOther};
    }
    // Connecting clears an earlier abort of the client: a stop asked before
    // now is seen here; one asked later stays with the client.
    if (stop && stop->load())
        return MapCommandError(R40_ERROR_STOPPED, record.Name);
    const std::unique_ptr<CR40Request> command = MakeCommand(mode);
    if (!command)
        return MapCommandSendError(0, record.Name);
    WriteSyslog(LOG_DEBUG, "[%s] : R40 send command : %s", name.constData(),
                qUtf8Printable(command->GetQueryString()));
    if (!http.SendCommand(command.get()))
        return MapCommandError(http.GetLastError(), record.Name);
    if (command->GetStatus() == R40_REPLY_SERR) {
        int code = 0;
        command->GetErrorCode(code);
        return MapCommandReply(code, command->GetDescription(), record.Name);
    }
    if (command->GetStatus() == R40_REPLY_NONE)
        return MapCommandSendError(command->GetError(), record.Name);
    if (const auto *system = dynamic_cast<const CR40SystemCommand *>(command.get()))
        TakeSystemReply(*system, record.Number, reply);
    return {COMMAND_RESULT_DONE, 0};
}

bool ParseMacAddress(const QString &text, quint8 (&mac)[6])
{
    const QStringList parts = text.split(QRegularExpression(QStringLiteral("[-:]")));
    if (parts.size() != 6)
        return false;
    for (int i = 0; i < 6; ++i) {
        bool ok = false;
        const uint value = parts[i].toUInt(&ok, 16);
        if (!ok || parts[i].isEmpty() || parts[i].size() > 2 || value > 0xFF)
            return false;
        mac[i] = quint8(value);
    }
    return true;
}

CommandOutcome PowerOnR40(const PlayerRecord &record)
{
    const QByteArray address = record.IPAddress.toUtf8();
    quint8 mac[6] = {};
    if (!ParseMacAddress(record.MacAddress, mac)) {
        WriteSyslog(LOG_ERR_APP, "R40 power on request failed(%d) : address = %s", 0, address.constData());
        return {COMMAND_RESULT_NOT_MADE, kCommandDetailOther};
    }
    CWakeOnLan wakeOnLan;
    if (!wakeOnLan.SendMagicPacket(mac)) {
        WriteSyslog(LOG_ERR_WIN, "R40 power on request failed(%d) : address = %s", wakeOnLan.GetError(),
                    address.constData());
        return {COMMAND_RESULT_NOT_MADE, kCommandDetailOther};
    }
    WriteSyslog(LOG_DEBUG, "R40 power on request : address = %s", address.constData());
    return {COMMAND_RESULT_DONE, 0};
}

CommandOutcome MaintainPlayer(CR40Http &http, int mode, qint32 playerNumber, PlayerCommandReply &reply,
                              const std::atomic<bool> *stop, const PlayerAddress *shown)
{
    std::optional<PlayerRecord> found = GetAppData().GetPlayerXml().CopyPlayer(playerNumber);
    if (!found)
        return {COMMAND_RESULT_FAILED, 0};
    if (shown) {
        found->IPAddress = shown->address;
        found->Port = shown->port;
        found->Pass = shown->password;
        found->MacAddress = shown->macAddress;
    }
    const PlayerRecord &record = *found;
    switch (mode) {
    case COMMAND_MODE_CHECK_CONNECT:
    case COMMAND_MODE_QUERY_TIME:
    case COMMAND_MODE_SET_TIME:
    case COMMAND_MODE_RESTART:
    case COMMAND_MODE_POWER_OFF: {
        const CommandOutcome outcome = SendR40Command(http, record, mode, GetSettingIni().Options().HttpPort, reply, stop);
        http.Close();
        if (mode == COMMAND_MODE_CHECK_CONNECT && outcome.result == COMMAND_RESULT_DONE)
            StoreCheckedFacts(record.Number, reply);
        return outcome;
    }
    case COMMAND_MODE_POWER_ON:
        return PowerOnR40(record);
    default:
        WriteSyslog(LOG_ERR_APP, "Invalid maintain mode. : mode = %d", mode);
        return {COMMAND_RESULT_NOT_MADE, kCommandDetailOther};
    }
}
