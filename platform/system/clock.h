// The one clock of the program: monotonic milliseconds, replaceable so that tests fire timers
// and time-outs without waiting.
#pragma once

#include "platform/core/types.h"

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual ULONGLONG NowMs() = 0;
    virtual void SleepMs(DWORD ms) = 0;
};

// A clock that moves only when told to; sleeping on it advances it at once.
class ManualClock : public Clock {
public:
    explicit ManualClock(ULONGLONG start = 1000) : m_now(start) {}
    ULONGLONG NowMs() override { return m_now; }
    void SleepMs(DWORD ms) override { m_now += ms; }
    void Advance(ULONGLONG ms) { m_now += ms; }

private:
    ULONGLONG m_now;
};

// Installs a clock (not owned); null restores the system's monotonic clock.
void SetClock(Clock* clock);
Clock& GetClock();

// Installs a clock for the lifetime of the object (tests).
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock) { SetClock(&clock); }
    ~ScopedClock() { SetClock(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

} // namespace platform

// Milliseconds since an arbitrary start, wrapping at 2^32 like the platform's tick count.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
void Sleep(DWORD ms);
