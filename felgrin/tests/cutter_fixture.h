// Shared by the driver's tests: a private home folder and parameters, recorded message boxes,
// and a pseudo-terminal that stands in for a serial cutter.
#pragma once

#include "platform/core/cstring.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class CutterTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string ReadFile(const std::string& name) const;
    std::string HomeFile(const std::string& name) const { return m_home + "/" + name; }

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
