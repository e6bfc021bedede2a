#include "platform/system/serial_port.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

class SerialPort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr), 0);
    }
    void TearDown() override {
        platform::SetSerialSettingsObserver(nullptr);
        ::close(m_master);
        ::close(m_slave);
    }
    int m_master = -1, m_slave = -1;
};

TEST_F(SerialPort, AcceptedSettingsReachTheLine) {
    platform::SerialSettings s;
    s.baudRate = 38400;
    s.rtsCts = true;
    s.xonXoff = true;
    std::string refused;
    ASSERT_TRUE(platform::ApplySerialSettings(m_slave, s, &refused)) << refused;
    termios t = {};
    ::tcgetattr(m_slave, &t);
    EXPECT_EQ(::cfgetospeed(&t), speed_t(B38400));
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_TRUE(t.c_cflag & CRTSCTS);
    EXPECT_TRUE(t.c_iflag & IXON);
    EXPECT_EQ(t.c_cc[VSTART], 0x11); // Xon is DC1
    EXPECT_EQ(t.c_cc[VSTOP], 0x13);  // Xoff is DC3
}

TEST_F(SerialPort, WhatTheLineDoesNotTakeIsReported) {
    platform::SerialSettings s;
    s.dataBits = 7;
    s.parity = 2;
    std::string refused;
    bool ok = platform::ApplySerialSettings(m_slave, s, &refused);
    termios t = {};
    ::tcgetattr(m_slave, &t);
    bool taken = (t.c_cflag & CSIZE) == CS7 && (t.c_cflag & PARENB);
    // Success only when the line really took the framing.
    EXPECT_EQ(ok, taken) << refused;
    if (!ok) {
        EXPECT_FALSE(refused.empty());
    }

    struct Case {
        platform::SerialSettings s;
        const char* word;
    } bad[] = {
        {{12345, 8, 0, 0, false, false, false, 0x11, 0x13}, "baud rate"},
        {{9600, 9, 0, 0, false, false, false, 0x11, 0x13}, "data bits"},
        {{9600, 8, 1, 0, false, false, false, 0x11, 0x13}, "stop bits"},
        {{9600, 8, 0, 5, false, false, false, 0x11, 0x13}, "parity"},
        // A pseudo-terminal has no modem lines.
        {{9600, 8, 0, 0, true, false, false, 0x11, 0x13}, "DTR"},
    };
    for (const Case& c : bad) {
        std::string why;
        EXPECT_FALSE(platform::ApplySerialSettings(m_slave, c.s, &why)) << c.word;
        EXPECT_NE(why.find(c.word), std::string::npos) << why;
    }
}

TEST_F(SerialPort, ObserverSeesEveryRequestAndANonTerminalFails) {
    int seen = 0;
    platform::SetSerialSettingsObserver([&](const platform::SerialSettings&) { ++seen; });
    platform::SerialSettings s;
    EXPECT_TRUE(platform::ApplySerialSettings(m_slave, s));
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::string why;
    EXPECT_FALSE(platform::ApplySerialSettings(fds[0], s, &why));
    EXPECT_FALSE(why.empty());
    ::close(fds[0]);
    ::close(fds[1]);
    EXPECT_EQ(seen, 2);
}

} // namespace
