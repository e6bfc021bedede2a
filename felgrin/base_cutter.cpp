#include "felgrin/base_cutter.h"

#include "felgrin/cutter_instance.h"
#include "felgrin/device_cutter_port.h"
#include "felgrin/felgrin_strings.h"
#include "platform/system/clock.h"
#include "platform/system/paths.h"
#include "qvutils/host_services.h"
#include "qvutils/qv_utils.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNCREATE(CBaseCutter, CObject)

namespace {

LONG RoundHalfAway(double v) {
    return fnRoundLong(v);
}

// Other write errors (not a time-out) are retried at most this many times in a row before the
// operator is asked, so a vanished device cannot spin the program forever.
constexpr int kOtherErrorLimit = 50;

// The longest a write waits for the device without pumping messages.
constexpr DWORD kWriteWaitSliceMs = 250;

// What the operator is told when a write does not get through: a connection the cutter
// refused or reset is no time-out, and the off-line question would send them the wrong way.
UINT WriteFailureMessage(const CCutterPort& port) {
    return port.ConnectionLost() ? IDS_CONNECTION_LOST : IDS_DEVICE_WRITE_TIMEOUT;
}

} // namespace

CBaseCutter::CBaseCutter() {
    m_strOutFileName = qvhost::HomePath(L"output.spl");
    ZeroExtents();
}

CBaseCutter::~CBaseCutter() {
    // Instances outlive a deleted cutter in open sheet documents: leave none pointing here.
    for (CCutterInstance* instance : m_liveInstances)
        instance->fnCutterDeleted();
    m_liveInstances.clear();
    m_pCutInst = nullptr;
    DeviceClose();
    CloseCutLog();
    m_pCancelDlg.reset();
}

int CBaseCutter::Inquire(int what, void* data, int) {
    if (what & CUTTER_INQUIRE_FLAG_NONE)
        return 0;
    if (what == CUTTER_INQUIRE_ARC_ERROR)
        return CUTTER_ARC_ERROR;
    if (what == CUTTER_INQUIRE_EXTENTS)
        return InquireExtents(static_cast<CWindow*>(data));
    return 0;
}

int CBaseCutter::StartDocW() {
    m_ptLastRaw = {99999999, 99999999};
    m_dFirstPoint = -1.0;
    if (!DeviceOpen(1))
        return CUT_ERR_OPEN;
    m_bInDoc = 1;
    return 0;
}

int CBaseCutter::EndDoc() {
    DeviceClose();
    m_bInDoc = 0;
    return 0;
}

int CBaseCutter::StartPage() {
    ZeroExtents();
    return 0;
}

void CBaseCutter::ZeroExtents() {
    for (LONG& v : m_nOutputExtents)
        v = 0;
    m_ptLastRaw = {99999999, 99999999};
    m_dFirstPoint = -1.0;
}

CString CBaseCutter::fnGetCutLogPath() const {
    return qvhost::HomePath(L"CutLog.txt");
}

bool CBaseCutter::OpenCutLog() {
    CloseCutLog();
    std::string path = platform::MapPath(fnGetCutLogPath());
    m_hCutLog = std::fopen(path.c_str(), "w+b");
    // A line per command: write the log in blocks as the output is.
    if (m_hCutLog) {
        m_cutLogBuffer.resize(CUTTER_OUTPUT_BLOCK_BYTES);
        std::setvbuf(m_hCutLog, m_cutLogBuffer.data(), _IOFBF, m_cutLogBuffer.size());
    }
    return m_hCutLog != nullptr;
}

void CBaseCutter::CloseCutLog() {
    if (m_hCutLog)
        std::fclose(m_hCutLog);
    m_hCutLog = nullptr;
}

int CBaseCutter::StartOutput(int showCancel, int) {
    m_bInOutput = 1;
    m_bPointPending = 0;
    m_bPenUp = 0;
    m_ptLastRaw = {99999999, 99999999};
    // The first point of an output is always written: the cutter may have gone home since the
    // last output, so a point equal to that output's last one is still a move.
    m_dFirstPoint = -1.0;
    if (showCancel)
        ShowCancelDlg(1);
    // A log that cannot be made is skipped: it must not stop the cut.
    if (m_bCutLogOn)
        OpenCutLog();
    return 0;
}

