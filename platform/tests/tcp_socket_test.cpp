#include "platform/system/tcp_socket.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// A listening socket on 127.0.0.1 with a port of the system's choosing.
struct Listener {
    Listener() {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd, 1);
        socklen_t len = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = std::to_string(ntohs(a.sin_port));
    }
    ~Listener() { ::close(fd); }
    int fd;
    std::string port;
};

TEST(TcpSocket, SendReceiveTimeOutAndPeerClose) {
    Listener l;
    platform::CTcpSocket s;
    std::string error;
    ASSERT_TRUE(s.Connect("127.0.0.1", l.port, 1000, &error)) << error;
    int peer = ::accept(l.fd, nullptr, nullptr);
    ASSERT_GE(peer, 0);
    std::string big(200000, 'z');
    std::thread reader([&] {
        std::string got;
        char buf[65536];
        while (got.size() < big.size()) {
            ssize_t n = ::recv(peer, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            got.append(buf, size_t(n));
        }
        EXPECT_EQ(got.size(), big.size());
        ::send(peer, "reply", 5, 0);
    });
    EXPECT_EQ(s.Send(big.data(), big.size(), 5000), int(big.size()));
    reader.join();
    char buf[3];
    EXPECT_EQ(s.Receive(buf, sizeof buf, 1000), 3); // never more than asked for
    EXPECT_EQ(s.Receive(buf, sizeof buf, 1000), 2);
    EXPECT_EQ(s.Receive(buf, sizeof buf, 50), 0);
    ::close(peer);
    EXPECT_EQ(s.Receive(buf, sizeof buf, 1000), -2);
}

TEST(TcpSocket, RefusedConnectionSaysWhy) {
    std::string port;
    {
        Listener gone;
        port = gone.port;
    }
    platform::CTcpSocket s;
    std::string error;
    EXPECT_FALSE(s.Connect("127.0.0.1", port, 500, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(s.IsOpen());
    EXPECT_EQ(s.Send("a", 1, 10), -1);
    EXPECT_FALSE(s.Connect("no.such.host.invalid", "9100", 500, &error));
}

TEST(TcpSocket, EchoOfLoopbackRepliesOrSaysItIsNotPermitted) {
    std::string note;
    platform::EchoResult r = platform::EchoTest("127.0.0.1", "Vanter Ping For Device", 500, &note);
    EXPECT_NE(r, platform::EchoResult::NoReply) << note;
    if (r == platform::EchoResult::NotPermitted) {
        EXPECT_NE(note.find("refuses"), std::string::npos);
    }
    EXPECT_EQ(platform::EchoTest("not an address", "x", 10, &note), platform::EchoResult::NoReply);
}

} // namespace
