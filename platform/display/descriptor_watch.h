// The display's side of descriptor watches: Qt's event loop waits on them with its own input,
// and a readable one posts its message to the model's window.
#pragma once

namespace platform::display {

// Installs (true) or removes (false) the watcher; removing drops every watch.
void InstallDescriptorWatcher(bool install);
// A watch that fired is quiet until the loop waits again, so one readable descriptor posts one
// message per wait, not one per event Qt handles; called before each wait.
void RearmDescriptorWatches();

} // namespace platform::display
