#include "platform/system/process.h"

#include "platform/system/paths.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

// Exit code of a child whose exec failed (as shells use it for "not found").
constexpr int kExecFailed = 127;
// Longest wait between two looks at a running child, and the first look after its output closed.
constexpr int kPollMs = 20;
constexpr int kFirstNapMs = 1;

} // namespace

ChildProcess::~ChildProcess() {
    Kill();
    CloseOutput();
}

bool ChildProcess::Start(const CString& program, const std::vector<CString>& arguments,
                         const ProcessLimits& limits, size_t maxOutput) {
    Kill();
    CloseOutput();
    m_output.clear();
    m_error.Empty();
    m_exitCode = -1;
    m_signal = 0;
    m_maxOutput = maxOutput;
    m_outcome = Outcome::NotStarted;

    // Everything the child needs is made before the fork: after it only async-signal-safe calls.
    std::string path = MapPath(program);
    std::vector<std::string> argStrings;
    argStrings.push_back(path);
    for (const CString& a : arguments)
        argStrings.push_back(a.ToUtf8());
    std::vector<char*> argv;
    for (std::string& s : argStrings)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        m_error = CString(std::strerror(errno));
        return false;
    }
    // A second pipe tells the parent whether exec succeeded: it closes on exec, or carries errno.
    int execFds[2];
    if (::pipe2(execFds, O_CLOEXEC) != 0) {
        m_error = CString(std::strerror(errno));
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return false;
    }
    pid_t pid = ::fork();
    if (pid < 0) {
        m_error = CString(std::strerror(errno));
        for (int fd : {pipeFds[0], pipeFds[1], execFds[0], execFds[1]})
            ::close(fd);
        return false;
    }
    if (pid == 0) {
        int devNull = ::open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            ::dup2(devNull, STDIN_FILENO);
            ::dup2(devNull, STDERR_FILENO);
        }
        ::dup2(pipeFds[1], STDOUT_FILENO);
        if (limits.addressSpaceBytes) {
            struct rlimit r = {rlim_t(limits.addressSpaceBytes), rlim_t(limits.addressSpaceBytes)};
            ::setrlimit(RLIMIT_AS, &r);
        }
        if (limits.cpuSeconds) {
            struct rlimit r = {rlim_t(limits.cpuSeconds), rlim_t(limits.cpuSeconds)};
            ::setrlimit(RLIMIT_CPU, &r);
        }
        struct rlimit noCore = {0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::execv(argv[0], argv.data());
        int err = errno;
        ssize_t ignored = ::write(execFds[1], &err, sizeof err);
        (void)ignored;
        ::_exit(kExecFailed);
    }
    ::close(pipeFds[1]);
    ::close(execFds[1]);
    int childErrno = 0;
    ssize_t n;
    do {
        n = ::read(execFds[0], &childErrno, sizeof childErrno);
    } while (n < 0 && errno == EINTR);
    ::close(execFds[0]);
    m_pid = pid;
    m_out = pipeFds[0];
    if (n == ssize_t(sizeof childErrno)) {
        Reap(true);
        CloseOutput();
        m_outcome = Outcome::NotStarted;
        m_error = CString(std::strerror(childErrno));
        return false;
    }
    ::fcntl(m_out, F_SETFL, ::fcntl(m_out, F_GETFL) | O_NONBLOCK);
    m_outcome = Outcome::Running;
    return true;
}

bool ChildProcess::Drain(int timeoutMs) {
    if (m_out < 0) {
        if (timeoutMs > 0)
            ::poll(nullptr, 0, timeoutMs);
        return false;
    }
    struct pollfd p = {m_out, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return false;
    char buffer[16384];
    for (;;) {
        ssize_t n = ::read(m_out, buffer, sizeof buffer);
        if (n > 0) {
            size_t keep = std::min(size_t(n), m_maxOutput - std::min(m_maxOutput, m_output.size()));
            m_output.append(buffer, keep);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            CloseOutput(); // the child closed its end
        return true;
    }
}

bool ChildProcess::Reap(bool block) {
    if (m_pid < 0)
        return true;
    int status = 0;
    pid_t r;
    do {
        r = ::waitpid(m_pid, &status, block ? 0 : WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r == 0)
        return false;
    m_pid = -1;
    if (r > 0 && WIFEXITED(status)) {
        m_exitCode = WEXITSTATUS(status);
        m_outcome = Outcome::Exited;
    } else if (r > 0 && WIFSIGNALED(status)) {
        m_signal = WTERMSIG(status);
        m_outcome = Outcome::Signalled;
    } else {
        m_outcome = Outcome::Signalled;
    }
    return true;
}

ChildProcess::Outcome ChildProcess::Wait(DWORD timeoutMs) {
    if (m_outcome != Outcome::Running)
        return m_outcome;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    // Once its output is closed the child is usually ending: look again soon, then less often.
    int nap = kFirstNapMs;
    for (;;) {
        if (Reap(false)) {
            // What it wrote before ending; a descendant holding the pipe open is not waited for.
            while (Drain(0)) {
            }
            CloseOutput();
            return m_outcome;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            Kill();
            m_outcome = Outcome::TimedOut;
            return m_outcome;
        }
        const bool closed = m_out < 0;
        Drain(int(std::min<int64_t>(left.count(), closed ? nap : kPollMs)));
        if (closed)
            nap = std::min(nap * 2, kPollMs);
    }
}

void ChildProcess::Kill() {
    if (m_pid < 0)
        return;
    ::kill(m_pid, SIGKILL);
    Reap(true);
    m_outcome = Outcome::Killed;
}

void ChildProcess::CloseOutput() {
    if (m_out >= 0) {
        ::close(m_out);
        m_out = -1;
    }
}

} // namespace platform
