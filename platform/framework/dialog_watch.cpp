#include "platform/framework/dialog_watch.h"

#include <utility>
#include <vector>

namespace platform {

namespace {

struct Entry {
    int id;
    DialogCreatedListener listener;
};

std::vector<Entry>& Listeners() {
    static std::vector<Entry> listeners;
    return listeners;
}

} // namespace

int AddDialogCreatedListener(DialogCreatedListener listener) {
    static int s_next = 0;
    const int id = ++s_next;
    Listeners().push_back({id, std::move(listener)});
    return id;
}

void RemoveDialogCreatedListener(int id) {
    auto& all = Listeners();
    std::erase_if(all, [id](const Entry& e) { return e.id == id; });
}

namespace detail {

void NotifyDialogCreated(CDialog* dialog) {
    // A listener may add or remove listeners, or open another dialog.
    const std::vector<Entry> all = Listeners();
    for (const Entry& e : all)
        e.listener(dialog);
}

} // namespace detail

} // namespace platform
