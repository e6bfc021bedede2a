// The one thread's message queue: SendMessage calls at once, PostMessage queues; WM_QUIT, then
// WM_PAINT and WM_TIMER are made when no posted message is waiting. Timers run on the
// injectable clock (platform/system/clock.h).
#pragma once

#include "platform/windowing/window.h"

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT PM_NOYIELD = 0x0002;

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
void PostQuitMessage(int exitCode);
BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove);
// 0 for WM_QUIT, -1 when nothing can ever arrive (no timer, no display), else non-zero.
BOOL GetMessageW(MSG* msg, HWND hwnd, UINT first, UINT last);
LRESULT DispatchMessageW(const MSG* msg);
BOOL TranslateMessage(const MSG* msg);
// Waits until input may have arrived from the display; FALSE without a display.
BOOL WaitMessage();
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

inline LRESULT SendMessage(HWND h, UINT m, WPARAM w, LPARAM l) {
    return SendMessageW(h, m, w, l);
}
inline BOOL PostMessage(HWND h, UINT m, WPARAM w, LPARAM l) {
    return PostMessageW(h, m, w, l);
}
inline BOOL PeekMessage(MSG* m, HWND h, UINT f, UINT l, UINT r) {
    return PeekMessageW(m, h, f, l, r);
}
inline BOOL GetMessage(MSG* m, HWND h, UINT f, UINT l) {
    return GetMessageW(m, h, f, l);
}
inline LRESULT DispatchMessage(const MSG* m) {
    return DispatchMessageW(m);
}

namespace platform {

// Waits for input when the queue is empty (the display installs one) until the clock reaches
// untilMs; returns false when it has nothing to wait for. An untilMs of 0 only takes in what
// the display holds already: every PeekMessage does that first.
typedef bool (*MessageWaitHook)(ULONGLONG untilMs);
void SetMessageWaitHook(MessageWaitHook hook);
// A descriptor the display watches while the loop waits: when it has something to read, msg is
// posted to hwnd, so a program waiting for a peer sleeps instead of polling.
struct DescriptorWatch {
    int fd = -1;
    HWND hwnd = nullptr;
    UINT msg = 0;
};
// The display's watcher: add (true) or drop (false) one watch; false when it cannot watch.
typedef bool (*DescriptorWatcher)(const DescriptorWatch& watch, bool add);
void SetDescriptorWatcher(DescriptorWatcher watcher);
// False when nothing watches descriptors (no display): the caller polls instead.
bool WatchDescriptor(int fd, HWND hwnd, UINT msg);
void UnwatchDescriptor(int fd);

// Drops every posted message, timer and the quit flag (between tests).
void ResetMessageQueue();
int PostedMessageCount();

// A modal loop (a dialog, a message box, the file dialog) counts itself while it runs. A request
// to end the program ends such loops as cancelled first; the main window is closed only from
// the main loop, never under a dialog that still runs.
class ModalLoopScope {
public:
    ModalLoopScope();
    ~ModalLoopScope();
    ModalLoopScope(const ModalLoopScope&) = delete;
    ModalLoopScope& operator=(const ModalLoopScope&) = delete;
};
int ModalLoopDepth();

} // namespace platform
