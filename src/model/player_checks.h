#pragma once
// Value rules of a player record as the operator types it: the address the
// program connects to, the HTTP port and the Wake-on-LAN MAC address; and
// what the record keeps of what the player reports of itself.

#include <QString>

struct PlayerRecord;

constexpr int kMinPlayerPort = 1;
constexpr int kMaxPlayerPort = 65535;

// A dotted IPv4 address ("192.168.0.10": four decimal parts 0-255) or a host
// name (labels of letters, digits and '-', 1-63 characters each, not
// beginning or ending with '-', 253 characters in all).
bool IsValidPlayerAddress(const QString &address);

// Six hexadecimal bytes separated by '-' or ':' ("00-1b-2c-3d-4e-f5",
// "00:1B:2C:3D:4E:F5") become the stored form "00-1B-2C-3D-4E-F5", which the
// transfer worker and the power commands split at '-'. An empty text stays
// empty (the player is not woken). False for anything else.
bool NormalizeMacAddress(const QString &text, QString &normalized);

// What a player reports of itself and its record keeps, so that a later
// status query tells a changed player from the one it knew.
struct ReportedPlayerFacts {
    QString serial;
    QString timeZone;
    bool summerTime = false;
};

// A time zone as records keep it: "GMT -9:00" is widened to "GMT -09:00";
// other texts stay.
QString NormalizedTimeZone(const QString &reported);

// Stores the facts in the record, the time zone as records keep it. With
// onlyUnknown a record that knows its serial number or its time zone
// already stays as it is. True when the record changed.
bool StoreReportedFacts(PlayerRecord &record, const ReportedPlayerFacts &facts, bool onlyUnknown);
