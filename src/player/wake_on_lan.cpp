#include "player/wake_on_lan.h"

#include "core/last_error.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

namespace {

constexpr char kBroadcastAddress[] = "255.255.255.255";

struct Destination {
    std::mutex mutex;
    QString address;
    quint16 port = 0;
};

Destination &destinationOverride()
{
    static Destination destination;
    return destination;
}

} // namespace

QByteArray CWakeOnLan::MakeMagicPacket(const quint8 (&mac)[6])
{
    QByteArray packet(6, char(0xFF));
    for (int i = 0; i < 16; ++i)
        packet.append(reinterpret_cast<const char *>(mac), 6);
    return packet;
}

void CWakeOnLan::SetDestinationOverride(const QString &address, quint16 port)
{
    Destination &destination = destinationOverride();
    std::lock_guard<std::mutex> lock(destination.mutex);
    destination.address = address;
    destination.port = port;
}

void CWakeOnLan::ClearDestinationOverride()
{
    SetDestinationOverride(QString(), 0);
}

bool CWakeOnLan::SendMagicPacket(const quint8 (&mac)[6], quint16 port)
{
    QString address = QString::fromLatin1(kBroadcastAddress);
    {
        Destination &destination = destinationOverride();
        std::lock_guard<std::mutex> lock(destination.mutex);
        if (!destination.address.isEmpty()) {
            address = destination.address;
            port = destination.port;
        }
    }
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    if (::inet_pton(AF_INET, address.toLatin1().constData(), &to.sin_addr) != 1) {
        m_error = EINVAL;
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    const QByteArray packet = MakeMagicPacket(mac);
    const bool sent = fd >= 0 && ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0
        && ::sendto(fd, packet.constData(), size_t(packet.size()), 0, reinterpret_cast<const sockaddr *>(&to), sizeof to)
            == packet.size();
    m_error = sent ? 0 : errno;
    if (fd >= 0)
        ::close(fd);
    if (!sent)
        SetLastErrorFromErrno(m_error);
    return sent;
}
