#include "felgrin/usb_port.h"

#include "cutter_fixture.h"
#include "felgrin/dmpl_cutter.h"
#include "felgrin/vanter_qx3_cutter.h"
#include "platform/system/clock.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class UsbPort : public CutterTest {
protected:
    void SetUp() override {
        CutterTest::SetUp();
        m_usb = m_home + "/usb";
        ::mkdir(m_usb.c_str(), 0700);
        ::setenv("VANTERUSB_DIR", m_usb.c_str(), 1);
        ::setenv("VANTERQX3_DIR", m_usb.c_str(), 1);
        for (int i = 0; i < 2; ++i)
            Touch(m_usb + "/lp" + std::to_string(i));
    }
    void TearDown() override {
        ::unsetenv("VANTERUSB_DIR");
        ::unsetenv("VANTERQX3_DIR");
        CutterTest::TearDown();
    }
    static void Touch(const std::string& path) {
        int fd = ::open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
        ::close(fd);
    }
    // A status pipe the test feeds; kept open for writing so the driver's reads never end.
    int MakeStatusFifo(int index) {
        std::string path = m_usb + "/status" + std::to_string(index);
        ::mkfifo(path.c_str(), 0600);
        return ::open(path.c_str(), O_RDWR | O_NONBLOCK);
    }
    std::string m_usb;
};

TEST_F(UsbPort, PortNamesChooseTheEntryPoint) {
    struct Case {
        const wchar_t* port;
        const char* device;
    } cases[] = {{L"USB", "lp0"}, {L"USB2", "lp1"}, {L"USB12", "lp0"}, {L"usb1", "lp0"}};
    for (const Case& k : cases) {
        Touch(m_usb + "/lp0");
        Touch(m_usb + "/lp1");
        CDMPLCutter c;
        c.SetPortName(k.port);
        ASSERT_EQ(c.StartDocW(), 0);
        ASSERT_EQ(c.StartOutput(0, 1), 0);
        c.EndOutput();
        c.EndDoc();
        EXPECT_EQ(ReadWholeFile(m_usb + "/" + k.device), ";:HOA,ECN,U,") << k.device;
    }
}

TEST_F(UsbPort, QX3CuttersUseTheirOwnLibrary) {
    ::setenv("VANTERUSB_DIR", (m_home + "/nowhere").c_str(), 1);
    CVanterQX3Cutter c;
    c.SetPortName(L"USB");
    ASSERT_EQ(c.StartDocW(), 0);
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    c.EndOutput();
    c.EndDoc();
    EXPECT_EQ(ReadWholeFile(m_usb + "/lp0"), ";:HOA,ECN,U,");
}

TEST_F(UsbPort, MissingDeviceIsReported) {
    ::setenv("VANTERUSB_DIR", (m_home + "/nowhere").c_str(), 1);
    CDMPLCutter c;
    EXPECT_EQ(c.StartDocW(), CUT_ERR_OPEN);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].rfind("No USB device detected", 0), 0u);
}

TEST_F(UsbPort, LongBuffersGoInPiecesOf256) {
    struct Case {
        int length;
        const char* pieces;
    } cases[] = {{100, "100"}, {600, "256,256,88"}, {512, "256,256,0"}};
    for (const Case& k : cases) {
        Touch(m_usb + "/lp0");
        CUsbPort port(1, 0);
        ASSERT_EQ(port.Open(), 1);
        std::string data(size_t(k.length), 'q');
        EXPECT_EQ(port.Write(data.data(), k.length), k.length);
        EXPECT_EQ(port.m_strPieces, k.pieces);
        port.Close();
        EXPECT_EQ(ReadWholeFile(m_usb + "/lp0"), data);
    }
}

TEST_F(UsbPort, WriteThatLosesAPieceFails) {
    CUsbPort port(1, 0);
    ASSERT_EQ(port.Open(), 1);
    // The device takes 300 bytes and no more: the second piece goes short.
    struct sigaction ignore = {}, old = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &old);
    rlimit limit = {}, saved = {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    limit.rlim_cur = 300;
    limit.rlim_max = saved.rlim_max;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string data(600, 'q');
    int written = port.Write(data.data(), 600);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::sigaction(SIGXFSZ, &old, nullptr);
    EXPECT_EQ(written, 0);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Error Writing to USB");
}

TEST_F(UsbPort, CutterWithoutRoomFailsTheWriteInsteadOfWaitingForEver) {
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    int status = MakeStatusFifo(0);
    ASSERT_GE(status, 0);
    std::string zeros(16 * 40, '0');
    ASSERT_EQ(::write(status, zeros.data(), zeros.size()), ssize_t(zeros.size()));
    CUsbPort port(1, 0);
    port.m_nCreditWaitMs = 50;
    ASSERT_EQ(port.Open(), 1);
    EXPECT_EQ(port.Write("abc", 3), 0);
    EXPECT_EQ(ReadWholeFile(m_usb + "/lp0"), "");
    ::close(status);
}

TEST_F(UsbPort, CreditFromTheStatusPipeLetsTheWriteGo) {
    int status = MakeStatusFifo(0);
    ASSERT_GE(status, 0);
    ASSERT_EQ(::write(status, "4096", 4), 4);
    CUsbPort port(1, 0);
    port.m_nCreditWaitMs = 50;
    ASSERT_EQ(port.Open(), 1);
    EXPECT_EQ(port.Write("abc", 3), 3);
    EXPECT_EQ(port.m_nCredit, 4096);
    ::close(status);
    EXPECT_EQ(ReadWholeFile(m_usb + "/lp0"), "abc");
}

} // namespace
