// Filters in front of a window object's handlers: a frame puts them on windows it does not own
// (panes, its client area) to see their messages first. A filter that returns true swallows
// the message with *result as the answer. Filters go when their window is destroyed.
#pragma once

#include "platform/windowing/window.h"

#include <functional>

namespace platform {

using MessageFilter =
    std::function<bool(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)>;

// Filters run in the order they were added. FALSE when hwnd is not a window with a window
// object (CWnd).
BOOL AddMessageFilter(HWND hwnd, MessageFilter filter);
void RemoveMessageFilters(HWND hwnd);
size_t MessageFilterCount(HWND hwnd);
// Offers the message to the window's filters; true when one swallowed it.
bool RunMessageFilters(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

} // namespace platform
