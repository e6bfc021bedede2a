// The hidden state of menu items: kept per item, by command or position, and gone with a
// replaced item.
#include "platform/windowing/menu_hidden.h"

#include <gtest/gtest.h>

TEST(MenuHidden, KeptPerItemAndForgottenWhenTheItemIsReplaced) {
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 21, L"inner");
    AppendMenuW(menu, MF_STRING, 11, L"one");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"sub");
    EXPECT_FALSE(IsMenuItemHidden(menu, 11, MF_BYCOMMAND));
    EXPECT_TRUE(SetMenuItemHidden(menu, 21, MF_BYCOMMAND, TRUE)); // found in the sub-menu
    EXPECT_TRUE(IsMenuItemHidden(sub, 0, MF_BYPOSITION));
    EXPECT_TRUE(SetMenuItemHidden(menu, 1, MF_BYPOSITION, TRUE));
    EXPECT_TRUE(IsMenuItemHidden(menu, 1, MF_BYPOSITION));
    EXPECT_FALSE(IsMenuItemHidden(menu, 11, MF_BYCOMMAND));
    EXPECT_FALSE(SetMenuItemHidden(menu, 99, MF_BYCOMMAND, TRUE));
    EXPECT_FALSE(IsMenuItemHidden(menu, 99, MF_BYCOMMAND));
    EXPECT_TRUE(SetMenuItemHidden(menu, 11, MF_BYCOMMAND, TRUE));
    ModifyMenuW(menu, 11, MF_BYCOMMAND | MF_STRING, 11, L"again");
    EXPECT_FALSE(IsMenuItemHidden(menu, 11, MF_BYCOMMAND));
    DestroyMenu(menu);
}
