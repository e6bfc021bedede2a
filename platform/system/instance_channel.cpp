#include "platform/system/instance_channel.h"

#include "platform/system/clock.h"
#include "platform/system/instance_lock.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

void PutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

uint32_t GetU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool Address(const std::string& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path)
        return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool SameUser(int fd) {
    ucred cred{};
    socklen_t length = sizeof cred;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) == 0 && cred.uid == geteuid();
}

struct Peer {
    int fd;
    ULONGLONG since;
    uint8_t bytes[kInstanceRequestBytes];
    size_t have = 0;
};

} // namespace

struct InstanceChannelServer::Impl {
    int listener = -1;
    Handler handler;
    std::vector<Peer> peers;

    ~Impl() {
        for (Peer& p : peers)
            ::close(p.fd);
        if (listener >= 0)
            ::close(listener);
    }

    // True when the peer is done with (answered or refused).
    bool Serve(Peer& p) {
        for (;;) {
            const ssize_t n = ::recv(p.fd, p.bytes + p.have, sizeof p.bytes - p.have, MSG_DONTWAIT);
            if (n > 0) {
                p.have += size_t(n);
                if (p.have < sizeof p.bytes)
                    continue;
                break;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return GetTickCount64() - p.since >= kInstancePeerTimeoutMs;
            if (n < 0 && errno == EINTR)
                continue;
            return true; // closed early or failed
        }
        if (GetU32(p.bytes) != kInstanceMagic)
            return true;
        const InstanceRequest request{GetU32(p.bytes + 4), GetU32(p.bytes + 8)};
        const uint32_t result = handler ? handler(request) : 0;
        uint8_t answer[kInstanceAnswerBytes];
        PutU32(answer, result);
        // A peer that stopped reading loses its answer; the copy does not wait for it.
        (void)::send(p.fd, answer, sizeof answer, MSG_DONTWAIT | MSG_NOSIGNAL);
        return true;
    }
};

InstanceChannelServer::InstanceChannelServer() : m_impl(std::make_unique<Impl>()) {}

InstanceChannelServer::~InstanceChannelServer() {
    const bool listening = m_impl->listener >= 0;
    m_impl.reset();
    if (listening && !m_path.empty())
        ::unlink(m_path.c_str());
}

bool InstanceChannelServer::Listen(const wchar_t* name, Handler handler) {
    m_path = RuntimeFilePath(name, ".sock");
    sockaddr_un addr;
    if (!Address(m_path, addr))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    ::unlink(m_path.c_str());
    // Made private before anyone can connect.
    const mode_t old = ::umask(077);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::umask(old);
    if (!bound || ::chmod(m_path.c_str(), 0600) != 0 || ::listen(fd, int(kInstanceMaxPeers)) != 0) {
        ::close(fd);
        return false;
    }
    m_impl->listener = fd;
    m_impl->handler = std::move(handler);
    return true;
}

void InstanceChannelServer::Poll() {
    Impl& s = *m_impl;
    if (s.listener < 0)
        return;
    for (;;) {
        const int fd = ::accept4(s.listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            break;
        if (!SameUser(fd) || s.peers.size() >= kInstanceMaxPeers) {
            ::close(fd);
            continue;
        }
        s.peers.push_back(Peer{fd, GetTickCount64(), {}, 0});
    }
    // A handler may run a modal loop that polls again: work on what is taken out first.
    std::vector<Peer> peers;
    peers.swap(s.peers);
    for (size_t i = 0; i < peers.size(); ++i) {
        if (s.Serve(peers[i]))
            ::close(peers[i].fd);
        else
            s.peers.push_back(peers[i]);
    }
}

int InstanceChannelServer::Descriptor() const {
    return m_impl->listener;
}

size_t InstanceChannelServer::PendingPeers() const {
    return m_impl->peers.size();
}

bool SendInstanceRequest(const wchar_t* name, const InstanceRequest& request, DWORD timeoutMs,
                         uint32_t* answer) {
    sockaddr_un addr;
    if (!Address(RuntimeFilePath(name, ".sock"), addr))
        return false;
    // Never blocking: a copy that hangs with its queue full is no reason to hang too.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    auto remaining = [&] {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        return int(std::max<long long>(0, left.count()));
    };
    uint8_t bytes[kInstanceRequestBytes];
    PutU32(bytes, kInstanceMagic);
    PutU32(bytes + 4, request.message);
    PutU32(bytes + 8, request.flags);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
              ::send(fd, bytes, sizeof bytes, MSG_NOSIGNAL) == ssize_t(sizeof bytes);
    uint8_t reply[kInstanceAnswerBytes];
    size_t have = 0;
    while (ok && have < sizeof reply) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, remaining());
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            ok = false; // no answer in time
            break;
        }
        const ssize_t n = ::recv(fd, reply + have, sizeof reply - have, 0);
        if (n <= 0) {
            ok = false;
            break;
        }
        have += size_t(n);
    }
    ::close(fd);
    if (ok && answer)
        *answer = GetU32(reply);
    return ok;
}

} // namespace platform
