// Shared by the driver's tests: a private home folder and parameters, recorded message boxes,
// and a pseudo-terminal that stands in for a serial cutter.
#pragma once

#include "platform/core/cstring.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class CutterTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string ReadFile(const std::string& name) const;
    std::string HomeFile(const std::string& name) const { return m_home + "/" + name; }

    // Settings hives and the home folder of this test alone.
    std::unique_ptr<SettingsSandbox> m_sandbox;
    std::string m_home;
    std::vector<std::string> m_messages;
    // Answer to every Retry/Cancel question.
    int m_retryAnswer = 2; // Cancel
};

// The cutter side of a pseudo-terminal pair: the program opens the slave path as its port.
class FakeSerialCutter {
public:
    FakeSerialCutter();
    ~FakeSerialCutter();
    const std::string& Path() const { return m_path; }
    int Master() const { return m_master; }
    void Send(const std::string& bytes);
    // Reads what arrived within timeoutMs (stops early once `until` has been seen, when given).
    std::string Receive(int timeoutMs, const std::string& until = std::string());
    // True once the program's side of the line is stopped by XOFF (or false after timeoutMs).
    bool WaitUntilStopped(int timeoutMs);

private:
    int m_master = -1;
    int m_probe = -1;
    std::string m_path;
};

std::string ReadWholeFile(const std::string& path);

// A TCP listener on 127.0.0.1 that stands in for a network cutter: it takes connections one
// after the other, keeps every byte, and answers ";:ER" with `reply` when one is set. Faulty
// cutters never read, close each connection at once, or reset it.
class LoopbackCutter {
public:
    enum class Behaviour { Reads, NeverReads, ClosesAtOnce, Resets };
    explicit LoopbackCutter(std::string reply = std::string(), Behaviour b = Behaviour::Reads);
    explicit LoopbackCutter(Behaviour b) : LoopbackCutter(std::string(), b) {}
    ~LoopbackCutter();
    int Port() const { return m_port; }
    std::string PortText() const { return std::to_string(m_port); }
    // Waits until the current connection is closed by the program (or timeoutMs) and returns
    // everything received so far.
    std::string Received(int timeoutMs);
    int Connections() const { return m_connections; }

private:
    void Run();
    int m_listen = -1;
    int m_port = 0;
    int m_wake[2] = {-1, -1};
    std::string m_reply;
    Behaviour m_behaviour;
    std::string m_received;
    int m_connections = 0;
    bool m_open = false;
    void* m_thread = nullptr;
    void* m_mutex = nullptr;
};
