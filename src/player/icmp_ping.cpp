#include "player/icmp_ping.h"

#include "core/last_error.h"
#include "core/syslog.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

constexpr char kPayload[] = "HARL-PING";
constexpr qsizetype kPayloadSize = sizeof(kPayload) - 1;
constexpr qsizetype kEchoSize = qsizetype(sizeof(icmphdr)) + kPayloadSize;

quint16 checksum(const unsigned char *data, qsizetype size)
{
    quint32 sum = 0;
    for (qsizetype i = 0; i + 1 < size; i += 2)
        sum += quint32(data[i] << 8 | data[i + 1]);
    if (size % 2)
        sum += quint32(data[size - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

// Raw sockets see every echo reply of the host: each pinger tags its own.
quint16 nextIdentifier()
{
    static std::atomic<quint16> counter {quint16(::getpid())};
    return counter.fetch_add(1);
}

} // namespace

CIcmpPing::CIcmpPing()
    : m_identifier(nextIdentifier())
{
}

CIcmpPing::~CIcmpPing()
{
    Close();
}

bool CIcmpPing::Open()
{
    Close();
    m_socket = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    m_raw = m_socket >= 0;
    if (m_socket < 0)
        m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (m_socket < 0) {
        const int error = errno;
        SetLastErrorFromErrno(error == EPERM ? EACCES : error);
        WriteSyslog(LOG_ERR_WIN, "CIcmpPing::Open : socket Error : errno = %d (no raw or datagram ICMP socket permitted)", error);
        return false;
    }
    return true;
}

void CIcmpPing::Close()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
    m_raw = false;
}

bool CIcmpPing::Ping(const QString &address, quint32 timeoutMs)
{
    if (!IsOpen()) {
        SetLastError(kErrorNotOpen);
        return false;
    }
    in_addr target {};
    if (::inet_pton(AF_INET, address.toLatin1().constData(), &target) != 1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const quint16 sequence = ++m_sequence;
    if (!sendEcho(target.s_addr, sequence))
        return false;

    QElapsedTimer timer;
    timer.start();
    unsigned char buffer[1500];
    for (;;) {
        const qint64 left = qint64(timeoutMs) - timer.elapsed();
        pollfd waiting {m_socket, POLLIN, 0};
        if (left <= 0 || ::poll(&waiting, 1, int(left)) <= 0)
            break;
        sockaddr_in from {};
        socklen_t fromSize = sizeof from;
        const ssize_t got = ::recvfrom(m_socket, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr *>(&from), &fromSize);
        if (got > 0 && from.sin_addr.s_addr == target.s_addr && isOurReply(buffer, got, sequence))
            return true;
    }
    SetLastError(kErrorTimedOut);
    return false;
}

bool CIcmpPing::sendEcho(quint32 address, quint16 sequence)
{
    unsigned char packet[kEchoSize] = {};
    icmphdr header {};
    header.type = ICMP_ECHO;
    header.un.echo.id = htons(m_identifier);
    header.un.echo.sequence = htons(sequence);
    std::memcpy(packet, &header, sizeof header);
    std::memcpy(packet + sizeof header, kPayload, size_t(kPayloadSize));
    const quint16 sum = checksum(packet, kEchoSize);
    packet[2] = quint8(sum >> 8);
    packet[3] = quint8(sum & 0xFF);

    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    if (::sendto(m_socket, packet, sizeof packet, 0, reinterpret_cast<const sockaddr *>(&to), sizeof to) != kEchoSize) {
        SetLastErrorFromErrno(errno);
        return false;
    }
    return true;
}

// An echo reply with our sequence number and payload; on a raw socket also
// with our identifier (a datagram socket's identifier is the kernel's).
bool CIcmpPing::isOurReply(const unsigned char *data, qsizetype size, quint16 sequence) const
{
    if (m_raw) {
        if (size < qsizetype(sizeof(iphdr)))
            return false;
        const qsizetype headerSize = (data[0] & 0x0F) * 4;
        data += headerSize;
        size -= headerSize;
    }
    if (size < kEchoSize)
        return false;
    icmphdr header {};
    std::memcpy(&header, data, sizeof header);
    return header.type == ICMP_ECHOREPLY && ntohs(header.un.echo.sequence) == sequence
        && (!m_raw || ntohs(header.un.echo.id) == m_identifier)
        && std::memcmp(data + sizeof header, kPayload, size_t(kPayloadSize)) == 0;
}
