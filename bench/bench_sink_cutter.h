// A network cutter on 127.0.0.1 for the send benchmarks: it takes every byte of each connection,
// counts them, and closes at the connection's end.
#pragma once

#include <arpa/inet.h>
#include <atomic>
#include <cstdint>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace bench {

class SinkCutter {
public:
    // answerMedium: reply to the medium inquiry (";:ER") as a cutter holding a 600 mm by
    // 50 m roll does, so a send that asks for the medium does not wait for its time-out.
    explicit SinkCutter(bool answerMedium = false) : m_answerMedium(answerMedium) {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int one = 1;
        ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(m_listen, 4);
        socklen_t len = sizeof a;
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
        m_port = ntohs(a.sin_port);
        m_thread = std::thread([this] { Run(); });
    }
    ~SinkCutter() {
        ::shutdown(m_listen, SHUT_RDWR);
        m_thread.join();
        ::close(m_listen);
    }
    SinkCutter(const SinkCutter&) = delete;
    SinkCutter& operator=(const SinkCutter&) = delete;

    std::string Service() const { return std::to_string(m_port); }
    int64_t Bytes() const { return m_bytes; }

private:
    void Run() {
        for (;;) {
            int c = ::accept(m_listen, nullptr, nullptr);
            if (c < 0)
                return;
            char buffer[65536];
            for (ssize_t n; (n = ::recv(c, buffer, sizeof buffer, 0)) > 0;) {
                // The medium in 0.025 mm: 50 m along the feed by 600 mm across.
                if (m_answerMedium &&
                    std::string(buffer, size_t(n)).find(";:ER") != std::string::npos) {
                    static const char reply[] = "(0,0,0,0,0,0,2000000,24000,)";
                    ::send(c, reply, sizeof reply - 1, MSG_NOSIGNAL);
                }
                m_bytes += n;
            }
            ::close(c);
        }
    }
    const bool m_answerMedium;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<int64_t> m_bytes{0};
    std::thread m_thread;
};

} // namespace bench
