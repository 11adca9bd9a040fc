#pragma once
// A port on a loopback address where every connection is refused: a TCP
// socket bound there that never listens. Held for as long as the object
// lives, the port cannot be taken by another test or process running beside
// this one, as a port that was merely seen free a moment ago could be.

#include <QString>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class RefusingPort {
public:
    explicit RefusingPort(const QString &address)
        : m_fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_in where {};
        where.sin_family = AF_INET;
        socklen_t size = sizeof where;
        if (m_fd >= 0 && ::inet_pton(AF_INET, address.toLatin1().constData(), &where.sin_addr) == 1
            && ::bind(m_fd, reinterpret_cast<const sockaddr *>(&where), size) == 0
            && ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&where), &size) == 0)
            m_port = ntohs(where.sin_port);
    }
    ~RefusingPort()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    RefusingPort(const RefusingPort &) = delete;
    RefusingPort &operator=(const RefusingPort &) = delete;

    // 0 when no port could be bound.
    quint16 port() const { return m_port; }

private:
    int m_fd = -1;
    quint16 m_port = 0;
};
