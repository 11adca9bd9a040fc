// ICMP echo on loopback and the Wake-on-LAN packet as a loopback receiver
// sees it.

#include "core/last_error.h"
#include "player/icmp_ping.h"
#include "player/wake_on_lan.h"
#include "support/loopback_socket.h"

#include <gtest/gtest.h>

namespace {

TEST(IcmpPingTest, LoopbackAnswersAnEcho)
{
    CIcmpPing ping;
    if (!ping.Open())
        GTEST_SKIP() << "neither a raw nor a datagram ICMP socket is permitted here (last error " << GetLastError() << ")";
    EXPECT_TRUE(ping.Ping(QStringLiteral("127.0.0.1"), 3000));
    EXPECT_TRUE(ping.Ping(QStringLiteral("127.0.0.1"), 3000)); // the next sequence number
    EXPECT_FALSE(ping.Ping(QStringLiteral("player-1"), 100));
    EXPECT_EQ(GetLastError(), quint32(ERROR_INVALID_PARAMETER));
    ping.Close();
    EXPECT_FALSE(ping.Ping(QStringLiteral("127.0.0.1"), 100));
    EXPECT_EQ(GetLastError(), CIcmpPing::kErrorNotOpen);
}

TEST(IcmpPingTest, APingerPassesOverRepliesToAnother)
{
    CIcmpPing first;
    CIcmpPing second;
    if (!first.Open() || !second.Open())
        GTEST_SKIP() << "no ICMP socket permitted here";
    // A raw socket also queues the reply to the first pinger, whose sequence
    // number is the same as the second's first one.
    EXPECT_TRUE(first.Ping(QStringLiteral("127.0.0.2"), 3000));
    EXPECT_TRUE(second.Ping(QStringLiteral("127.0.0.2"), 3000));
}

TEST(WakeOnLanTest, MagicPacketReachesTheInjectedDestination)
{
    UdpReceiver receiver;
    CWakeOnLan::SetDestinationOverride(QStringLiteral("127.0.0.1"), receiver.port());
    const quint8 mac[6] = {0x00, 0x1B, 0x2C, 0x3D, 0x4E, 0xF5};
    CWakeOnLan sender;
    const bool sent = sender.SendMagicPacket(mac);
    CWakeOnLan::ClearDestinationOverride();
    ASSERT_TRUE(sent) << sender.GetError();

    const QByteArray packet = receiver.receive(3000);
    ASSERT_EQ(packet.size(), CWakeOnLan::kPacketSize);
    EXPECT_EQ(packet.left(6), QByteArray(6, char(0xFF)));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(packet.mid(6 + 6 * i, 6), QByteArray::fromHex("001B2C3D4EF5")) << i;
}

TEST(WakeOnLanTest, BadDestinationIsReported)
{
    CWakeOnLan::SetDestinationOverride(QStringLiteral("not an address"), 9);
    const quint8 mac[6] = {};
    CWakeOnLan sender;
    EXPECT_FALSE(sender.SendMagicPacket(mac));
    CWakeOnLan::ClearDestinationOverride();
    EXPECT_NE(sender.GetError(), 0);
}

} // namespace
