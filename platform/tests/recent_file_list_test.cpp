#include "platform/framework/recent_file_list.h"

#include "platform/system/app_registry.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/menu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

KELVANE_SETTINGS_SANDBOX();

namespace {

constexpr UINT kFirst = 57616;

std::vector<std::wstring> Items(const CRecentFileList& list) {
    std::vector<std::wstring> out;
    for (int i = 0; i < list.GetCount(); ++i)
        out.emplace_back(list[i].GetString());
    return out;
}

} // namespace

TEST(RecentFileList, AddsToTheTopWithoutRepeatsUpToItsSize) {
    struct Case {
        const char* name;
        std::vector<std::wstring> added;
        std::vector<std::wstring> expected;
    };
    std::vector<std::wstring> twelve, lastTen;
    for (int i = 1; i <= 12; ++i)
        twelve.push_back(L"/d/f" + std::to_wstring(i) + L".kdx");
    for (int i = 12; i >= 3; --i)
        lastTen.push_back(L"/d/f" + std::to_wstring(i) + L".kdx");
    const Case cases[] = {
        {"newest first", {L"/d/a.kdx", L"/d/b.kdx"}, {L"/d/b.kdx", L"/d/a.kdx"}},
        {"reopened moves to the top",
         {L"/d/a.kdx", L"/d/b.kdx", L"/d/c.kdx", L"/d/a.kdx"},
         {L"/d/a.kdx", L"/d/c.kdx", L"/d/b.kdx"}},
        {"one file spelt two ways counts once",
         {L"/d/a.kdx", L"/d/x/../a.kdx", L"/d//a.kdx"},
         {L"/d//a.kdx"}},
        {"the oldest falls off past ten", twelve, lastTen},
        {"empty paths are ignored", {L"", L"/d/a.kdx"}, {L"/d/a.kdx"}},
    };
    for (const Case& c : cases) {
        CRecentFileList list(kFirst, L"Recent File List", L"File", 10);
        for (const auto& p : c.added)
            list.Add(p.c_str());
        EXPECT_EQ(Items(list), c.expected) << c.name;
    }
}

TEST(RecentFileList, StoredInTheProfileAndReadBack) {
    SettingsSandbox box;
    CAppRegistry app;
    app.SetRegistryKey(L"Oquen");
    app.SetProfileName(L"VanterFerolin");
    CRecentFileList list(kFirst, L"Recent File List", L"File", 10);
    list.Add(L"/d/a.kdx");
    list.Add(L"/d/b.kdx");
    list.WriteList(&app);
    EXPECT_EQ(app.GetProfileString(L"Recent File List", L"File1"), L"/d/b.kdx");
    EXPECT_EQ(app.GetProfileString(L"Recent File List", L"File2"), L"/d/a.kdx");

    // A removed entry leaves no stale value behind.
    list.Remove(0);
    list.WriteList(&app);
    EXPECT_EQ(app.GetProfileString(L"Recent File List", L"File2", L"none"), L"none");

    // A hand-edited repeat keeps only its newest place.
    app.WriteProfileString(L"Recent File List", L"File2", L"/d/c.kdx");
    app.WriteProfileString(L"Recent File List", L"File3", L"/d/a.kdx");
    CRecentFileList read(kFirst, L"Recent File List", L"File", 10);
    read.ReadList(&app);
    EXPECT_EQ(Items(read), (std::vector<std::wstring>{L"/d/a.kdx", L"/d/c.kdx"}));
}

TEST(RecentFileList, ReplacesTheMenuItemsOrGreysTheEmptyOne) {
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, 57603, L"&Save");
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_STRING, kFirst, L"Recent File");
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_STRING, 57665, L"E&xit");
    auto text = [&](int pos) {
        wchar_t buf[128] = {};
        GetMenuStringW(popup, UINT(pos), buf, 128, MF_BYPOSITION);
        return std::wstring(buf);
    };

    CRecentFileList list(kFirst, L"Recent File List", L"File", 10);
    list.Add(L"/d/one.kdx");
    list.Add(L"/d/two.kdx");
    list.UpdateMenu(popup, L"Recent File");
    ASSERT_EQ(GetMenuItemCount(popup), 6);
    EXPECT_EQ(text(2), L"&1 two.kdx");
    EXPECT_EQ(GetMenuItemID(popup, 3), kFirst + 1);
    EXPECT_EQ(text(3), L"&2 one.kdx");
    EXPECT_EQ(GetMenuItemID(popup, 5), 57665u);

    CRecentFileList empty(kFirst, L"Recent File List", L"File", 10);
    empty.UpdateMenu(popup, L"Recent File");
    ASSERT_EQ(GetMenuItemCount(popup), 5);
    EXPECT_EQ(text(2), L"Recent File");
    EXPECT_TRUE(GetMenuState(popup, kFirst, MF_BYCOMMAND) & MF_GRAYED);
    DestroyMenu(popup);
}
