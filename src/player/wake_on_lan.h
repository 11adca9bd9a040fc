#pragma once
// Wake-on-LAN: the magic packet (six bytes 0xFF, then the MAC address sixteen
// times, 102 bytes) sent by UDP broadcast to 255.255.255.255.

#include <QByteArray>
#include <QString>

class CWakeOnLan {
public:
    static constexpr quint16 kDefaultPort = 9;
    static constexpr int kPacketSize = 102;

    // Sends the magic packet for the six MAC bytes to UDP port port of the
    // broadcast address. False with the socket's error (errno; GetError).
    bool SendMagicPacket(const quint8 (&mac)[6], quint16 port = kDefaultPort);
    int GetError() const { return m_error; }

    static QByteArray MakeMagicPacket(const quint8 (&mac)[6]);

    // Sends every later magic packet to address and port instead of the
    // broadcast, so that tests can receive it on loopback.
    static void SetDestinationOverride(const QString &address, quint16 port);
    static void ClearDestinationOverride();

private:
    int m_error = 0;
};
