#pragma once
// One managed player as the player list ("Player.xml") keeps it. Copied by
// value: the transfer engine copies a record under the player-table lock and
// writes it back the same way.

#include "core/win_types.h"

#include <QString>

// Values of PlayerRecord::Status.
enum PlayerStatus : qint32 {
    PLAYER_STATUS_NONE = 0,      // never configured
    PLAYER_STATUS_OK = 1,        // the last configuration was accepted
    PLAYER_STATUS_ERROR = 2,     // the last configuration failed (ErrCode says why)
    PLAYER_STATUS_PENDING = 3,   // a configuration is on its way
};

// Values of PlayerRecord::Orientation.
enum PlayerOrientation : qint32 {
    ORIENTATION_LANDSCAPE = 0,
    ORIENTATION_PORTRAIT = 1,
};

struct PlayerRecord {
    qint32 Number = 0;          // player number, unique in the list
    QString Name;               // shown name; also the name of the player's local folder
    bool NoComm = false;        // true: the operator set this player not to communicate

    // Network configuration sent to the player.
    QString IPAddress;
    QString HostName;
    bool Dhcp = false;
    QString SubnetMask;
    QString Gateway;
    QString Dns1;
    QString Dns2;
    QString MacAddress;         // "00-11-22-33-44-55"
    QString Serial;             // serial number reported by the player

    QString Group;              // name of the player's group (empty: none)
    qint32 SetupNo = 0;         // number of the named detailed setup (folder below Setup)
    qint32 DispTotalX = 1;      // displays side by side
    qint32 DispTotalY = 1;      // displays one above the other

    qint32 ResolutionId = 0;    // id in the screen-resolution table
    QString Resolution;         // "%dx%d" total size, as the player reports it
    qint32 Orientation = ORIENTATION_LANDSCAPE;
    QString TimeZone;           // "GMT +09:00"
    bool SummerTime = false;

    SystemTime FileTime;        // when the player's setup file was last written

    // The "Set/" group: access and configuration state.
    QString User;               // HTTP user; empty means the default player user
    QString Pass;               // HTTP password; empty means the default credential
    qint32 Port = 0;            // HTTP port; 0 or less: the system default
    qint32 Status = PLAYER_STATUS_NONE;
    qint32 ErrCode = 0;

    friend bool operator==(const PlayerRecord &, const PlayerRecord &) = default;
};
