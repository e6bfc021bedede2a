#include "helper_runner.h"

namespace {

constexpr size_t kMaxOutputBytes = 4096;
constexpr int kHelperOk = 0;
// The spare's first word: it waits for its command on standard input.
constexpr const wchar_t* kServeCommand = L"serve";

} // namespace

HelperRunner::Outcome HelperRunner::Run(const CString& program,
                                        const std::vector<CString>& arguments,
                                        const platform::ProcessLimits& limits, DWORD timeoutMs,
                                        std::string* output, bool ahead) {
    std::unique_ptr<platform::ChildProcess> child;
    if (ahead && m_spare && m_spareProgram == program &&
        m_spareLimits.addressSpaceBytes == limits.addressSpaceBytes &&
        m_spareLimits.cpuSeconds == limits.cpuSeconds) {
        std::string command;
        for (const CString& a : arguments) {
            command += a.ToUtf8();
            command += '\0';
        }
        child = std::move(m_spare);
        // A spare that has gone (killed from outside) cannot take it: a fresh start does.
        if (child->WriteInput(command))
            child->CloseInput();
        else
            child.reset();
    }
    DropSpare();
    if (!child) {
        child = std::make_unique<platform::ChildProcess>();
        if (!child->Start(program, arguments, limits, kMaxOutputBytes))
            return {};
    }
    if (ahead) {
        auto spare = std::make_unique<platform::ChildProcess>();
        if (spare->Start(program, {kServeCommand}, limits, kMaxOutputBytes,
                         platform::ChildProcess::Input::Written)) {
            m_spare = std::move(spare);
            m_spareProgram = program;
            m_spareLimits = limits;
        }
    }
    child->Wait(timeoutMs);
    if (output)
        *output = child->Output();
    const bool exited = child->GetOutcome() == platform::ChildProcess::Outcome::Exited;
    return {exited, exited && child->ExitCode() == kHelperOk};
}

void HelperRunner::DropSpare() {
    m_spare.reset();
}
