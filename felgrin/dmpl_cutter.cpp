#include "felgrin/dmpl_cutter.h"

#include "felgrin/felgrin_strings.h"
#include "qvutils/host_services.h"
#include "qvutils/qv_utils.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNCREATE(CDMPLCutter, CBaseCutter)

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
    if (m_pPrinter)
        m_pPrinter.reset();
    DeviceClose();
}

void CDMPLCutter::fnSetTcpTimeouts(DWORD echoMs, DWORD readMs, DWORD lingerMs) {
    m_nTcpEchoMs = echoMs;
    m_nTcpReadMs = readMs;
    m_nTcpLingerMs = lingerMs;
    ConfigurePorts();
}

void CDMPLCutter::fnSetUsbWaits(DWORD creditWaitMs, int maxCreditWaits, DWORD pollMs,
                                DWORD pipeMs) {
    m_nUsbCreditMs = creditWaitMs;
    m_nUsbMaxCreditWaits = maxCreditWaits;
    m_nUsbPollMs = pollMs;
    m_nUsbPipeMs = pipeMs;
    ConfigurePorts();
}

void CDMPLCutter::ConfigurePorts() {
    if (m_pTcpPort) {
        m_pTcpPort->m_nEchoTimeoutMs = m_nTcpEchoMs;
        m_pTcpPort->m_nReadTimeoutMs = m_nTcpReadMs;
        m_pTcpPort->m_nCloseLingerMs = m_nTcpLingerMs;
        m_pTcpPort->m_nDrainTimeoutMs = m_nTcpReadMs < 2000 ? m_nTcpReadMs : 2000;
    }
    if (m_pUsbPort) {
        m_pUsbPort->m_nCreditWaitMs = m_nUsbCreditMs;
        m_pUsbPort->m_nMaxCreditWaits = m_nUsbMaxCreditWaits;
        m_pUsbPort->m_nPollMs = m_nUsbPollMs;
        m_pUsbPort->m_nPipeTimeoutMs = m_nUsbPipeMs;
    }
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
    if (m_pTcpPort && !m_pTcpPort->Note().empty())
        WriteLogFile(m_pTcpPort->Note());
    fnSetStatus(L"Start Output");
    bool opened = false;
    switch (GetDeviceType()) {
    case DEVICE_USB:
        if (m_pUsbPort)
            m_pUsbPort->Open();
        break;
    case DEVICE_SERIAL:
    case DEVICE_PARALLEL:
    case DEVICE_TCP:
        OpenIfNeeded(opened);
        break;
    case DEVICE_PRINTER: {
        std::string error;
        m_pPrinter = platform::CPrinterQueue::Open(m_CommsParams.szPortName, &error);
        if (m_pPrinter && !m_pPrinter->StartDoc(DMPL_PRINT_JOB_NAME, &error))
            m_pPrinter.reset();
        if (!m_pPrinter) {
            CString text;
            text.Format(FelgrinLoadString(IDS_FAILED_OPEN_SPOOLER),
                        m_CommsParams.szPortName.GetString());
            qvhost::MessageBox(text, qvhost::kMbOk | qvhost::kMbIconExclamation);
            WriteLogFile(error);
        }
        break;
    }
    default:
        break;
    }
    m_nWriteRetries = 1;
    int result = 0;
    if (init)
        result = WriteCommand(DMPL_INIT);
    m_bTerminated = 1;
    // The drawing context of an output starts from the normal tool.
    if (m_bPerforating && result == 0) {
        result = WriteCommand(DMPL_LINE_STYLE_NORMAL);
        m_bPerforating = 0;
    }
    return result;
}

