// A request to end the program from outside (SIGTERM, SIGINT) becomes a close of its main
// window, so modified designs are asked about as on any close. The handlers only write a byte
// to a pipe and set a flag; the message loop notices and posts WM_CLOSE.
#pragma once

#include "platform/core/types.h"

#include <functional>

struct HWND__;
typedef HWND__* HWND;

namespace platform {

class TerminationRequest {
public:
    // target names the window to close when a request is noticed (the main window); a request
    // made while it names none waits for one.
    explicit TerminationRequest(std::function<HWND()> target);
    // Gives the signals their default behaviour back.
    ~TerminationRequest();
    TerminationRequest(const TerminationRequest&) = delete;
    TerminationRequest& operator=(const TerminationRequest&) = delete;
};

// The read end of the pipe a request wakes, or -1 when no TerminationRequest is installed.
int TerminationWakeFd();
// Posts WM_CLOSE to the target when a request is pending and no modal loop runs; true when it
// did. Under a modal loop the request stays pending: the loop ends itself as cancelled.
bool DeliverTerminationRequest();
// Whether a request waits to be delivered.
bool TerminationPending();

} // namespace platform
