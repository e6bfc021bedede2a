#include "platform/system/app_registry.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

KELVANE_SETTINGS_SANDBOX();

TEST(AppRegistry, ProfileCallsLiveUnderTheApplicationsKey) {
    SettingsSandbox box;
    CAppRegistry app;
    EXPECT_EQ(CAppRegistry::Current(), &app);
    app.SetRegistryKey(L"Oquen");
    app.SetProfileName(L"VanterFerolin");
    EXPECT_TRUE(app.WriteProfileInt(L"Application-Settings", L"AutoPan", -3));
    EXPECT_TRUE(app.WriteProfileString(L"Application-Settings", L"Log File", L"actions.log"));
    const BYTE pos[] = {1, 2, 3};
    EXPECT_TRUE(app.WriteProfileBinary(L"Settings", L"WindowPos", pos, 3));

    // Another reader of the store sees the documented layout.
    HKEY k = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER,
                           L"Software\\Oquen\\VanterFerolin\\Application-Settings", 0, KEY_READ,
                           &k),
              ERROR_SUCCESS);
    DWORD type = 0, v = 0, size = sizeof v;
    EXPECT_EQ(RegQueryValueEx(k, L"AutoPan", nullptr, &type, reinterpret_cast<BYTE*>(&v), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(v, 0xFFFFFFFDu);
    RegCloseKey(k);

    EXPECT_EQ(int(app.GetProfileInt(L"Application-Settings", L"autopan", 0xFFFF)), -3);
    EXPECT_EQ(app.GetProfileInt(L"Application-Settings", L"Missing", 0xFFFF), 0xFFFFu);
    // A value of the other kind reads as missing.
    EXPECT_EQ(app.GetProfileInt(L"Application-Settings", L"Log File", 7), 7u);
    EXPECT_EQ(app.GetProfileString(L"Application-Settings", L"Log File", L"none"), L"actions.log");
    EXPECT_EQ(app.GetProfileString(L"Application-Settings", L"AutoPan", L"none"), L"none");
    EXPECT_EQ(app.GetProfileString(L"No-Section", L"x", L"String-Not-Found"), L"String-Not-Found");
    EXPECT_EQ(app.GetProfileString(L"No-Section", L"x"), L"");
    std::vector<BYTE> data;
    EXPECT_TRUE(app.GetProfileBinary(L"Settings", L"WindowPos", data));
    EXPECT_EQ(data, (std::vector<BYTE>{1, 2, 3}));

    EXPECT_TRUE(app.WriteProfileString(L"Application-Settings", L"Log File", nullptr));
    EXPECT_EQ(app.GetProfileString(L"Application-Settings", L"Log File", L"gone"), L"gone");
    EXPECT_TRUE(app.WriteProfileString(L"Settings", nullptr, nullptr));
    EXPECT_FALSE(app.GetProfileBinary(L"Settings", L"WindowPos", data));
}

TEST(AppRegistry, WithoutAKeyOrApplicationNothingIsStored) {
    SettingsSandbox box;
    EXPECT_EQ(CAppRegistry::Current(), nullptr);
    {
        CAppRegistry app;
        EXPECT_FALSE(app.WriteProfileInt(L"S", L"x", 1));
        EXPECT_EQ(app.GetProfileInt(L"S", L"x", 0xFFFF), 0xFFFFu);
        EXPECT_EQ(app.GetAppRegistryKey(), nullptr);
        {
            CAppRegistry inner;
            EXPECT_EQ(CAppRegistry::Current(), &inner);
        }
        EXPECT_EQ(CAppRegistry::Current(), &app);
    }
    EXPECT_EQ(CAppRegistry::Current(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(box.UserHive()));
}
