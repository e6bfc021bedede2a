#include "platform/windowing/queue_status.h"

namespace {

bool Waiting(UINT first, UINT last) {
    MSG m;
    return PeekMessageW(&m, nullptr, first, last, PM_NOREMOVE | PM_NOYIELD) != 0;
}

} // namespace

DWORD GetQueueStatus(UINT flags) {
    UINT found = 0;
    // The first look brings the display's input into the queue; an empty queue answers at once
    // (drawing asks between every two articles).
    if (Waiting(WM_KEYFIRST, WM_KEYLAST) && (flags & QS_KEY))
        found |= QS_KEY;
    if (platform::PostedMessageCount() == 0)
        return 0;
    if ((flags & QS_MOUSEMOVE) &&
        (Waiting(WM_MOUSEMOVE, WM_MOUSEMOVE) || Waiting(WM_NCMOUSEFIRST, WM_NCMOUSEFIRST)))
        found |= QS_MOUSEMOVE;
    if ((flags & QS_MOUSEBUTTON) &&
        (Waiting(WM_MOUSEMOVE + 1, WM_MOUSELAST) || Waiting(WM_NCMOUSEFIRST + 1, WM_NCMOUSELAST)))
        found |= QS_MOUSEBUTTON;
    if ((flags & QS_POSTMESSAGE) && platform::PostedMessageCount() > 0)
        found |= QS_POSTMESSAGE;
    found &= flags;
    return (DWORD(found) << 16) | found;
}
