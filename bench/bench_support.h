// Shared by the benchmarks: a private folder for the run's settings and files, and the outlines
// the design benchmarks are built from.
#pragma once

#include "pivora/geometry/geometry_types.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace bench {

// Made once per run under /tmp; the settings hives, the home and the program folder point into
// it, so a benchmark never touches the user's own settings. It goes again when the run ends,
// with whatever the run wrote there (designs, recovery copies).
inline const std::string& PrivateFolder(const char* subject) {
    static const std::string folder = [subject] {
        std::string tmpl = std::string("/tmp/kelvane-bench-") + subject + "-XXXXXX";
        const char* made = ::mkdtemp(tmpl.data());
        if (!made)
            std::abort();
        std::string f = made;
        struct Removal {
            std::string dir;
            ~Removal() {
                std::error_code ignored;
                std::filesystem::remove_all(dir, ignored);
            }
        };
        static Removal removal{f};
        ::setenv("KELVANE_USER_HIVE", (f + "/user.hive").c_str(), 1);
        ::setenv("KELVANE_MACHINE_HIVE", (f + "/machine.hive").c_str(), 1);
        ::setenv("KELVANE_HOME", f.c_str(), 1);
        ::setenv("KELVANE_PROGRAM_DIR", f.c_str(), 1);
        return f;
    }();
    return folder;
}

// A closed star of `edges` edges round (cx, cy): a letter-sized outline.
inline std::vector<CLpoint> Star(LONG cx, LONG cy, LONG r, int edges, double turn) {
    std::vector<CLpoint> pts;
    for (int i = 0; i < edges; ++i) {
        const double a = turn + 6.283185307 * i / edges;
        const double rr = i % 2 ? r * 0.6 : r;
        pts.push_back(CLpoint(LONG(cx + rr * std::cos(a)), LONG(cy + rr * std::sin(a))));
    }
    pts.push_back(pts.front());
    return pts;
}

} // namespace bench
