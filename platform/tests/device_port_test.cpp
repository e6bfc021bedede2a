#include "platform/system/device_port.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

using platform::CDevicePort;

class DevicePort : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/device-port-XXXXXX";
        m_dir = ::mkdtemp(tmpl);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string m_dir;
};

TEST_F(DevicePort, OutputFileIsCreatedAnewAndDevicesMustExist) {
    std::string file = m_dir + "/output.spl";
    std::ofstream(file) << "old content";
    auto port = CDevicePort::Open(file, CDevicePort::OpenMode::Create);
    ASSERT_TRUE(port);
    EXPECT_FALSE(port->IsCharDevice());
    EXPECT_EQ(port->Write("abc", 3, 100), 3);
    EXPECT_EQ(port->Close(), 0);
    std::ifstream in(file);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "abc");

    std::string error;
    EXPECT_FALSE(CDevicePort::Open(m_dir + "/ttyS9", CDevicePort::OpenMode::Existing, &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(DevicePort, OutputFileIsNotShared) {
    std::string file = m_dir + "/output.spl";
    auto first = CDevicePort::Open(file, CDevicePort::OpenMode::Create);
    ASSERT_TRUE(first);
    // Another process would be refused; within one the lock is per process, so check the
    // lock is there through a child.
    pid_t child = ::fork();
    if (child == 0) {
        auto second = CDevicePort::Open(file, CDevicePort::OpenMode::Existing);
        ::_exit(second ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(DevicePort, TerminalReadsAndWritesKeepTheirTimeOuts) {
    int master = -1, slave = -1;
    char name[256];
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    termios t = {};
    ::tcgetattr(slave, &t);
    ::cfmakeraw(&t);
    t.c_iflag |= IXON;
    ::tcsetattr(slave, TCSANOW, &t);
    auto port = CDevicePort::Open(name, CDevicePort::OpenMode::Existing);
    ASSERT_TRUE(port);
    EXPECT_TRUE(port->IsTerminal());
    char buf[16];
    EXPECT_EQ(port->Read(buf, sizeof buf, 50), 0); // nothing came
    ASSERT_EQ(::write(master, "(1,2)x", 6), 6);
    int n = port->Read(buf, sizeof buf, 1000);
    EXPECT_GT(n, 0);
    // Stopped by XOFF: the write gives up after its time-out instead of blocking.
    ASSERT_EQ(::write(master, "\x13", 1), 1);
    ::usleep(100000);
    EXPECT_EQ(port->Write("abc", 3, 100), 0);
    ASSERT_EQ(::write(master, "\x11", 1), 1);
    EXPECT_EQ(port->Write("abc", 3, 1000), 3);
    ::close(master);
    ::close(slave);
    EXPECT_LT(port->Read(buf, sizeof buf, 100), 1);
}

} // namespace
