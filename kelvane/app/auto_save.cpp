#include "kelvane/app/auto_save.h"

#include <algorithm>
#include <cwctype>
#include <string>
#include <system_error>

namespace kelvane {

namespace {

constexpr int kMaxNumberedNames = 9999;

} // namespace

UINT AutoSaveIntervalMs(int minutes) {
    if (minutes <= 0)
        minutes = kDefaultAutoSaveMinutes;
    minutes = std::min(minutes, kMaxAutoSaveMinutes);
    return UINT(minutes) * kMillisecondsPerMinute;
}

bool IsRecoveryFile(const std::filesystem::path& file) {
    std::wstring ext = file.extension().wstring();
    for (auto& c : ext)
        c = wchar_t(std::towupper(c));
    return ext == L".KDR";
}

std::vector<std::filesystem::path> FindRecoveryFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && IsRecoveryFile(it->path()))
            found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::filesystem::path FreeDesignName(const std::filesystem::path& folder,
                                     const std::filesystem::path& file) {
    const std::string stem = file.stem().string();
    std::filesystem::path candidate = folder / (stem + ".KDX");
    for (int n = 2; n <= kMaxNumberedNames; ++n) {
        std::error_code ec;
        if (!std::filesystem::exists(candidate, ec) && !ec)
            return candidate;
        candidate = folder / (stem + " (" + std::to_string(n) + ").KDX");
    }
    return {};
}

} // namespace kelvane
