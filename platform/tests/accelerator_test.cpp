#include "platform/windowing/accelerator.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<WPARAM> g_commands;

LRESULT Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND)
        g_commands.push_back(wp);
    return DefWindowProcW(h, msg, wp, lp);
}

TEST(Accelerator, AKeyWithItsModifiersBecomesACommand) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = Proc;
    cls.lpszClassName = L"AccelTest";
    RegisterClassW(&cls);
    HWND w = CreateWindowExW(0, L"AccelTest", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
    platform::RegisterAcceleratorTable(
        77, {{FVIRTKEY | FCONTROL, 'S', 300}, {FVIRTKEY, VK_DELETE, 301}});
    HACCEL table = LoadAcceleratorsW(nullptr, 77);
    ASSERT_NE(table, nullptr);
    MSG s{w, WM_KEYDOWN, 'S', 0, 0, {0, 0}};
    EXPECT_EQ(TranslateAcceleratorW(w, table, &s), 0); // without Ctrl
    platform::SetKeyDown(VK_CONTROL, true);
    EXPECT_EQ(TranslateAcceleratorW(w, table, &s), 1);
    MSG del{w, WM_KEYDOWN, VK_DELETE, 0, 0, {0, 0}};
    EXPECT_EQ(TranslateAcceleratorW(w, table, &del), 0); // Ctrl is not part of it
    platform::SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(TranslateAcceleratorW(w, table, &del), 1);
    EXPECT_EQ(g_commands, (std::vector<WPARAM>{MAKEWPARAM(300, 1), MAKEWPARAM(301, 1)}));
    EXPECT_EQ(LoadAcceleratorsW(nullptr, 78), nullptr);
    DestroyWindow(w);
}

TEST(Accelerator, CreatedTablesCopyTranslateAndDestroy) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = Proc;
    cls.lpszClassName = L"AccelTest2";
    RegisterClassW(&cls);
    HWND w = CreateWindowExW(0, L"AccelTest2", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
    g_commands.clear();
    platform::RegisterAcceleratorTable(79, {{FVIRTKEY, 'A', 1}, {FVIRTKEY, 'B', 2}});
    HACCEL loaded = LoadAcceleratorsW(nullptr, 79);
    ASSERT_EQ(CopyAcceleratorTableW(loaded, nullptr, 0), 2);
    std::vector<ACCEL> copy(2);
    ASSERT_EQ(CopyAcceleratorTableW(loaded, copy.data(), 5), 2);
    copy[1].cmd = 20;
    HACCEL made = CreateAcceleratorTableW(copy.data(), 2);
    ASSERT_NE(made, nullptr);
    MSG b{w, WM_KEYDOWN, 'B', 0, 0, {0, 0}};
    EXPECT_EQ(TranslateAcceleratorW(w, made, &b), 1);
    EXPECT_EQ(TranslateAcceleratorW(w, loaded, &b), 1);
    EXPECT_EQ(g_commands, (std::vector<WPARAM>{MAKEWPARAM(20, 1), MAKEWPARAM(2, 1)}));
    EXPECT_TRUE(DestroyAcceleratorTable(made));
    // A destroyed table and a loaded one are refused.
    EXPECT_EQ(TranslateAcceleratorW(w, made, &b), 0);
    EXPECT_EQ(CopyAcceleratorTableW(made, nullptr, 0), 0);
    EXPECT_FALSE(DestroyAcceleratorTable(made));
    EXPECT_FALSE(DestroyAcceleratorTable(loaded));
    EXPECT_EQ(CreateAcceleratorTableW(nullptr, -1), nullptr);
    DestroyWindow(w);
}

} // namespace