int CBaseCutter::EndOutput() {
    int result = FlushOutput();
    if (m_bCutLogOn)
        CloseCutLog();
    m_bTerminated = 1;
    ShowCancelDlg(-1);
    m_bInOutput = 0;
    m_bPenUp = 0;
    return result;
}

int CBaseCutter::ReturnToZero() {
    if (!m_bReturnToZero)
        return 0;
    POINT target;
    switch (m_nOrigin) {
    case 0:
    case 1:
        target = {0, m_ptCurrent.y};
        break;
    case 2:
    case 3:
        target = {m_ptCurrent.x, 0};
        break;
    default:
        target = {0, 0};
        break;
    }
    PenUp();
    WritePoint(&target);
    POINT zero = {0, 0};
    return WritePoint(&zero);
}

int CBaseCutter::PenUp() {
    m_bPointPending = 0;
    m_bPenUp = 1;
    return 0;
}

int CBaseCutter::PenDown() {
    m_bPointPending = 0;
    m_bPenUp = 0;
    return 0;
}

// Writes each point that moves the tool, with the pen as the caller set it.
int CBaseCutter::WritePoints(POINT* points, int count) {
    if (m_bProcessMessages)
        fnMessageLoop();
    int result = 0;
    for (int i = 0; i < count && result == 0; ++i) {
        if (CheckIfValidMovePoint(&points[i])) {
            result = WritePoint(&m_ptCurXf);
            UpdateExtents(&m_ptCurXf);
        }
    }
    return result;
}

int CBaseCutter::PolyMoveTo(POINT* points, int count) {
    if (!m_bPenUp) {
        int r = PenUp();
        if (r != 0)
            return r;
    }
    return WritePoints(points, count);
}

int CBaseCutter::PolyLineTo(POINT* points, int count) {
    if (m_bPenUp) {
        int r = PenDown();
        if (r != 0)
            return r;
    }
    return WritePoints(points, count);
}

int CBaseCutter::CheckIfValidMovePoint(POINT* point) {
    m_ptCurRaw = *point;
    m_ptCurXf = TransformPoint(point);
    if (m_dFirstPoint < 0) {
        m_dFirstPoint = 0;
    } else {
        if (m_ptCurXf.x == m_ptLastXf.x && m_ptCurXf.y == m_ptLastXf.y)
            return 0;
        if (m_bOptimizeCurves) {
            double dx = double(m_ptCurRaw.x) - m_ptLastRaw.x;
            double dy = double(m_ptCurRaw.y) - m_ptLastRaw.y;
            if (std::sqrt(dx * dx + dy * dy) < m_nMinStep)
                return 0;
        }
    }
    m_ptLastRaw = m_ptCurRaw;
    m_ptLastXf = m_ptCurXf;
    return 1;
}

POINT CBaseCutter::TransformPoint(POINT* p) {
    const CWindow& m = m_wMediaExtents;
    double u, v;
    switch (m_nOrigin) {
    case 1:
        u = p->x;
        v = p->y;
        break;
    case 0:
        u = p->y;
        v = double(m.x2) - p->x;
        break;
    case 3:
        u = double(m.y2) - p->y;
        v = p->x;
        break;
    case 4:
        u = p->x - double((int64_t(m.x2) + m.x1) / 2);
        v = p->y - double((int64_t(m.y2) + m.y1) / 2);
        break;
    default:
        u = double(m.y2) - p->y;
        v = double(m.x2) - p->x;
        break;
    }
    POINT r;
    r.x = RoundHalfAway(u / m_dResolution + 0.49);
    r.y = RoundHalfAway(v / m_dResolution + 0.49);
    return r;
}

double CBaseCutter::GetAngleOfVector(POINT* a, POINT* b) {
    return std::atan2(double(b->y) - a->y, double(b->x) - a->x);
}

double CBaseCutter::GetAngleOfTransformedVector(POINT* a, POINT* b) {
    if (m_nOrigin == 0)
        return std::atan2(double(b->x) - a->x, double(a->y) - b->y);
    if (m_nOrigin == 1)
        return std::atan2(double(b->x) - a->x, double(b->y) - a->y);
    return 0;
}

