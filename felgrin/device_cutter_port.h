// A cutter on a device the system opens as a file: a serial or parallel port, a direct
// printer-class device, a network file or the output file.
#pragma once

#include "felgrin/cutter_port.h"
#include "platform/core/cstring.h"
#include "platform/system/device_port.h"
#include "qvutils/comms_params.h"

#include <memory>

// The flow-control characters a serial cutter sends.
constexpr BYTE ASCII_XON = 0x11;
constexpr BYTE ASCII_XOFF = 0x13;

class CDeviceCutterPort : public CCutterPort {
public:
    // The port of the settings' name: the output file for the file type, else the device of
    // that name.
    CDeviceCutterPort(const _CommsParams& comms, const CString& outFileName);

    int DeviceType() const override { return m_nType; }
    int Open(int showErrors) override;
    bool IsOpen() const override { return m_hDevice != nullptr; }
    int Close() override;
    bool MayOpenQuietly() const override { return false; }
    // A serial port is named with its speed.
    CString DisplayName(const _CommsParams& comms) const override;
    bool HeldForOutput() const override;
    int Write(const BYTE* data, DWORD length, DWORD waitMs) override;
    int Read(BYTE* buffer, DWORD length, const char* terminators, DWORD timeoutMs) override;
    void DiscardInput() override { PurgeReceive(); }
    void PurgeReceive() override;
    void PurgeTransmit() override;
    void Flush() override;
    bool IsCharacterDevice() const override;
    bool AnswersInquiries() const override;
    bool TakesMediaAsInquired() const override;
    std::string SetupError() const override { return m_strSetupError; }

private:
    bool SetUpSerial();

    int m_nType;
    CString m_strPath;
    _CommsParams m_CommsParams;
    std::unique_ptr<platform::CDevicePort> m_hDevice;
    std::string m_strSetupError;
};