int CDMPLCutter::EndOutput() {
    fnSetStatus(L"End Output");
    int result = CBaseCutter::EndOutput();
    switch (GetDeviceType()) {
    case DEVICE_USB:
        if (m_pUsbPort)
            m_pUsbPort->Close();
        break;
    case DEVICE_SERIAL:
    case DEVICE_PARALLEL:
    case DEVICE_TCP:
        DeviceClose();
        break;
    case DEVICE_PRINTER:
        if (m_pPrinter) {
            // A job the scheduler refused was not cut: say so rather than report success.
            if (!m_pPrinter->EndDoc() && result == 0)
                result = CUT_ERR_WRITE;
            m_pPrinter.reset();
        }
        break;
    default:
        break;
    }
    return result;
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
    std::string text = "\x1b;@:RECUT=" + std::to_string(count) + ".END.";
    return SendString(text);
}

int CDMPLCutter::Feed(CLpoint* point) {
    fnSetStatus(L"Feed");
    bool opened;
    OpenIfNeeded(opened);
    ShowCancelDlg(1);
    std::string text = m_bInOutput ? DMPL_FEED : DMPL_INIT DMPL_FEED;
    m_bInitBeforePen = 1;
    if (qvhost::GetAppParam(L"Cut Out Feed Options", 0) != 0 &&
        qvhost::GetAppParam(L"Cut Out Feed Then Cut", 0) == 1)
        text += DMPL_FEED_THEN_CUT;
    int r = WriteCommand(text);
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
    int r = WriteCommand("EW " + std::to_string(count));
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
    if (style == 1) {
        r = WriteCommand(DMPL_LINE_STYLE_PERFORATED);
        m_bPerforating = m_bPerforating || r == 0;
    } else if (style != 1 && m_bPerforating) {
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
    int t = GetDeviceType();
    if (t == DEVICE_FILE || t == DEVICE_PARALLEL || t == DEVICE_PRINTER)
        m_wInquired = *window;
    return 0;
}

int CDMPLCutter::SendString(std::string& text) {
    return WriteString(text);
}

int CDMPLCutter::InquireExtents(CWindow* window) {
    fnSetStatus(L"Inquire Extents from Cutter");
    int result = CUT_ERR_NO_DEVICE;
    int t = GetDeviceType();
    if (t == DEVICE_SERIAL || t == DEVICE_USB || t == DEVICE_TCP) {
        bool opened = false;
        if (OpenIfNeeded(opened)) {
            result = ReadExtents(window);
            if (opened)
                DeviceClose();
        } else {
            result = CUT_ERR_OPEN;
        }
    } else if (t == DEVICE_FILE || t == DEVICE_PARALLEL || t == DEVICE_PRINTER) {
        WriteCommand(DMPL_READ_EXTENTS);
        result = 0;
        if (window)
            *window = m_wInquired;
    }
    if (result != 0 && window)
        *window = m_wInquired;
    if (t == DEVICE_SERIAL)
        CutterPurgeComm(8);
    fnSetStatus(L"OK");
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
    int t = GetDeviceType();
    if (t == DEVICE_SERIAL)
        CutterPurgeComm(8);
    else if (t == DEVICE_USB && m_pUsbPort) {
        m_pUsbPort->Drain();
        m_pUsbPort->Drain();
    } else if (t == DEVICE_TCP && m_pTcpPort)
        m_pTcpPort->Drain();

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
        if (attempt >= 5) {
            CString text = L"Failed to read extents from cutter\nReturns <%s>";
            CString shown;
            shown.Format(text, CString(reply).GetString());
            qvhost::MessageBox(shown, qvhost::kMbOk | qvhost::kMbIconExclamation);
            return CUT_ERR_READ;
        }
        fnQvWaitTimer(2000, true);
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

int CDMPLCutter::IsDeviceOpen() {
    int t = GetDeviceType();
    if (t == DEVICE_USB)
        return m_pUsbPort != nullptr;
    if (t == DEVICE_TCP)
        return m_pTcpPort != nullptr;
    return CBaseCutter::IsDeviceOpen();
}

int CDMPLCutter::DeviceOpen(int showErrors) {
    int t = GetDeviceType();
    if (t == DEVICE_USB) {
        const CString& name = m_CommsParams.szPortName;
        int number = 1;
        if (name.GetLength() == 4 && name[3] >= L'0' && name[3] <= L'9')
            number = name[3] - L'0';
        m_pUsbPort = std::make_unique<CUsbPort>(number, m_nCutterModel == CUTTER_MODEL_QX3);
        ConfigurePorts();
        if (!m_pUsbPort->Open()) {
            if (showErrors)
                qvhost::MessageBox(FelgrinLoadString(IDS_NO_USB_DEVICE),
                                   qvhost::kMbOk | qvhost::kMbIconExclamation);
            m_pUsbPort.reset();
            return 0;
        }
        m_pUsbPort->Close();
        return 1;
    }
    if (t == DEVICE_PRINTER)
        return 1;
    if (t == DEVICE_TCP) {
        if (m_bCutLogOn && !m_hCutLog)
            OpenCutLog();
        m_pTcpPort = std::make_unique<CTcpPort>();
        ConfigurePorts();
        std::string host = m_CommsParams.szPortName.ToUtf8();
        int r = m_pTcpPort->Open(host.c_str(), m_strService.c_str());
        if (!m_pTcpPort->Note().empty())
            WriteLogFile(m_pTcpPort->Note());
        if (r != 0) {
            if (showErrors)
                qvhost::MessageBox(L"Could not open Vanter Socket Cutter",
                                   qvhost::kMbOk | qvhost::kMbIconExclamation);
            m_pTcpPort.reset();
            return 0;
        }
        return 1;
    }
    return CBaseCutter::DeviceOpen(1);
}

int CDMPLCutter::DeviceClose() {
    int t = GetDeviceType();
    if (t == DEVICE_USB) {
        if (m_pUsbPort)
            m_pUsbPort->Close();
        m_pUsbPort.reset();
        return 0;
    }
    if (t == DEVICE_PRINTER)
        return 0;
    if (t == DEVICE_TCP) {
        if (m_pTcpPort)
            m_pTcpPort->Close();
        m_pTcpPort.reset();
        return 0;
    }
    return CBaseCutter::DeviceClose();
}

DWORD CDMPLCutter::DeviceWrite(const BYTE* data, DWORD length) {
    int t = GetDeviceType();
    if (t == DEVICE_USB || t == DEVICE_TCP || t == DEVICE_PRINTER) {
        DWORD written = 0;
        if (!CutCancelled()) {
            fnMessageLoop();
            int n = 0;
            if (t == DEVICE_USB)
                n = m_pUsbPort ? m_pUsbPort->Write(data, int(length)) : 0;
            else if (t == DEVICE_TCP)
                n = m_pTcpPort ? m_pTcpPort->Write(data, int(length)) : 0;
            else
                n = m_pPrinter ? m_pPrinter->Write(data, length) : 0;
            written = n > 0 ? DWORD(n) : 0;
        }
        m_nWriteRetries = CUTTER_WRITE_RETRIES;
        m_bFlushAfterWrite = 0;
        return written;
    }
    return CBaseCutter::DeviceWrite(data, length);
}

int CDMPLCutter::DeviceRead(BYTE* buffer, DWORD length, const char* terminators) {
    int t = GetDeviceType();
    if (t == DEVICE_USB) {
        if (!m_pUsbPort)
            return -2;
        int n = m_pUsbPort->Read(buffer, int(length));
        if (n > int(length))
            n = int(length);
        return n;
    }
    if (t == DEVICE_FILE || t == DEVICE_PARALLEL || t == DEVICE_PRINTER)
        return 0;
    if (t == DEVICE_TCP) {
        if (!m_pTcpPort)
            return -2;
        std::string text;
        int n = m_pTcpPort->Read(text, int(length));
        if (n > int(length))
            n = int(length);
        if (n > 0)
            std::memcpy(buffer, text.data(), size_t(n));
        buffer[n > 0 ? n : 0] = 0;
        return n;
    }
    return CBaseCutter::DeviceRead(buffer, length, terminators);
}
