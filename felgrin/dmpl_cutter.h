// The DM/PL command language, and the device routing of cutters that speak it: USB through the
// maker's library, TCP port 9100, printer queues and the plain ports of the base.
#pragma once

#include "felgrin/base_cutter.h"
#include "felgrin/tcp_port.h"
#include "felgrin/usb_port.h"
#include "platform/system/printer_queue.h"

#include <memory>

// Command texts.
#define DMPL_INIT ";:HOA,ECN,U,"
#define DMPL_PEN_UP "U"
#define DMPL_PEN_DOWN "D"
#define DMPL_DESELECT "@"
#define DMPL_FEED "e"
#define DMPL_FEED_THEN_CUT ";:c"
#define DMPL_LINE_STYLE_PERFORATED "P6"
#define DMPL_LINE_STYLE_NORMAL "P0"
#define DMPL_READ_EXTENTS ";:ER"

// The title of a raw job on a printer queue.
#define DMPL_PRINT_JOB_NAME L"Vanter Plot"

class CDMPLCutter : public CBaseCutter {
    DECLARE_DYNCREATE(CDMPLCutter)

public:
    CDMPLCutter();
    ~CDMPLCutter() override;

    int StartOutput(int showCancel, int init) override;
    int EndOutput() override;
    int Recut(int count) override;
    int Deselect() override;
    int Feed(CLpoint* point) override;
    int Preload(const CWindow& window) override;
    int PenUp() override;
    int PenDown() override;
    int InquireExtents(CWindow* window) override;
    int SetExtents(CWindow* window) override;
    int SendString(std::string& text) override;
    int fnSetLineStyle(int style) override;
    int IsDeviceOpen() override;
    int DeviceOpen(int showErrors) override;
    int DeviceClose() override;
    DWORD DeviceWrite(const BYTE* data, DWORD length) override;
    int DeviceRead(BYTE* buffer, DWORD length, const char* terminators) override;

    virtual int ReadExtents(CWindow* window);
    virtual int ReadExtentsData(const char* reply, int& a, int& b, POINT& position,
                                CWindow* extents);

    CUsbPort* fnGetUsbPort() const { return m_pUsbPort.get(); }
    CTcpPort* fnGetTcpPort() const { return m_pTcpPort.get(); }
    int fnGetReadBufferSize() const { return m_nReadBufferSize; }
    // The TCP service a network cutter listens on ("9100"; tests use a loopback port).
    void fnSetNetworkService(const std::string& service) { m_strService = service; }
    // Applied to every TCP port this cutter makes (tests shorten the waits).
    void fnSetTcpTimeouts(DWORD echoMs, DWORD readMs, DWORD lingerMs);
    // Applied to every USB port this cutter makes.
    void fnSetUsbWaits(DWORD creditWaitMs, int maxCreditWaits, DWORD pollMs, DWORD pipeMs);

protected:
    int OpenIfNeeded(bool& openedHere);
    int WriteInitIfPending();
    // A reply of the cutter: bytes read, 0 for none, negative for a failed read.
    int ReadReply(std::string& reply);
    void ConfigurePorts();

    std::unique_ptr<CUsbPort> m_pUsbPort;
    std::unique_ptr<CTcpPort> m_pTcpPort;
    int m_nUnused = 0;
    int m_nReadBufferSize = 128;
    int m_bInitBeforePen = 1;
    // The cutter keeps the perforating tool until told otherwise.
    int m_bPerforating = 0;
    std::unique_ptr<platform::CPrinterQueue> m_pPrinter;
    std::string m_strService = "9100";
    DWORD m_nTcpEchoMs = 100, m_nTcpReadMs = 10000, m_nTcpLingerMs = 3000;
    DWORD m_nUsbCreditMs = 2000, m_nUsbPollMs = 25, m_nUsbPipeMs = 10000;
    int m_nUsbMaxCreditWaits = 15;
};

// The largest extents reply read at once; the parameter that sets it is bounded by this.
constexpr int DMPL_MAX_READ_BUFFER = 1024;
