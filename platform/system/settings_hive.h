// One hive file: loaded when another writer replaced it, changed under a lock and written
// through (temporary file, flush, rename, flush of the folder).
#pragma once

#include "platform/system/settings_tree.h"

#include <functional>
#include <string>
#include <sys/types.h>
#include <time.h>

namespace platform::settings {

enum { kUser = 1, kMachine = 2 };

class Hive {
public:
    explicit Hive(std::string path) : m_path(std::move(path)) {}
    ~Hive();
    Hive(const Hive&) = delete;
    Hive& operator=(const Hive&) = delete;

    const std::string& path() const { return m_path; }
    const std::vector<CString>& problems() const { return m_problems; }

    // Reads the file again when another writer has replaced it.
    Key& Current();

    // Runs `change` on the freshest tree under the lock and writes the result through.
    // The change returns ERROR_SUCCESS to be written, anything else to leave the hive alone.
    LONG Modify(const std::function<LONG(Key&)>& change);

private:
    bool Changed();
    void Load();
    LONG Save();

    std::string m_path;
    Key m_root;
    std::vector<CString> m_problems;
    bool m_damaged = false;
    bool m_loaded = false;
    int m_fd = -1;
    off_t m_size = 0;
    timespec m_mtime{};
};

// The hive behind a root key (kUser or kMachine), at the path the environment sets now.
Hive& HiveFor(int root);

} // namespace platform::settings
