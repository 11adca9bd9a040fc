#pragma once
// Single maintenance commands addressed to one player without the transfer
// manager: connection check, clock query and setting, restart, power on
// (Wake-on-LAN) and power off. The command runs on a worker thread of the
// frame through the shared HTTP client; its outcome is the pair (result,
// detail) of player_protocol.h.

#include "core/win_types.h"
#include "ops/player_protocol.h"

#include <QString>

#include <atomic>

class CR40Http;
struct PlayerRecord;

enum CommandMode : int {
    COMMAND_MODE_CHECK_CONNECT = 0,
    COMMAND_MODE_QUERY_TIME = 1,
    COMMAND_MODE_SET_TIME = 2,
    COMMAND_MODE_RESTART = 3,
    COMMAND_MODE_POWER_ON = 4,
    COMMAND_MODE_POWER_OFF = 5,
};

// What a connection check or clock query learnt of the player.
struct PlayerCommandReply {
    QString version;
    QString serial;
    QString macAddress;
    QString playerTime;     // "%04d/%02d/%02d %02d:%02d:%02d"
    QString playerTimeZone;
    bool summerTime = false;
    SystemTime playerClock;
};

// The log line of a command's start ("R40 maintain start." for another mode).
const char *CommandModeLogText(int mode);
// "%04d/%02d/%02d %02d:%02d:%02d" of a time.
QString FormatCommandTime(const SystemTime &time);

// The HTTP command of modes 0, 1, 2, 3 and 5 to the player; defaultPort is
// used when the record has none. Fills reply on success of modes 0 and 1.
// A stop asked before the client is connected (stop set) ends it as stopped.
CommandOutcome SendR40Command(CR40Http &http, const PlayerRecord &record, int mode, int defaultPort,
                              PlayerCommandReply &reply, const std::atomic<bool> *stop = nullptr);
// The Wake-on-LAN packet of mode 4 to the record's MAC address; a MAC
// address that does not read as six hexadecimal bytes is not sent (4, 3000).
CommandOutcome PowerOnR40(const PlayerRecord &record);
// Reads "00-11-22-33-44-55" or "00:11:22:33:44:55"; false for anything else.
bool ParseMacAddress(const QString &text, quint8 (&mac)[6]);

// Where a command reaches its player when not as stored: the player page
// addresses a player as it shows it, before its changes are saved.
struct PlayerAddress {
    QString address;
    int port = 0; // 0: the default port
    QString password;
    QString macAddress; // where power-on sends its packet
};

// The worker body: finds the player (absent: 8, 0), runs the command of the
// mode and closes the client after an HTTP command; with shown, the player
// is reached at that address, port, password and MAC address. A connection
// check that succeeds stores what the player reports of itself (serial
// number, time zone, summer time) in its record and saves the player list,
// so that a later status query finds only a real change.
CommandOutcome MaintainPlayer(CR40Http &http, int mode, qint32 playerNumber, PlayerCommandReply &reply,
                              const std::atomic<bool> *stop = nullptr, const PlayerAddress *shown = nullptr);
