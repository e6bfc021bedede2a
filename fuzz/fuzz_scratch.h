// The private folder of one fuzz run (settings hives, home, files it writes), under the
// temporary folder and removed when the run ends, so that runs leave nothing behind.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

inline std::string FuzzScratchFolder(const char* target) {
    static std::string folder;
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("kelvane-fuzz-" + std::string(target) + "-"))
            .string() +
        "XXXXXX";
    if (!::mkdtemp(pattern.data()))
        std::abort();
    folder = pattern;
    // libFuzzer ends a run with exit(), which runs these.
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    });
    return folder;
}
