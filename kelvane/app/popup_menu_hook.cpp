#include "kelvane/app/popup_menu_hook.h"

#include "platform/windowing/menu_hidden.h"

#include <vector>

namespace kelvane {

namespace {

struct Outcome {
    bool anyShown = false;
    bool anyEnabled = false;
};

bool Disabled(UINT state) {
    return (state & (MF_GRAYED | MF_DISABLED)) != 0;
}

bool Marked(HMENU menu, int pos) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    return ::GetMenuItemInfoW(menu, UINT(pos), TRUE, &info) && info.dwItemData == kHiddenItemMark;
}

Outcome Walk(HMENU menu, const std::function<void(HMENU)>& init) {
    Outcome out;
    const int n = ::GetMenuItemCount(menu);
    // Items first; separators once it is known what stands around them.
    std::vector<bool> shown(size_t(n > 0 ? n : 0), false);
    for (int pos = 0; pos < n; ++pos) {
        const UINT state = ::GetMenuState(menu, UINT(pos), MF_BYPOSITION);
        if (state & MF_SEPARATOR)
            continue;
        bool show = true, enabled = !Disabled(state);
        if (HMENU sub = ::GetSubMenu(menu, pos)) {
            if (init)
                init(sub);
            const Outcome inner = Walk(sub, init);
            show = inner.anyShown;
            enabled = inner.anyEnabled;
            ::EnableMenuItem(menu, UINT(pos), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
        } else if (::GetMenuItemID(menu, pos) != kAlwaysShownCommand) {
            show = !(Disabled(state) && Marked(menu, pos));
        }
        ::SetMenuItemHidden(menu, UINT(pos), MF_BYPOSITION, show ? FALSE : TRUE);
        shown[size_t(pos)] = show;
        out.anyShown = out.anyShown || show;
        out.anyEnabled = out.anyEnabled || (show && enabled);
    }
    int pendingSeparator = -1;
    bool itemBefore = false;
    for (int pos = 0; pos < n; ++pos) {
        if (!(::GetMenuState(menu, UINT(pos), MF_BYPOSITION) & MF_SEPARATOR)) {
            if (shown[size_t(pos)]) {
                if (pendingSeparator >= 0)
                    ::SetMenuItemHidden(menu, UINT(pendingSeparator), MF_BYPOSITION, FALSE);
                pendingSeparator = -1;
                itemBefore = true;
            }
            continue;
        }
        // Hidden until a shown item follows it; only one of a run shows.
        ::SetMenuItemHidden(menu, UINT(pos), MF_BYPOSITION, TRUE);
        if (itemBefore && pendingSeparator < 0)
            pendingSeparator = pos;
    }
    return out;
}

} // namespace

void TrimPopupMenu(HMENU popup, const std::function<void(HMENU)>& initSubMenu) {
    if (::IsMenu(popup))
        Walk(popup, initSubMenu);
}

} // namespace kelvane
