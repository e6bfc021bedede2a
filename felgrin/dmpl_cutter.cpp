#include "felgrin/dmpl_cutter.h"

#include "felgrin/felgrin_strings.h"
#include "felgrin/printer_cutter_port.h"
#include "qvutils/host_services.h"
#include "qvutils/qv_utils.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNCREATE(CDMPLCutter, CBaseCutter)

std::string FnFormatDmplCommand(const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

CDMPLCutter::CDMPLCutter() {
    m_strSeparator = ",";
    m_strTerminator = "";
    m_strPrefix = ",";
    m_nOrigin = 0;
    m_nCutterModel = CUTTER_MODEL_DMPL;
    m_strName = L"DM/PL Cutter";
    m_wInquired.x2 = 2000000;
    m_wInquired.y2 = 50000100;
    m_CommsParams.szPortName = L"USB";
    m_CommsParams.nBaudRate = 9600;
    int size = qvhost::GetSetAppParam(L"DMPL Read Buffer", 128);
    // The reply is read into a buffer of this size: keep it sane whatever the parameter holds.
    if (size < 1)
        size = 128;
    if (size > DMPL_MAX_READ_BUFFER)
        size = DMPL_MAX_READ_BUFFER;
    m_nReadBufferSize = size;
}

CDMPLCutter::~CDMPLCutter() {
    DeviceClose();
}

void CDMPLCutter::fnSetTcpTimeouts(DWORD echoMs, DWORD readMs, DWORD lingerMs) {
    m_tcpWaits.echoMs = echoMs;
    m_tcpWaits.readMs = readMs;
    m_tcpWaits.lingerMs = lingerMs;
}

std::unique_ptr<CCutterPort> CDMPLCutter::MakePort() {
    const CString& name = m_CommsParams.szPortName;
    if (CUsbCutterPort::Serves(name))
        return std::make_unique<CUsbCutterPort>(CUsbCutterPort::PortNumber(name),
                                                m_nCutterModel == CUTTER_MODEL_QX3, m_usbWaits);
    if (CTcpCutterPort::Serves(name))
        return std::make_unique<CTcpCutterPort>(name.ToUtf8(), m_strService, m_tcpWaits);
    if (CPrinterCutterPort::Serves(name))
        return std::make_unique<CPrinterCutterPort>(name);
    return CBaseCutter::MakePort();
}

int CDMPLCutter::DeviceOpen(int showErrors) {
    // Closed first, so that the port asked is the one of the name now set.
    DeviceClose();
    int r = CBaseCutter::DeviceOpen(Port()->MayOpenQuietly() ? showErrors : 1);
    std::string note = m_pPort->OpenNote();
    if (!note.empty()) {
        if (m_bCutLogOn && !m_hCutLog)
            OpenCutLog();
        WriteLogFile(note);
    }
    return r;
}

int CDMPLCutter::OpenIfNeeded(bool& openedHere) {
    openedHere = false;
    if (IsDeviceOpen())
        return 1;
    if (!DeviceOpen(1))
        return 0;
    openedHere = true;
    return 1;
}

int CDMPLCutter::WriteInitIfPending() {
    if (!m_bInitBeforePen)
        return 0;
    m_bInitBeforePen = 0;
    return WriteCommand(DMPL_INIT);
}

int CDMPLCutter::StartOutput(int showCancel, int init) {
    CBaseCutter::StartOutput(showCancel, 1);
    // The log was made anew: keep what the connection had to say about its open.
    if (IsDeviceOpen() && !m_pPort->OpenNote().empty())
        WriteLogFile(m_pPort->OpenNote());
    fnSetStatus(L"Start Output");
    if (Port()->HeldForOutput()) {
        bool opened = false;
        OpenIfNeeded(opened);
    } else {
        CCutterPort* port = Port();
        port->StartOutput();
        if (!port->IsOpen() && !port->OpenNote().empty())
            WriteLogFile(port->OpenNote());
    }
    m_nWriteRetries = 1;
    int result = 0;
    // An output starts a fresh command stream, whatever was written before it.
    m_bTerminated = 1;
    if (init)
        result = WriteCommand(DMPL_INIT);
    m_bTerminated = 1;
    // The drawing context of an output starts from the normal tool.
    if (m_bPerforating && result == 0) {
        result = WriteCommand(DMPL_LINE_STYLE_NORMAL);
        m_bPerforating = 0;
    }
    // The start goes at once: a cutter that is off line is found before the job is drawn.
    if (result == 0)
        result = FlushOutput();
    return result;
}

int CDMPLCutter::EndOutput() {
    fnSetStatus(L"End Output");
    int delivered = DeliverOutput();
    int result = CBaseCutter::EndOutput();
    CCutterPort* port = Port();
    if (port->HeldForOutput()) {
        DeviceClose();
    } else {
        int r = port->EndOutput();
        if (r != 0 && result == 0)
            result = r;
    }
    return result != 0 ? result : delivered;
}

int CDMPLCutter::PenUp() {
    WriteInitIfPending();
    fnSetStatus(L"Pen Up");
    int r = WriteCommand(DMPL_PEN_UP);
    if (r == 0)
        CBaseCutter::PenUp();
    m_bPointPending = 1;
    m_bTerminated = 0;
    return r;
}

int CDMPLCutter::PenDown() {
    WriteInitIfPending();
    fnSetStatus(L"Pen Down");
    int r = WriteCommand(DMPL_PEN_DOWN);
    if (r == 0)
        CBaseCutter::PenDown();
    m_bPointPending = 1;
    m_bTerminated = 0;
    return r;
}

int CDMPLCutter::Deselect() {
    fnSetStatus(L"Deselect");
    bool opened;
    OpenIfNeeded(opened);
    std::string text = DMPL_DESELECT;
    return SendString(text);
}

int CDMPLCutter::Recut(int count) {
    fnSetStatus(L"Recut");
    bool opened;
    OpenIfNeeded(opened);
    std::string text = FnFormatDmplCommand(DMPL_RECUT_FORMAT, count);
    return SendString(text);
}

int CDMPLCutter::Feed(CLpoint* point) {
    fnSetStatus(L"Feed");
    bool opened;
    OpenIfNeeded(opened);
    ShowCancelDlg(1);
    std::string text = m_bInOutput ? std::string(DMPL_FEED) : std::string(DMPL_INIT) + DMPL_FEED;
    m_bInitBeforePen = 1;
    if (qvhost::GetAppParam(L"Cut Out Feed Options", 0) != 0 &&
        qvhost::GetAppParam(L"Cut Out Feed Then Cut", 0) == 1)
        text += DMPL_FEED_THEN_CUT;
    int r = WriteCommand(text);
    if (r == 0)
        r = FlushOutput();
    m_bTerminated = 1;
    m_bPenUp = 0;
    ZeroExtents();
    ShowCancelDlg(-1);
    if (opened)
        DeviceClose();
    if (point) {
        POINT p = {point->x, point->y};
        TransformPoint(&p); // the cutter feeds by its own measure; the point is not sent
    }
    return r;
}

int CDMPLCutter::Preload(const CWindow& window) {
    if (!m_bPreload)
        return 0;
    WriteInitIfPending();
    int n = int((double(window.y2) - window.y1) / 25 + 0.5);
    int count = n == 0 ? 0 : n + 1;
    fnSetStatus(L"Preload");
    int r = WriteCommand(FnFormatDmplCommand(DMPL_PRELOAD_FORMAT, count));
    if (r == 0) {
        CLpoint corner(window.x1, window.y1);
        r = Feed(&corner);
    }
    m_bPointPending = 1;
    m_bTerminated = 0;
    return r;
}

int CDMPLCutter::fnSetLineStyle(int style) {
    WriteInitIfPending();
    int r = 0;
    if (style == DMPL_LINE_STYLE_PERFORATE) {
        r = WriteCommand(DMPL_LINE_STYLE_PERFORATED);
        m_bPerforating = m_bPerforating || r == 0;
    } else if (m_bPerforating) {
        r = WriteCommand(DMPL_LINE_STYLE_NORMAL);
        m_bPerforating = r != 0;
    }
    m_bPointPending = 1;
    return r;
}

int CDMPLCutter::SetExtents(CWindow* window) {
    if (!window)
        return 0;
    m_wMediaExtents = *window;
    if (Port()->TakesMediaAsInquired())
        m_wInquired = *window;
    return 0;
}

int CDMPLCutter::SendString(std::string& text) {
    return WriteString(text);
}

int CDMPLCutter::InquireExtents(CWindow* window) {
    int result = CUT_ERR_NO_DEVICE;
    const bool asks = Port()->AnswersInquiries();
    // A reply may be long in coming: the person sees what is awaited and may cancel it.
    const bool ownDialog = asks && !fnGetCancelDlg();
    if (ownDialog)
        ShowCancelDlg(1);
    fnSetStatus(L"Inquire Extents from Cutter");
    if (asks) {
        bool opened = false;
        if (OpenIfNeeded(opened)) {
            result = ReadExtents(window);
            if (opened)
                DeviceClose();
        } else {
            result = CUT_ERR_OPEN;
        }
    } else if (Port()->TakesMediaAsInquired()) {
        WriteCommand(DMPL_READ_EXTENTS);
        // The inquiry is a whole command: what follows must not start with a separator.
        m_bTerminated = 1;
        result = 0;
        if (window)
            *window = m_wInquired;
    }
    if (result != 0 && window)
        *window = m_wInquired;
    CutterPurgeComm(PURGE_RXCLEAR);
    fnSetStatus(L"OK");
    if (ownDialog)
        ShowCancelDlg(-1);
    return result;
}

int CDMPLCutter::ReadReply(std::string& reply) {
    reply.clear();
    std::string buffer(size_t(m_nReadBufferSize) + 1, '\0');
    int n = DeviceRead(reinterpret_cast<BYTE*>(buffer.data()), DWORD(m_nReadBufferSize), "\n\r)");
    if (n > 0) {
        if (n > m_nReadBufferSize)
            n = m_nReadBufferSize;
        reply.assign(buffer.data(), size_t(n));
        // A 0 byte ends the text, as the cutter's reply is read as a string.
        reply.resize(std::strlen(reply.c_str()));
    }
    return n;
}

int CDMPLCutter::ReadExtents(CWindow* window) {
    if (m_pPort)
        m_pPort->DiscardInput();

    m_nWriteRetries = 1;
    m_bFlushAfterWrite = 1;
    int r = WriteCommand(DMPL_READ_EXTENTS);
    m_bTerminated = 1;
    if (r != 0)
        return r;
    std::string reply;
    int n = ReadReply(reply);
    if (n < 0)
        return CUT_ERR_READ;
    if (n == 0)
        return CUT_ERR_CANCELLED;
    for (int attempt = 1;; ++attempt) {
        if (reply.empty() || reply[0] != '(') {
            std::string more;
            if (ReadReply(more) > 0)
                reply = more;
        }
        int a, b;
        POINT pos;
        CWindow ext;
        if (ReadExtentsData(reply.c_str(), a, b, pos, &ext)) {
            auto conv = [this](LONG v) { return fnTruncLong(v * m_dResolution); };
            CWindow w(conv(ext.x1), conv(ext.y1), conv(ext.x2), conv(ext.y2));
            POINT p = {conv(pos.x), conv(pos.y)};
            m_ptCurrent = p;
            if (m_nOrigin == 0 || m_nOrigin == 2) {
                std::swap(w.x1, w.y1);
                std::swap(w.x2, w.y2);
                m_ptCurrent.y = p.x;
                m_ptCurrent.x = m_wMediaExtents.x2 - p.y;
            }
            if (window)
                *window = w;
            return 0;
        }
        if (attempt >= DMPL_EXTENTS_TRIES) {
            CString text = L"Failed to read extents from cutter\nReturns <%s>";
            CString shown;
            shown.Format(text, CString(reply).GetString());
            qvhost::MessageBox(shown, qvhost::kMbOk | qvhost::kMbIconExclamation);
            return CUT_ERR_READ;
        }
        if (!WaitUnlessCancelled(DMPL_EXTENTS_RETRY_WAIT_MS))
            return CUT_ERR_CANCELLED;
        m_nWriteRetries = 1;
        r = WriteCommand(DMPL_READ_EXTENTS);
        m_bTerminated = 1;
        if (r != 0)
            return r;
        ReadReply(reply);
    }
}

int CDMPLCutter::ReadExtentsData(const char* reply, int& a, int& b, POINT& position,
                                 CWindow* extents) {
    a = b = 0;
    position = {0, 0};
    CWindow dummy;
    CWindow& e = extents ? *extents : dummy;
    e = CWindow();
    if (!reply)
        return 0;
    const char* p = std::strchr(reply, '(');
    if (!p)
        return 0;
    ++p;
    LONG values[8] = {};
    int count = 0;
    while (count < 8) {
        const char* start = p;
        bool negative = false;
        if (*p == '-' || *p == '+') {
            negative = *p == '-';
            ++p;
        }
        if (*p < '0' || *p > '9') {
            p = start;
            break;
        }
        long long v = 0;
        while (*p >= '0' && *p <= '9') {
            if (v < 10000000000LL)
                v = v * 10 + (*p - '0');
            ++p;
        }
        if (*p != ',')
            break;
        ++p;
        if (v > INT32_MAX)
            v = INT32_MAX;
        values[count++] = LONG(negative ? -v : v);
    }
    if (count != 8)
        return 0;
    a = values[0];
    b = values[1];
    position = {values[2], values[3]};
    e = CWindow(values[4], values[5], values[6], values[7]);
    return 1;
}