void CBaseCutter::UpdateExtents(POINT* p) {
    m_ptCurrent = *p;
    if (p->x < m_nOutputExtents[0])
        m_nOutputExtents[0] = p->x;
    if (p->y > m_nOutputExtents[1])
        m_nOutputExtents[1] = p->y;
    if (p->x > m_nOutputExtents[2])
        m_nOutputExtents[2] = p->x;
    if (p->y < m_nOutputExtents[3])
        m_nOutputExtents[3] = p->y;
}

int CBaseCutter::fnIsCurrentPosition(POINT p) {
    auto snap = [this](LONG v) {
        return LONG(fnTruncLong(v / m_dResolution + 0.5) * m_dResolution);
    };
    return snap(p.x) == m_ptCurrent.x && snap(p.y) == m_ptCurrent.y;
}

int CBaseCutter::InquireExtents(CWindow* window) {
    if (window)
        *window = m_wInquired;
    return CUT_ERR_STORED;
}

int CBaseCutter::SetExtents(CWindow* window) {
    if (window)
        m_wMediaExtents = *window;
    return 0;
}

int CBaseCutter::SetDesignExtents(CWindow* window) {
    if (window)
        m_wDesignExtents = *window;
    return 0;
}

int CBaseCutter::ReadString(std::string& text) {
    // One byte more than is asked for, for the terminating zero.
    BYTE buffer[1024 + 1] = {};
    int n = DeviceRead(buffer, 1024, "");
    if (n <= 0) {
        text.clear();
        return n < 0 ? CUT_ERR_READ : CUT_ERR_CANCELLED;
    }
    text.assign(reinterpret_cast<const char*>(buffer), size_t(n));
    return 0;
}

// Write path -----------------------------------------------------------------------------------

int CBaseCutter::WriteBuffer(const BYTE* data, DWORD length) {
    m_nBytesSent += int(length);
    // Outside an output, and once the cut is cancelled or nothing is open, a write goes (or
    // fails) at once.
    if (!m_bInOutput || CutCancelled() || !IsDeviceOpen()) {
        if (FlushOutput(false) != 0)
            return 0;
        return int(DeviceWrite(data, length));
    }
    ULONGLONG now = GetTickCount64();
    if (m_strPending.empty())
        m_tPendingSince = now;
    m_strPending.append(reinterpret_cast<const char*>(data), length);
    if (m_strPending.size() >= CUTTER_OUTPUT_BLOCK_BYTES ||
        now - m_tPendingSince >= CUTTER_OUTPUT_HOLD_MS) {
        if (FlushOutput(false) != 0)
            return 0;
    }
    return int(length);
}

int CBaseCutter::FlushOutput(bool logFailure) {
    if (m_strPending.empty())
        return 0;
    std::string block;
    block.swap(m_strPending);
    m_strPending.reserve(block.capacity());
    DWORD n = DeviceWrite(reinterpret_cast<const BYTE*>(block.data()), DWORD(block.size()));
    if (n >= block.size())
        return 0;
    if (logFailure)
        WriteLogFile("\nFailed to Write to Cutter - \n");
    return CUT_ERR_WRITE;
}

int CBaseCutter::WriteString(const std::string& text) {
    int written = WriteBuffer(reinterpret_cast<const BYTE*>(text.data()), DWORD(text.size()));
    int result = 0;
    if (written < int(text.size())) {
        result = CUT_ERR_WRITE;
        WriteLogFile("\nFailed to Write to Cutter - \n");
    }
    if (CutCancelled())
        WriteLogFile("\nCut Cancelled - \n");
    WriteLogFile(text);
    return result;
}

int CBaseCutter::WriteCommand(const std::string& command) {
    std::string text;
    if (!m_bTerminated)
        text = m_strPrefix;
    text += command;
    text += m_strTerminator;
    int r = WriteString(text);
    m_bTerminated = 0;
    return r;
}

int CBaseCutter::WritePoint(POINT* p) {
    std::string text;
    if (m_bPointPending)
        text = m_strSeparator;
    text += std::to_string(p->x);
    text += m_strSeparator;
    text += std::to_string(p->y);
    int r = WriteString(text);
    m_bPointPending = 1;
    m_bTerminated = 0;
    return r;
}

void CBaseCutter::WriteLogFile(const std::string& text) {
    if (!m_bCutLogOn || !m_hCutLog)
        return;
    // Buffered: the log is complete when the output ends; a flush per command would cost as
    // much as the command itself.
    std::fwrite(text.data(), 1, text.size(), m_hCutLog);
    std::fwrite("\r\n", 1, 2, m_hCutLog);
}

