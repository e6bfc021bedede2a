#include "platform/system/process.h"

#include "platform/system/paths.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

// Exit code of a child whose exec failed (as shells use it for "not found").
constexpr int kExecFailed = 127;
// Longest wait between two looks at a running child, and the first look after its output closed.
constexpr int kPollMs = 20;
constexpr int kFirstNapMs = 1;
// The child's stack between its start and exec.
constexpr size_t kSpawnStackBytes = 256 * 1024;

// What the child does between its start and exec, prepared by the parent.
struct SpawnPlan {
    char* const* argv = nullptr;
    const ProcessLimits* limits = nullptr;
    int output = -1;  // becomes its standard output
    int input = -1;   // its standard input, or -1 for /dev/null
    int devNull = -1; // its standard error (and input)
    sigset_t mask{};  // the parent's signal mask, the child's from exec on
    int execErrno = 0;
};

// The child's side: it shares the parent's memory and runs on a stack of its own while the parent
// waits (CLONE_VFORK), so it makes system calls only and writes nothing but `execErrno`.
__attribute__((no_sanitize("address", "undefined"))) int SpawnChild(void* arg) {
    auto* plan = static_cast<SpawnPlan*>(arg);
    // A handler of the parent's must not run here, on memory the parent still uses.
    for (int s = 1; s < NSIG; ++s) {
        struct sigaction sa;
        if (::sigaction(s, nullptr, &sa) != 0 || sa.sa_handler == SIG_IGN ||
            sa.sa_handler == SIG_DFL)
            continue;
        sa.sa_handler = SIG_DFL;
        sa.sa_flags = 0;
        ::sigaction(s, &sa, nullptr);
    }
    if (plan->devNull >= 0) {
        ::dup2(plan->devNull, STDIN_FILENO);
        ::dup2(plan->devNull, STDERR_FILENO);
    }
    if (plan->input >= 0)
        ::dup2(plan->input, STDIN_FILENO);
    ::dup2(plan->output, STDOUT_FILENO);
    if (plan->limits->addressSpaceBytes) {
        const rlim_t bytes = rlim_t(plan->limits->addressSpaceBytes);
        struct rlimit r = {bytes, bytes};
        ::setrlimit(RLIMIT_AS, &r);
    }
    if (plan->limits->cpuSeconds) {
        const rlim_t seconds = rlim_t(plan->limits->cpuSeconds);
        struct rlimit r = {seconds, seconds};
        ::setrlimit(RLIMIT_CPU, &r);
    }
    struct rlimit noCore = {0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    ::sigprocmask(SIG_SETMASK, &plan->mask, nullptr);
    ::execv(plan->argv[0], plan->argv);
    plan->execErrno = errno ? errno : ENOEXEC;
    ::_exit(kExecFailed);
}

// Starts the child without copying the parent's address space, which a fork does at a cost that
// grows with the program's size; returns once the child has called exec (or failed to).
pid_t Spawn(SpawnPlan& plan) {
    void* stack = ::mmap(nullptr, kSpawnStackBytes, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
    if (stack == MAP_FAILED)
        return -1;
    sigset_t all;
    ::sigfillset(&all);
    ::pthread_sigmask(SIG_BLOCK, &all, &plan.mask);
    const pid_t pid = ::clone(SpawnChild, static_cast<char*>(stack) + kSpawnStackBytes,
                              CLONE_VM | CLONE_VFORK | SIGCHLD, &plan);
    const int err = errno;
    ::pthread_sigmask(SIG_SETMASK, &plan.mask, nullptr);
    ::munmap(stack, kSpawnStackBytes);
    errno = err;
    return pid;
}

} // namespace

ChildProcess::~ChildProcess() {
    Kill();
    CloseOutput();
    CloseInput();
}

bool ChildProcess::Start(const CString& program, const std::vector<CString>& arguments,
                         const ProcessLimits& limits, size_t maxOutput, Input input) {
    Kill();
    CloseOutput();
    CloseInput();
    m_output.clear();
    m_error.Empty();
    m_exitCode = -1;
    m_signal = 0;
    m_maxOutput = maxOutput;
    m_outcome = Outcome::NotStarted;

    // Everything the child needs is made before it starts: it only makes system calls.
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
    // Input goes through a socket: a write to a child that has gone fails instead of raising
    // SIGPIPE in this program.
    int inputFds[2] = {-1, -1};
    if (input == Input::Written &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, inputFds) != 0) {
        m_error = CString(std::strerror(errno));
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return false;
    }
    SpawnPlan plan;
    plan.argv = argv.data();
    plan.limits = &limits;
    plan.output = pipeFds[1];
    plan.input = inputFds[1];
    plan.devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t pid = Spawn(plan);
    if (plan.devNull >= 0)
        ::close(plan.devNull);
    ::close(pipeFds[1]);
    if (inputFds[1] >= 0)
        ::close(inputFds[1]);
    m_in = inputFds[0];
    if (pid < 0 || plan.execErrno != 0) {
        const int err = pid < 0 ? errno : plan.execErrno;
        CloseInput();
        if (pid >= 0) {
            m_pid = pid;
            Reap(true);
        }
        ::close(pipeFds[0]);
        m_outcome = Outcome::NotStarted;
        m_error = CString(std::strerror(err));
        return false;
    }
    m_pid = pid;
    m_pidFd = int(::syscall(SYS_pidfd_open, pid, 0));
    m_out = pipeFds[0];
    ::fcntl(m_out, F_SETFL, ::fcntl(m_out, F_GETFL) | O_NONBLOCK);
    if (m_in >= 0)
        ::fcntl(m_in, F_SETFL, ::fcntl(m_in, F_GETFL) | O_NONBLOCK);
    m_outcome = Outcome::Running;
    return true;
}

bool ChildProcess::WriteInput(const std::string& bytes) {
    size_t done = 0;
    while (m_in >= 0 && done < bytes.size()) {
        const ssize_t n = ::send(m_in, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n > 0)
            done += size_t(n);
        else if (n < 0 && errno != EINTR)
            return false;
    }
    return m_in >= 0;
}

void ChildProcess::CloseInput() {
    if (m_in >= 0) {
        ::close(m_in);
        m_in = -1;
    }
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
    if (m_pidFd >= 0) {
        ::close(m_pidFd);
        m_pidFd = -1;
    }
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
    // Without a process descriptor to wake on: once its output is closed the child is usually
    // ending, so look again soon, then less often.
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
        const int wait = int(std::min<int64_t>(left.count() + 1, INT32_MAX));
        if (m_pidFd >= 0) {
            // Wakes on output or on the child's end, whichever comes first.
            struct pollfd p[2] = {{m_pidFd, POLLIN, 0}, {m_out, POLLIN, 0}};
            if (::poll(p, m_out >= 0 ? 2 : 1, wait) > 0 && p[1].revents)
                Drain(0);
            continue;
        }
        const bool closed = m_out < 0;
        Drain(std::min(wait, closed ? nap : kPollMs));
        if (closed)
            nap = std::min(nap * 2, kPollMs);
    }
}

void ChildProcess::Kill() {
    CloseInput();
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
