#include "platform/system/udp_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

CUdpSocket::~CUdpSocket() {
    Close();
}

bool CUdpSocket::Open(WORD localPort, const std::string& localAddress) {
    Close();
    m_fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (m_fd < 0) {
        m_error = errno;
        return false;
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(localPort);
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    if (!localAddress.empty() && inet_pton(AF_INET, localAddress.c_str(), &addr.sin_addr) != 1) {
        m_error = EINVAL;
        Close();
        return false;
    }
    if (bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        m_error = errno;
        Close();
        return false;
    }
    return true;
}

void CUdpSocket::Close() {
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
}

WORD CUdpSocket::LocalPort() const {
    if (m_fd < 0)
        return 0;
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    if (getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        return 0;
    return ntohs(addr.sin_port);
}

bool CUdpSocket::EnableBroadcast() {
    int on = 1;
    if (m_fd < 0 || setsockopt(m_fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        m_error = m_fd < 0 ? EBADF : errno;
        return false;
    }
    return true;
}

bool CUdpSocket::SendTo(const std::string& address, WORD port, const void* data, size_t bytes) {
    if (m_fd < 0) {
        m_error = EBADF;
        return false;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) {
        m_error = EINVAL;
        return false;
    }
    ssize_t n;
    do {
        n = sendto(m_fd, data, bytes, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    } while (n < 0 && errno == EINTR);
    if (n < 0 || size_t(n) != bytes) {
        m_error = n < 0 ? errno : EMSGSIZE;
        return false;
    }
    return true;
}

int CUdpSocket::Receive(void* buffer, size_t capacity, DWORD timeoutMs, std::string* fromAddress,
                        WORD* fromPort) {
    if (m_fd < 0) {
        m_error = EBADF;
        return kError;
    }
    pollfd p{m_fd, POLLIN, 0};
    int ready;
    do {
        ready = poll(&p, 1, timeoutMs > 0x7FFFFFFF ? 0x7FFFFFFF : int(timeoutMs));
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        m_error = errno;
        return kError;
    }
    if (ready == 0)
        return kTimedOut;
    sockaddr_in from{};
    socklen_t len = sizeof from;
    ssize_t n;
    do {
        n = recvfrom(m_fd, buffer, capacity, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from),
                     &len);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return kTimedOut;
        m_error = errno;
        return kError;
    }
    if (fromAddress) {
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
        *fromAddress = text;
    }
    if (fromPort)
        *fromPort = ntohs(from.sin_port);
    return int(n);
}

} // namespace platform
