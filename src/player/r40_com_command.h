#pragma once
// "COMC": sends bytes through a serial port or to a display of the player and
// returns what came back.

#include "player/r40_request.h"

// Targets: 1 COM1, 2 COM2, 100 + n display n.
constexpr int kComTargetDisplayBase = 100;

class CR40ComCommand : public CR40Request {
public:
    static constexpr int kMaxHexDigits = 128;

    CR40ComCommand();
    std::unique_ptr<CR40Request> Clone() const override;

    // The data to send and the expected response as hexadecimal digits
    // without blanks (two per byte, at most 128); the response may be empty.
    bool MakeRequest(const QString &sendHex, const QString &responseHex, int target);
    // The received data as hexadecimal digits.
    QString GetReceivedData() const { return GetResultString(); }
};
