#include "platform/system/clock.h"

#include <chrono>
#include <thread>

namespace platform {
namespace {

class SystemClock : public Clock {
public:
    ULONGLONG NowMs() override {
        using namespace std::chrono;
        return ULONGLONG(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void SleepMs(DWORD ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

SystemClock g_systemClock;
Clock* g_clock = nullptr;

} // namespace

void SetClock(Clock* clock) {
    g_clock = clock;
}
Clock& GetClock() {
    return g_clock ? *g_clock : g_systemClock;
}

} // namespace platform

DWORD GetTickCount() {
    return DWORD(platform::GetClock().NowMs());
}
ULONGLONG GetTickCount64() {
    return platform::GetClock().NowMs();
}
void Sleep(DWORD ms) {
    platform::GetClock().SleepMs(ms);
}
