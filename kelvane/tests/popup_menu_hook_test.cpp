// Trimming popups: which items, sub-menus and separators a popup still shows.
#include "kelvane/app/popup_menu_hook.h"

#include "platform/windowing/menu_hidden.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT kExit = kelvane::kAlwaysShownCommand;

// Layout letters: a enabled, d disabled, h disabled and marked, m enabled and marked, x Exit
// disabled and marked, u enabled until its sub-menu is brought up to date (then disabled and
// marked), - separator, (...) a sub-menu.
HMENU Build(const std::string& layout, size_t& at, UINT& nextId) {
    HMENU menu = ::CreatePopupMenu();
    while (at < layout.size() && layout[at] != ')') {
        const char c = layout[at++];
        if (c == '-') {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        if (c == '(') {
            HMENU sub = Build(layout, at, nextId);
            ++at; // ')'
            ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"sub");
            continue;
        }
        const UINT id = c == 'x' ? kExit : c == 'u' ? 7000 : nextId++;
        const bool disabled = c == 'd' || c == 'h' || c == 'x';
        ::AppendMenuW(menu, MF_STRING | (disabled ? MF_GRAYED : 0), id, L"item");
        if (c == 'h' || c == 'm' || c == 'x') {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_DATA;
            info.dwItemData = kelvane::kHiddenItemMark;
            ::SetMenuItemInfoW(menu, UINT(::GetMenuItemCount(menu) - 1), TRUE, &info);
        }
    }
    return menu;
}

// 1 shown, 0 hidden, g a sub-menu shown disabled, followed by its items in brackets.
std::string Shown(HMENU menu) {
    std::string out;
    for (int pos = 0; pos < ::GetMenuItemCount(menu); ++pos) {
        const UINT state = ::GetMenuState(menu, UINT(pos), MF_BYPOSITION);
        const bool hidden = ::IsMenuItemHidden(menu, UINT(pos), MF_BYPOSITION);
        if (HMENU sub = ::GetSubMenu(menu, pos))
            out += std::string(hidden                ? "0"
                               : (state & MF_GRAYED) ? "g"
                                                     : "1") +
                   "(" + Shown(sub) + ")";
        else
            out += hidden ? '0' : '1';
    }
    return out;
}

// Disables and marks the late item when its sub-menu is brought up to date.
void InitSub(HMENU sub) {
    ::EnableMenuItem(sub, 7000, MF_BYCOMMAND | MF_GRAYED);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    info.dwItemData = kelvane::kHiddenItemMark;
    ::SetMenuItemInfoW(sub, 7000, FALSE, &info);
}

TEST(PopupMenuHook, TrimsMarkedItemsEmptySubMenusAndStraySeparators) {
    struct Case {
        const char* layout;
        const char* shown;
    } cases[] = {
        {"adhm", "1101"},           // only disabled marked items go
        {"-a-a-", "01110"},         // separators at the ends go
        {"a--a", "1101"},           // one of a run stays
        {"a-h-a", "11001"},         // a separator after only hidden items goes
        {"h-a", "001"},             // ... also at the start
        {"a-h", "100"},             // ... and at the end
        {"x-h", "100"},             // Exit always shows
        {"a-(hh)-a", "110(00)01"},  // a sub-menu of hidden items goes
        {"a(dh)", "1g(10)"},        // one with nothing enabled shows disabled
        {"a(d(h))", "1g(10(0))"},   // nested: the inner goes, the outer has d only
        {"a(a(h)d)", "11(10(0)1)"}, // one enabled item keeps a sub-menu enabled
        {"(u)a", "0(0)1"},          // sub-menus are brought up to date before the walk
        {"", ""},                   // nothing to do
    };
    for (const Case& c : cases) {
        size_t at = 0;
        UINT nextId = 100;
        HMENU menu = Build(c.layout, at, nextId);
        kelvane::TrimPopupMenu(menu, InitSub);
        EXPECT_EQ(Shown(menu), c.shown) << c.layout;
        ::DestroyMenu(menu);
    }
}

TEST(PopupMenuHook, ASecondWalkFollowsTheItemsAsTheyAreNow) {
    size_t at = 0;
    UINT nextId = 100;
    HMENU menu = Build("a-(h)", at, nextId);
    kelvane::TrimPopupMenu(menu, nullptr);
    EXPECT_EQ(Shown(menu), "100(0)");
    HMENU sub = ::GetSubMenu(menu, 2);
    ::EnableMenuItem(sub, 0, MF_BYPOSITION | MF_ENABLED);
    kelvane::TrimPopupMenu(menu, nullptr);
    EXPECT_EQ(Shown(menu), "111(1)");
    ::DestroyMenu(menu);
}

} // namespace
