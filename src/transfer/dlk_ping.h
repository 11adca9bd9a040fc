#pragma once
// The reachability test a transfer worker makes before it opens HTTP to a
// player: one ICMP echo handle per job. Behind this interface so that a test
// can make a player on a loopback address look unreachable.

#include <QString>

#include <functional>
#include <memory>

class IDlkPing {
public:
    virtual ~IDlkPing() = default;
    // False with the last error when no echo handle can be opened.
    virtual bool Open() = 0;
    // True when the address answered one echo within timeoutMs.
    virtual bool Ping(const QString &address, quint32 timeoutMs) = 0;
    virtual void Close() = 0;
};

// Makes the echo handle of one job.
using DlkPingFactory = std::function<std::unique_ptr<IDlkPing>()>;

// The ICMP echo of the player module (CIcmpPing).
std::unique_ptr<IDlkPing> CreateIcmpPing();
