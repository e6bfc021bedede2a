#include "felgrin/device_cutter_port.h"

#include "felgrin/base_cutter.h"
#include "felgrin/felgrin_strings.h"
#include "platform/system/clock.h"
#include "platform/system/paths.h"
#include "platform/system/port_devices.h"
#include "platform/system/serial_port.h"
#include "qvutils/host_services.h"

#include <algorithm>
#include <cstring>

namespace {

CString PathOf(int type, const _CommsParams& comms, const CString& outFileName) {
    if (type == DEVICE_FILE)
        return CString(platform::MapPath(outFileName));
    std::string device = platform::PortDevicePath(comms.szPortName);
    return device.empty() ? comms.szPortName : CString(device);
}

} // namespace

CDeviceCutterPort::CDeviceCutterPort(const _CommsParams& comms, const CString& outFileName)
    : m_nType(CBaseCutter::GetDeviceType(comms.szPortName)),
      m_strPath(PathOf(m_nType, comms, outFileName)), m_CommsParams(comms) {}

CString CDeviceCutterPort::DisplayName(const _CommsParams& comms) const {
    CString name = comms.szPortName;
    if (m_nType == DEVICE_SERIAL) {
        CString baud;
        baud.Format(L" @ %d baud", comms.nBaudRate);
        name += baud;
    }
    return name;
}

int CDeviceCutterPort::Open(int showErrors) {
    Close();
    m_strSetupError.clear();
    std::string path = m_strPath.ToUtf8();
    auto mode = m_nType == DEVICE_FILE ? platform::CDevicePort::OpenMode::Create
                                       : platform::CDevicePort::OpenMode::Existing;
    std::string error;
    m_hDevice = platform::CDevicePort::Open(path, mode, &error);
    if (!m_hDevice) {
        if (showErrors) {
            CString text;
            text.Format(FelgrinLoadString(IDS_FAILED_OPEN_DEVICE), m_strPath.GetString());
            qvhost::MessageBox(text, qvhost::kMbOk | qvhost::kMbIconExclamation);
        }
        return 0;
    }
    if (m_nType == DEVICE_SERIAL && !SetUpSerial()) {
        // A port the device would not set up as asked cuts garbage: close it and say why.
        m_hDevice.reset();
        if (showErrors) {
            CString text;
            text.Format(FelgrinLoadString(IDS_FAILED_OPEN_DEVICE), m_strPath.GetString());
            text += L"\n";
            text += CString(m_strSetupError);
            qvhost::MessageBox(text, qvhost::kMbOk | qvhost::kMbIconExclamation);
        }
        return 0;
    }
    return 1;
}

bool CDeviceCutterPort::SetUpSerial() {
    platform::SerialSettings s;
    s.baudRate = m_CommsParams.nBaudRate;
    s.dataBits = m_CommsParams.nDataBits;
    s.stopBits = m_CommsParams.nStopBits;
    s.parity = m_CommsParams.nParity;
    s.dtrDsr = (m_CommsParams.nFlowControl & COMMS_FLOW_DTRDSR) != 0;
    s.rtsCts = (m_CommsParams.nFlowControl & COMMS_FLOW_RTSCTS) != 0;
    s.xonXoff = (m_CommsParams.nFlowControl & COMMS_FLOW_XONXOFF) != 0;
    s.xonChar = ASCII_XON;
    s.xoffChar = ASCII_XOFF;
    if (!platform::ApplySerialSettings(m_hDevice->Fd(), s, &m_strSetupError)) {
        if (m_strSetupError.empty())
            m_strSetupError = "the port refused its settings";
        return false;
    }
    m_hDevice->PurgeReceive();
    m_hDevice->PurgeTransmit();
    return true;
}

int CDeviceCutterPort::Close() {
    if (!m_hDevice)
        return 1;
    int err = m_hDevice->Close();
    m_hDevice.reset();
    if (err != 0) {
        qvhost::MessageBox(FelgrinLoadString(IDS_CLOSE_HANDLE_FAILED), qvhost::kMbOk);
        return 0;
    }
    return 1;
}

bool CDeviceCutterPort::HeldForOutput() const {
    return m_nType == DEVICE_SERIAL || m_nType == DEVICE_PARALLEL;
}

bool CDeviceCutterPort::IsCharacterDevice() const {
    return m_nType == DEVICE_SERIAL || m_nType == DEVICE_PARALLEL;
}

bool CDeviceCutterPort::AnswersInquiries() const {
    return m_nType == DEVICE_SERIAL;
}

bool CDeviceCutterPort::TakesMediaAsInquired() const {
    return m_nType == DEVICE_FILE || m_nType == DEVICE_PARALLEL;
}

int CDeviceCutterPort::Write(const BYTE* data, DWORD length, DWORD waitMs) {
    if (!m_hDevice)
        return PORT_WRITE_GONE;
    int n = m_hDevice->Write(data, length, waitMs);
    if (n > 0)
        return n;
    return n == 0 ? PORT_WRITE_TIMEOUT : PORT_WRITE_ERROR;
}

int CDeviceCutterPort::Read(BYTE* buffer, DWORD length, const char* terminators, DWORD timeoutMs) {
    // The output file and a parallel port have nothing to say.
    if (m_nType == DEVICE_FILE || m_nType == DEVICE_PARALLEL)
        return 0;
    if (length == 0 || !terminators || !m_hDevice)
        return 0;
    auto isTerminator = [terminators](BYTE b) {
        return b == 0 || std::strchr(terminators, char(b)) != nullptr;
    };
    ULONGLONG start = GetTickCount64();
    // The slices that brought nothing count too: a test's clock may stand still.
    ULONGLONG idle = 0;
    DWORD count = 0;
    while (count < length) {
        ULONGLONG elapsed = std::max(GetTickCount64() - start, idle);
        if (elapsed >= timeoutMs)
            break;
        DWORD slice = DWORD(std::min<ULONGLONG>(timeoutMs - elapsed, PORT_WAIT_SLICE_MS));
        BYTE b = 0;
        int n = m_hDevice->Read(&b, 1, slice);
        if (n < 0)
            break; // an error or the far side gone: what came is the reply
        if (n == 0)
            idle += slice;
        if (n == 1) {
            buffer[count++] = b;
            if (isTerminator(b))
                break;
        }
        if (!PortKeepWaiting(m_waitHook))
            break;
    }
    m_hDevice->PurgeReceive();
    buffer[count] = 0;
    return int(count);
}

void CDeviceCutterPort::PurgeReceive() {
    if (m_hDevice)
        m_hDevice->PurgeReceive();
}

void CDeviceCutterPort::PurgeTransmit() {
    if (m_hDevice)
        m_hDevice->PurgeTransmit();
}

void CDeviceCutterPort::Flush() {
    if (m_hDevice)
        m_hDevice->Flush();
}
