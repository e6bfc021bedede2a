#include "platform/windowing/scroll_bar.h"

#include "platform/core/crect.h"
#include "platform/graphics/surface.h"
#include "platform/windowing/queue_status.h"

#include <gtest/gtest.h>

namespace {

HWND Popup(DWORD style = 0) {
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | style, 0, 0, 200, 100,
                           nullptr, nullptr, nullptr, nullptr);
}

TEST(ScrollBar, PageAndPositionStayWithinTheRange) {
    HWND w = Popup(WS_HSCROLL);
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 30, 500, 0};
    EXPECT_EQ(SetScrollInfo(w, SB_HORZ, &info, TRUE), 71); // the last position showing a page
    info.fMask = SIF_PAGE;
    info.nPage = 1000;
    SetScrollInfo(w, SB_HORZ, &info, TRUE);
    SCROLLINFO got{sizeof got, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(w, SB_HORZ, &got);
    EXPECT_EQ(got.nPage, 101u);
    EXPECT_EQ(got.nPos, 0);
    EXPECT_EQ(SetScrollPos(w, SB_HORZ, -5, TRUE), 0);
    EXPECT_EQ(GetScrollPos(w, SB_HORZ), 0);
    DestroyWindow(w);
}

TEST(ScrollBar, ShowingABarTakesItsWidthOffTheClientArea) {
    HWND w = Popup();
    RECT c;
    GetClientRect(w, &c);
    EXPECT_EQ(CRect(c), CRect(0, 0, 200, 100));
    ShowScrollBar(w, SB_BOTH, TRUE);
    GetClientRect(w, &c);
    EXPECT_EQ(CRect(c), CRect(0, 0, 183, 83));
    EXPECT_TRUE(GetWindowLongPtrW(w, GWL_STYLE) & WS_VSCROLL);
    ShowScrollBar(w, SB_VERT, FALSE);
    GetClientRect(w, &c);
    EXPECT_EQ(CRect(c), CRect(0, 0, 200, 83));
    DestroyWindow(w);
}

TEST(ScrollBar, ScrollingMovesTheContentAndInvalidatesWhatItUncovered) {
    HWND w = Popup();
    ValidateRect(w, nullptr);
    HDC dc = GetDC(w);
    RECT mark{10, 10, 20, 20};
    FillRect(dc, &mark, HBRUSH(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(w, dc);
    ScrollWindow(w, 30, 0, nullptr, nullptr);
    auto* s = platform::GetWindowSurface(w);
    EXPECT_EQ(s->Pixel(45, 15), 0u);
    RECT update;
    GetUpdateRect(w, &update, FALSE);
    EXPECT_EQ(CRect(update), CRect(0, 0, 30, 100));
    DestroyWindow(w);
}

TEST(QueueStatus, ReportsWaitingInputWithoutTakingIt) {
    platform::ResetMessageQueue();
    HWND w = Popup();
    ValidateRect(w, nullptr);
    EXPECT_EQ(GetQueueStatus(QS_INPUT), 0u);
    PostMessageW(w, WM_KEYDOWN, 'A', 0);
    PostMessageW(w, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(HIWORD(GetQueueStatus(QS_INPUT)), QS_KEY | QS_MOUSEMOVE);
    EXPECT_EQ(HIWORD(GetQueueStatus(QS_MOUSEBUTTON)), 0u);
    EXPECT_EQ(platform::PostedMessageCount(), 2);
    platform::ResetMessageQueue();
    DestroyWindow(w);
}

} // namespace
