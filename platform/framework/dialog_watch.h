// Who is told when a modeless dialog comes up. An operation that makes and owns its own
// dialog (a progress dialog, say) keeps it out of the caller's reach; a watch lets a test press
// its buttons while the operation runs, as a person would.
#pragma once

#include <functional>

class CDialog;

namespace platform {

// Told after the dialog's window exists and its OnInitDialog ran.
using DialogCreatedListener = std::function<void(CDialog* dialog)>;

// Returns an id for RemoveDialogCreatedListener.
int AddDialogCreatedListener(DialogCreatedListener listener);
void RemoveDialogCreatedListener(int id);

// Listens for as long as it lives.
class ScopedDialogWatch {
public:
    explicit ScopedDialogWatch(DialogCreatedListener listener)
        : m_id(AddDialogCreatedListener(std::move(listener))) {}
    ~ScopedDialogWatch() { RemoveDialogCreatedListener(m_id); }
    ScopedDialogWatch(const ScopedDialogWatch&) = delete;
    ScopedDialogWatch& operator=(const ScopedDialogWatch&) = delete;

private:
    int m_id;
};

namespace detail {
void NotifyDialogCreated(CDialog* dialog);
} // namespace detail

} // namespace platform
