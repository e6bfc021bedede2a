#include "platform/system/device_port.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

std::unique_ptr<CDevicePort> CDevicePort::Open(const std::string& path, OpenMode mode,
                                               std::string* error) {
    int flags = O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    if (mode == OpenMode::Create)
        flags |= O_CREAT | O_TRUNC;
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        if (error)
            *error = std::strerror(errno);
        return nullptr;
    }
    // Not shared: a second writer would interleave commands on the cutter.
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    struct stat st = {};
    ::fstat(fd, &st);
    if (S_ISREG(st.st_mode) && ::fcntl(fd, F_SETLK, &lock) < 0) {
        if (error)
            *error = "in use by another program";
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<CDevicePort> port(new CDevicePort(fd, path));
    port->m_charDevice = S_ISCHR(st.st_mode);
    port->m_terminal = ::isatty(fd) == 1;
    return port;
}

CDevicePort::CDevicePort(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}

CDevicePort::~CDevicePort() {
    Close();
}

int CDevicePort::Write(const void* data, size_t length, DWORD timeoutMs) {
    if (m_fd < 0) {
        m_lastError = EBADF;
        return -1;
    }
    if (length == 0)
        return 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        ssize_t n = ::write(m_fd, data, length);
        if (n > 0)
            return int(n);
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            m_lastError = errno;
            return -1;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0)
            return 0;
        pollfd p = {m_fd, POLLOUT, 0};
        int r = ::poll(&p, 1, int(left));
        if (r < 0 && errno != EINTR) {
            m_lastError = errno;
            return -1;
        }
        if (r > 0 && (p.revents & (POLLERR | POLLNVAL | POLLHUP)) && !(p.revents & POLLOUT)) {
            m_lastError = EIO;
            return -1;
        }
    }
}

int CDevicePort::Read(void* buffer, size_t length, DWORD timeoutMs) {
    if (m_fd < 0) {
        m_lastError = EBADF;
        return -1;
    }
    if (length == 0)
        return 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        ssize_t n = ::read(m_fd, buffer, length);
        if (n > 0)
            return int(n);
        if (n < 0 && errno == EIO && m_terminal)
            return -2; // the far end of a terminal has gone
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            m_lastError = errno;
            return -1;
        }
        // A raw terminal reads 0 bytes when nothing is there; a file at its end does too.
        if (n == 0 && !m_terminal)
            return m_charDevice ? 0 : -2;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0)
            return 0;
        pollfd p = {m_fd, POLLIN, 0};
        int r = ::poll(&p, 1, int(left));
        if (r == 0)
            return 0;
        if (r < 0 && errno != EINTR) {
            m_lastError = errno;
            return -1;
        }
        if (r > 0 && (p.revents & POLLHUP) && !(p.revents & POLLIN))
            return -2;
    }
}

void CDevicePort::PurgeReceive() {
    if (m_fd >= 0 && m_terminal)
        ::tcflush(m_fd, TCIFLUSH);
}

void CDevicePort::PurgeTransmit() {
    if (m_fd >= 0 && m_terminal)
        ::tcflush(m_fd, TCOFLUSH);
}

void CDevicePort::Flush() {
    if (m_fd >= 0 && !m_charDevice)
        ::fsync(m_fd);
}

int CDevicePort::Close() {
    if (m_fd < 0)
        return 0;
    int r = ::close(m_fd);
    m_fd = -1;
    m_lastError = r == 0 ? 0 : errno;
    return m_lastError;
}

} // namespace platform
