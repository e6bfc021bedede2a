#include "platform/windowing/menu.h"

#include "platform/windowing/message.h"
#include "platform/windowing/ui_notify.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kMenu = 900, kOpen = 901, kSave = 902, kZoom = 903;

void RegisterTestMenu() {
    platform::RegisterMenuTemplate({kMenu,
                                    {{MF_POPUP,
                                      0,
                                      L"&File",
                                      {{MF_STRING, kOpen, L"&Open", {}},
                                       {MF_SEPARATOR, 0, nullptr, {}},
                                       {MF_STRING | MF_GRAYED, kSave, L"&Save", {}}}},
                                     {MF_STRING, kZoom, L"&Zoom", {}}}});
}

TEST(Menu, LoadsFromItsTemplateWithSubMenusSeparatorsAndStates) {
    RegisterTestMenu();
    HMENU bar = LoadMenuW(nullptr, kMenu);
    ASSERT_TRUE(IsMenu(bar));
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(GetMenuItemID(bar, 0), 0xFFFFFFFFu);
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(GetMenuItemID(file, 1), 0u);
    EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    // By command, the search goes through the sub-menus.
    EXPECT_EQ(GetMenuState(bar, kSave, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    wchar_t text[16];
    EXPECT_EQ(GetMenuStringW(bar, kOpen, text, 16, MF_BYCOMMAND), 5);
    EXPECT_STREQ(text, L"&Open");
    EXPECT_EQ(GetMenuState(bar, 4242, MF_BYCOMMAND), 0xFFFFFFFFu);
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(IsMenu(file)); // sub-menus go with their menu
}

TEST(Menu, EnableAndCheckReturnThePreviousStateAndTellTheDisplay) {
    RegisterTestMenu();
    HMENU bar = LoadMenuW(nullptr, kMenu);
    int changes = 0;
    int id = platform::AddUiListener([&](platform::UiChange what, HWND, void*) {
        changes += what == platform::UiChange::MenuItems;
    });
    EXPECT_EQ(EnableMenuItem(bar, kSave, MF_BYCOMMAND | MF_ENABLED), BOOL(MF_GRAYED));
    EXPECT_EQ(GetMenuState(bar, kSave, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(CheckMenuItem(bar, kZoom, MF_BYCOMMAND | MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(bar, kZoom, MF_BYCOMMAND | MF_CHECKED), DWORD(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(bar, 4242, MF_BYCOMMAND), 0xFFFFFFFFu);
    EXPECT_EQ(changes, 2); // an unchanged state is no change
    platform::RemoveUiListener(id);
    DestroyMenu(bar);
}

TEST(Menu, PopupMenusAskTheResponderAndPostOrReturnTheCommand) {
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, kZoom, L"Zoom");
    platform::SetMenuResponder([](HMENU, int, int, HWND) -> UINT { return kZoom; });
    EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, 0, nullptr, nullptr), BOOL(kZoom));
    platform::SetMenuResponder(nullptr);
    EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 0, 0, 0, nullptr, nullptr), 0);
    DestroyMenu(popup);
}

} // namespace
