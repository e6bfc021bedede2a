// The waits of the transports: cut into slices with the windows' messages dispatched between
// them, so the program repaints and the cancel dialog answers while a cutter is slow to reply.
#pragma once

#include "platform/core/types.h"

#include <functional>

// Run between the slices of a wait: dispatches messages and says whether to go on waiting
// (false once the cut is cancelled). An empty hook only dispatches messages.
using PortWaitHook = std::function<bool()>;

// The longest a transport waits without dispatching messages.
constexpr DWORD PORT_WAIT_SLICE_MS = 50;

// The hook, or the message pump when there is none: whether to go on waiting.
bool PortKeepWaiting(const PortWaitHook& hook);
// Waits ms in slices; false as soon as the hook ends the wait.
bool PortWait(const PortWaitHook& hook, DWORD ms);
