#include "platform/system/serial_port.h"

#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>
#include <termios.h>

namespace platform {
namespace {

SerialSettingsObserver& Observer() {
    static SerialSettingsObserver observer;
    return observer;
}

bool SpeedOf(int baud, speed_t& speed) {
    static const struct {
        int baud;
        speed_t speed;
    } table[] = {{300, B300},     {600, B600},       {1200, B1200},     {2400, B2400},
                 {4800, B4800},   {9600, B9600},     {19200, B19200},   {38400, B38400},
                 {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}};
    for (const auto& row : table) {
        if (row.baud == baud) {
            speed = row.speed;
            return true;
        }
    }
    return false;
}

void Add(std::string& list, const std::string& what) {
    if (!list.empty())
        list += ", ";
    list += what;
}

} // namespace

bool ClaimSerialLine(int fd) {
    return ::ioctl(fd, TIOCEXCL) == 0;
}

bool SetModemLines(int fd, bool dtr, bool rts) {
    int raise = (dtr ? TIOCM_DTR : 0) | (rts ? TIOCM_RTS : 0);
    int drop = (dtr ? 0 : TIOCM_DTR) | (rts ? 0 : TIOCM_RTS);
    bool ok = true;
    if (raise && ::ioctl(fd, TIOCMBIS, &raise) != 0)
        ok = false;
    if (drop && ::ioctl(fd, TIOCMBIC, &drop) != 0)
        ok = false;
    return ok;
}

void PurgeSerialLine(int fd) {
    ::tcflush(fd, TCIOFLUSH);
}

bool CanReadSerialState(int fd) {
    termios t = {};
    return fd >= 0 && ::tcgetattr(fd, &t) == 0;
}

void SetSerialSettingsObserver(SerialSettingsObserver observer) {
    Observer() = std::move(observer);
}

bool ApplySerialSettings(int fd, const SerialSettings& s, std::string* refused) {
    if (Observer())
        Observer()(s);
    std::string bad;
    termios t = {};
    if (::tcgetattr(fd, &t) != 0) {
        if (refused)
            *refused = std::string("cannot read the line state: ") + std::strerror(errno);
        return false;
    }
    ::cfmakeraw(&t);
    speed_t speed = B9600;
    if (!SpeedOf(s.baudRate, speed))
        Add(bad, "baud rate " + std::to_string(s.baudRate));
    else {
        ::cfsetispeed(&t, speed);
        ::cfsetospeed(&t, speed);
    }
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    t.c_cflag |= CREAD | CLOCAL;
    switch (s.dataBits) {
    case 5:
        t.c_cflag |= CS5;
        break;
    case 6:
        t.c_cflag |= CS6;
        break;
    case 7:
        t.c_cflag |= CS7;
        break;
    case 8:
        t.c_cflag |= CS8;
        break;
    default:
        t.c_cflag |= CS8;
        Add(bad, "data bits " + std::to_string(s.dataBits));
    }
    if (s.parity == 1)
        t.c_cflag |= PARENB | PARODD;
    else if (s.parity == 2)
        t.c_cflag |= PARENB;
    else if (s.parity != 0)
        Add(bad, "parity " + std::to_string(s.parity));
    if (s.parity == 1 || s.parity == 2)
        t.c_iflag |= INPCK;
    if (s.stopBits == 2)
        t.c_cflag |= CSTOPB;
    else if (s.stopBits != 0)
        Add(bad, "stop bits " + std::to_string(s.stopBits));
    if (s.rtsCts)
        t.c_cflag |= CRTSCTS;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (s.xonXoff) {
        t.c_iflag |= IXON | IXOFF;
        t.c_cc[VSTART] = s.xonChar;
        t.c_cc[VSTOP] = s.xoffChar;
    }
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &t) != 0)
        Add(bad, std::string("line settings: ") + std::strerror(errno));
    else {
        // tcsetattr succeeds when any part was taken: read back what matters to the cutter.
        termios back = {};
        if (::tcgetattr(fd, &back) == 0) {
            if ((back.c_cflag & CSIZE) != (t.c_cflag & CSIZE))
                Add(bad, "data bits " + std::to_string(s.dataBits));
            if ((back.c_cflag & (PARENB | PARODD)) != (t.c_cflag & (PARENB | PARODD)))
                Add(bad, "parity " + std::to_string(s.parity));
            if ((back.c_cflag & CSTOPB) != (t.c_cflag & CSTOPB))
                Add(bad, "stop bits");
            if (::cfgetospeed(&back) != ::cfgetospeed(&t))
                Add(bad, "baud rate " + std::to_string(s.baudRate));
        }
    }
    if (s.dtrDsr) {
        int bits = TIOCM_DTR;
        if (::ioctl(fd, TIOCMBIS, &bits) != 0)
            Add(bad, std::string("DTR/DSR handshake: ") + std::strerror(errno));
    }
    if (refused)
        *refused = bad;
    return bad.empty();
}

} // namespace platform
