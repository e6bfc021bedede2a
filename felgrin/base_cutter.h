// The base of every cutter driver: one installed cutter, its port, its media and the state of
// the job being sent. Data points are micrometres; the cutter works in steps of the resolution.
#pragma once

#include "felgrin/cutter_port.h"
#include "felgrin/dlg_cancel_cut.h"
#include "pivora/geometry/geometry_types.h"
#include "platform/core/cstring.h"
#include "platform/core/object.h"
#include "platform/system/settings_store.h"
#include "qvutils/comms_params.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class CCutterInstance;

// Results shared by the whole driver.
constexpr int CUT_OK = 0;
constexpr int CUT_ERR_OPEN = -2;      // the device did not open
constexpr int CUT_ERR_NO_DEVICE = -3; // extents cannot be asked on this port
constexpr int CUT_ERR_CANCELLED = -5; // the cut was cancelled, or no reply came
constexpr int CUT_ERR_WRITE = -7;     // a write to the cutter failed
constexpr int CUT_ERR_READ = -8;      // the cutter's reply could not be read
constexpr int CUT_ERR_BUSY = -9;      // held by another instance
constexpr int CUT_ERR_STORED = -10;   // the extents are the stored ones

// What Inquire is asked: a request with the flag set is answered 0; the arc error is the
// largest distance, in data units, a flattened curve may stray from the true one.
constexpr int CUTTER_INQUIRE_FLAG_NONE = 0x1000;
constexpr int CUTTER_INQUIRE_ARC_ERROR = 258;
constexpr int CUTTER_INQUIRE_EXTENTS = 260;
constexpr int CUTTER_ARC_ERROR = 12;

// Device types decided by the port name.
enum ECutterDevice {
    DEVICE_SERIAL = 0,
    DEVICE_PARALLEL = 1,
    DEVICE_FILE = 2,
    DEVICE_NETWORK_FILE = 3,
    DEVICE_DIRECT = 4,
    DEVICE_USB = 5,
    DEVICE_PRINTER = 6,
    DEVICE_TCP = 7,
};

// Where the media's origin lies, which decides how data points turn into cutter steps.
typedef int LaserOrigin;

// The retry limit of a device write outside the first command of an output.
constexpr int CUTTER_WRITE_RETRIES = 50;

// An output is written in blocks: when this much has been collected, or when the first byte
// collected is this old, so that a slow cutter starts at once.
constexpr size_t CUTTER_OUTPUT_BLOCK_BYTES = 32768;
constexpr ULONGLONG CUTTER_OUTPUT_HOLD_MS = 50;

// What CutterPurgeComm drops: what was written and not yet sent, or what came and was not read.
constexpr int PURGE_TXCLEAR = 4;
constexpr int PURGE_RXCLEAR = 8;

constexpr int CUTTER_MODEL_DMPL = 2;
constexpr int CUTTER_MODEL_QX3 = 3;

class CBaseCutter : public CObject {
    DECLARE_DYNCREATE(CBaseCutter)

public:
    CBaseCutter();
    ~CBaseCutter() override;
    CBaseCutter(const CBaseCutter&) = delete;
    CBaseCutter& operator=(const CBaseCutter&) = delete;

