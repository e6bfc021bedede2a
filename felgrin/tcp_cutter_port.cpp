#include "felgrin/tcp_cutter_port.h"

#include "felgrin/base_cutter.h"
#include "qvutils/host_services.h"

#include <cstring>

CTcpCutterPort::CTcpCutterPort(std::string host, std::string service, const TcpWaits& waits)
    : m_strHost(std::move(host)), m_strService(std::move(service)), m_waits(waits) {}

bool CTcpCutterPort::Serves(const CString& portName) {
    return CBaseCutter::GetDeviceType(portName) == DEVICE_TCP;
}

int CTcpCutterPort::DeviceType() const {
    return DEVICE_TCP;
}

int CTcpCutterPort::Open(int showErrors) {
    m_pTcp = std::make_unique<CTcpPort>();
    m_pTcp->m_nEchoTimeoutMs = m_waits.echoMs;
    m_pTcp->m_nReadTimeoutMs = m_waits.readMs;
    m_pTcp->m_nCloseLingerMs = m_waits.lingerMs;
    m_pTcp->m_nDrainTimeoutMs = m_waits.readMs < 2000 ? m_waits.readMs : 2000;
    m_pTcp->m_fnWait = m_waitHook;
    int r = m_pTcp->Open(m_strHost.c_str(), m_strService.c_str());
    m_strNote = m_pTcp->Note();
    if (r != 0) {
        if (showErrors)
            qvhost::MessageBox(L"Could not open Vanter Socket Cutter",
                               qvhost::kMbOk | qvhost::kMbIconExclamation);
        m_pTcp.reset();
        return 0;
    }
    return 1;
}

int CTcpCutterPort::Close() {
    if (m_pTcp)
        m_pTcp->Close();
    m_pTcp.reset();
    return 0;
}

bool CTcpCutterPort::Deliver(DWORD timeoutMs) {
    return m_pTcp && m_pTcp->Deliver(timeoutMs);
}

int CTcpCutterPort::Write(const BYTE* data, DWORD length, DWORD waitMs) {
    if (!m_pTcp || !m_pTcp->IsOpen())
        return PORT_WRITE_GONE;
    int n = m_pTcp->WriteSome(data, int(length), waitMs);
    if (n > 0)
        return n;
    return n == 0 ? PORT_WRITE_TIMEOUT : PORT_WRITE_GONE;
}

int CTcpCutterPort::Read(BYTE* buffer, DWORD length, const char*, DWORD) {
    if (!m_pTcp)
        return PORT_READ_NOT_OPEN;
    std::string text;
    int n = m_pTcp->Read(text, int(length));
    if (n > int(length))
        n = int(length);
    if (n > 0)
        std::memcpy(buffer, text.data(), size_t(n));
    buffer[n > 0 ? n : 0] = 0;
    return n;
}

void CTcpCutterPort::DiscardInput() {
    if (m_pTcp)
        m_pTcp->Drain();
}
