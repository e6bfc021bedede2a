#include "platform/windowing/ui_notify.h"

#include <utility>
#include <vector>

namespace platform {

namespace {

struct Entry {
    int id;
    UiListener listener;
};

std::vector<Entry>& Listeners() {
    static std::vector<Entry> v;
    return v;
}

} // namespace

int AddUiListener(UiListener listener) {
    static int next = 1;
    Listeners().push_back(Entry{next, std::move(listener)});
    return next++;
}

void RemoveUiListener(int id) {
    auto& v = Listeners();
    for (auto it = v.begin(); it != v.end(); ++it)
        if (it->id == id) {
            v.erase(it);
            return;
        }
}

void NotifyUi(UiChange what, HWND window, void* object) {
    // A listener may add or remove listeners while it is told.
    std::vector<Entry> copy = Listeners();
    for (auto& e : copy)
        e.listener(what, window, object);
}

} // namespace platform
