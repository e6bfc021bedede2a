#include "toolbars/toolbar_registry.h"

#include "pivora/framework/jox_view.h"
#include "platform/system/app_registry.h"
#include "toolbar_frame_fixture.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD kAll = CCustomToolBar::kAllContexts;

std::vector<int> TopRow(CJoxToolbarFrameWnd* frame) {
    std::vector<int> slots;
    for (CControlBar* bar : frame->GetDockingManager()->GetDockedPanes(AFX_IDW_DOCKBAR_TOP))
        slots.push_back(bar->GetDlgCtrlID() - int(CJoxToolbarFrameWnd::kFirstToolbarId));
    return slots;
}

void CallEveryFunction() {
    EXPECT_EQ(QvGetToolBar(47, 0), nullptr);
    EXPECT_EQ(QvCreateToolbar(3, 0, 1), nullptr);
    QvPlaceToolbar(3, AFX_IDW_DOCKBAR_TOP, 70, TRUE);
    QvSetViewForContextToolbars(nullptr, kAll);
    QvUnsetViewForToolbars(nullptr);
    QvCmdMsgToContextToolbars(100, kAll);
    QvHideAllToolBars(FALSE);
    QvPaintAllToolBars();
    QvSetupToolbarsForNoKnownContext(TRUE);
    EXPECT_FALSE(QvSaveAllToolbars(nullptr));
    EXPECT_FALSE(QvLoadAllToolbars(nullptr));
}

TEST(ToolbarRegistry, WithoutAMainFrameNothingHappens) {
    ASSERT_EQ(CJoxToolbarFrameWnd::s_pFrmWnd, nullptr);
    CallEveryFunction();
}

TEST_F(ToolbarFrameTest, AfterTheMainFrameIsGoneNothingHappens) {
    ASSERT_NE(QvCreateToolbar(3, kResource, 1), nullptr);
    frame->DestroyWindow();
    EXPECT_EQ(CJoxToolbarFrameWnd::s_pFrmWnd, nullptr);
    CallEveryFunction();
}

TEST_F(ToolbarFrameTest, CreatedOnceWithTheMasksOred) {
    EXPECT_EQ(QvGetToolBar(47, 0), nullptr);
    CCustomToolBar* bar = QvCreateToolbar(11, kResource, 1);
    ASSERT_NE(bar, nullptr);
    const HWND window = bar->m_hWnd;
    EXPECT_EQ(QvCreateToolbar(11, kResource, 4), bar);
    EXPECT_EQ(bar->m_hWnd, window);
    EXPECT_EQ(bar->GetContextMask(), 5u);
    EXPECT_EQ(bar->GetDlgCtrlID(), 60011);
    EXPECT_EQ(bar->GetCount(), 3);
    EXPECT_EQ(frame->GetDockingManager()->GetEnabledAlignment(bar), CBRS_ALIGN_ANY);
    EXPECT_EQ(QvGetToolBar(11, 0), bar);
    EXPECT_EQ(QvGetToolBar(11, 4), bar);
    EXPECT_EQ(QvGetToolBar(11, 2), nullptr);
}

TEST_F(ToolbarFrameTest, SlotsOutOfRangeAndUncreatedToolbarsAreRefused) {
    for (int slot : {-1, 70, 1000}) {
        EXPECT_EQ(QvCreateToolbar(slot, kResource, 1), nullptr) << slot;
        EXPECT_EQ(QvGetToolBar(slot, 0), nullptr) << slot;
        QvPlaceToolbar(slot, AFX_IDW_DOCKBAR_TOP, 70, TRUE);
    }
    frame->SetSlot(12, new CCustomToolBar); // filled but never created
    EXPECT_EQ(QvGetToolBar(12, 0), nullptr);
    QvPlaceToolbar(12, AFX_IDW_DOCKBAR_TOP, 70, TRUE);
    EXPECT_TRUE(frame->GetDockingManager()->GetPanes().empty());
}

TEST_F(ToolbarFrameTest, PlacedAtTheEndOrBeforeANeighbour) {
    for (int slot : {1, 2, 3, 4, 5})
        ASSERT_NE(QvCreateToolbar(slot, kResource, 1), nullptr);
    QvPlaceToolbar(1, AFX_IDW_DOCKBAR_TOP, 70, TRUE);
    QvPlaceToolbar(2, AFX_IDW_DOCKBAR_TOP, -1, TRUE);
    QvPlaceToolbar(4, AFX_IDW_DOCKBAR_TOP, 3, TRUE);  // slot 3 is on no bar yet
    QvPlaceToolbar(5, AFX_IDW_DOCKBAR_TOP, 20, TRUE); // slot 20 is empty
    EXPECT_EQ(TopRow(frame), (std::vector<int>{1, 2, 4, 5}));
    QvPlaceToolbar(3, AFX_IDW_DOCKBAR_TOP, 2, FALSE);
    EXPECT_EQ(TopRow(frame), (std::vector<int>{1, 3, 2, 4, 5}));
    EXPECT_FALSE(QvGetToolBar(3, 0)->IsWindowVisible());
    // Floating takes the remembered place; docking forgets it.
    QvGetToolBar(5, 0)->SetDefaultFloatRect(CRect(40, 50, 140, 80));
    QvPlaceToolbar(5, AFX_IDW_DOCKBAR_FLOAT, 70, TRUE);
    EXPECT_EQ(frame->GetDockingManager()->GetFloatRect(QvGetToolBar(5, 0)), CRect(40, 50, 140, 80));
    QvPlaceToolbar(5, AFX_IDW_DOCKBAR_BOTTOM, 70, TRUE);
    EXPECT_TRUE(QvGetToolBar(5, 0)->GetDefaultFloatRect().IsRectEmpty());
}

