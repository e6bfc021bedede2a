#include "cutter_fixture.h"

#include "platform/system/port_devices.h"
#include "platform/system/serial_port.h"
#include "qvutils/host_services.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <termios.h>
#include <unistd.h>

void CutterTest::SetUp() {
    m_sandbox = std::make_unique<SettingsSandbox>();
    m_home = m_sandbox->Path("home");
    qvhost::ResetAppParams();
    qvhost::SetMessageBoxResponder([this](const CString& text, UINT type) {
        m_messages.push_back(text.ToUtf8());
        return (type & 0xF) == qvhost::kMbRetryCancel ? m_retryAnswer : qvhost::kIdOk;
    });
}

void CutterTest::TearDown() {
    qvhost::SetMessageBoxResponder(nullptr);
    platform::SetSerialSettingsObserver(nullptr);
    platform::ResetPortDevicePaths();
    qvhost::ResetAppParams();
    m_sandbox.reset();
}

std::string CutterTest::ReadFile(const std::string& name) const {
    return ReadWholeFile(HomeFile(name));
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

FakeSerialCutter::FakeSerialCutter() {
    int slave = -1;
    char name[256] = {};
    if (::openpty(&m_master, &slave, name, nullptr, nullptr) != 0)
        return;
    termios t = {};
    ::tcgetattr(slave, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(slave, TCSANOW, &t);
    m_path = name;
    // A second handle on the program's side, to see when its output is stopped.
    m_probe = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    ::close(slave);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

FakeSerialCutter::~FakeSerialCutter() {
    if (m_probe >= 0)
        ::close(m_probe);
    if (m_master >= 0)
        ::close(m_master);
}

void FakeSerialCutter::Send(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += size_t(n);
        else {
            pollfd p = {m_master, POLLOUT, 0};
            ::poll(&p, 1, 100);
        }
    }
}

std::string FakeSerialCutter::Receive(int timeoutMs, const std::string& until) {
    std::string got;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (!until.empty() && got.find(until) != std::string::npos)
            break;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0)
            break;
        pollfd p = {m_master, POLLIN, 0};
        if (::poll(&p, 1, int(left)) <= 0)
            break;
        char buf[4096];
        ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            break;
        got.append(buf, size_t(n));
    }
    return got;
}

bool FakeSerialCutter::WaitUntilStopped(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p = {m_probe, POLLOUT, 0};
        if (::poll(&p, 1, 0) == 0)
            return true;
        ::usleep(1000);
    }
    return false;
}

#include <arpa/inet.h>
#include <condition_variable>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>

namespace {
struct ListenerSync {
    std::mutex m;
    std::condition_variable cv;
};
} // namespace

LoopbackCutter::LoopbackCutter(std::string reply, Behaviour b)
    : m_reply(std::move(reply)), m_behaviour(b) {
    m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    ::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(m_listen, 4);
    socklen_t len = sizeof a;
    ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
    m_port = ntohs(a.sin_port);
    if (::pipe(m_wake) != 0)
        m_wake[0] = m_wake[1] = -1;
    m_mutex = new ListenerSync;
    m_thread = new std::thread([this] { Run(); });
}

LoopbackCutter::~LoopbackCutter() {
    if (m_wake[1] >= 0 && ::write(m_wake[1], "x", 1) < 0) {
    }
    auto* t = static_cast<std::thread*>(m_thread);
    t->join();
    delete t;
    delete static_cast<ListenerSync*>(m_mutex);
    ::close(m_listen);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

void LoopbackCutter::Run() {
    auto* sync = static_cast<ListenerSync*>(m_mutex);
    for (;;) {
        pollfd p[2] = {{m_listen, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(p, 2, 10000) <= 0 || (p[1].revents & POLLIN))
            return;
        int c = ::accept(m_listen, nullptr, nullptr);
        if (c < 0)
            continue;
        {
            std::lock_guard<std::mutex> lock(sync->m);
            ++m_connections;
            m_open = m_behaviour != Behaviour::ClosesAtOnce && m_behaviour != Behaviour::Resets;
        }
        if (m_behaviour == Behaviour::Resets) {
            linger hard = {1, 0}; // a close that resets the connection
            ::setsockopt(c, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        }
        if (!m_open) {
            ::close(c);
            sync->cv.notify_all();
            continue;
        }
        if (m_behaviour == Behaviour::NeverReads) {
            pollfd w = {m_wake[0], POLLIN, 0};
            ::poll(&w, 1, 10000);
            ::close(c);
            return;
        }
        std::string pending;
        for (;;) {
            pollfd q[2] = {{c, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            if (::poll(q, 2, 10000) <= 0 || (q[1].revents & POLLIN)) {
                ::close(c);
                return;
            }
            char buf[4096];
            ssize_t n = ::recv(c, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            pending.append(buf, size_t(n));
            {
                std::lock_guard<std::mutex> lock(sync->m);
                m_received.append(buf, size_t(n));
            }
            if (!m_reply.empty() && pending.find(";:ER") != std::string::npos) {
                pending.clear();
                ::send(c, m_reply.data(), m_reply.size(), MSG_NOSIGNAL);
            }
        }
        ::close(c);
        {
            std::lock_guard<std::mutex> lock(sync->m);
            m_open = false;
        }
        sync->cv.notify_all();
    }
}

std::string LoopbackCutter::Received(int timeoutMs) {
    auto* sync = static_cast<ListenerSync*>(m_mutex);
    std::unique_lock<std::mutex> lock(sync->m);
    sync->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                      [this] { return !m_open && m_connections > 0; });
    return m_received;
}
