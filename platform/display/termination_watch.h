// Wakes the display's wait when a termination request arrives, so it is handled at once.
#pragma once

namespace platform::display {

// Follows the current termination request's pipe; called before each wait.
void WatchTerminationRequests();

} // namespace platform::display
