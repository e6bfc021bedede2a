#include "kelvane/app/instance_forwarding.h"

#include "pivora/framework/app_params.h"
#include "platform/system/instance_channel.h"
#include "platform/system/instance_lock.h"
#include "qvutils/qv_utils.h"

#include <filesystem>
#include <memory>
#include <system_error>

namespace {

struct MutexState {
    std::unique_ptr<platform::InstanceLock> lock;
    DWORD error = 0;
};

MutexState& Mutex() {
    static MutexState state;
    return state;
}

CString Absolute(const CString& path) {
    std::error_code ec;
    const std::filesystem::path given(path.ToUtf8());
    if (given.is_absolute())
        return path;
    const std::filesystem::path whole = std::filesystem::absolute(given, ec);
    return ec ? path : CString(whole.lexically_normal().string());
}

} // namespace

void FnCreateInstanceMutex() {
    MutexState& m = Mutex();
    m.lock = std::make_unique<platform::InstanceLock>(kelvane::kInstanceMutexName);
    m.error = m.lock->Error();
}

void FnCloseInstanceMutex() {
    Mutex().lock.reset();
}

DWORD FnInstanceMutexError() {
    return Mutex().error;
}

bool FnInstanceMutexHeld() {
    return Mutex().lock && Mutex().lock->Held();
}

bool FnForwardToRunningInstance(const std::vector<CString>& args, DWORD timeoutMs) {
    if (args.size() != 1)
        return false;
    platform::InstanceRequest request;
    // On this system the sender cannot bring another program forward; the copy does it itself.
    request.flags = QvGetSilentModeOn() ? 0 : platform::kInstanceRaise;
    if (args.front().CompareNoCase(L"Import.ai") == 0) {
        request.message = kelvane::WM_IMPORT_TEMP_AI;
    } else {
        QvSetAppParam(L"Import path", Absolute(args.front()));
        request.message = kelvane::WM_IMPORT_PATH;
    }
    uint32_t answer = 0;
    return platform::SendInstanceRequest(kelvane::kInstanceMutexName, request, timeoutMs, &answer);
}
