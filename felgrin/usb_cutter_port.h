// A cutter on the maker's USB library: the port object exists from the open to the close, and
// its pipes are open for the length of an output.
#pragma once

#include "felgrin/cutter_port.h"
#include "felgrin/usb_port.h"
#include "platform/core/cstring.h"

#include <memory>

// The waits of the USB library's pipes, in milliseconds (tests shorten them).
struct UsbWaits {
    DWORD creditWaitMs = 2000;
    int maxCreditWaits = 15;
    DWORD pollMs = 25;
    DWORD pipeMs = 10000;
};

class CUsbCutterPort : public CCutterPort {
public:
    CUsbCutterPort(int portNumber, int qx3, const UsbWaits& waits);

    // The port name names a USB port ("USB", "USB2").
    static bool Serves(const CString& portName);

    int DeviceType() const override;
    int Open(int showErrors) override;
    bool IsOpen() const override { return m_pUsb != nullptr; }
    int Close() override;
    void StartOutput() override;
    int EndOutput() override;
    int Write(const BYTE* data, DWORD length, DWORD waitMs) override;
    int Read(BYTE* buffer, DWORD length, const char* terminators, DWORD timeoutMs) override;
    void DiscardInput() override;
    bool AnswersInquiries() const override { return true; }

    // The port number of a port name: the digit of "USBn", else 1.
    static int PortNumber(const CString& portName);

private:
    int m_nPortNumber;
    int m_bQX3;
    UsbWaits m_waits;
    std::unique_ptr<CUsbPort> m_pUsb;
};
