#include "qvutils/serial_device.h"

#include "platform/system/port_devices.h"
#include "platform/system/serial_port.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>
#include <vector>

namespace {

// A pseudo-terminal whose far end stands in for COM7.
class SerialDevice : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::openpty(&m_master, &m_slave, m_name, nullptr, nullptr), 0);
        platform::SetPortDevicePath(L"COM7", m_name);
        platform::SetSerialSettingsObserver(
            [this](const platform::SerialSettings& s) { m_asked.push_back(s); });
    }
    void TearDown() override {
        platform::SetSerialSettingsObserver(nullptr);
        platform::ResetPortDevicePaths();
        ::close(m_master);
        ::close(m_slave);
    }
    static _CommsParams Record(int flow, int baud = 9600) {
        _CommsParams p;
        p.szPortName = L"COM7";
        p.nBaudRate = baud;
        p.nFlowControl = flow;
        return p;
    }
    int m_master = -1, m_slave = -1;
    char m_name[128] = {};
    std::vector<platform::SerialSettings> m_asked;
};

TEST_F(SerialDevice, SetupAsksForEachHandshakeWithXonAsDc1AndXoffAsDc3) {
    struct Case {
        int flow;
        bool dtrDsr, rtsCts, xonXoff;
    } cases[] = {{0, false, false, false},
                 {COMMS_FLOW_DTRDSR, true, false, false},
                 {COMMS_FLOW_RTSCTS, false, true, false},
                 {COMMS_FLOW_XONXOFF, false, false, true},
                 {7, true, true, true}};
    for (const Case& c : cases) {
        HANDLE h = QvSerialDeviceOpen(L"\\\\.\\COM7", OPEN_EXISTING);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        _CommsParams p = Record(c.flow);
        int ok = QvSerialDeviceSetup(h, &p);
        ASSERT_FALSE(m_asked.empty());
        const platform::SerialSettings& s = m_asked.back();
        EXPECT_EQ(s.dtrDsr, c.dtrDsr) << c.flow;
        EXPECT_EQ(s.rtsCts, c.rtsCts) << c.flow;
        EXPECT_EQ(s.xonXoff, c.xonXoff) << c.flow;
        EXPECT_EQ(s.xonChar, 0x11);
        EXPECT_EQ(s.xoffChar, 0x13);
        EXPECT_EQ(s.baudRate, 9600);
        // A pty has no DTR line to raise: that set-up is refused and closes the handle.
        if (ok)
            EXPECT_EQ(QvSerialDeviceClose(h), nullptr);
        else
            EXPECT_EQ(QvSerialDeviceClose(h), h);
    }
}

TEST_F(SerialDevice, ARefusedSetupClosesAndTheOldHandleCannotCloseANewPort) {
    HANDLE first = QvSerialDeviceOpen(L"COM7", OPEN_EXISTING);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    _CommsParams bad = Record(0, 12345);
    EXPECT_EQ(QvSerialDeviceSetup(first, &bad), 0);

    HANDLE second = QvSerialDeviceOpen(L"COM7", OPEN_EXISTING);
    ASSERT_NE(second, INVALID_HANDLE_VALUE);
    EXPECT_NE(second, first);
    EXPECT_EQ(QvSerialDeviceClose(first), first); // already closed: nothing happens
    _CommsParams good = Record(COMMS_FLOW_RTSCTS);
    EXPECT_EQ(QvSerialDeviceSetup(second, &good), 1); // the new port is still open
    COMMTIMEOUTS t{1, 2, 3, 4, 5};
    EXPECT_TRUE(QvSerialDeviceSetTimeouts(second, &t));
    COMMTIMEOUTS back{};
    EXPECT_TRUE(QvSerialDeviceGetTimeouts(second, &back));
    EXPECT_EQ(back.WriteTotalTimeoutConstant, 5u);
    EXPECT_EQ(QvSerialDeviceClose(second), nullptr);
    EXPECT_FALSE(QvSerialDeviceSetTimeouts(second, &t));
    EXPECT_EQ(QvSerialDeviceSetup(second, &good), 0);
}

TEST_F(SerialDevice, NamesThatAreNoPortDoNotOpen) {
    for (const wchar_t* name : {L"", L"COM0", L"USB", L"/no/such/device", L"FILE"})
        EXPECT_EQ(QvSerialDeviceOpen(name, OPEN_EXISTING), INVALID_HANDLE_VALUE) << name;
    HANDLE h = QvSerialDeviceOpen(CString::FromUtf8(m_name), OPEN_EXISTING);
    EXPECT_NE(h, INVALID_HANDLE_VALUE); // a device path as it stands
    EXPECT_EQ(QvSerialDeviceSetup(h, nullptr), 0);
    EXPECT_EQ(QvSerialDeviceClose(h), nullptr);
}

} // namespace
