#include "platform/system/tcp_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

int MsLeft(std::chrono::steady_clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    return left > 0 ? int(left) : 0;
}

} // namespace

EchoResult EchoTest(const std::string& address, const std::string& payload, DWORD timeoutMs,
                    std::string* note) {
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    if (::inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) {
        if (note)
            *note = "echo: not an IPv4 address: " + address;
        return EchoResult::NoReply;
    }
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
        if (note)
            *note = std::string("echo: the system refuses unprivileged ICMP sockets (") +
                    std::strerror(errno) + "); the connection's own time-out decides";
        return EchoResult::NotPermitted;
    }
    unsigned char packet[8 + 64] = {};
    size_t body = payload.size() < 64 ? payload.size() : 64;
    packet[0] = ICMP_ECHO;
    std::memcpy(packet + 8, payload.data(), body);
    // The kernel fills in the identifier and the checksum of a datagram echo socket.
    packet[6] = 0;
    packet[7] = 1;
    if (::sendto(fd, packet, 8 + body, 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0) {
        if (note)
            *note = std::string("echo: send failed: ") + std::strerror(errno);
        ::close(fd);
        return EchoResult::NoReply;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd p = {fd, POLLIN, 0};
        int r = ::poll(&p, 1, MsLeft(deadline));
        if (r <= 0) {
            if (r < 0 && errno == EINTR)
                continue;
            break;
        }
        unsigned char reply[128];
        ssize_t n = ::recv(fd, reply, sizeof reply, 0);
        if (n >= 8 && reply[0] == ICMP_ECHOREPLY) {
            ::close(fd);
            return EchoResult::Replied;
        }
    }
    ::close(fd);
    if (note)
        *note = "echo: no reply from " + address;
    return EchoResult::NoReply;
}

bool CTcpSocket::Connect(const std::string& host, const std::string& service, DWORD timeoutMs,
                         std::string* error) {
    Close();
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* list = nullptr;
    int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
    if (rc != 0) {
        if (error)
            *error = std::string("getaddrinfo() failed: ") + ::gai_strerror(rc);
        return false;
    }
    std::string last = "no address";
    for (addrinfo* a = list; a; a = a->ai_next) {
        int fd =
            ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
        if (fd < 0) {
            last = std::string("socket() failed: ") + std::strerror(errno);
            continue;
        }
        int r = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (r != 0 && errno == EINPROGRESS) {
            pollfd p = {fd, POLLOUT, 0};
            r = ::poll(&p, 1, int(timeoutMs));
            if (r == 1) {
                int soerr = 0;
                socklen_t len = sizeof soerr;
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soerr, &len);
                r = soerr == 0 ? 0 : -1;
                errno = soerr;
            } else {
                if (r == 0)
                    errno = ETIMEDOUT;
                r = -1;
            }
        }
        if (r == 0) {
            m_fd = fd;
            break;
        }
        last = std::string("connect failed: ") + std::strerror(errno);
        ::close(fd);
    }
    ::freeaddrinfo(list);
    if (m_fd < 0 && error)
        *error = last;
    return m_fd >= 0;
}

int CTcpSocket::Send(const void* data, size_t length, DWORD timeoutMs) {
    if (m_fd < 0)
        return -1;
    const char* p = static_cast<const char*>(data);
    size_t sent = 0;
    while (sent < length) {
        ssize_t n = ::send(m_fd, p + sent, length - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd q = {m_fd, POLLOUT, 0};
            int r = ::poll(&q, 1, int(timeoutMs));
            if (r > 0 || (r < 0 && errno == EINTR))
                continue;
        }
        Close();
        return -1;
    }
    return int(sent);
}

int CTcpSocket::Receive(void* buffer, size_t length, DWORD timeoutMs) {
    if (m_fd < 0)
        return -1;
    if (length == 0)
        return 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        ssize_t n = ::recv(m_fd, buffer, length, 0);
        if (n > 0)
            return int(n);
        if (n == 0)
            return -2;
        if (errno != EAGAIN && errno != EINTR)
            return -1;
        int left = MsLeft(deadline);
        if (left == 0)
            return 0;
        pollfd p = {m_fd, POLLIN, 0};
        int r = ::poll(&p, 1, left);
        if (r == 0)
            return 0;
        if (r < 0 && errno != EINTR)
            return -1;
    }
}

void CTcpSocket::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

} // namespace platform
