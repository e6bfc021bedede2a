// An open device or file that a cutter is written to: a serial or parallel port, a direct
// printer-class device or a plain file. Every read and write waits at most its time-out.
#pragma once

#include "platform/core/types.h"

#include <memory>
#include <string>

namespace platform {

class CDevicePort {
public:
    enum class OpenMode {
        Existing, // the path must exist (devices)
        Create,   // created anew, old content dropped (the output file)
    };

    // Null on failure; `error` receives the reason.
    static std::unique_ptr<CDevicePort> Open(const std::string& path, OpenMode mode,
                                             std::string* error = nullptr);
    ~CDevicePort();
    CDevicePort(const CDevicePort&) = delete;
    CDevicePort& operator=(const CDevicePort&) = delete;

    int Fd() const { return m_fd; }
    const std::string& Path() const { return m_path; }
    // A terminal or other character device (serial, parallel), not a plain file.
    bool IsCharDevice() const { return m_charDevice; }
    bool IsTerminal() const { return m_terminal; }

    // Bytes written (> 0), 0 when the device took nothing within the time-out, -1 on an error
    // (LastError() has the errno).
    int Write(const void* data, size_t length, DWORD timeoutMs);
    // Bytes read (> 0), 0 when nothing came within the time-out, -1 on an error, -2 when the
    // far side has closed.
    int Read(void* buffer, size_t length, DWORD timeoutMs);
    // Drops what was received and not yet read, or what was written and not yet sent.
    void PurgeReceive();
    void PurgeTransmit();
    // Pushes file data to the disk; terminal output is left to drain on its own, because a
    // cutter that sent XOFF would otherwise block the caller forever.
    void Flush();
    // 0 on success, else the errno of the close.
    int Close();
    int LastError() const { return m_lastError; }

private:
    CDevicePort(int fd, std::string path);
    int m_fd;
    std::string m_path;
    bool m_charDevice = false;
    bool m_terminal = false;
    int m_lastError = 0;
};

} // namespace platform