TEST_F(ToolbarFrameTest, NoKnownContextShowsTheToolbarsOfEveryContextInSlotOrder) {
    for (int slot : {9, 2, 5})
        ASSERT_NE(QvCreateToolbar(slot, kResource, kAll), nullptr);
    ASSERT_NE(QvCreateToolbar(4, kResource, 1), nullptr);
    QvPlaceToolbar(4, AFX_IDW_DOCKBAR_TOP, 70, TRUE);
    QvSetupToolbarsForNoKnownContext(FALSE);
    std::vector<int> shown;
    for (int slot : TopRow(frame))
        if (QvGetToolBar(slot, 0)->IsWindowVisible())
            shown.push_back(slot);
    EXPECT_EQ(shown, (std::vector<int>{2, 5, 9}));
    // A hidden main window is left alone unless forced.
    QvCreateToolbar(1, kResource, kAll);
    frame->ShowWindow(SW_HIDE);
    QvSetupToolbarsForNoKnownContext(FALSE);
    EXPECT_EQ(TopRow(frame), (std::vector<int>{4, 2, 5, 9}));
    QvSetupToolbarsForNoKnownContext(TRUE);
    EXPECT_EQ(TopRow(frame), (std::vector<int>{4, 1, 2, 5, 9}));
}

TEST_F(ToolbarFrameTest, ViewsAndCommandsReachTheirContexts) {
    class CTestView : public CJoxView {
    public:
        CTestView() = default;
    };
    auto* view = new CTestView;
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), frame, 5, nullptr));
    auto* counting = static_cast<CCountingToolBar*>(
        QvCreateToolbar(CTestToolbarFrame::kCountingSlot, kResource, 2));
    ASSERT_NE(counting, nullptr);
    CCustomToolBar* other = QvCreateToolbar(8, kResource, 1);
    QvSetViewForContextToolbars(view, 2);
    EXPECT_EQ(counting->GetView(), view);
    EXPECT_EQ(other->GetView(), nullptr);
    QvCmdMsgToContextToolbars(4321, 1);
    QvCmdMsgToContextToolbars(1234, 2 | 4);
    EXPECT_EQ(counting->commands, (std::vector<UINT>{1234}));
    QvUnsetViewForToolbars(view);
    EXPECT_EQ(counting->GetView(), nullptr);
    view->DestroyWindow();
}

TEST_F(ToolbarFrameTest, HidingKeepsTheFirstWhenAsked) {
    for (int slot : {0, 1}) {
        ASSERT_NE(QvCreateToolbar(slot, kResource, kAll), nullptr);
        QvPlaceToolbar(slot, AFX_IDW_DOCKBAR_TOP, 70, TRUE);
    }
    QvHideAllToolBars(TRUE);
    EXPECT_TRUE(QvGetToolBar(0, 0)->IsWindowVisible());
    EXPECT_FALSE(QvGetToolBar(1, 0)->IsWindowVisible());
    QvHideAllToolBars(FALSE);
    EXPECT_FALSE(QvGetToolBar(0, 0)->IsWindowVisible());
    QvPaintAllToolBars();
}

TEST_F(ToolbarFrameTest, DockingStateRoundTrips) {
    CAppRegistry app;
    app.SetRegistryKey(L"Oquen");
    for (int slot : {1, 2}) {
        ASSERT_NE(QvCreateToolbar(slot, kResource, kAll), nullptr);
        QvPlaceToolbar(slot, AFX_IDW_DOCKBAR_TOP, 70, TRUE);
    }
    ASSERT_TRUE(QvSaveAllToolbars(nullptr));
    QvPlaceToolbar(2, AFX_IDW_DOCKBAR_TOP, 1, FALSE);
    ASSERT_TRUE(QvLoadAllToolbars(nullptr));
    EXPECT_EQ(TopRow(frame), (std::vector<int>{1, 2}));
    EXPECT_TRUE(QvGetToolBar(2, 0)->IsWindowVisible());
}

} // namespace
