// A network cutter on TCP port 9100, tested with an ICMP echo before the connection.
#pragma once

#include "platform/system/tcp_socket.h"

#include <string>

class CTcpPort {
public:
    CTcpPort() = default;
    ~CTcpPort();

    // 0 when connected, -1 otherwise.
    int Open(const char* host, const char* service);
    void Close();
    // All bytes are sent: the count, or -1 (the connection is then closed).
    int Write(const void* data, int length);
    // Empties `destination` and appends what arrives within the read time-out, at most
    // `length` bytes. The length of the text now in the destination.
    int Read(std::string& destination, int length);
    // Discards pending input before a request that expects a fresh reply.
    void Drain();
    bool IsOpen() const { return m_socket.IsOpen(); }

    // A line for the cut log about the open (the echo refused, a failed connection); empty
    // when there is nothing to say.
    const std::string& Note() const { return m_note; }

    // Waits, in milliseconds; tests shorten them.
    DWORD m_nEchoTimeoutMs = 100;
    DWORD m_nConnectTimeoutMs = 5000;
    DWORD m_nSendTimeoutMs = 10000;
    DWORD m_nReadTimeoutMs = 10000;
    DWORD m_nDrainTimeoutMs = 2000;
    DWORD m_nCloseLingerMs = 3000;

private:
    platform::CTcpSocket m_socket;
    std::string m_note;
};
