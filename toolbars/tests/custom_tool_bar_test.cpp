#include "toolbars/custom_tool_bar.h"

#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_view.h"
#include "platform/framework/docking_manager.h"
#include "platform/framework/frame_wnd.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/message.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kSmall = 810, kTall = 811, kA = 812;

// A main window that notes the toolbar menu requests it gets.
class CMenuFrame : public CFrameWnd {
public:
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override {
        if (msg == CCustomToolBar::WM_TOOLBAR_MENU)
            menus.push_back(lp);
        return CFrameWnd::OnWndMsg(msg, wp, lp, result);
    }
    std::vector<LPARAM> menus;
};

class CTestView : public CJoxView {
public:
    CTestView() = default;
};

class CustomToolBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        QvResetAppParamCache();
        platform::RegisterToolBarTemplate({kSmall, 16, 16, {kA}});
        platform::RegisterToolBarTemplate({kTall, 24, 30, {kA}});
        frame = new CMenuFrame;
        ASSERT_TRUE(frame->Create(nullptr, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  CRect(100, 50, 740, 530)));
        AfxSetMainWnd(frame);
        view = new CTestView;
        ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200),
                                 frame, AFX_IDW_PANE_FIRST, nullptr));
        frame->SetActiveView(view, FALSE);
    }
    void TearDown() override {
        CCustomToolBar::s_pCustView = nullptr;
        CMFCToolBar::SetCustomizeMode(FALSE);
        AfxSetMainWnd(nullptr);
        frame->DestroyWindow();
        QvResetAppParamCache();
    }
    // Messages of one kind waiting for wnd, taken off the queue.
    int TakePosted(HWND wnd, UINT msg) {
        int n = 0;
        MSG m;
        while (::PeekMessageW(&m, wnd, msg, msg, PM_REMOVE))
            ++n;
        return n;
    }

    SettingsSandbox box;
    CMenuFrame* frame = nullptr;
    CJoxView* view = nullptr;
};

TEST_F(CustomToolBarTest, CreatesItsWindowOnceWithoutHideInPlace) {
    CCustomToolBar bar;
    EXPECT_FALSE(bar.IsCreated());
    ASSERT_TRUE(
        bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_HIDE_INPLACE, 60003, kSmall));
    const HWND first = bar.m_hWnd;
    EXPECT_TRUE(bar.IsCreated());
    EXPECT_EQ(bar.GetDlgCtrlID(), 60003);
    EXPECT_EQ(bar.GetCount(), 1);
    EXPECT_EQ(bar.GetContextMask(), 0u); // the registry gives the mask
    EXPECT_TRUE(bar.Create(frame, WS_CHILD, 60003));
    EXPECT_EQ(bar.m_hWnd, first);

    CCustomToolBar missing;
    EXPECT_FALSE(missing.Create(frame, WS_CHILD, 60004, 4242)); // no such resource
    EXPECT_TRUE(missing.IsCreated());
}

TEST_F(CustomToolBarTest, MadeWhileCustomisingBelongsEverywhere) {
    CCustomToolBar::SetCustomisedView(view);
    CMFCToolBar::SetCustomizeMode(TRUE);
    CCustomToolBar bar;
    ASSERT_TRUE(bar.Create(frame));
    EXPECT_EQ(bar.GetContextMask(), CCustomToolBar::kAllContexts);
    EXPECT_EQ(bar.GetView(), view);
}

TEST_F(CustomToolBarTest, BindingAndListing) {
    CCustomToolBar bar;
    EXPECT_FALSE(bar.AllowShowOnList()); // no window yet
    ASSERT_TRUE(bar.Create(frame));
    EXPECT_FALSE(bar.AllowShowOnList()); // bound to no view the menu works for
    bar.SetView(view);
    CCustomToolBar::SetCustomisedView(view);
    EXPECT_TRUE(bar.AllowShowOnList());
    bar.UnsetView(nullptr);
    EXPECT_EQ(bar.GetView(), view); // only the bound view unbinds
    bar.UnsetView(view);
    EXPECT_EQ(bar.GetView(), nullptr);
    EXPECT_FALSE(bar.AllowShowOnList());
    bar.AddContextMask(CCustomToolBar::kAllContexts);
    EXPECT_TRUE(bar.AllowShowOnList());
}

