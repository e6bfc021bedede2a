#include "pivora/framework/vanter_ping.h"

#include "platform/system/clock.h"
#include "platform/system/udp_socket.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

PING_NETWORK g_network;

// The source ports are the byte-swapped forms of 1901 and 9000: the devices answer there.
constexpr WORD kVantercutProbePort = 1901;
constexpr WORD kVantercutLocalPort = 27911;
constexpr WORD kTextProbePort = 9000;
constexpr WORD kTextLocalPort = 10275;

std::string Trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

} // namespace

VanterPing::VanterPing(PING_DEVICETYPE type) : m_type(type) {
    reserve(15);
    switch (type) {
    case PING_DEVICE_VANTERCUT:
        m_probe = std::string("\xFF\x01\x01\x02", 4);
        break;
    case PING_DEVICE_YRD:
        m_probe = "PingForVanterYrd";
        break;
    case PING_DEVICE_QX5:
        m_probe = "PingForVanterQX5";
        break;
    }
}

VanterPing::~VanterPing() = default;

void VanterPing::OverrideNetwork(const PING_NETWORK* network) {
    g_network = network ? *network : PING_NETWORK();
}

bool VanterPing::IsConnected() const {
    return m_socket && m_socket->IsOpen();
}

bool VanterPing::ConnectToBroadcast() {
    if (IsConnected())
        return true;
    WORD port = m_type == PING_DEVICE_VANTERCUT ? kVantercutLocalPort : kTextLocalPort;
    if (g_network.useLocalPort)
        port = g_network.localPort;
    auto socket = std::make_shared<platform::CUdpSocket>();
    if (!socket->Open(port) || !socket->EnableBroadcast())
        return false;
    m_socket = socket;
    return true;
}

void VanterPing::DisconnectFromBroadcast() {
    if (m_socket)
        m_socket->Close();
    m_socket.reset();
}

const PING_INFO* VanterPing::GetInfoAt(int index) const {
    if (index < 0 || index >= CountInfo())
        return nullptr;
    return &(*this)[size_t(index)];
}

bool VanterPing::Ping() {
    if (!IsConnected())
        return false;
    clear();
    WORD port = m_type == PING_DEVICE_VANTERCUT ? kVantercutProbePort : kTextProbePort;
    if (g_network.probePort)
        port = g_network.probePort;
    if (!m_socket->SendTo(g_network.broadcastAddress, port, m_probe.data(), m_probe.size())) {
        DisconnectFromBroadcast();
        return false;
    }

    // Answers are data from the network: a full datagram fills the buffer and is cut there.
    std::vector<std::string> replies;
    char buffer[kReceiveBytes];
    platform::Clock& clock = platform::GetClock();
    ULONGLONG start = clock.NowMs();
    do {
        ULONGLONG now = clock.NowMs();
        DWORD wait = now - start < kCollectMs ? DWORD(kCollectMs - (now - start)) : 0;
        int n = m_socket->Receive(buffer, sizeof buffer, std::min(wait, kSliceMs));
        if (n == platform::CUdpSocket::kError) {
            DisconnectFromBroadcast();
            return false;
        }
        // A flood of answers is read and dropped beyond what any network holds in cutters.
        if (n > 0 && replies.size() < kMaxReplies)
            replies.emplace_back(buffer, size_t(n));
        else if (n == platform::CUdpSocket::kTimedOut && m_whileWaiting)
            m_whileWaiting();
        clock.SleepMs(10);
    } while (clock.NowMs() - start < kCollectMs);

    if (m_type == PING_DEVICE_VANTERCUT)
        for (const std::string& reply : replies)
            ParseReceivedVantercutData(reply);
    else
        ParseReceivedData(replies);
    return true;
}

void VanterPing::ParseReceivedVantercutData(const std::string& datagram) {
    // Bytes 5 to 8 are the address; a reply too short to hold them names no device.
    if (datagram.size() < 9)
        return;
    auto byte = [&](size_t i) { return unsigned(static_cast<unsigned char>(datagram[i])); };
    PING_INFO info;
    info.third = std::to_string(byte(5)) + "." + std::to_string(byte(6)) + "." +
                 std::to_string(byte(7)) + "." + std::to_string(byte(8));
    for (size_t i = 19; i < 35 && i < datagram.size() && datagram[i] != '\0'; ++i)
        info.first += datagram[i];
    // One record per device: a device that answers twice keeps its later answer.
    for (PING_INFO& known : *this)
        if (known.third == info.third) {
            known = info;
            return;
        }
    push_back(info);
}

void VanterPing::ParseReceivedData(const std::vector<std::string>& replies) {
    for (const std::string& reply : replies) {
        std::istringstream in(reply.substr(0, reply.find('\0')));
        std::vector<std::string> fields;
        std::string field;
        while (std::getline(in, field, ';'))
            fields.push_back(field);
        if (fields.size() != 3)
            continue;
        push_back({Trim(fields[0]), Trim(fields[1]), Trim(fields[2])});
    }
}
