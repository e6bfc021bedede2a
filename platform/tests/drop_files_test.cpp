#include "platform/windowing/drop_files.h"

#include <gtest/gtest.h>

namespace {

LRESULT PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcW(h, m, w, l);
}

TEST(DropFiles, HandleGivesEveryNameInOrderAndCutsToTheBuffer) {
    HDROP drop = platform::MakeDropHandle({L"/tmp/a.qvd", L"/tmp/Ärger é€.qvd", L""});
    EXPECT_EQ(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 3u);
    EXPECT_EQ(DragQueryFileW(drop, 1, nullptr, 0), 17u);
    wchar_t buf[32];
    EXPECT_EQ(DragQueryFileW(drop, 1, buf, 32), 17u);
    EXPECT_STREQ(buf, L"/tmp/Ärger é€.qvd");
    EXPECT_EQ(DragQueryFileW(drop, 0, buf, 5), 4u);
    EXPECT_STREQ(buf, L"/tmp");
    buf[0] = L'x';
    EXPECT_EQ(DragQueryFileW(drop, 2, buf, 32), 0u);
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(DragQueryFileW(drop, 3, buf, 32), 0u);
    DragFinish(drop);

    HDROP none = platform::MakeDropHandle({});
    EXPECT_EQ(DragQueryFileW(none, 0xFFFFFFFF, nullptr, 0), 0u);
    EXPECT_EQ(DragQueryFileW(none, 0, buf, 32), 0u);
    DragFinish(none);
    EXPECT_EQ(DragQueryFileW(nullptr, 0xFFFFFFFF, nullptr, 0), 0u);
    DragFinish(nullptr);
}

TEST(DropFiles, AcceptingSetsAndClearsOnlyTheExtendedFlag) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = PlainProc;
    cls.lpszClassName = L"DropTarget";
    RegisterClassW(&cls);
    HWND wnd = CreateWindowExW(0x200, L"DropTarget", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    EXPECT_FALSE(platform::AcceptsDroppedFiles(wnd));
    DragAcceptFiles(wnd, TRUE);
    EXPECT_TRUE(platform::AcceptsDroppedFiles(wnd));
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_EXSTYLE), LONG_PTR(0x200 | WS_EX_ACCEPTFILES));
    DragAcceptFiles(wnd, FALSE);
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_EXSTYLE), LONG_PTR(0x200));
    DestroyWindow(wnd);
    EXPECT_FALSE(platform::AcceptsDroppedFiles(wnd));
    DragAcceptFiles(wnd, TRUE);
}

} // namespace
