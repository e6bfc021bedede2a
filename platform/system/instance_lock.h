// The single-instance lock: a named lock held with flock on a per-user file in the runtime
// folder, so one user runs one copy and a copy that crashed leaves no stale lock. Two holders
// in one process see each other as well (each opens its own file description).
#pragma once

#include "platform/core/types.h"

#include <string>

namespace platform {

// The error a second holder of a taken lock gets.
constexpr DWORD kErrorAlreadyExists = 183;

// The per-user folder of the program's runtime files: $XDG_RUNTIME_DIR when set, else
// /tmp/kelvane-<uid>, made private (0700). Empty when the folder is missing, belongs to another
// user or others may enter it.
std::string UserRuntimeDir();
// A file in that folder for a lock or channel name: the "Global\" and "Local\" prefixes and
// every character but letters, digits, "-" and "_" are dropped, then suffix is added. Empty
// when the folder is unusable.
std::string RuntimeFilePath(const wchar_t* name, const char* suffix);

class InstanceLock {
public:
    explicit InstanceLock(const wchar_t* name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // 0 when this holder took the lock, kErrorAlreadyExists when another holds it, another
    // error number when the lock file could not be made.
    DWORD Error() const { return m_error; }
    bool Held() const { return m_fd >= 0 && m_error == 0; }
    // Lets the lock go (the destructor does it too); a later call does nothing.
    void Release();

private:
    int m_fd = -1;
    DWORD m_error = 0;
};

} // namespace platform
