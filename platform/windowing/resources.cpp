#include "platform/windowing/resources.h"

#include "platform/windowing/language_bundle.h"

#include <algorithm>
#include <map>

namespace {

std::map<UINT, std::wstring>& Strings() {
    static std::map<UINT, std::wstring> m;
    return m;
}

} // namespace

namespace platform {

void RegisterStrings(std::initializer_list<std::pair<UINT, const wchar_t*>> strings) {
    for (const auto& [id, text] : strings)
        Strings()[id] = text ? text : L"";
}

bool LoadResourceString(UINT id, std::wstring& out) {
    if (BundleString(id, out))
        return true;
    auto it = Strings().find(id);
    if (it == Strings().end())
        return false;
    out = it->second;
    return true;
}

} // namespace platform

int LoadStringW(HINSTANCE, UINT id, LPWSTR buffer, int max) {
    std::wstring s;
    if (!buffer || max <= 0 || !platform::LoadResourceString(id, s))
        return 0;
    int n = std::min(int(s.size()), max - 1);
    std::copy(s.begin(), s.begin() + n, buffer);
    buffer[n] = 0;
    return n;
}
