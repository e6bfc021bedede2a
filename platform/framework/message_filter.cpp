#include "platform/framework/message_filter.h"

#include "platform/framework/wnd.h"

#include <unordered_map>
#include <vector>

namespace platform {

namespace {

std::unordered_map<HWND, std::vector<MessageFilter>>& Filters() {
    static std::unordered_map<HWND, std::vector<MessageFilter>> m;
    return m;
}

} // namespace

BOOL AddMessageFilter(HWND hwnd, MessageFilter filter) {
    // Filters run, and go at the window's end, through its window object: on a bare window
    // one would never run and would outlive it, waiting for the next window at that handle.
    if (!::IsWindow(hwnd) || !CWnd::FromHandlePermanent(hwnd) || !filter)
        return FALSE;
    Filters()[hwnd].push_back(std::move(filter));
    return TRUE;
}

void RemoveMessageFilters(HWND hwnd) {
    Filters().erase(hwnd);
}

size_t MessageFilterCount(HWND hwnd) {
    auto it = Filters().find(hwnd);
    return it != Filters().end() ? it->second.size() : 0;
}

bool RunMessageFilters(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    auto it = Filters().find(hwnd);
    if (it == Filters().end())
        return false;
    // A copy: a filter may add or remove filters, or destroy the window.
    const std::vector<MessageFilter> filters = it->second;
    for (const MessageFilter& f : filters) {
        LRESULT r = 0;
        if (f(hwnd, msg, wp, lp, &r)) {
            if (result)
                *result = r;
            return true;
        }
    }
    return false;
}

} // namespace platform
