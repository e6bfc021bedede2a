// The real program started on a desktop test's display, on a profile of its own (settings,
// data folder, runtime folder) that the test can look into, and waited for with a bound.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace desktop {

using namespace std::chrono_literals;

class ProgramRun {
public:
    // profile: the folder that holds the run's home, settings and data (kept across runs that
    // share it, so a second start sees the first's settings).
    ProgramRun(std::filesystem::path profile, std::string display);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Variables added to the program's environment (NAME=value), before Start.
    void AddEnvironment(const std::string& entry) { m_extra.push_back(entry); }
    bool Start(const std::vector<std::string>& args = {});
    pid_t Pid() const { return m_pid; }
    bool Running();
    // The exit status (128 + signal when killed by one), or -1 when it still ran at the bound.
    int WaitForExit(std::chrono::milliseconds bound);
    void Kill();
    // Waits (within the bound) until the program has used no processor time for a while: it
    // has done what the last input and the window manager asked and sleeps for the next. The
    // processes watched alongside (the X server, the window manager) must be quiet at the same
    // time: a program waiting for a starved server sleeps, yet has not caught up.
    void WaitUntilIdle(std::chrono::milliseconds quiet = 200ms,
                       std::chrono::milliseconds bound = 10s);
    void WatchAlongside(std::vector<pid_t> pids) { m_alongside = std::move(pids); }

    const std::filesystem::path& Profile() const { return m_profile; }
    // The program's data folder (designs, "output.spl", the recovery folder).
    std::filesystem::path DataFolder() const { return m_profile / "data" / "kelvane"; }

private:
    std::filesystem::path m_profile;
    std::string m_display;
    std::vector<std::string> m_extra;
    std::vector<pid_t> m_alongside;
    pid_t m_pid = -1;
    int m_status = -1;
};

} // namespace desktop
