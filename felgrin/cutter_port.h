// One transport between a cutter driver and its cutter: a plain device or file, the USB
// library's pipes, a TCP connection or a printer queue. The driver makes one when it opens the
// port and formats its commands into it; the retry, time-out and ask-the-operator policy is the
// driver's, the same for every transport.
#pragma once

#include "felgrin/port_wait.h"
#include "platform/core/cstring.h"
#include "platform/core/types.h"
#include "qvutils/comms_params.h"

#include <string>
#include <utility>

// What a write reports besides the count of bytes taken (> 0).
constexpr int PORT_WRITE_TIMEOUT = 0;   // nothing was taken within the wait
constexpr int PORT_WRITE_ERROR = -1;    // an error that may pass: counted against the retries
constexpr int PORT_WRITE_GONE = -2;     // the device or connection is gone: ask at once
constexpr int PORT_WRITE_REPORTED = -3; // the transport has told the operator itself: stop

// A read of a transport that is not open (USB, TCP).
constexpr int PORT_READ_NOT_OPEN = -2;

class CCutterPort {
public:
    virtual ~CCutterPort() = default;

    // The device type (ECutterDevice) the port was made for.
    virtual int DeviceType() const = 0;
    // 1 when open; 0 otherwise, after telling the operator when showErrors is set.
    virtual int Open(int showErrors) = 0;
    virtual bool IsOpen() const = 0;
    // The result the driver's DeviceClose gives.
    virtual int Close() = 0;
    // A failed open may go untold when the caller asks for quiet; a plain device always says
    // why it did not open.
    virtual bool MayOpenQuietly() const { return true; }
    // The port as the cancel dialog names it, for the cutter's settings.
    virtual CString DisplayName(const _CommsParams& comms) const { return comms.szPortName; }

    // Opened at the start of an output and closed at its end (serial, parallel, TCP).
    virtual bool HeldForOutput() const { return false; }
    // Pipes or a print job that live for one output.
    virtual void StartOutput() {}
    // 0, or a cutter error when the output did not reach the cutter whole.
    virtual int EndOutput() { return 0; }
    // Waits, at most timeoutMs, until what was written has reached the cutter.
    virtual bool Deliver(DWORD /*timeoutMs*/) { return true; }

    // Bytes taken (> 0) or one of the PORT_WRITE_ results; waits at most waitMs for room.
    virtual int Write(const BYTE* data, DWORD length, DWORD waitMs) = 0;
    // Bytes read (a 0 byte is stored after them: the buffer holds length + 1), 0 when nothing
    // came, or a negative error.
    virtual int Read(BYTE* /*buffer*/, DWORD /*length*/, const char* /*terminators*/,
                     DWORD /*timeoutMs*/) {
        return 0;
    }
    // Drops what the cutter sent before a request that expects a fresh reply.
    virtual void DiscardInput() {}
    virtual void PurgeReceive() {}
    virtual void PurgeTransmit() {}
    // Pushes written data to its medium (the output file).
    virtual void Flush() {}
    // True when the last write or delivery failed because the far side refused, reset or
    // closed the connection, not because it took too long.
    virtual bool ConnectionLost() const { return false; }
    // A serial or parallel port, whose error state is cleared after a failed write.
    virtual bool IsCharacterDevice() const { return false; }

    // The cutter answers requests on this port (extents).
    virtual bool AnswersInquiries() const { return false; }
    // The port cannot answer, so the media set for it are also its inquired extents and an
    // extents request is only written into the output.
    virtual bool TakesMediaAsInquired() const { return false; }

    // A line for the cut log about the last open; empty when there is nothing to say.
    virtual std::string OpenNote() const { return std::string(); }
    // The serial settings the device refused at the last open.
    virtual std::string SetupError() const { return std::string(); }

    // What the port runs while it waits for its device (a reply, room, the last bytes to go):
    // the driver's, which dispatches messages and ends the wait once the cut is cancelled.
    void SetWaitHook(PortWaitHook hook) { m_waitHook = std::move(hook); }

protected:
    PortWaitHook m_waitHook;
};
