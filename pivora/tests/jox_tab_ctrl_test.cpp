#include "pivora/framework/jox_tab_ctrl.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

TEST(JoxTabCtrl, TheLastActiveTabFollowsMovesInBothDirections) {
    struct Case {
        int from, to, lastBefore, lastAfter;
    } cases[] = {
        {0, 3, 2, 1}, // moving right: the tabs between shift left
        {3, 0, 2, 3}, // moving left: they shift right
        {2, 4, 2, 4}, // the last active tab itself ends where it was moved
        {4, 1, 4, 1},
        {0, 3, 3, 2}, // "to" is where the moved tab ends, so the tab that was there shifts too
        {1, 2, 0, 0}, // outside the span: unchanged
    };
    for (const Case& c : cases) {
        CJoxTabCtrl tabs;
        ASSERT_TRUE(tabs.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 100, 20), nullptr, 0));
        std::vector<std::unique_ptr<CWnd>> windows;
        for (int i = 0; i < 5; ++i) {
            windows.push_back(std::make_unique<CWnd>());
            windows.back()->CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0);
            tabs.AddTab(windows.back().get(), L"t");
        }
        tabs.SetLastActiveTab(c.lastBefore);
        tabs.MoveTab(c.from, c.to);
        EXPECT_EQ(tabs.GetLastActiveTab(), c.lastAfter) << c.from << " -> " << c.to;
        EXPECT_EQ(tabs.GetTabHwnd(c.to), windows[size_t(c.from)]->m_hWnd);
    }
}

TEST(JoxTabCtrl, DeletingRemembersTheActiveTabAndDragsEnd) {
    CJoxTabCtrl tabs;
    ASSERT_TRUE(tabs.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 100, 20), nullptr, 0));
    CWnd a, b;
    a.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0);
    b.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0);
    tabs.AddTab(&a, L"a");
    tabs.AddTab(&b, L"b");
    tabs.SetActiveTab(1);
    tabs.RemoveTab(0);
    EXPECT_EQ(tabs.GetLastActiveTab(), 1);
    EXPECT_FALSE(tabs.StopSplitOrResize());
    tabs.BeginTracking(true);
    tabs.SetCapture();
    EXPECT_TRUE(tabs.StopSplitOrResize());
    EXPECT_FALSE(tabs.IsTrackingSplitter());
    EXPECT_EQ(GetCapture(), nullptr);
}

} // namespace
