#include "platform/system/udp_socket.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <cstring>

KELVANE_SETTINGS_SANDBOX();

using platform::CUdpSocket;

TEST(UdpSocket, LoopbackRoundTripWithSender) {
    CUdpSocket a, b;
    ASSERT_TRUE(a.Open(0, "127.0.0.1"));
    ASSERT_TRUE(b.Open(0, "127.0.0.1"));
    EXPECT_TRUE(a.EnableBroadcast());
    ASSERT_NE(b.LocalPort(), 0);
    ASSERT_TRUE(a.SendTo("127.0.0.1", b.LocalPort(), "ping", 4));
    char buf[16] = {};
    std::string from;
    WORD port = 0;
    EXPECT_EQ(b.Receive(buf, sizeof buf, 2000, &from, &port), 4);
    EXPECT_EQ(std::string(buf, 4), "ping");
    EXPECT_EQ(from, "127.0.0.1");
    EXPECT_EQ(port, a.LocalPort());
}

TEST(UdpSocket, TimeOutsCutDatagramsAndErrors) {
    CUdpSocket a, b;
    ASSERT_TRUE(a.Open(0, "127.0.0.1"));
    ASSERT_TRUE(b.Open(0, "127.0.0.1"));
    char buf[8];
    EXPECT_EQ(b.Receive(buf, sizeof buf, 0, nullptr, nullptr), CUdpSocket::kTimedOut);
    // A datagram longer than the buffer is cut to it; nothing is written beyond.
    char big[600];
    std::memset(big, 'x', sizeof big);
    ASSERT_TRUE(a.SendTo("127.0.0.1", b.LocalPort(), big, sizeof big));
    char guarded[12];
    std::memset(guarded, 0, sizeof guarded);
    EXPECT_EQ(b.Receive(guarded, 8, 2000), 8);
    EXPECT_EQ(guarded[8], 0);

    EXPECT_FALSE(a.SendTo("not an address", 1, "x", 1));
    CUdpSocket closed;
    EXPECT_FALSE(closed.SendTo("127.0.0.1", 9, "x", 1));
    EXPECT_EQ(closed.Receive(buf, sizeof buf, 0), CUdpSocket::kError);
    EXPECT_EQ(closed.LocalPort(), 0);
    EXPECT_FALSE(closed.EnableBroadcast());
    // A port already taken on the same address cannot be bound again.
    CUdpSocket clash;
    EXPECT_FALSE(clash.Open(a.LocalPort(), "127.0.0.1"));
    EXPECT_FALSE(clash.IsOpen());
    EXPECT_FALSE(clash.Open(0, "999.1.1.1"));
}
