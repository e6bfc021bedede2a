#include "felgrin/port_wait.h"

#include "platform/system/clock.h"
#include "qvutils/host_services.h"

namespace {

// Slices of a plain wait: short, so a click is seen at once.
constexpr DWORD kSleepSliceMs = 10;

} // namespace

bool PortKeepWaiting(const PortWaitHook& hook) {
    if (hook)
        return hook();
    qvhost::PumpMessages();
    return true;
}

bool PortWait(const PortWaitHook& hook, DWORD ms) {
    ULONGLONG start = GetTickCount64();
    for (;;) {
        if (!PortKeepWaiting(hook))
            return false;
        ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= ms)
            return true;
        ULONGLONG left = ms - elapsed;
        Sleep(DWORD(left < kSleepSliceMs ? left : kSleepSliceMs));
    }
}
