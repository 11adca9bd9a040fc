#pragma once
// ICMP echo to a player with the payload "HARL-PING". A raw ICMP socket is
// used where the process may open one (root); otherwise an ICMP datagram
// socket, which the kernel allows to the groups in net.ipv4.ping_group_range.

#include <QString>

class CIcmpPing {
public:
    // Last errors of Ping: no echo came back within the time-out; not open.
    static constexpr quint32 kErrorTimedOut = 11010;
    static constexpr quint32 kErrorNotOpen = 6;

    CIcmpPing();
    ~CIcmpPing();
    CIcmpPing(const CIcmpPing &) = delete;
    CIcmpPing &operator=(const CIcmpPing &) = delete;

    // False with the last error (5 when neither socket kind is permitted).
    bool Open();
    // One echo to a dotted IPv4 address; true when its reply came within
    // timeoutMs. False with last error 87 for a bad address, kErrorTimedOut
    // without a reply, kErrorNotOpen when not open.
    bool Ping(const QString &address, quint32 timeoutMs);
    void Close();

    bool IsOpen() const { return m_socket >= 0; }
    // True for a raw socket, false for a datagram socket.
    bool IsRaw() const { return m_raw; }

private:
    bool sendEcho(quint32 address, quint16 sequence);
    bool isOurReply(const unsigned char *data, qsizetype size, quint16 sequence) const;

    int m_socket = -1;
    bool m_raw = false;
    quint16 m_identifier = 0;
    quint16 m_sequence = 0;
};