// Cancel and status ----------------------------------------------------------------------------

int CBaseCutter::CutCancelled() {
    return m_bCutCancelled;
}

void CBaseCutter::SetCutCancelled(int v) {
    m_bCutCancelled = v;
}

int CBaseCutter::ShowCancelDlg(int mode) {
    if (mode == -1) {
        m_pCancelDlg.reset();
        return 0;
    }
    if (!m_pCancelDlg) {
        m_pCancelDlg = std::make_unique<CDlgCancelCut>(this, nullptr);
        m_pCancelDlg->m_strCutter = m_strName;
        m_pCancelDlg->m_strPort = Port()->DisplayName(m_CommsParams);
        m_pCancelDlg->Create();
    }
    m_pCancelDlg->ShowWindow(mode);
    fnMessageLoop();
    return 0;
}

void CBaseCutter::fnSetStatus(const wchar_t* text) {
    if (!m_pCancelDlg)
        return;
    m_pCancelDlg->SetStatus(text);
    fnMessageLoop();
}

void CBaseCutter::fnMessageLoop() {
    qvhost::PumpMessages();
}

int CBaseCutter::fnAttachCutInst(CCutterInstance* instance) {
    if (m_pCutInst && m_pCutInst != instance)
        return 0;
    m_pCutInst = instance;
    return 1;
}

void CBaseCutter::fnAddLiveInstance(CCutterInstance* instance) {
    if (instance && std::find(m_liveInstances.begin(), m_liveInstances.end(), instance) ==
                        m_liveInstances.end())
        m_liveInstances.push_back(instance);
}

void CBaseCutter::fnRemoveLiveInstance(CCutterInstance* instance) {
    std::erase(m_liveInstances, instance);
}

int CBaseCutter::fnDetachCutInst(CCutterInstance* instance) {
    if (m_pCutInst != instance)
        return 0;
    m_pCutInst = nullptr;
    ShowCancelDlg(-1);
    return 1;
}

// Device layer ---------------------------------------------------------------------------------

int CBaseCutter::GetDeviceType(const CString& port) {
    if (port.CompareNoCase(L"FILE") == 0)
        return DEVICE_FILE;
    if (port.CompareNoCase(L"NETWORK") == 0)
        return DEVICE_NETWORK_FILE;
    if (port.CompareNoCase(L"DIRECT") == 0)
        return DEVICE_DIRECT;
    if (QvIsIPv4Address(port))
        return DEVICE_TCP;
    CString head = port.Left(3);
    if (head.CompareNoCase(L"COM") == 0)
        return DEVICE_SERIAL;
    if (head.CompareNoCase(L"LPT") == 0)
        return DEVICE_PARALLEL;
    if (head.CompareNoCase(L"USB") == 0)
        return DEVICE_USB;
    return DEVICE_PRINTER;
}

int CBaseCutter::GetDeviceType() const {
    return GetDeviceType(m_CommsParams.szPortName);
}

CCutterPort* CBaseCutter::Port() {
    // A port that is open stays the one chosen at its open; a closed one follows the name.
    if (!m_pPort || (!m_pPort->IsOpen() && m_strPortMadeFor != PortIdentity()))
        MakeNewPort();
    return m_pPort.get();
}

CString CBaseCutter::PortIdentity() const {
    return m_CommsParams.szPortName + L"|" + m_strOutFileName;
}

void CBaseCutter::MakeNewPort() {
    m_pPort = MakePort();
    m_strPortMadeFor = PortIdentity();
    // While the port waits for the cutter the windows stay live, and a Cancel ends the wait.
    m_pPort->SetWaitHook([this] { return KeepWaiting(); });
}

bool CBaseCutter::KeepWaiting() {
    fnMessageLoop();
    return !CutCancelled();
}

bool CBaseCutter::WaitUnlessCancelled(DWORD ms) {
    return PortWait([this] { return KeepWaiting(); }, ms);
}

std::unique_ptr<CCutterPort> CBaseCutter::MakePort() {
    return std::make_unique<CDeviceCutterPort>(m_CommsParams, m_strOutFileName);
}

int CBaseCutter::IsDeviceOpen() {
    return m_pPort && m_pPort->IsOpen();
}

