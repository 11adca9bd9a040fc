#include "player/r40_com_command.h"

namespace {

bool isHexData(const QString &text)
{
    if (text.size() % 2 != 0 || text.size() > CR40ComCommand::kMaxHexDigits)
        return false;
    for (const QChar c : text) {
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && !(c >= QLatin1Char('a') && c <= QLatin1Char('f')) && !(c >= QLatin1Char('A') && c <= QLatin1Char('F')))
            return false;
    }
    return true;
}

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
    if (sendHex.isEmpty() || !isHexData(sendHex) || !isHexData(responseHex) || !isComTarget(target))
        return FailRequest();
    AddParameter(QStringLiteral("txd"), sendHex);
    AddParameter(QStringLiteral("rxd"), responseHex);
    AddParameter(QStringLiteral("port"), target);
    return true;
}
