// The DM/PL command language, and the device routing of cutters that speak it: USB through the
// maker's library, TCP port 9100, printer queues and the plain ports of the base.
#pragma once

#include "felgrin/base_cutter.h"
#include "felgrin/tcp_cutter_port.h"
#include "felgrin/usb_cutter_port.h"

#include <memory>
#include <string>

// Command texts.
inline constexpr char DMPL_INIT[] = ";:HOA,ECN,U,";
inline constexpr char DMPL_PEN_UP[] = "U";
inline constexpr char DMPL_PEN_DOWN[] = "D";
inline constexpr char DMPL_DESELECT[] = "@";
inline constexpr char DMPL_FEED[] = "e";
inline constexpr char DMPL_FEED_THEN_CUT[] = ";:c";
inline constexpr char DMPL_LINE_STYLE_PERFORATED[] = "P6";
inline constexpr char DMPL_LINE_STYLE_NORMAL[] = "P0";
inline constexpr char DMPL_READ_EXTENTS[] = ";:ER";
// Recut: ESC, then this with the count.
inline constexpr char DMPL_RECUT_FORMAT[] = "\x1b;@:RECUT=%d.END.";
// Preload: the count of rows of 25 data units.
inline constexpr char DMPL_PRELOAD_FORMAT[] = "EW %d";
// The registration-mark block of a VELM cutter, each line one command: the start sequence
// (ESC, then ";@:"), the mark values in 0.025 mm, the sheet mode when asked, the load and the
// end. After the cutter's reply the initialisation command closes the block.
inline constexpr char DMPL_BLOCK_START[] = "\x1b;@:";
inline constexpr char DMPL_MARKER_X_DIS_FORMAT[] = "SET MARKER_X_DIS=%d.";
inline constexpr char DMPL_MARKER_Y_DIS_FORMAT[] = "SET MARKER_Y_DIS=%d.";
inline constexpr char DMPL_MARKER_X_SIZE_FORMAT[] = "SET MARKER_X_SIZE=%d.";
inline constexpr char DMPL_MARKER_Y_SIZE_FORMAT[] = "SET MARKER_Y_SIZE=%d.";
inline constexpr char DMPL_MARKER_X_N_FORMAT[] = "SET MARKER_X_N=%d.";
inline constexpr char DMPL_VELM_SHEET_MODE_ON[] = "SET VELM_SHEET_MODE=ON.";
inline constexpr char DMPL_LOAD_MARKERS[] = "LOAD_MARKERS.";
inline constexpr char DMPL_BLOCK_END[] = "END.";

// A command text of the formats above with its one number filled in.
std::string FnFormatDmplCommand(const char* format, int value);

// The line style that perforates.
constexpr int DMPL_LINE_STYLE_PERFORATE = 1;

// The tries of an extents request before the reply counts as unreadable, and the wait between.
constexpr int DMPL_EXTENTS_TRIES = 5;
constexpr DWORD DMPL_EXTENTS_RETRY_WAIT_MS = 2000;

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
    int DeviceOpen(int showErrors) override;

    virtual int ReadExtents(CWindow* window);
    virtual int ReadExtentsData(const char* reply, int& a, int& b, POINT& position,
                                CWindow* extents);

    int fnGetReadBufferSize() const { return m_nReadBufferSize; }
    // The TCP service a network cutter listens on ("9100"; tests use a loopback port).
    void fnSetNetworkService(const std::string& service) { m_strService = service; }
    // Applied to every TCP port this cutter makes (tests shorten the waits).
    void fnSetTcpTimeouts(DWORD echoMs, DWORD readMs, DWORD lingerMs);

protected:
    int OpenIfNeeded(bool& openedHere);
    int WriteInitIfPending();
    // A reply of the cutter: bytes read, 0 for none, negative for a failed read.
    int ReadReply(std::string& reply);
    std::unique_ptr<CCutterPort> MakePort() override;

    int m_nReadBufferSize = 128;
    int m_bInitBeforePen = 1;
    // The cutter keeps the perforating tool until told otherwise.
    int m_bPerforating = 0;
    std::string m_strService = "9100";
    TcpWaits m_tcpWaits;
    UsbWaits m_usbWaits;
};

// The largest extents reply read at once; the parameter that sets it is bounded by this.
constexpr int DMPL_MAX_READ_BUFFER = 1024;
