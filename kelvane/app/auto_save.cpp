#include "kelvane/app/auto_save.h"

#include "platform/core/replace_file.h"

#include <algorithm>
#include <cwctype>
#include <string>
#include <sys/xattr.h>
#include <system_error>

namespace kelvane {

namespace {

constexpr int kMaxNumberedNames = 9999;
constexpr char kOwnerAttribute[] = "user.kelvane.design";
// Longer than any path the system makes.
constexpr size_t kMaxOwnerBytes = 4096;

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

void RemoveAbandonedRecoveryParts(const std::filesystem::path& folder) {
    platform::RemoveStaleTemporariesIn(folder.string(), [](const std::string& name) {
        return IsRecoveryFile(std::filesystem::path(name));
    });
}

void RecordRecoveryOwner(const std::filesystem::path& copy, const std::filesystem::path& design) {
    const std::string owner = design.string();
    if (!owner.empty() && owner.size() <= kMaxOwnerBytes)
        ::setxattr(copy.c_str(), kOwnerAttribute, owner.data(), owner.size(), 0);
}

std::filesystem::path RecoveryOwner(const std::filesystem::path& copy,
                                    const std::filesystem::path& designFolder) {
    std::string owner(kMaxOwnerBytes, '\0');
    const ssize_t n = ::getxattr(copy.c_str(), kOwnerAttribute, owner.data(), owner.size());
    if (n > 0)
        return std::filesystem::path(owner.substr(0, size_t(n)));
    // The name is the design's, a dash and a random number.
    const std::string stem = copy.stem().string();
    const size_t dash = stem.rfind('-');
    if (designFolder.empty() || dash == std::string::npos || dash == 0)
        return {};
    return designFolder / (stem.substr(0, dash) + ".KDX");
}

bool IsSupersededRecoveryCopy(const std::filesystem::path& copy,
                              const std::filesystem::path& designFolder) {
    const std::filesystem::path owner = RecoveryOwner(copy, designFolder);
    if (owner.empty())
        return false;
    std::error_code ec, ownerError;
    const auto copyTime = std::filesystem::last_write_time(copy, ec);
    const auto savedTime = std::filesystem::last_write_time(owner, ownerError);
    // Times within one tick of the clock cannot be ordered: such a copy is offered, not lost.
    return !ec && !ownerError && std::filesystem::is_regular_file(owner, ownerError) &&
           copyTime < savedTime;
}

} // namespace kelvane
