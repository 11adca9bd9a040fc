#pragma once
// The test send of the control-event editor: the bytes of a COM or display
// control sent once to a player ("COMC") over an HTTP client, and what came
// back. Runs on the editor's worker thread; touches no window.

#include <QString>
#include <QtGlobal>

class CR40Http;
struct PlayerRecord;

// What the editor's end message carries: success, or the detail of the
// failure (0 when the operator stopped it) and the received data.
struct ControlTestOutcome {
    bool success = false;
    quint32 detail = 0;
    QString received; // hexadecimal digits
};

// The detail of a test send the client could not complete (its last error).
quint32 MapControlTestError(quint32 error, const QString &playerName);

// Sends the COMC command with the two parameters (hexadecimal digits) to the
// target (1 COM1, 2 COM2, 100 + n display n) of the player, and closes the
// client. A client that cannot be opened gives detail 3000.
ControlTestOutcome SendControlTest(CR40Http &http, const PlayerRecord &player, const QString &sendHex,
                                   const QString &responseHex, int target, int defaultPort);
