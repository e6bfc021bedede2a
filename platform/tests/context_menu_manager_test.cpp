// Right-click menus registered by name, and the names kept in the per-user settings.
#include "platform/framework/context_menu_manager.h"

#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kEditMenu = 9601, kShapeMenu = 9602, kCut = 9611, kWeld = 9612;
const wchar_t* const kKey = L"Software\\Test\\ContextMenu\\";

void Register() {
    platform::RegisterMenuTemplate(
        {kEditMenu, {{MF_POPUP, 0, L"Edit", {{MF_STRING, kCut, L"Cut", {}}}}}});
    platform::RegisterMenuTemplate(
        {kShapeMenu, {{MF_POPUP, 0, L"Shape", {{MF_STRING, kWeld, L"Weld", {}}}}}});
}

TEST(ContextMenuManager, MenusAreFoundByNameWhateverItsCase) {
    Register();
    CContextMenuManager manager;
    EXPECT_FALSE(manager.AddMenu(L"Missing", 9699));
    EXPECT_FALSE(manager.AddMenu(L"", kEditMenu));
    ASSERT_TRUE(manager.AddMenu(L"Right Click", kEditMenu));
    UINT id = 0;
    HMENU popup = manager.GetMenuByName(L"right click", &id);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(id, kEditMenu);
    EXPECT_EQ(GetMenuItemID(popup, 0), kCut);
    // A second registration of the name replaces the first.
    ASSERT_TRUE(manager.AddMenu(L"RIGHT CLICK", kShapeMenu));
    EXPECT_EQ(GetMenuItemID(manager.GetMenuByName(L"Right Click", &id), 0), kWeld);
    EXPECT_EQ(id, kShapeMenu);
    EXPECT_EQ(manager.GetMenuNames().size(), 1u);
    EXPECT_EQ(manager.GetMenuByName(L"Other"), nullptr);
}

TEST(ContextMenuManager, TheNamesAreSavedAndLoadedBackAndStrayValuesAreSkipped) {
    SettingsSandbox box;
    Register();
    CContextMenuManager empty;
    EXPECT_FALSE(empty.LoadState(kKey));
    {
        CContextMenuManager manager;
        ASSERT_TRUE(manager.AddMenu(L"Stale", kShapeMenu));
        ASSERT_TRUE(manager.SaveState(kKey));
    }
    CContextMenuManager manager;
    ASSERT_TRUE(manager.AddMenu(L"Right Click", kEditMenu));
    ASSERT_TRUE(manager.SaveState(kKey));
    // Damage by hand: a text value, and a name whose menu no longer exists.
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Test\\ContextMenu", 0, KEY_WRITE, &h),
              ERROR_SUCCESS);
    const wchar_t text[] = L"x";
    RegSetValueEx(h, L"Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    const BYTE gone[4] = {0x63, 0x25, 0, 0}; // 9571: no such menu
    RegSetValueEx(h, L"Gone", 0, REG_DWORD, gone, sizeof gone);
    RegCloseKey(h);

    CContextMenuManager loaded;
    ASSERT_TRUE(loaded.LoadState(kKey));
    const auto names = loaded.GetMenuNames();
    ASSERT_EQ(names.size(), 1u); // "Stale" went with the second save
    EXPECT_EQ(names[0].first, L"Right Click");
    EXPECT_EQ(names[0].second, kEditMenu);
}

} // namespace
