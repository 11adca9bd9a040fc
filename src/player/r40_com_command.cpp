#include "player/r40_com_command.h"

#include "model/property_checks.h"

namespace {

bool isComTarget(int target)
{
    return target == 1 || target == 2 || (target >= kComTargetDisplayBase && target < kComTargetDisplayBase + 100);
}

} // namespace

CR40ComCommand::CR40ComCommand()
    : CR40Request(QStringLiteral("COMC"))
{
}

std::unique_ptr<CR40Request> CR40ComCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CR40ComCommand(*this));
}

bool CR40ComCommand::MakeRequest(const QString &sendHex, const QString &responseHex, int target)
{
    BeginRequest(QStringLiteral("COMC"));
    if (sendHex.isEmpty() || !IsHexByteText(sendHex, kMaxHexDigits) || !IsHexByteText(responseHex, kMaxHexDigits)
        || !isComTarget(target))
        return FailRequest();
    AddParameter(QStringLiteral("txd"), sendHex);
    AddParameter(QStringLiteral("rxd"), responseHex);
    AddParameter(QStringLiteral("port"), target);
    return true;
}
