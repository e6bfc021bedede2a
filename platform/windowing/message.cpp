#include "platform/windowing/message.h"

#include "platform/core/vector_state.h"
#include "platform/system/clock.h"
#include "platform/system/termination_request.h"
#include "platform/windowing/window_internal.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <limits>
#include <optional>
#include <poll.h>

namespace {

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    ULONGLONG due;
    TIMERPROC proc;
};

// A posted message; input from the display carries the keys down when it came.
struct Posted : MSG {
    std::optional<platform::detail::KeyStates> keys;
};

struct Queue {
    std::deque<Posted> posted;
    bool quit = false;
    int exitCode = 0;
    std::vector<Timer> timers;
    UINT_PTR nextTimerId = 0x7000;
    platform::MessageWaitHook wait = nullptr;
    bool polling = false;
    int modalDepth = 0;
    std::chrono::steady_clock::time_point lastQuickPoll{};
};

// A look that must not cost much (whether input waits, asked between drawing two articles)
// takes in the display's input at most this often.
constexpr auto kQuickPollInterval = std::chrono::milliseconds(2);

Queue& Q() {
    static Queue q;
    return q;
}

bool InRange(UINT msg, UINT first, UINT last) {
    return (first == 0 && last == 0) || (msg >= first && msg <= last);
}

bool ForWindow(HWND target, HWND filter) {
    if (!filter)
        return true;
    for (HWND w = target; w; w = w->parent)
        if (w == filter)
            return true;
    return false;
}

} // namespace

namespace platform::detail {

void ForgetWindowInQueue(HWND hwnd) {
    Queue& q = Q();
    q.posted.erase(std::remove_if(q.posted.begin(), q.posted.end(),
                                  [&](const MSG& m) { return m.hwnd == hwnd; }),
                   q.posted.end());
    q.timers.erase(std::remove_if(q.timers.begin(), q.timers.end(),
                                  [&](const Timer& t) { return t.hwnd == hwnd; }),
                   q.timers.end());
}

} // namespace platform::detail

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (hwnd && !IsWindow(hwnd))
        return FALSE;
    Posted p;
    static_cast<MSG&>(p) = MSG{hwnd, msg, wp, lp, GetTickCount(), POINT{0, 0}};
    Q().posted.push_back(std::move(p));
    return TRUE;
}

namespace platform::detail {

BOOL PostWithKeyStates(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, const KeyStates& keys) {
    if (!PostMessageW(hwnd, msg, wp, lp))
        return FALSE;
    Q().posted.back().keys = keys;
    return TRUE;
}

} // namespace platform::detail

void PostQuitMessage(int exitCode) {
    Q().quit = true;
    Q().exitCode = exitCode;
}

BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove) {
    Queue& q = Q();
    if (!msg)
        return FALSE;
    platform::DeliverTerminationRequest();
    // Input the display holds becomes posted messages before the queue is searched.
    if (q.wait && !q.polling) {
        const auto now = std::chrono::steady_clock::now();
        if (!(remove & PM_NOYIELD) || now - q.lastQuickPoll >= kQuickPollInterval) {
            q.lastQuickPoll = now;
            q.polling = true;
            q.wait(0);
            q.polling = false;
        }
    }
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (!InRange(it->message, first, last) || !ForWindow(it->hwnd, hwnd))
            continue;
        if (it->hwnd && !IsWindow(it->hwnd))
            continue;
        *msg = *it;
        if (remove & PM_REMOVE) {
            // The keys as they were when this input came are the ones it is handled with.
            if (it->keys)
                platform::detail::SetHandledKeyStates(*it->keys);
            q.posted.erase(it);
        }
        return TRUE;
    }
    if (q.quit && !hwnd && InRange(WM_QUIT, first, last)) {
        *msg = MSG{nullptr, WM_QUIT, WPARAM(q.exitCode), 0, GetTickCount(), POINT{0, 0}};
        if (remove & PM_REMOVE)
            q.quit = false;
        return TRUE;
    }
    if (InRange(WM_PAINT, first, last)) {
        if (HWND w = platform::detail::FindWindowToPaint(hwnd)) {
            // A paint message stays until the window's update region is validated.
            *msg = MSG{w, WM_PAINT, 0, 0, GetTickCount(), POINT{0, 0}};
            return TRUE;
        }
    }
    if (InRange(WM_TIMER, first, last) && !q.timers.empty()) {
        ULONGLONG now = platform::GetClock().NowMs();
        Timer* best = nullptr;
        for (Timer& t : q.timers)
            if (t.due <= now && ForWindow(t.hwnd, hwnd) && (!best || t.due < best->due))
                best = &t;
        if (best) {
            *msg = MSG{best->hwnd, WM_TIMER,   best->id, reinterpret_cast<LPARAM>(best->proc),
                       DWORD(now), POINT{0, 0}};
            // Missed periods are not made up: the next one is a full period from now.
            if (remove & PM_REMOVE)
                best->due = now + best->period;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL GetMessageW(MSG* msg, HWND hwnd, UINT first, UINT last) {
    Queue& q = Q();
    for (;;) {
        if (PeekMessageW(msg, hwnd, first, last, PM_REMOVE))
            return msg->message == WM_QUIT ? 0 : 1;
        ULONGLONG next = std::numeric_limits<ULONGLONG>::max();
        for (const Timer& t : q.timers)
            next = std::min(next, t.due);
        if (q.wait) {
            if (q.wait(next))
                continue;
        }
        if (q.timers.empty())
            return -1; // nothing can ever arrive: an error rather than a hang
        ULONGLONG now = platform::GetClock().NowMs();
        if (next > now) {
            const DWORD ms = DWORD(std::min<ULONGLONG>(next - now, 0x7FFFFFFF));
            // A termination request ends the sleep early; it is noticed by the next peek.
            pollfd wake{platform::TerminationWakeFd(), POLLIN, 0};
            if (wake.fd < 0) {
                platform::GetClock().SleepMs(ms);
            } else if (poll(&wake, 1, int(ms)) == 0) {
                // What the clock has not seen pass yet (all of it for a test's clock).
                const ULONGLONG after = platform::GetClock().NowMs();
                if (next > after)
                    platform::GetClock().SleepMs(DWORD(std::min<ULONGLONG>(next - after, ms)));
            }
        }
    }
}

BOOL WaitMessage() {
    Queue& q = Q();
    if (!q.wait)
        return FALSE;
    ULONGLONG next = std::numeric_limits<ULONGLONG>::max();
    for (const Timer& t : q.timers)
        next = std::min(next, t.due);
    return q.wait(next) ? TRUE : FALSE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg)
        return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    const LRESULT r = SendMessageW(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    // Painting may leave the wide registers in use, which slows all scalar maths after it.
    platform::ClearUpperVectorState();
    return r;
}

BOOL TranslateMessage(const MSG* msg) {
    // Characters arrive from the display as WM_CHAR already.
    return msg && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN);
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    Queue& q = Q();
    if (hwnd && !IsWindow(hwnd))
        return 0;
    if (!hwnd)
        id = ++q.nextTimerId;
    elapse = std::clamp<UINT>(elapse, 10, 0x7FFFFFFF);
    ULONGLONG due = platform::GetClock().NowMs() + elapse;
    for (Timer& t : q.timers)
        if (t.hwnd == hwnd && t.id == id) {
            t = Timer{hwnd, id, elapse, due, proc};
            return hwnd ? (id ? id : 1) : id;
        }
    q.timers.push_back(Timer{hwnd, id, elapse, due, proc});
    return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    Queue& q = Q();
    auto it = std::find_if(q.timers.begin(), q.timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == q.timers.end())
        return FALSE;
    q.timers.erase(it);
    return TRUE;
}

namespace platform {

void SetMessageWaitHook(MessageWaitHook hook) {
    Q().wait = hook;
}

namespace {

DescriptorWatcher& Watcher() {
    static DescriptorWatcher watcher = nullptr;
    return watcher;
}

} // namespace

void SetDescriptorWatcher(DescriptorWatcher watcher) {
    Watcher() = watcher;
}

bool WatchDescriptor(int fd, HWND hwnd, UINT msg) {
    return fd >= 0 && Watcher() && Watcher()(DescriptorWatch{fd, hwnd, msg}, true);
}

void UnwatchDescriptor(int fd) {
    if (fd >= 0 && Watcher())
        Watcher()(DescriptorWatch{fd, nullptr, 0}, false);
}

void ResetMessageQueue() {
    Queue& q = Q();
    q.posted.clear();
    q.timers.clear();
    q.quit = false;
    q.exitCode = 0;
}

int PostedMessageCount() {
    return int(Q().posted.size());
}

ModalLoopScope::ModalLoopScope() {
    ++Q().modalDepth;
}

ModalLoopScope::~ModalLoopScope() {
    --Q().modalDepth;
}

int ModalLoopDepth() {
    return Q().modalDepth;
}

} // namespace platform
