// One running copy per user: the instance lock taken before the application starts, and a
// second start handing its one argument to the running copy before it ends ("Import.ai" asks
// for the exchange file under the home folder, anything else is stored as "Import path").
#pragma once

#include "platform/core/cstring.h"

#include <vector>

namespace kelvane {

constexpr const wchar_t* kInstanceMutexName = L"Global\\{c66122d8-9843-46f5-b327-fecac1cf0b9a}";
// The running copy's requests.
constexpr UINT WM_IMPORT_TEMP_AI = 35491;
constexpr UINT WM_IMPORT_PATH = 35492;
// How long a second start waits for the running copy.
constexpr DWORD kForwardTimeoutMs = 10000;
// The display tells the running copy that a second start connected to its channel.
constexpr UINT WM_INSTANCE_CHANNEL = 35493;
// How often the running copy looks at its channel while a second start has connected and not
// yet been answered, and, where nothing watches the channel (no display), always.
constexpr UINT kInstancePollMs = 250;
constexpr UINT kInstancePeerPollMs = 50;
constexpr UINT_PTR kInstanceChannelTimer = 13134;

} // namespace kelvane

// Takes the instance lock and keeps the error of taking it (183 when another copy holds it).
void FnCreateInstanceMutex();
// Lets the lock go, once.
void FnCloseInstanceMutex();
DWORD FnInstanceMutexError();
bool FnInstanceMutexHeld();
// The second start: with exactly one argument, hands it to the running copy and waits for it
// at most timeoutMs. A relative path is made absolute first (the running copy has its own
// current folder). Whether the running copy answered.
bool FnForwardToRunningInstance(const std::vector<CString>& args,
                                DWORD timeoutMs = kelvane::kForwardTimeoutMs);
