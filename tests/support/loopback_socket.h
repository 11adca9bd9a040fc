#pragma once
// Sockets bound to a port of their own on a loopback address, held for as
// long as the object lives, so no other test or process running beside this
// one can take the port, as one merely seen free a moment ago could be.

#include <QByteArray>
#include <QString>

class BoundSocket {
public:
    // type: SOCK_STREAM or SOCK_DGRAM.
    BoundSocket(int type, const QString &address);
    ~BoundSocket();
    BoundSocket(const BoundSocket &) = delete;
    BoundSocket &operator=(const BoundSocket &) = delete;

    // 0 when no port could be bound.
    quint16 port() const { return m_port; }

protected:
    int m_fd = -1;

private:
    quint16 m_port = 0;
};

// A port where every connection is refused: a TCP socket bound there that
// never listens.
class RefusingPort : public BoundSocket {
public:
    explicit RefusingPort(const QString &address);
};

// A UDP socket on 127.0.0.1.
class UdpReceiver : public BoundSocket {
public:
    UdpReceiver();
    // The next datagram, or an empty array when none came within timeoutMs.
    QByteArray receive(int timeoutMs);
};
