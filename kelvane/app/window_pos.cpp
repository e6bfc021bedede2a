#include "kelvane/app/window_pos.h"

#include "platform/windowing/system_metrics.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <string>

namespace kelvane {

namespace {

bool Number(const std::wstring& field, long long& out) {
    size_t b = 0, e = field.size();
    while (b < e && std::iswspace(field[b]))
        ++b;
    while (e > b && std::iswspace(field[e - 1]))
        --e;
    if (b == e)
        return false;
    const std::wstring t = field.substr(b, e - b);
    wchar_t* end = nullptr;
    errno = 0;
    out = std::wcstoll(t.c_str(), &end, 10);
    return errno == 0 && end && *end == L'\0';
}

} // namespace

CString FormatWindowPlacement(const WINDOWPLACEMENT& wp) {
    CString s;
    s.Format(L"%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", wp.flags, wp.showCmd, int(wp.ptMinPosition.x),
             int(wp.ptMinPosition.y), int(wp.ptMaxPosition.x), int(wp.ptMaxPosition.y),
             int(wp.rcNormalPosition.left), int(wp.rcNormalPosition.top),
             int(wp.rcNormalPosition.right), int(wp.rcNormalPosition.bottom));
    return s;
}

bool ParseWindowPlacement(const CString& text, WINDOWPLACEMENT& wp) {
    const std::wstring all(text.GetString());
    long long v[kWindowPosFields] = {};
    size_t start = 0;
    for (int i = 0; i < kWindowPosFields; ++i) {
        const size_t comma = all.find(L',', start);
        const bool last = i == kWindowPosFields - 1;
        if (last != (comma == std::wstring::npos))
            return false;
        const std::wstring field = all.substr(start, last ? std::wstring::npos : comma - start);
        const long long lo = i < 2 ? 0 : INT_MIN;
        const long long hi = i < 2 ? UINT_MAX : INT_MAX;
        if (!Number(field, v[i]) || v[i] < lo || v[i] > hi)
            return false;
        start = comma + 1;
    }
    wp.length = sizeof(WINDOWPLACEMENT);
    wp.flags = UINT(v[0]);
    wp.showCmd = UINT(v[1]);
    wp.ptMinPosition = POINT{LONG(v[2]), LONG(v[3])};
    wp.ptMaxPosition = POINT{LONG(v[4]), LONG(v[5])};
    wp.rcNormalPosition = RECT{LONG(v[6]), LONG(v[7]), LONG(v[8]), LONG(v[9])};
    return true;
}

bool WindowPlacementFits(const WINDOWPLACEMENT& wp) {
    const RECT& r = wp.rcNormalPosition;
    const long long left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const long long top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const long long right = left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const long long bottom = top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const long long width = (long long)r.right - r.left, height = (long long)r.bottom - r.top;
    // An inside-out rectangle is damage, not a place.
    if (width < 0 || height < 0)
        return false;
    const long long x = r.left >= left ? r.left : r.right < right ? r.right : left;
    const bool onScreen = x >= left && x < right && r.top >= top && r.top < bottom;
    return onScreen && width <= GetSystemMetrics(SM_CXMAXTRACK) &&
           height <= GetSystemMetrics(SM_CYMAXTRACK);
}

} // namespace kelvane
