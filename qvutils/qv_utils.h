// Small services shared by many deliverables: preferences kept in the application parameters,
// a wait that keeps the windows alive, lock files, context masks and a few string functions.
#pragma once

#include "platform/core/cstring.h"

#include <vector>

// Waits ms milliseconds; with pumpMessages, window messages are dispatched meanwhile.
void fnQvWaitTimer(DWORD milliseconds, bool pumpMessages);
