#include "support/loopback_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

BoundSocket::BoundSocket(int type, const QString &address)
    : m_fd(::socket(AF_INET, type | SOCK_CLOEXEC, 0))
{
    sockaddr_in where {};
    where.sin_family = AF_INET;
    socklen_t size = sizeof where;
    if (m_fd >= 0 && ::inet_pton(AF_INET, address.toLatin1().constData(), &where.sin_addr) == 1
        && ::bind(m_fd, reinterpret_cast<const sockaddr *>(&where), size) == 0
        && ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&where), &size) == 0)
        m_port = ntohs(where.sin_port);
}

BoundSocket::~BoundSocket()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

RefusingPort::RefusingPort(const QString &address)
    : BoundSocket(SOCK_STREAM, address)
{
}

UdpReceiver::UdpReceiver()
    : BoundSocket(SOCK_DGRAM, QStringLiteral("127.0.0.1"))
{
}

QByteArray UdpReceiver::receive(int timeoutMs)
{
    pollfd waiting {m_fd, POLLIN, 0};
    if (::poll(&waiting, 1, timeoutMs) <= 0)
        return QByteArray();
    char buffer[512];
    const ssize_t got = ::recv(m_fd, buffer, sizeof buffer, 0);
    return got > 0 ? QByteArray(buffer, int(got)) : QByteArray();
}
