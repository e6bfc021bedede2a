// A network cutter on TCP port 9100, tested with an ICMP echo before the connection.
#pragma once

#include "felgrin/port_wait.h"
#include "platform/system/tcp_socket.h"

#include <string>

// A reply is read at most 1024 bytes at a time; a drain drops at most 102400 bytes.
constexpr int TCP_READ_BYTES = 1024;
constexpr int TCP_DRAIN_MAX_BYTES = 102400;

class CTcpPort {
public:
    CTcpPort() = default;
    ~CTcpPort();

    // 0 when connected, -1 otherwise.
    int Open(const char* host, const char* service);
    // Gives bytes the cutter has not yet acknowledged up to the close linger to go.
    void Close();
    // All bytes are sent: the count, or -1 (the connection is then closed).
    int Write(const void* data, int length);
    // Empties `destination` and appends what arrives within the read time-out, at most
    // `length` bytes. The length of the text now in the destination. Every wait of the port runs
    // the wait hook between its slices and ends when the hook says so.
    int Read(std::string& destination, int length);
    // Discards pending input before a request that expects a fresh reply.
    void Drain();
    // Sends what the connection takes within waitMs: the count (> 0), 0 when it took nothing,
    // -1 when the connection failed (it is then closed).
    int WriteSome(const void* data, int length, DWORD waitMs);
    // Ends the sending side and waits, at most timeoutMs, until the cutter has taken every
    // byte: it acknowledged all of them and closed its side, or stayed quiet for the close
    // linger. False when bytes were left, the cutter reset the connection or the wait was ended.
    bool Deliver(DWORD timeoutMs);
    bool IsOpen() const { return m_socket.IsOpen(); }
    // The cutter reset the connection, or closed it before it took every byte.
    bool Lost() const { return m_bLost; }

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
    // Dispatches messages while the port waits; see PortWaitHook.
    PortWaitHook m_fnWait;

private:
    platform::CTcpSocket m_socket;
    std::string m_note;
    bool m_bDelivered = false;
    bool m_bLost = false;
};
