// A network cutter on TCP: connected at the open, and closed at the end of each output once
// every byte has reached the cutter.
#pragma once

#include "felgrin/cutter_port.h"
#include "felgrin/tcp_port.h"

#include <memory>

// The waits of a network cutter, in milliseconds (tests shorten them).
struct TcpWaits {
    DWORD echoMs = 100;
    DWORD readMs = 10000;
    DWORD lingerMs = 3000;
};

class CTcpCutterPort : public CCutterPort {
public:
    CTcpCutterPort(std::string host, std::string service, const TcpWaits& waits);

    // The port name names a network address.
    static bool Serves(const CString& portName);

    int DeviceType() const override;
    int Open(int showErrors) override;
    bool IsOpen() const override { return m_pTcp != nullptr; }
    int Close() override;
    bool HeldForOutput() const override { return true; }
    bool Deliver(DWORD timeoutMs) override;
    int Write(const BYTE* data, DWORD length, DWORD waitMs) override;
    int Read(BYTE* buffer, DWORD length, const char* terminators, DWORD timeoutMs) override;
    void DiscardInput() override;
    bool ConnectionLost() const override { return m_pTcp && m_pTcp->Lost(); }
    bool AnswersInquiries() const override { return true; }
    std::string OpenNote() const override { return m_strNote; }

private:
    std::string m_strHost;
    std::string m_strService;
    TcpWaits m_waits;
    std::unique_ptr<CTcpPort> m_pTcp;
    std::string m_strNote;
};
