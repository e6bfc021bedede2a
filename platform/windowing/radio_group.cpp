#include "platform/windowing/radio_group.h"

#include "platform/windowing/controls.h"
#include "platform/windowing/message.h"
#include "platform/windowing/window_internal.h"

#include <algorithm>
#include <cwctype>

namespace {

bool IsButton(HWND w) {
    static const std::wstring kButton = WC_BUTTON;
    return w->className.size() == kButton.size() &&
           std::equal(kButton.begin(), kButton.end(), w->className.begin(),
                      [](wchar_t a, wchar_t b) {
                          return std::towlower(wint_t(a)) == std::towlower(wint_t(b));
                      });
}

bool IsRadio(HWND w) {
    DWORD kind = w->style & BS_TYPEMASK;
    return IsButton(w) && (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON);
}

} // namespace

namespace platform {

std::vector<HWND> RadioGroupOf(HWND button) {
    HWND w = detail::Window(button);
    if (!w || !w->parent)
        return {};
    const std::vector<HWND>& all = w->parent->children;
    auto at = std::find(all.begin(), all.end(), w);
    if (at == all.end())
        return {};
    auto first = at;
    while (first != all.begin() && !((*first)->style & WS_GROUP))
        --first;
    auto last = at + 1;
    while (last != all.end() && !((*last)->style & WS_GROUP))
        ++last;
    std::vector<HWND> group;
    for (auto it = first; it != last; ++it)
        if (IsRadio(*it))
            group.push_back(*it);
    return group;
}

int GetCheckedRadioButton(HWND dialog, int first, int last) {
    HWND d = detail::Window(dialog);
    if (!d)
        return 0;
    for (HWND c : d->children)
        if (c->id >= first && c->id <= last && IsRadio(c) && c->check == BST_CHECKED)
            return c->id;
    return 0;
}

} // namespace platform

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
    HWND d = platform::detail::Window(dialog);
    if (!d)
        return FALSE;
    std::vector<HWND> range;
    for (HWND c : d->children)
        if (c->id >= first && c->id <= last)
            range.push_back(c);
    for (HWND c : range)
        if (platform::detail::Window(c))
            SendMessageW(c, BM_SETCHECK, c->id == check ? BST_CHECKED : BST_UNCHECKED, 0);
    return TRUE;
}
