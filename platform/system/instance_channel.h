// The channel between two copies of the program: a Unix-domain socket in the per-user runtime
// folder (mode 0600, peers of another user refused). The running copy polls it (when its socket
// is readable, or on a timer) and never blocks on a peer; a second copy sends one request and waits
// a bounded time for the answer.
//
// Request, 12 bytes little-endian: magic, message, flags. Answer, 4 bytes: the handler's
// result. Anything else ends the connection unanswered.
#pragma once

#include "platform/core/types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

constexpr uint32_t kInstanceMagic = 0x4349564Bu; // "KVIC" in file order
constexpr size_t kInstanceRequestBytes = 12;
constexpr size_t kInstanceAnswerBytes = 4;
// Flags: the running copy brings its window forward.
constexpr uint32_t kInstanceRaise = 1;
// A peer that has not sent its whole request in this time is dropped.
constexpr DWORD kInstancePeerTimeoutMs = 10000;
// At most this many peers wait at once; more are refused.
constexpr size_t kInstanceMaxPeers = 8;

struct InstanceRequest {
    uint32_t message = 0;
    uint32_t flags = 0;
};

class InstanceChannelServer {
public:
    using Handler = std::function<uint32_t(const InstanceRequest&)>;

    InstanceChannelServer();
    ~InstanceChannelServer();
    InstanceChannelServer(const InstanceChannelServer&) = delete;
    InstanceChannelServer& operator=(const InstanceChannelServer&) = delete;

    // Listens at the channel of name (a socket left by a copy that crashed is replaced: only the
    // holder of the instance lock listens). False when the socket could not be made.
    bool Listen(const wchar_t* name, Handler handler);
    // Takes in what peers sent; each whole request goes to the handler and is answered. Never
    // waits.
    void Poll();
    const std::string& Path() const { return m_path; }
    // The listening socket (readable when a peer connects), or -1 before Listen.
    int Descriptor() const;
    size_t PendingPeers() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::string m_path;
};

// Sends the request to the copy listening at name and waits at most timeoutMs for its answer.
// False when nobody listens, the answer did not come in time or was not whole.
bool SendInstanceRequest(const wchar_t* name, const InstanceRequest& request, DWORD timeoutMs,
                         uint32_t* answer);

} // namespace platform