TEST_F(CustomToolBarTest, RowsAreAtLeast22High) {
    const struct {
        UINT resource;
        int height;
    } cases[] = {{kSmall, 22}, {kTall, 30}};
    for (const auto& c : cases) {
        CCustomToolBar bar;
        ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE, 60001, c.resource));
        EXPECT_EQ(bar.GetRowHeight(), c.height) << c.resource;
    }
}

TEST_F(CustomToolBarTest, ResetIsPostedToALiveViewOnly) {
    TakePosted(nullptr, CCustomToolBar::WM_RESET_CONTEXT_TOOLBARS);
    CCustomToolBar bar;
    ASSERT_TRUE(bar.Create(frame));
    EXPECT_FALSE(bar.RestoreOriginalstate()); // no view: no stray thread message
    EXPECT_EQ(TakePosted(nullptr, CCustomToolBar::WM_RESET_CONTEXT_TOOLBARS), 0);
    bar.SetView(view);
    EXPECT_TRUE(bar.RestoreOriginalstate());
    EXPECT_EQ(TakePosted(view->m_hWnd, CCustomToolBar::WM_RESET_CONTEXT_TOOLBARS), 1);
    frame->SetActiveView(nullptr, FALSE);
    view->DestroyWindow(); // the design window closes without unbinding
    EXPECT_EQ(bar.GetView(), nullptr);
    EXPECT_FALSE(bar.RestoreOriginalstate());
    EXPECT_EQ(TakePosted(nullptr, CCustomToolBar::WM_RESET_CONTEXT_TOOLBARS), 0);
}

TEST_F(CustomToolBarTest, FloatsTwoButtonsInsideTheActiveView) {
    CCustomToolBar bar;
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE, 60001, kSmall));
    CDockingManager docking(frame);
    POINT origin{0, 0};
    ::ClientToScreen(view->m_hWnd, &origin);
    ASSERT_TRUE(docking.FloatPane(&bar, CRect()));
    const CRect placed = docking.GetFloatRect(&bar);
    EXPECT_EQ(placed.TopLeft(), CPoint(origin.x + 32, origin.y + 32));
    EXPECT_EQ(bar.GetDefaultFloatRect(), placed);
    EXPECT_TRUE(docking.IsFloating(&bar));
    // A remembered place is kept.
    ASSERT_TRUE(docking.FloatPane(&bar, CRect(5, 6, 50, 40)));
    EXPECT_EQ(docking.GetFloatRect(&bar), CRect(5, 6, 50, 40));
}

TEST_F(CustomToolBarTest, RightClickAsksTheMainWindowForTheMenu) {
    CCustomToolBar bar;
    ASSERT_TRUE(bar.Create(frame));
    LRESULT result = 1;
    EXPECT_TRUE(bar.OnWndMsg(WM_RBUTTONDOWN, 0, MAKELPARAM(3, 4), &result));
    EXPECT_TRUE(frame->menus.empty());
    bar.OnWndMsg(WM_RBUTTONUP, 0, MAKELPARAM(3, 4), &result);
    POINT pt{3, 4};
    ::ClientToScreen(bar.m_hWnd, &pt);
    ASSERT_EQ(frame->menus.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(frame->menus[0]), pt.x);
    EXPECT_EQ(GET_Y_LPARAM(frame->menus[0]), pt.y);
}

TEST_F(CustomToolBarTest, ButtonStyleOutOfRangeIsTheDefault) {
    QvSetAppParam(L"Tool Bar Button Style", 9);
    EXPECT_EQ(CCustomToolBar::fnGetButtonStyle(), 0);
    QvSetAppParam(L"Tool Bar Button Style", 1);
    EXPECT_EQ(CCustomToolBar::fnGetButtonStyle(), 0); // read once for the program's life
}

} // namespace
