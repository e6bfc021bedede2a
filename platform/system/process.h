// Child processes: a program started from an argument vector (never through a shell), its
// standard output collected, waited for with a time-out, killed, and held to resource limits.
// Used where work on untrusted input runs apart, so that its crash or hang is not ours.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/types.h"

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

struct ProcessLimits {
    uint64_t addressSpaceBytes = 0; // 0: no limit
    uint32_t cpuSeconds = 0;        // 0: no limit
};

class ChildProcess {
public:
    enum class Outcome {
        NotStarted, // the program could not be started
        Running,
        Exited,    // ended by itself; ExitCode() tells how
        Signalled, // ended by a signal (a crash, or a limit it broke)
        TimedOut,  // killed after the time-out
        Killed,    // killed by Kill()
    };

    ChildProcess() = default;
    ~ChildProcess(); // kills and reaps a child still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // What the child's standard input reads: nothing, or what WriteInput() gives it.
    enum class Input { None, Written };

    // Starts `program` (a path) with `arguments` (argv[1] onwards). Standard input reads
    // nothing or what is written to it; standard output is collected up to `maxOutput` bytes
    // (the rest is read and dropped); standard error is dropped. False, with the reason in
    // Error(), when it could not be started.
    bool Start(const CString& program, const std::vector<CString>& arguments,
               const ProcessLimits& limits = {}, size_t maxOutput = 1 << 20,
               Input input = Input::None);
    // Hands `bytes` to the child's standard input without waiting for it to read them (the
    // channel holds some hundred kilobytes); false when the child has gone, its input is
    // closed, or the channel is full.
    bool WriteInput(const std::string& bytes);
    // Ends the child's input: it reads end of file.
    void CloseInput();
    // Waits until the child ends or `timeoutMs` passes, collecting its output; a child still
    // running then is killed and the outcome is TimedOut.
    Outcome Wait(DWORD timeoutMs);
    // Kills a running child and reaps it.
    void Kill();

    Outcome GetOutcome() const { return m_outcome; }
    int ExitCode() const { return m_exitCode; }
    int Signal() const { return m_signal; }
    const std::string& Output() const { return m_output; }
    const CString& Error() const { return m_error; }
    bool Succeeded() const { return m_outcome == Outcome::Exited && m_exitCode == 0; }

private:
    // Reads what is ready within `timeoutMs`; false when nothing was.
    bool Drain(int timeoutMs);
    bool Reap(bool block);
    void CloseOutput();

    pid_t m_pid = -1;
    int m_pidFd = -1; // readable once the child has ended; -1 where the system has none
    int m_out = -1;
    int m_in = -1; // our end of its standard input, when written
    size_t m_maxOutput = 0;
    Outcome m_outcome = Outcome::NotStarted;
    int m_exitCode = -1;
    int m_signal = 0;
    std::string m_output;
    CString m_error;
};

} // namespace platform
