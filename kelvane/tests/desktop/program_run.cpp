#include "kelvane/tests/desktop/program_run.h"

#include "kelvane/tests/desktop/x_desktop.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace desktop {

ProgramRun::ProgramRun(std::filesystem::path profile, std::string display)
    : m_profile(std::move(profile)), m_display(std::move(display)) {
    for (const char* sub : {"home", "config", "data", "run"})
        std::filesystem::create_directories(m_profile / sub);
    ::chmod((m_profile / "run").c_str(), 0700);
}

ProgramRun::~ProgramRun() {
    Kill();
}

bool ProgramRun::Start(const std::vector<std::string>& args) {
    std::vector<std::string> env;
    const std::vector<std::string> own = {
        "DISPLAY=" + m_display,
        "QT_QPA_PLATFORM=xcb",
        "HOME=" + (m_profile / "home").string(),
        "XDG_CONFIG_HOME=" + (m_profile / "config").string(),
        "XDG_DATA_HOME=" + (m_profile / "data").string(),
        "XDG_RUNTIME_DIR=" + (m_profile / "run").string(),
        "KELVANE_PROGRAM_DIR=" + (m_profile / "program").string(),
    };
    auto named = [](const std::string& e) { return e.substr(0, e.find('=') + 1); };
    std::vector<std::string> added = own;
    added.insert(added.end(), m_extra.begin(), m_extra.end());
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        bool replaced = false;
        for (const std::string& a : added)
            replaced = replaced || named(entry) == named(a);
        // The test's own settings moves are not the program's.
        if (!replaced && entry.rfind("KELVANE_", 0) != 0)
            env.push_back(entry);
    }
    env.insert(env.end(), added.begin(), added.end());
    std::filesystem::create_directories(m_profile / "program");
    m_pid = ::fork();
    if (m_pid < 0)
        return false;
    if (m_pid == 0) {
        const int log =
            ::open((m_profile / "program.log").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (log >= 0) {
            ::dup2(log, 1);
            ::dup2(log, 2);
        }
        std::vector<char*> argv{const_cast<char*>(KELVANE_PROGRAM)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        ::execve(KELVANE_PROGRAM, argv.data(), envp.data());
        ::_exit(127);
    }
    return true;
}

bool ProgramRun::Running() {
    if (m_pid <= 0)
        return false;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        m_pid = -1;
        return false;
    }
    return true;
}

int ProgramRun::WaitForExit(std::chrono::milliseconds bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (Running()) {
        if (std::chrono::steady_clock::now() >= end)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return m_status;
}

void ProgramRun::Kill() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}

namespace {

// Whether the program's main thread is running or waiting for a processor: on a loaded machine
// a program that has work queued uses no time while it waits its turn, yet is not idle.
bool Runnable(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    const size_t close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() && text[close + 2] == 'R';
}

} // namespace

void ProgramRun::WaitUntilIdle(std::chrono::milliseconds quiet, std::chrono::milliseconds bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    // One clock tick of use within the quiet time is an idle process's own (a timer, a paint).
    const double tick = 1.0 / double(::sysconf(_SC_CLK_TCK));
    std::vector<pid_t> watched{m_pid};
    for (pid_t p : m_alongside)
        if (p > 0)
            watched.push_back(p);
    std::vector<double> last;
    for (pid_t p : watched)
        last.push_back(CpuSeconds(p));
    auto since = std::chrono::steady_clock::now();
    while (Running() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(25ms);
        bool busy = false;
        for (size_t i = 0; i < watched.size(); ++i) {
            const double now = CpuSeconds(watched[i]);
            if (now < 0) {
                if (i == 0)
                    return;
                continue;
            }
            if (now - last[i] > tick * 1.5 || Runnable(watched[i])) {
                last[i] = now;
                busy = true;
            }
        }
        if (busy)
            since = std::chrono::steady_clock::now();
        else if (std::chrono::steady_clock::now() - since >= quiet)
            return;
    }
}

} // namespace desktop
