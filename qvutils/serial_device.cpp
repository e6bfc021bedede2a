#include "qvutils/serial_device.h"

#include "platform/system/device_port.h"
#include "platform/system/port_devices.h"
#include "platform/system/serial_port.h"

#include <map>
#include <memory>

namespace {

struct OpenLine {
    std::unique_ptr<platform::CDevicePort> port;
    COMMTIMEOUTS timeouts{};
};

// Handles are numbers counted up from 1 and never given out twice.
struct Lines {
    std::map<uintptr_t, OpenLine> open;
    uintptr_t next = 1;
};

Lines& Table() {
    static Lines t;
    return t;
}

OpenLine* Find(HANDLE handle) {
    auto it = Table().open.find(reinterpret_cast<uintptr_t>(handle));
    return it != Table().open.end() ? &it->second : nullptr;
}

void Forget(HANDLE handle) {
    Table().open.erase(reinterpret_cast<uintptr_t>(handle));
}

std::string DevicePath(CString port) {
    if (port.Left(4) == L"\\\\.\\")
        port = port.Mid(4);
    if (port.Left(1) == L"/")
        return port.ToUtf8();
    return platform::PortDevicePath(port);
}

} // namespace

HANDLE QvSerialDeviceOpen(CString port, DWORD) {
    std::string path = DevicePath(port);
    if (path.empty())
        return INVALID_HANDLE_VALUE;
    auto device = platform::CDevicePort::Open(path, platform::CDevicePort::OpenMode::Existing);
    if (!device)
        return INVALID_HANDLE_VALUE;
    if (device->IsTerminal())
        platform::ClaimSerialLine(device->Fd());
    uintptr_t id = Table().next++;
    Table().open[id].port = std::move(device);
    return reinterpret_cast<HANDLE>(id);
}

BOOL QvSerialDeviceSetTimeouts(HANDLE handle, const COMMTIMEOUTS* timeouts) {
    OpenLine* line = Find(handle);
    if (!line || !timeouts)
        return FALSE;
    line->timeouts = *timeouts;
    return TRUE;
}

bool QvSerialDeviceGetTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts) {
    OpenLine* line = Find(handle);
    if (!line || !timeouts)
        return false;
    *timeouts = line->timeouts;
    return true;
}

int QvSerialDeviceSetup(HANDLE handle, const _CommsParams* params) {
    OpenLine* line = Find(handle);
    if (!line || !params || !platform::CanReadSerialState(line->port->Fd()))
        return 0;
    // The line's queues are the driver's own; the record's queue sizes have nothing to set.
    platform::SerialSettings s;
    s.baudRate = params->nBaudRate;
    s.dataBits = params->nDataBits;
    s.parity = params->nParity;
    s.stopBits = params->nStopBits;
    s.dtrDsr = (params->nFlowControl & COMMS_FLOW_DTRDSR) != 0;
    s.rtsCts = (params->nFlowControl & COMMS_FLOW_RTSCTS) != 0;
    s.xonXoff = (params->nFlowControl & COMMS_FLOW_XONXOFF) != 0;
    s.xonChar = 0x11;  // DC1 resumes
    s.xoffChar = 0x13; // DC3 pauses
    int fd = line->port->Fd();
    if (!platform::ApplySerialSettings(fd, s)) {
        Forget(handle);
        return 0;
    }
    platform::PurgeSerialLine(fd);
    // Under RTS/CTS the driver raises RTS itself; DTR is raised in any case (with the DTR
    // handshake too, the line must first say it is there). A pty has no modem lines.
    platform::SetModemLines(fd, true, !s.rtsCts);
    return 1;
}

HANDLE QvSerialDeviceClose(HANDLE handle) {
    OpenLine* line = Find(handle);
    if (!line || !platform::CanReadSerialState(line->port->Fd()))
        return handle;
    int fd = line->port->Fd();
    platform::SetModemLines(fd, false, false);
    platform::PurgeSerialLine(fd);
    Forget(handle);
    return nullptr;
}