    virtual int Initialise() { return 0; }
    virtual int Inquire(int what, void* data, int);
    virtual int StartDocW();
    virtual int EndDoc();
    virtual int StartPage();
    virtual int EndPage() { return 0; }
    virtual int StartOutput(int showCancel, int init);
    virtual int EndOutput();
    virtual int Recut(int) { return 0; }
    virtual int Deselect() { return 0; }
    virtual int Feed(CLpoint*) { return 0; }
    virtual int Preload(const CWindow&) { return 0; }
    virtual int PolyMoveTo(POINT* points, int count);
    virtual int WaitUntilMoved(int) { return 0; }
    virtual int PolyLineTo(POINT* points, int count);
    virtual int PenUp();
    virtual int PenDown();
    virtual int InquireExtents(CWindow* window);
    virtual int SetExtents(CWindow* window);
    virtual int SetDesignExtents(CWindow* window);
    virtual int ReturnToZero();
    virtual int StartDesign() { return 0; }
    virtual int EndDesign() { return 0; }
    virtual int SendString(std::string&) { return 0; }
    virtual int ReadString(std::string& text);
    virtual int fnSetLineStyle(int) { return 0; }
    virtual int IsDeviceOpen();
    virtual POINT TransformPoint(POINT* point);
    virtual double GetAngleOfVector(POINT* a, POINT* b);
    virtual double GetAngleOfTransformedVector(POINT* a, POINT* b);
    virtual void SetOrientation(CLpoint&, CLpoint&) {}
    virtual int DeviceOpen(int showErrors);
    virtual int DeviceClose();
    virtual DWORD DeviceWrite(const BYTE* data, DWORD length);
    // Bytes read (a 0 byte is stored after them: the buffer holds length + 1), or a negative
    // error of a transport.
    virtual int DeviceRead(BYTE* buffer, DWORD length, const char* terminators);

    // Job state.
    int IsTerminated() const { return m_bTerminated; }
    void SetTerminated(int v) { m_bTerminated = v; }
    int InStartEndDoc() const { return m_bInDoc; }
    int InStartEndOutput() const { return m_bInOutput; }
    int IsBusy() const { return m_bInOutput; }
    void ZeroExtents();
    int CheckIfValidMovePoint(POINT* point);
    void UpdateExtents(POINT* point);
    int fnIsCurrentPosition(POINT point);
    POINT fnInquireCurrentPosition() const { return m_ptCurrent; }

    // Cancel and status.
    int CutCancelled();
    void SetCutCancelled(int v);
    int ShowCancelDlg(int mode);
    void fnSetStatus(const wchar_t* text);
    // Dispatches the pending window messages; the same loop goes by both names.
    void fnMessageLoop();
    void fnProcessMessages() { fnMessageLoop(); }
    CDlgCancelCut* fnGetCancelDlg() const { return m_pCancelDlg.get(); }

    // Attachment of the one client instance.
    int fnAttachCutInst(CCutterInstance* instance);
    int fnDetachCutInst(CCutterInstance* instance);
    int fnIsAttached(CCutterInstance* instance) const { return m_pCutInst == instance; }
    // Every instance made on this cutter and not yet deleted; the destructor clears them.
    void fnAddLiveInstance(CCutterInstance* instance);
    void fnRemoveLiveInstance(CCutterInstance* instance);
    INT_PTR fnLiveInstanceCount() const { return INT_PTR(m_liveInstances.size()); }

    // Settings.
    void SetType(int type) { m_nType = type; }
    int GetType() const { return m_nType; }
    int fnInquireReturnToZero() const { return m_bReturnToZero; }
    void fnSetReturnToZero(int v) { m_bReturnToZero = v; }
    // The origin as stored, and as the cutter reads it: anything other than 1 to 4 is 0.
    LaserOrigin fnGetOrigin() const { return m_nOrigin; }
    LaserOrigin fnGetiOrigin() const { return ValidOrigin(m_nOrigin); }
    void fnSetOrigin(int origin) { m_nOrigin = ValidOrigin(origin); }
    int fnGetCutterModel() const { return m_nCutterModel; }
    int fnGetPenNumber() const { return m_nPenNumber; }
    void fnSetPenNumber(int n) { m_nPenNumber = n; }
    LONG fnGetMaxWidth() const { return m_wInquired.x2; }
    void fnSetMaxWidth(LONG w) { m_wInquired.x2 = w; }
    LONG fnGetMaxHeight() const { return m_wInquired.y2; }
    void fnSetMaxHeight(LONG h) { m_wInquired.y2 = h; }
    const CWindow& fnGetMediaExtents() const { return m_wMediaExtents; }
    _CommsParams* fnGetCommsParams() { return &m_CommsParams; }
    CString GetPortName() const { return m_CommsParams.szPortName; }
    void SetPortName(const CString& name) { m_CommsParams.szPortName = name; }
    CString fnGetOutFileName() const { return m_strOutFileName; }
    void fnSetOutFileName(const CString& name) { m_strOutFileName = name; }
    double GetResolution() const { return m_dResolution; }
    CString fnGetName() const { return m_strName; }
    void fnSetName(const CString& name) { m_strName = name; }
    int FeedMediaExtents() const { return m_bFeedMediaExtents; }
    void fnSetFeedMediaExtents(int v) { m_bFeedMediaExtents = v; }
    int DeviceBytesSent() const { return m_nBytesSent; }
    void fnSetCutandFeed(int v) { m_bCutAndFeed = v; }
    void SetOptimizeCurves(int v) { m_bOptimizeCurves = v; }
    void SetPreload(int v) { m_bPreload = v; }

