// TCP client connections with time-outs, and the ICMP echo that tests an address first.
#pragma once

#include "platform/core/types.h"

#include <string>

namespace platform {

enum class EchoResult {
    Replied,
    NoReply,
    // The system refuses unprivileged echo sockets (net.ipv4.ping_group_range); the caller
    // cannot tell whether the host is there.
    NotPermitted,
};

// One echo request carrying `payload` to an IPv4 address, waiting at most timeoutMs for the
// reply. `note` receives a line for the log when the result is not Replied.
EchoResult EchoTest(const std::string& address, const std::string& payload, DWORD timeoutMs,
                    std::string* note = nullptr);

class CTcpSocket {
public:
    CTcpSocket() = default;
    ~CTcpSocket() { Close(); }
    CTcpSocket(const CTcpSocket&) = delete;
    CTcpSocket& operator=(const CTcpSocket&) = delete;

    // Resolves host and service and connects to the first address that answers within
    // timeoutMs. False with `error` set otherwise.
    bool Connect(const std::string& host, const std::string& service, DWORD timeoutMs,
                 std::string* error = nullptr);
    bool IsOpen() const { return m_fd >= 0; }
    // Sends all bytes, each wait for room bounded by timeoutMs. The count sent, or -1 on an
    // error or time-out (the connection is then closed).
    int Send(const void* data, size_t length, DWORD timeoutMs);
    // Up to length bytes: > 0 read, 0 nothing within the time-out, -1 error, -2 closed by peer.
    int Receive(void* buffer, size_t length, DWORD timeoutMs);
    void Close();
    int Fd() const { return m_fd; }

private:
    int m_fd = -1;
};

} // namespace platform