int CBaseCutter::DeviceOpen(int showErrors) {
    DeviceClose();
    MakeNewPort();
    int r = m_pPort->Open(showErrors);
    m_strSetupError = m_pPort->SetupError();
    return r;
}

void CBaseCutter::CutterPurgeComm(int what) {
    if (!m_pPort)
        return;
    if (what == PURGE_TXCLEAR)
        m_pPort->PurgeTransmit();
    else
        m_pPort->PurgeReceive();
}

int CBaseCutter::DeviceClose() {
    if (!m_pPort)
        return 1;
    if (m_pPort->IsOpen())
        FlushOutput();
    return m_pPort->Close();
}

// The one write policy of every transport: a cutter that takes nothing for a whole write
// time-out, or whose connection is gone, gets the operator asked at once; errors that may pass
// are retried up to the retry limit. The waits are cut into slices with messages pumped in
// between, so a Cancel is seen promptly.
DWORD CBaseCutter::DeviceWrite(const BYTE* data, DWORD length) {
    CCutterPort* port = m_pPort.get();
    if (CutCancelled() || !port || !port->IsOpen()) {
        m_nWriteRetries = CUTTER_WRITE_RETRIES;
        m_bFlushAfterWrite = 0;
        return 0;
    }
    fnMessageLoop();
    DWORD written = 0;
    int failures = 0;
    int errors = 0;
    DWORD stalledMs = 0;
    while (written < length) {
        DWORD wait = m_nWriteTimeoutMs < kWriteWaitSliceMs ? m_nWriteTimeoutMs : kWriteWaitSliceMs;
        int n = port->Write(data + written, length - written, wait);
        if (n > 0) {
            written += DWORD(n);
            failures = 0;
            errors = 0;
            stalledMs = 0;
            fnMessageLoop();
            if (CutCancelled())
                break;
            continue;
        }
        if (n == PORT_WRITE_REPORTED)
            break;
        bool ask;
        if (n == PORT_WRITE_TIMEOUT) {
            stalledMs += wait;
            ask = stalledMs >= m_nWriteTimeoutMs;
        } else if (n == PORT_WRITE_GONE) {
            ask = true;
        } else {
            // A device error is not a time-out, but it is bounded too, or a pulled cable would
            // keep the program busy for ever.
            ask = ++errors >= kOtherErrorLimit || ++failures >= m_nWriteRetries;
        }
        if (port->IsCharacterDevice() && n < 0)
            port->PurgeReceive();
        if (ask) {
            int answer = qvhost::MessageBox(FelgrinLoadString(WriteFailureMessage(*port)),
                                            qvhost::kMbRetryCancel | qvhost::kMbIconExclamation);
            if (answer != qvhost::kIdRetry) {
                SetCutCancelled(1);
                if (port->IsCharacterDevice())
                    port->PurgeTransmit();
                break;
            }
            failures = 0;
            errors = 0;
            stalledMs = 0;
        }
        fnMessageLoop();
        if (CutCancelled())
            break;
    }
    if (m_bFlushAfterWrite)
        port->Flush();
    m_nWriteRetries = CUTTER_WRITE_RETRIES;
    m_bFlushAfterWrite = 0;
    return written;
}

int CBaseCutter::DeliverOutput() {
    int flushed = FlushOutput();
    if (flushed != 0)
        return flushed;
    CCutterPort* port = m_pPort.get();
    if (!port || !port->IsOpen() || CutCancelled())
        return 0;
    while (!port->Deliver(m_nWriteTimeoutMs)) {
        // A cancelled cut has nothing more to deliver.
        if (CutCancelled())
            return 0;
        // The bytes were taken by the system but never reached the cutter.
        WriteLogFile("\nFailed to Write to Cutter - \n");
        int answer = qvhost::MessageBox(FelgrinLoadString(WriteFailureMessage(*port)),
                                        qvhost::kMbRetryCancel | qvhost::kMbIconExclamation);
        if (answer != qvhost::kIdRetry)
            return CUT_ERR_WRITE;
    }
    return 0;
}

int CBaseCutter::DeviceRead(BYTE* buffer, DWORD length, const char* terminators) {
    // The cutter answers what it has been sent.
    FlushOutput();
    return Port()->Read(buffer, length, terminators, m_nReadTimeoutMs);
}
