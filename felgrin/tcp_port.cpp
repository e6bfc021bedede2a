#include "felgrin/tcp_port.h"

#include "qvutils/qv_utils.h"

CTcpPort::~CTcpPort() {
    if (m_socket.IsOpen())
        m_socket.Close();
}

int CTcpPort::Open(const char* host, const char* service) {
    m_note.clear();
    std::string note;
    platform::EchoResult echo =
        platform::EchoTest(host, "Vanter Ping For Device", m_nEchoTimeoutMs, &note);
    if (echo == platform::EchoResult::NoReply) {
        m_note = note;
        return -1;
    }
    if (echo == platform::EchoResult::NotPermitted)
        m_note = note;
    std::string error;
    if (!m_socket.Connect(host, service, m_nConnectTimeoutMs, &error)) {
        if (!m_note.empty())
            m_note += "\n";
        m_note += error;
        return -1;
    }
    return 0;
}

void CTcpPort::Close() {
    if (!m_socket.IsOpen())
        return;
    // Give the cutter time to take the last bytes before the connection goes.
    fnQvWaitTimer(m_nCloseLingerMs, true);
    m_socket.Close();
}

int CTcpPort::Write(const void* data, int length) {
    if (!m_socket.IsOpen() || length < 0)
        return -1;
    int sent = m_socket.Send(data, size_t(length), m_nSendTimeoutMs);
    return sent < 0 ? -1 : sent;
}

int CTcpPort::Read(std::string& destination, int length) {
    destination.clear();
    if (!m_socket.IsOpen() || length <= 0)
        return 0;
    char buffer[1024];
    size_t want = size_t(length) < sizeof buffer ? size_t(length) : sizeof buffer;
    int n = m_socket.Receive(buffer, want, m_nReadTimeoutMs);
    if (n > 0)
        destination.assign(buffer, size_t(n));
    return int(destination.size());
}

void CTcpPort::Drain() {
    if (!m_socket.IsOpen())
        return;
    char buffer[1024];
    int total = 0;
    DWORD wait = m_nDrainTimeoutMs;
    while (total < 102400) {
        int n = m_socket.Receive(buffer, sizeof buffer, wait);
        if (n <= 0)
            break;
        total += n;
        wait = 0;
    }
}
