#include "kelvane/tests/port9100_cutter.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kelvane::tests {

bool Port9100Cutter::Listen(std::string& why) {
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(kCutterService);
    // Tests run side by side share the one port: whoever holds it is waited for.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    for (;;) {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int one = 1;
        ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (m_listen >= 0 && ::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0)
            break;
        const int error = errno;
        if (m_listen >= 0)
            ::close(m_listen);
        m_listen = -1;
        if (error != EADDRINUSE || std::chrono::steady_clock::now() > end) {
            why = std::strerror(error);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    if (::listen(m_listen, 4) != 0 || ::pipe2(m_wake, O_CLOEXEC) != 0) {
        why = std::strerror(errno);
        return false;
    }
    m_thread = std::thread([this] { Run(); });
    return true;
}

Port9100Cutter::~Port9100Cutter() {
    if (m_thread.joinable()) {
        if (::write(m_wake[1], "x", 1) < 0) {
        }
        m_thread.join();
    }
    for (int fd : {m_listen, m_wake[0], m_wake[1]})
        if (fd >= 0)
            ::close(fd);
}

std::vector<std::string> Port9100Cutter::Received() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait_for(lock, std::chrono::seconds(20), [this] { return !m_open; });
    return m_received;
}

bool Port9100Cutter::WaitUntilClosed(std::chrono::milliseconds bound) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_done.wait_for(lock, bound, [this] { return !m_open; });
}

int Port9100Cutter::Connections() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_received.size());
}

void Port9100Cutter::Run() {
    for (;;) {
        pollfd p[2] = {{m_listen, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(p, 2, 60000) <= 0 || (p[1].revents & POLLIN))
            return;
        const int c = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0)
            continue;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_open = true;
            m_received.emplace_back();
        }
        std::string pending;
        for (;;) {
            pollfd q[2] = {{c, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            if (::poll(q, 2, 60000) <= 0 || (q[1].revents & POLLIN))
                break;
            char buf[4096];
            const ssize_t n = ::recv(c, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            pending.append(buf, size_t(n));
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_received.back().append(buf, size_t(n));
            }
            if (m_answers && pending.find(";:ER") != std::string::npos) {
                pending.clear();
                ::send(c, kExtentsReply, sizeof kExtentsReply - 1, MSG_NOSIGNAL);
            }
        }
        ::close(c);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_open = false;
        }
        m_done.notify_all();
    }
}

} // namespace kelvane::tests