    // How long one write may wait for the device to take a byte, and how long a reply may take.
    void fnSetWriteTimeout(DWORD ms) { m_nWriteTimeoutMs = ms; }
    void fnSetReadTimeout(DWORD ms) { m_nReadTimeoutMs = ms; }

    int GetDeviceType() const;
    static int GetDeviceType(const CString& portName);
    void CutterPurgeComm(int what);
    // The refused serial settings of the last open, for the operator.
    const std::string& fnGetSetupError() const { return m_strSetupError; }
    // A line for the cut log (with CR LF), when it is on and open.
    void WriteLogFile(const std::string& text);
    // The cut log file (a path); empty before the first output.
    CString fnGetCutLogPath() const;

    // Registry. Settings live under the key of the cutter's name below the "Cutter-Settings"
    // key; the read members return 1, the write members 0 when something was not stored.
    int fnReadRegistry(HKEY cutterKey, const wchar_t* name);
    int fnRegReadDriverSettings(HKEY key);
    int fnRegReadPortSettings(HKEY key);
    int fnWriteToRegistry();
    void fnSaveSettings() { fnWriteToRegistry(); }
    int fnRegWriteDriverSettings(HKEY cutterKey);
    int fnRegWritePortSettings(HKEY cutterKey);
    CString fnGetStoredName() const { return m_strStoredName; }

    // The per-user path of the installed cutters, and of one cutter's key ("" for a name that
    // cannot be a key of its own: empty, or holding a separator).
    static CString fnCuttersKeyPath();
    static CString fnCutterKeyPath(const CString& name);
    // A whole string value, bounded by CUTTER_REG_STRING_MAX; `out` is left as it was unless
    // CUTTER_REG_READ is returned.
    static int fnRegReadString(HKEY key, const wchar_t* name, CString& out);
    static int fnRegReadDword(HKEY key, const wchar_t* name, DWORD& out);
    // Tells the operator which stored values were damaged and not used.
    static void fnReportDamagedValues(const CString& where, const CString& names);

protected:
    int WritePoints(POINT* points, int count);
    int WriteBuffer(const BYTE* data, DWORD length);
    int WriteString(const std::string& text);
    int WriteCommand(const std::string& command);
    int WritePoint(POINT* point);
    // The transport of the port as it is named now, made when none is open for it.
    CCutterPort* Port();
    // A transport for the port's name; dialects add their own kinds.
    virtual std::unique_ptr<CCutterPort> MakePort();
    // Writes what the output has collected, then waits until it has reached the cutter; the
    // operator is asked when it does not. 0 or -7.
    int DeliverOutput();
    // Writes what the output has collected: 0, or -7 when the cutter did not take all of it
    // (with the cut log's line when logFailure is set).
    int FlushOutput(bool logFailure = true);
    bool OpenCutLog();
    void CloseCutLog();
    // What a wait for the cutter runs between its slices: dispatches messages; false once the
    // cut is cancelled.
    bool KeepWaiting();
    // Waits ms with messages dispatched; false when the cut was cancelled meanwhile.
    bool WaitUnlessCancelled(DWORD ms);

