#include "qvutils/qv_utils.h"

#include "platform/system/clock.h"
#include "qvutils/host_services.h"

void fnQvWaitTimer(DWORD ms, bool pump) {
    ULONGLONG start = GetTickCount64();
    for (;;) {
        if (pump)
            qvhost::PumpMessages();
        ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= ms)
            break;
        // Short slices so messages are seen promptly.
        ULONGLONG left = ms - elapsed;
        Sleep(DWORD(pump && left > 10 ? 10 : left));
    }
}
