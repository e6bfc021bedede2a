#include "pivora/framework/vanter_ping.h"
#include "platform/system/udp_socket.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

KELVANE_SETTINGS_SANDBOX();

namespace {

// A device on 127.0.0.1: waits for one probe, checks it and sends its answers to the sender.
class Responder {
public:
    explicit Responder(std::vector<std::string> answers) : m_answers(std::move(answers)) {
        EXPECT_TRUE(m_socket.Open(0, "127.0.0.1"));
        m_thread = std::thread([this] {
            char buf[600];
            std::string from;
            WORD port = 0;
            int n = m_socket.Receive(buf, sizeof buf, 3000, &from, &port);
            if (n < 0)
                return;
            m_probe.assign(buf, size_t(n));
            for (const std::string& a : m_answers)
                m_socket.SendTo(from, port, a.data(), a.size());
        });
    }
    ~Responder() { m_thread.join(); }
    WORD Port() const { return m_socket.LocalPort(); }
    std::string Probe() {
        m_thread.join();
        m_thread = std::thread([] {});
        return m_probe;
    }

private:
    platform::CUdpSocket m_socket;
    std::vector<std::string> m_answers;
    std::string m_probe;
    std::thread m_thread;
};

// Probes go to the responder on loopback; nothing leaves the machine.
class LoopbackNetwork {
public:
    explicit LoopbackNetwork(WORD probePort, WORD localPort = 0) {
        PING_NETWORK n;
        n.broadcastAddress = "127.0.0.1";
        n.probePort = probePort;
        n.localPort = localPort;
        n.useLocalPort = true;
        VanterPing::OverrideNetwork(&n);
    }
    ~LoopbackNetwork() { VanterPing::OverrideNetwork(nullptr); }
};

std::string VantercutReply(const std::string& address, const std::string& name, size_t size) {
    std::string r(size, '\0');
    unsigned a, b, c, d;
    sscanf(address.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    r[5] = char(a);
    r[6] = char(b);
    r[7] = char(c);
    r[8] = char(d);
    for (size_t i = 0; i < name.size() && 19 + i < size; ++i)
        r[19 + i] = name[i];
    return r;
}

} // namespace

TEST(VanterPing, TextRepliesWithThreeFieldsBecomeRecords) {
    Responder device({"  Vanter Yrd 60 ;\tserial 77 ; 192.168.1.20  ", "one field only", "a;b;c;",
                      "a;b", std::string("x;y;z\0;ignored after the zero", 29)});
    LoopbackNetwork net(device.Port());
    VanterPing ping(PING_DEVICE_YRD);
    ASSERT_TRUE(ping.ConnectToBroadcast());
    ASSERT_TRUE(ping.Ping());
    EXPECT_EQ(device.Probe(), "PingForVanterYrd");
    ASSERT_EQ(ping.CountInfo(), 3);
    EXPECT_EQ(ping.GetInfoAt(0)->first, "Vanter Yrd 60");
    EXPECT_EQ(ping.GetInfoAt(0)->second, "serial 77");
    EXPECT_EQ(ping.GetInfoAt(0)->third, "192.168.1.20");
    EXPECT_EQ(ping.GetInfoAt(1)->third, "c");
    EXPECT_EQ(ping.GetInfoAt(2)->third, "z");
    EXPECT_EQ(ping.GetInfoAt(-1), nullptr);
    EXPECT_EQ(ping.GetInfoAt(ping.CountInfo()), nullptr);
    ping.DisconnectFromBroadcast();
    EXPECT_FALSE(ping.IsConnected());
}

TEST(VanterPing, BinaryRepliesGiveNameAndAddressOfEveryDevice) {
    Responder device({VantercutReply("10.0.0.7", "CUTTER-A", 40),
                      VantercutReply("10.0.0.8", "A-NAME-OF-TWENTY-TWO!", 41),
                      VantercutReply("10.0.0.7", "CUTTER-A2", 40),
                      std::string("\x01\x02\x03", 3), // too short to hold an address
                      VantercutReply("10.0.0.9", "", 9)});
    LoopbackNetwork net(device.Port());
    VanterPing ping(PING_DEVICE_VANTERCUT);
    ASSERT_TRUE(ping.ConnectToBroadcast());
    ASSERT_TRUE(ping.Ping());
    EXPECT_EQ(device.Probe(), std::string("\xFF\x01\x01\x02", 4));
    ASSERT_EQ(ping.CountInfo(), 3);
    // A device that answers twice is listed once, with its later answer.
    EXPECT_EQ(ping.GetInfoAt(0)->first, "CUTTER-A2");
    EXPECT_EQ(ping.GetInfoAt(0)->second, "");
    EXPECT_EQ(ping.GetInfoAt(0)->third, "10.0.0.7");
    // A name filling bytes 19 to 40 is cut to the 16 bytes 19 to 34.
    EXPECT_EQ(ping.GetInfoAt(1)->first, "A-NAME-OF-TWENTY");
    EXPECT_EQ(ping.GetInfoAt(1)->third, "10.0.0.8");
    EXPECT_EQ(ping.GetInfoAt(2)->first, "");
    EXPECT_EQ(ping.GetInfoAt(2)->third, "10.0.0.9");
    ping.DisconnectFromBroadcast();
}

TEST(VanterPing, FullDatagramsAndSilenceAreHandled) {
    // Bigger than the receive buffer: cut to it, never written past it.
    std::string big(600, 'q');
    big[3] = ';';
    big[7] = ';';
    Responder device({big, std::string(512, ';')});
    LoopbackNetwork net(device.Port());
    VanterPing ping(PING_DEVICE_QX5);
    ASSERT_TRUE(ping.ConnectToBroadcast());
    ASSERT_TRUE(ping.Ping());
    EXPECT_EQ(device.Probe(), "PingForVanterQX5");
    ASSERT_EQ(ping.CountInfo(), 1);
    EXPECT_EQ(ping.GetInfoAt(0)->third.size(), 512u - 8u);

    // A second ping with nobody answering clears the results.
    ASSERT_TRUE(ping.Ping());
    EXPECT_EQ(ping.CountInfo(), 0);
    ping.DisconnectFromBroadcast();
    EXPECT_FALSE(ping.Ping());
}

TEST(VanterPing, ConnectingTwiceKeepsTheSocketAndPortsClash) {
    platform::CUdpSocket probe;
    ASSERT_TRUE(probe.Open(0));
    WORD port = probe.LocalPort();
    probe.Close();
    LoopbackNetwork net(9, port);

    VanterPing first(PING_DEVICE_YRD);
    ASSERT_TRUE(first.ConnectToBroadcast());
    EXPECT_TRUE(first.ConnectToBroadcast());
    // The port is still held by the first socket, so another cannot bind it.
    VanterPing second(PING_DEVICE_YRD);
    EXPECT_FALSE(second.ConnectToBroadcast());
    EXPECT_FALSE(second.IsConnected());
    // Copies share the socket.
    VanterPing copy = first;
    EXPECT_TRUE(copy.IsConnected());
    first.DisconnectFromBroadcast();
    EXPECT_TRUE(second.ConnectToBroadcast());
    second.DisconnectFromBroadcast();
}

TEST(VanterPing, ASendFailureClosesTheSocket) {
    PING_NETWORK n;
    n.broadcastAddress = "not an address";
    n.probePort = 9;
    n.useLocalPort = true;
    VanterPing::OverrideNetwork(&n);
    VanterPing ping(PING_DEVICE_YRD);
    ASSERT_TRUE(ping.ConnectToBroadcast());
    EXPECT_FALSE(ping.Ping());
    EXPECT_FALSE(ping.IsConnected());
    VanterPing::OverrideNetwork(nullptr);
}
