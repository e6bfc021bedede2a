#include "platform/system/termination_request.h"

#include "platform/windowing/message.h"
#include "platform/windowing/window.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};

std::atomic<bool> g_pending{false};
// Written from the handler: plain ints read once there.
volatile sig_atomic_t g_writeFd = -1;
int g_readFd = -1;
std::function<HWND()>* g_target = nullptr;
struct sigaction g_previous[2];

extern "C" void OnTerminationSignal(int) {
    const int saved = errno;
    g_pending.store(true);
    const int fd = g_writeFd;
    if (fd >= 0) {
        const char byte = 1;
        // A full pipe already wakes the loop; the byte may be dropped.
        [[maybe_unused]] ssize_t n = write(fd, &byte, 1);
    }
    errno = saved;
}

void Drain() {
    char buffer[64];
    while (g_readFd >= 0 && read(g_readFd, buffer, sizeof buffer) > 0) {
    }
}

} // namespace

TerminationRequest::TerminationRequest(std::function<HWND()> target) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // without the pipe the signals keep their default: better than a deaf program
    g_readFd = fds[0];
    g_writeFd = fds[1];
    g_target = new std::function<HWND()>(std::move(target));
    g_pending.store(false);
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &g_previous[i]);
}

TerminationRequest::~TerminationRequest() {
    if (g_readFd < 0)
        return;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &g_previous[i], nullptr);
    const int writeFd = g_writeFd;
    g_writeFd = -1;
    close(writeFd);
    close(g_readFd);
    g_readFd = -1;
    delete g_target;
    g_target = nullptr;
    g_pending.store(false);
}

int TerminationWakeFd() {
    return g_readFd;
}

bool TerminationPending() {
    return g_pending.load(std::memory_order_relaxed);
}

bool DeliverTerminationRequest() {
    if (!g_pending.load(std::memory_order_relaxed))
        return false;
    Drain();
    // Closing the main window under a running dialog would pull its owner from under it.
    if (ModalLoopDepth() > 0)
        return false;
    HWND target = g_target ? (*g_target)() : nullptr;
    if (!target || !IsWindow(target))
        return false;
    g_pending.store(false);
    // A second request while the first close still waits in the queue adds no second close.
    MSG queued;
    if (PeekMessageW(&queued, target, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) && queued.hwnd == target)
        return false;
    return PostMessageW(target, WM_CLOSE, 0, 0) != FALSE;
}

} // namespace platform
