#include "transfer/dlk_ping.h"

#include "player/icmp_ping.h"

namespace {

class IcmpPing final : public IDlkPing {
public:
    bool Open() override { return m_ping.Open(); }
    bool Ping(const QString &address, quint32 timeoutMs) override { return m_ping.Ping(address, timeoutMs); }
    void Close() override { m_ping.Close(); }

private:
    CIcmpPing m_ping;
};

} // namespace

std::unique_ptr<IDlkPing> CreateIcmpPing()
{
    return std::make_unique<IcmpPing>();
}
