// Finding cutters on the local network: one probe broadcast over UDP, answers collected for
// 600 ms and turned into records.
#pragma once

#include "platform/core/types.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class CUdpSocket;
}

enum PING_DEVICETYPE {
    PING_DEVICE_VANTERCUT = 0, // binary probe on UDP 1901
    PING_DEVICE_YRD = 1,       // text probe on UDP 9000
    PING_DEVICE_QX5 = 2,       // text probe on UDP 9000
};

// Type 0: device name, empty, dotted IPv4 address. Types 1 and 2: the three reply fields.
struct PING_INFO {
    std::string first;
    std::string second;
    std::string third;
};

// Where probes go and answers arrive; the defaults are the devices' own. Tests move them to
// the loopback address and free ports.
struct PING_NETWORK {
    std::string broadcastAddress = "255.255.255.255";
    WORD probePort = 0;        // 0: 1901 for type 0, 9000 for types 1 and 2
    WORD localPort = 0;        // 0: 27911 for type 0, 10275 for types 1 and 2
    bool useLocalPort = false; // take localPort as given, 0 meaning any free port
};

class VanterPing : public std::vector<PING_INFO> {
public:
    static constexpr DWORD kCollectMs = 600;
    static constexpr size_t kReceiveBytes = 512;
    static constexpr size_t kMaxReplies = 256;
    // The longest single wait for an answer: what runs between waits is never held longer.
    static constexpr DWORD kSliceMs = 10;

    explicit VanterPing(PING_DEVICETYPE type);
    // Copies share the socket; it closes when disconnected or when the last copy goes.
    VanterPing(const VanterPing&) = default;
    VanterPing& operator=(const VanterPing&) = default;
    ~VanterPing();

    bool ConnectToBroadcast();
    bool Ping();
    int CountInfo() const { return int(size()); }
    const PING_INFO* GetInfoAt(int index) const;
    void DisconnectFromBroadcast();
    bool IsConnected() const;
    // Runs whenever a wait for answers ended quietly while they are gathered (a dialog
    // repaints there); null for nothing.
    void SetWhileWaiting(std::function<void()> work) { m_whileWaiting = std::move(work); }

    // Null restores the devices' own addresses and ports.
    static void OverrideNetwork(const PING_NETWORK* network);

private:
    void ParseReceivedVantercutData(const std::string& datagram);
    void ParseReceivedData(const std::vector<std::string>& replies);

    PING_DEVICETYPE m_type;
    std::string m_probe;
    std::shared_ptr<platform::CUdpSocket> m_socket;
    std::function<void()> m_whileWaiting;
};