    CCutterInstance* m_pCutInst = nullptr;
    std::vector<CCutterInstance*> m_liveInstances;
    std::unique_ptr<CCutterPort> m_pPort;
    CString m_strPortMadeFor;
    int m_nWriteRetries = CUTTER_WRITE_RETRIES;
    // The bytes of the output not yet written, and when the first of them came.
    std::string m_strPending;
    ULONGLONG m_tPendingSince = 0;
    int m_bFlushAfterWrite = 0;
    std::FILE* m_hCutLog = nullptr;
    std::vector<char> m_cutLogBuffer; // the log's stdio buffer, alive while it is open
    int m_nType = 0;
    int m_bPenUp = 0;
    int m_bTerminated = 1;
    int m_bCutLogOn = 1;
    int m_bInDoc = 0;
    int m_bInOutput = 0;
    int m_bReturnToZero = 0;
    LaserOrigin m_nOrigin = 0;
    int m_nCutterModel = CUTTER_MODEL_DMPL;
    int m_nPenNumber = 0;
    std::string m_strSeparator;
    std::string m_strTerminator;
    std::string m_strPrefix;
    CWindow m_wMediaExtents;
    CWindow m_wDesignExtents;
    POINT m_ptCurrent = {0, 0};
    LONG m_nOutputExtents[4] = {0, 0, 0, 0}; // least x, greatest y, greatest x, least y
    CWindow m_wInquired;                     // x2, y2: the maximum width and height
    std::unique_ptr<CDlgCancelCut> m_pCancelDlg;
    int m_bCutCancelled = 0;
    _CommsParams m_CommsParams;
    CString m_strOutFileName;
    double m_dResolution = 25.0;
    CString m_strName;
    CString m_strStoredName;
    int m_bPointPending = 0;
    int m_bFeedMediaExtents = 0;
    int m_nBytesSent = 0;
    int m_bCutAndFeed = 0;
    int m_bProcessMessages = 1;
    int m_nMinStep = 100;
    POINT m_ptLastRaw = {99999999, 99999999};
    POINT m_ptCurRaw = {0, 0};
    POINT m_ptLastXf = {0, 0};
    POINT m_ptCurXf = {0, 0};
    double m_dFirstPoint = -1.0;
    int m_bOptimizeCurves = 1;
    int m_bPreload = 1;
    DWORD m_nWriteTimeoutMs = 10000;
    DWORD m_nReadTimeoutMs = 1000;
    std::string m_strSetupError;

private:
    static LaserOrigin ValidOrigin(int origin) { return origin >= 1 && origin <= 4 ? origin : 0; }
    CString PortIdentity() const;
    void MakeNewPort();
};

// Registry names of a cutter's settings, under FnGetRegistryString("Cutter-Settings").
inline constexpr wchar_t CUTTER_SETTINGS_KEY[] = L"Cutter-Settings";
inline constexpr wchar_t CUTTER_REG_CLASS[] = L"CutterClass";
inline constexpr wchar_t CUTTER_REG_DRIVER[] = L"Driver-Settings";
inline constexpr wchar_t CUTTER_REG_PORT[] = L"Port-Settings";

// The longest string taken back from the registry: anything longer is damage, reported and
// left unused rather than cut to a different path or queue name.
constexpr int CUTTER_REG_STRING_MAX = 4096;

// Results of reading one registry value.
constexpr int CUTTER_REG_MISSING = 0;
constexpr int CUTTER_REG_READ = 1;
constexpr int CUTTER_REG_DAMAGED = -1; // wrong type, wrong size or too long; left unused
