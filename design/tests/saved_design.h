// A saved design file's bytes for comparing two saves of one design.
#pragma once

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The bytes without the page's visible area (record 9, four int32 values): a reopened view fits
// the stored area to its own pixels, so what it then shows is its own business.
inline std::vector<char> DesignBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(f), {}};
    const char header[] = {9, 0, 16, 0, 0, 0};
    auto at = std::search(bytes.begin(), bytes.end(), std::begin(header), std::end(header));
    if (at != bytes.end() && bytes.end() - at >= 6 + 16)
        std::fill(at + 6, at + 6 + 16, char(0));
    return bytes;
}
