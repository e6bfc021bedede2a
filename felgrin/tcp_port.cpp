#include "felgrin/tcp_port.h"

#include <cerrno>
#include <chrono>
#include <linux/sockios.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

namespace {

using Clock = std::chrono::steady_clock;

// Slices of the waits at the end of a job, so the program stays live.
constexpr int kDeliverSliceMs = 10;

// Bytes sent and not yet acknowledged by the cutter.
int UnacknowledgedBytes(int fd) {
    int queued = 0;
    if (::ioctl(fd, SIOCOUTQ, &queued) != 0)
        return -1;
    return queued;
}

long long MsSince(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

// The next slice of a wait of waitMs that began at start: 0 once it is over.
DWORD NextSlice(Clock::time_point start, DWORD waitMs) {
    long long left = (long long)waitMs - MsSince(start);
    if (left <= 0)
        return 0;
    return left < PORT_WAIT_SLICE_MS ? DWORD(left) : PORT_WAIT_SLICE_MS;
}

} // namespace

CTcpPort::~CTcpPort() {
    if (m_socket.IsOpen())
        m_socket.Close();
}

int CTcpPort::Open(const char* host, const char* service) {
    m_note.clear();
    m_bDelivered = false;
    m_bLost = false;
    std::string note;
    platform::EchoResult echo =
        platform::EchoTest(host, "Vanter Ping For Device", m_nEchoTimeoutMs, &note);
    if (echo == platform::EchoResult::NoReply) {
        m_note = note;
        return -1;
    }
    if (echo == platform::EchoResult::NotPermitted)
        m_note = note;
    std::string error;
    if (!m_socket.Connect(host, service, m_nConnectTimeoutMs, &error)) {
        if (!m_note.empty())
            m_note += "\n";
        m_note += error;
        return -1;
    }
    return 0;
}

void CTcpPort::Close() {
    if (!m_socket.IsOpen())
        return;
    // The cutter has the last bytes once it has acknowledged them: until then give it time,
    // bounded by the linger, before the connection goes.
    if (!m_bDelivered) {
        auto start = Clock::now();
        while (UnacknowledgedBytes(m_socket.Fd()) > 0 && MsSince(start) < m_nCloseLingerMs &&
               PortWait(m_fnWait, kDeliverSliceMs)) {
        }
    }
    m_socket.Close();
    m_bDelivered = false;
}

int CTcpPort::Write(const void* data, int length) {
    if (!m_socket.IsOpen() || length < 0)
        return -1;
    int sent = m_socket.Send(data, size_t(length), m_nSendTimeoutMs);
    return sent < 0 ? -1 : sent;
}

int CTcpPort::Read(std::string& destination, int length) {
    destination.clear();
    if (!m_socket.IsOpen() || length <= 0)
        return 0;
    char buffer[TCP_READ_BYTES];
    size_t want = size_t(length) < sizeof buffer ? size_t(length) : sizeof buffer;
    auto start = Clock::now();
    for (;;) {
        DWORD slice = NextSlice(start, m_nReadTimeoutMs);
        int n = m_socket.Receive(buffer, want, slice);
        if (n > 0)
            destination.assign(buffer, size_t(n));
        if (n != 0 || slice == 0 || !PortKeepWaiting(m_fnWait))
            break;
    }
    return int(destination.size());
}

void CTcpPort::Drain() {
    if (!m_socket.IsOpen())
        return;
    char buffer[TCP_READ_BYTES];
    int total = 0;
    // The first bytes may take the drain's wait; what follows them is only what is there.
    auto start = Clock::now();
    bool waiting = true;
    while (total < TCP_DRAIN_MAX_BYTES) {
        DWORD slice = waiting ? NextSlice(start, m_nDrainTimeoutMs) : 0;
        int n = m_socket.Receive(buffer, sizeof buffer, slice);
        if (n > 0) {
            total += n;
            waiting = false;
            continue;
        }
        if (n < 0 || slice == 0 || !PortKeepWaiting(m_fnWait))
            break;
    }
}

int CTcpPort::WriteSome(const void* data, int length, DWORD waitMs) {
    if (!m_socket.IsOpen() || length < 0)
        return -1;
    if (length == 0)
        return 0;
    int fd = m_socket.Fd();
    pollfd p = {fd, POLLOUT, 0};
    int r = ::poll(&p, 1, int(waitMs));
    if (r < 0 && errno != EINTR) {
        m_socket.Close();
        m_bLost = true;
        return -1;
    }
    if (r <= 0)
        return 0;
    ssize_t n = ::send(fd, data, size_t(length), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0)
        return int(n);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return 0;
    m_socket.Close();
    m_bLost = true;
    return -1;
}

bool CTcpPort::Deliver(DWORD timeoutMs) {
    if (!m_socket.IsOpen())
        return false;
    int fd = m_socket.Fd();
    ::shutdown(fd, SHUT_WR);
    auto start = Clock::now();
    auto quietSince = start; // when every byte was last seen acknowledged
    bool quiet = false;
    for (;;) {
        int queued = UnacknowledgedBytes(fd);
        if (queued < 0)
            return false;
        if (queued == 0 && !quiet)
            quietSince = Clock::now();
        quiet = queued == 0;
        pollfd p = {fd, POLLIN, 0};
        if (::poll(&p, 1, kDeliverSliceMs) > 0) {
            char sink[TCP_READ_BYTES];
            ssize_t n = ::recv(fd, sink, sizeof sink, MSG_DONTWAIT);
            if (n == 0) {
                // The cutter closed its side: it read everything if nothing is left unacknowledged.
                m_bDelivered = UnacknowledgedBytes(fd) == 0;
                m_bLost = !m_bDelivered;
                return m_bDelivered;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                m_bLost = true; // reset: the cutter dropped what it had not read
                return false;
            }
        }
        if (!PortKeepWaiting(m_fnWait))
            return false;
        if (quiet && MsSince(quietSince) >= m_nCloseLingerMs) {
            m_bDelivered = true;
            return true;
        }
        if (MsSince(start) >= timeoutMs)
            return quiet;
    }
}
