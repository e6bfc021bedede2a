// Runs the helper programs, one process per command. For the EPS helper a spare process is
// started as each command is handed over: it loads its libraries while the command runs and
// the program reads the result, and then takes the next command without that wait.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/types.h"
#include "platform/system/process.h"

#include <memory>
#include <string>
#include <vector>

class HelperRunner {
public:
    // How a run ended: `ran` when the helper ended by itself, `ok` when it also succeeded.
    struct Outcome {
        bool ran = false;
        bool ok = false;
    };

    HelperRunner() = default;
    HelperRunner(const HelperRunner&) = delete;
    HelperRunner& operator=(const HelperRunner&) = delete;

    // Runs `program` with `arguments` under `limits`, killed after `timeoutMs`; its standard
    // output (the first 4 KB) goes to `output`. With `ahead`, the command goes to a spare started
    // earlier with the same program and limits, and a spare is started for the next one.
    Outcome Run(const CString& program, const std::vector<CString>& arguments,
                const platform::ProcessLimits& limits, DWORD timeoutMs, std::string* output,
                bool ahead);
    // Ends the spare, if any.
    void DropSpare();

private:
    // The spare's program and limits, and the spare itself.
    CString m_spareProgram;
    platform::ProcessLimits m_spareLimits;
    std::unique_ptr<platform::ChildProcess> m_spare;
};
