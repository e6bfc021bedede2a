// The frame's filters on the client area and the tab controls: what redraw suppression holds
// back there, and the left release that ends a tab group's splitter or resize drag.
#include "kelvane/tests/app_fixture.h"
#include "pivora/framework/jox_tab_ctrl.h"
#include "pivora/framework/jox_view.h"
#include "platform/framework/message_filter.h"
#include "platform/windowing/message.h"

#include <vector>

namespace {

class MainFrameFiltersTest : public AppFixture {
protected:
    // Records what gets past the filters added before it (of the mouse only: ending a drag
    // paints and tells of the lost capture).
    void Watch(HWND wnd, bool mouseOnly = false) {
        platform::AddMessageFilter(
            wnd, [this, mouseOnly](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
                if (!mouseOnly || (msg >= WM_MOUSEMOVE && msg <= WM_MOUSEWHEEL))
                    through.push_back(msg);
                return false;
            });
    }
    bool PaintPending(HWND wnd) {
        MSG msg;
        return ::PeekMessageW(&msg, wnd, WM_PAINT, WM_PAINT, PM_NOREMOVE) && msg.hwnd == wnd;
    }
    std::vector<UINT> through;
};

TEST_F(MainFrameFiltersTest, WithRedrawOffTheClientAreaHoldsBackInputAndPaintsUntilItComesOn) {
    ASSERT_TRUE(Start({"x", "y"}));
    CMainFrame* frame = app->MainFrame();
    HWND client = frame->GetClientArea()->m_hWnd;
    EXPECT_EQ(platform::MessageFilterCount(client), 1u);
    Watch(client);

    frame->SendMessage(WM_SETREDRAW, FALSE);
    ::SendMessageW(client, WM_LBUTTONDOWN, 0, 0);
    ::SendMessageW(client, WM_KEYDOWN, 0, 0);
    ::SendMessageW(client, WM_SIZE, 0, 0);
    EXPECT_EQ(through, (std::vector<UINT>{WM_SIZE}));
    // A paint held back is not asked for again and again: a message loop would spin.
    ::InvalidateRect(client, nullptr, TRUE);
    MSG paint;
    ASSERT_TRUE(::PeekMessageW(&paint, client, WM_PAINT, WM_PAINT, PM_REMOVE));
    ::DispatchMessageW(&paint);
    EXPECT_EQ(through, (std::vector<UINT>{WM_SIZE}));
    EXPECT_FALSE(PaintPending(client));

    through.clear();
    frame->SendMessage(WM_SETREDRAW, TRUE);
    EXPECT_TRUE(PaintPending(client));
    ::SendMessageW(client, WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(through, (std::vector<UINT>{WM_LBUTTONDOWN}));
}

TEST_F(MainFrameFiltersTest, ALeftReleaseDuringATabGroupDragEndsItAndIsSwallowed) {
    ASSERT_TRUE(Start({"x", "y"}));
    CMainFrame* frame = app->MainFrame();
    CJoxView::SetRedrawAll(1);
    ASSERT_NE(app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE), nullptr);
    auto* tabs = dynamic_cast<CJoxTabCtrl*>(frame->GetTabGroup(0));
    ASSERT_NE(tabs, nullptr);
    // A new tab control turns the views' whole repaint off until the next idle.
    EXPECT_EQ(CJoxView::GetRedrawAll(), 0);
    EXPECT_EQ(platform::MessageFilterCount(tabs->m_hWnd), 1u);
    Watch(tabs->m_hWnd, true);

    for (bool splitter : {true, false}) {
        tabs->BeginTracking(splitter);
        ::SetCapture(tabs->m_hWnd);
        ::SendMessageW(tabs->m_hWnd, WM_LBUTTONUP, 0, 0);
        EXPECT_TRUE(through.empty()) << splitter;
        EXPECT_FALSE(tabs->IsTrackingSplitter() || tabs->IsTrackingResize()) << splitter;
        EXPECT_NE(::GetCapture(), tabs->m_hWnd) << splitter;
    }
    ::SendMessageW(tabs->m_hWnd, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(through, (std::vector<UINT>{WM_LBUTTONUP}));

    through.clear();
    frame->SendMessage(WM_SETREDRAW, FALSE);
    ::SendMessageW(tabs->m_hWnd, WM_RBUTTONDOWN, 0, 0);
    frame->SendMessage(WM_SETREDRAW, TRUE);
    EXPECT_TRUE(through.empty());
}

TEST_F(MainFrameFiltersTest, TabWindowsMadeElsewhereBelowTheFrameGetTheFramesFilter) {
    ASSERT_TRUE(Start({"x", "y"}));
    CMainFrame* frame = app->MainFrame();
    CMFCTabCtrl tabs;
    CWnd plain;
    ASSERT_TRUE(tabs.Create(CRect(0, 0, 50, 20), frame, 4711));
    ASSERT_TRUE(plain.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 5, 5), frame, 4712));
    EXPECT_EQ(platform::MessageFilterCount(tabs.m_hWnd), 1u);
    EXPECT_EQ(platform::MessageFilterCount(plain.m_hWnd), 0u);
    Watch(tabs.m_hWnd, true);
    frame->SendMessage(WM_SETREDRAW, FALSE);
    ::SendMessageW(tabs.m_hWnd, WM_RBUTTONDOWN, 0, 0);
    frame->SendMessage(WM_SETREDRAW, TRUE);
    ::SendMessageW(tabs.m_hWnd, WM_RBUTTONDOWN, 0, 0);
    EXPECT_EQ(through, (std::vector<UINT>{WM_RBUTTONDOWN}));
    tabs.DestroyWindow();
    plain.DestroyWindow();
}

} // namespace
