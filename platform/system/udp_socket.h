// A UDP socket for broadcast discovery: IPv4, bound to one local port, with receive time-outs.
#pragma once

#include "platform/core/types.h"

#include <string>

namespace platform {

class CUdpSocket {
public:
    // Results of Receive besides a byte count.
    static constexpr int kTimedOut = -2;
    static constexpr int kError = -1;

    CUdpSocket() = default;
    ~CUdpSocket();
    CUdpSocket(const CUdpSocket&) = delete;
    CUdpSocket& operator=(const CUdpSocket&) = delete;

    // Binds to `localAddress` (dotted; empty or "0.0.0.0" for any) and `localPort` (0 for
    // any free one). False when the socket cannot be made or bound.
    bool Open(WORD localPort, const std::string& localAddress = std::string());
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    // The port the socket is bound to, 0 when closed.
    WORD LocalPort() const;

    bool EnableBroadcast();
    // Sends one datagram; false when it could not be sent whole.
    bool SendTo(const std::string& address, WORD port, const void* data, size_t bytes);
    // Waits at most `timeoutMs` for one datagram and copies at most `capacity` bytes of it.
    // Returns the bytes copied, kTimedOut or kError; a longer datagram is cut to the capacity.
    // `fromAddress` and `fromPort` receive the sender when given.
    int Receive(void* buffer, size_t capacity, DWORD timeoutMs, std::string* fromAddress = nullptr,
                WORD* fromPort = nullptr);
    // The system's error number of the last failure.
    int LastError() const { return m_error; }

private:
    int m_fd = -1;
    int m_error = 0;
};

} // namespace platform
