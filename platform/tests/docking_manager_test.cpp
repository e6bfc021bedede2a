#include "platform/framework/docking_manager.h"

#include "platform/framework/frame_wnd.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/framework/tool_bar_button_face.h"
#include "platform/framework/win_app.h"
#include "platform/system/app_registry.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

class DockingManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.SetRegistryKey(L"Oquen");
        frame = new CFrameWnd;
        ASSERT_TRUE(
            frame->Create(nullptr, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 480)));
        docking = std::make_unique<CDockingManager>(frame);
        for (UINT i = 0; i < 4; ++i) {
            bars.push_back(std::make_unique<CMFCToolBar>());
            ASSERT_TRUE(bars.back()->Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 700 + i));
            docking->EnableDocking(bars.back().get(), CBRS_ALIGN_ANY);
        }
    }
    void TearDown() override {
        bars.clear();
        frame->DestroyWindow();
    }
    CMFCToolBar* Bar(int i) { return bars[size_t(i)].get(); }
    std::vector<CControlBar*> Row(UINT id) { return docking->GetDockedPanes(id); }

    SettingsSandbox box;
    CAppRegistry app;
    CFrameWnd* frame = nullptr;
    std::unique_ptr<CDockingManager> docking;
    std::vector<std::unique_ptr<CMFCToolBar>> bars;
};

TEST_F(DockingManagerTest, PanesDockInRowsAndBeforeANeighbour) {
    EXPECT_TRUE(docking->DockPane(Bar(0)));
    EXPECT_TRUE(docking->DockPane(Bar(1)));
    EXPECT_TRUE(docking->DockPaneLeftOf(Bar(2), Bar(1)));
    EXPECT_EQ(Row(AFX_IDW_DOCKBAR_TOP), (std::vector<CControlBar*>{Bar(0), Bar(2), Bar(1)}));
    EXPECT_FALSE(docking->DockPaneLeftOf(Bar(3), Bar(3)));
    EXPECT_FALSE(docking->DockPaneLeftOf(Bar(3), nullptr));
    EXPECT_FALSE(docking->DockPane(Bar(3), AFX_IDW_DOCKBAR_FLOAT)); // not a dock bar
    EXPECT_TRUE(docking->DockPane(Bar(3), AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_TRUE(Bar(3)->GetBarStyle() & CBRS_ALIGN_BOTTOM);
    EXPECT_EQ(docking->GetRecentDockBarId(Bar(3)), AFX_IDW_DOCKBAR_BOTTOM);
    docking->ResetRecentDockInfo(Bar(3));
    EXPECT_EQ(docking->GetRecentDockBarId(Bar(3)), 0u);
    // Moving a pane takes it off its old row.
    EXPECT_TRUE(docking->DockPane(Bar(0), AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(Row(AFX_IDW_DOCKBAR_TOP), (std::vector<CControlBar*>{Bar(2), Bar(1)}));
    EXPECT_EQ(docking->GetPanes().size(), 4u);
}

TEST_F(DockingManagerTest, FloatingPanesLeaveTheFrameLayout) {
    docking->DockPane(Bar(0));
    ASSERT_TRUE(docking->FloatPane(Bar(0), CRect(10, 20, 110, 50), DM_SHOW, FALSE));
    EXPECT_TRUE(docking->IsFloating(Bar(0)));
    EXPECT_FALSE(docking->IsDocked(Bar(0)));
    EXPECT_FALSE(Bar(0)->IsWindowVisible());
    EXPECT_EQ(frame->GetControlBar(700), nullptr);
    EXPECT_EQ(docking->GetFloatingPanes(), (std::vector<CControlBar*>{Bar(0)}));
    docking->DockPane(Bar(0));
    EXPECT_EQ(frame->GetControlBar(700), Bar(0));
}

TEST_F(DockingManagerTest, AFloatingPaneSitsInItsOwnWindow) {
    docking->DockPane(Bar(0));
    for (int i = 0; i < 3; ++i)
        Bar(0)->InsertButton(CMFCToolBarButton(UINT(900 + i)));
    ASSERT_TRUE(docking->FloatPane(Bar(0), CRect(300, 200, 900, 700)));
    CWnd* mini = docking->GetMiniFrame(Bar(0));
    ASSERT_NE(mini, nullptr);
    EXPECT_FALSE(mini->GetStyle() & WS_CHILD);
    EXPECT_EQ(Bar(0)->GetParent(), mini);
    EXPECT_EQ(Bar(0)->GetOwner(), frame) << "commands still go to the frame";
    CRect r, client;
    mini->GetWindowRect(&r);
    mini->GetClientRect(&client);
    EXPECT_EQ(r.TopLeft(), CPoint(300, 200));
    // Three buttons side by side inside the borders, one row high.
    const int face = platform::ButtonFaceWidth(*Bar(0)->GetButton(0), 23);
    EXPECT_EQ(client.Size(), CSize(1 + 3 * face + 1, Bar(0)->CalcFixedLayout(FALSE, TRUE).cy));
    EXPECT_TRUE(Bar(0)->IsWindowVisible());

    docking->ShowPane(Bar(0), FALSE);
    EXPECT_FALSE(mini->IsWindowVisible());
    docking->ShowPane(Bar(0), TRUE);
    EXPECT_TRUE(mini->IsWindowVisible());
    mini->SendMessage(WM_CLOSE); // the window's close box hides the pane
    EXPECT_TRUE(::IsWindow(mini->m_hWnd));
    EXPECT_FALSE(Bar(0)->IsWindowVisible());

    const HWND gone = mini->m_hWnd;
    docking->DockPane(Bar(0));
    EXPECT_FALSE(::IsWindow(gone));
    EXPECT_EQ(docking->GetMiniFrame(Bar(0)), nullptr);
    EXPECT_EQ(Bar(0)->GetParent(), frame);
    EXPECT_TRUE(::IsWindow(Bar(0)->m_hWnd));
}

TEST_F(DockingManagerTest, AFloatingToolbarStillGetsItsCommandUpdates) {
    Bar(1)->InsertButton(CMFCToolBarButton(990)); // a command nobody handles
    docking->FloatPane(Bar(1), CRect(10, 20, 110, 50));
    CWinApp winApp;
    winApp.m_pMainWnd = frame;
    winApp.OnIdle(0);
    EXPECT_TRUE(Bar(1)->GetButtonStyle(0) & TBBS_DISABLED);
    winApp.m_pMainWnd = nullptr;
}

TEST_F(DockingManagerTest, PanesFloatingWhenTheFrameGoesLeaveNothing) {
    docking->FloatPane(Bar(1), CRect(10, 20, 110, 50));
    docking->FloatPane(Bar(2), CRect(10, 80, 110, 120), DM_SHOW, FALSE);
    docking->RemovePane(Bar(2));
    EXPECT_EQ(Bar(2)->GetParent(), frame);
    ASSERT_NE(docking->GetMiniFrame(Bar(1)), nullptr);
    frame->DestroyWindow();
    frame = new CFrameWnd; // for the fixture to close
    ASSERT_TRUE(frame->Create(nullptr, L"", WS_OVERLAPPEDWINDOW, CRect(0, 0, 10, 10)));
    EXPECT_EQ(docking->GetMiniFrame(Bar(1)), nullptr);
}

TEST_F(DockingManagerTest, DelayedShowWaitsForTheLayout) {
    docking->DockPane(Bar(0));
    docking->ShowPane(Bar(0), FALSE, TRUE);
    EXPECT_FALSE(Bar(0)->IsWindowVisible());
    EXPECT_TRUE(docking->IsLayoutPending());
    docking->RecalcLayout();
    EXPECT_FALSE(docking->IsLayoutPending());
    docking->RemovePane(Bar(0));
    EXPECT_FALSE(docking->IsDocked(Bar(0)));
    EXPECT_EQ(frame->GetControlBar(700), nullptr);
}

TEST_F(DockingManagerTest, StateRoundTrips) {
    docking->DockPane(Bar(0));
    docking->DockPane(Bar(1));
    docking->DockPane(Bar(2), AFX_IDW_DOCKBAR_RIGHT);
    docking->FloatPane(Bar(3), CRect(10, 20, 110, 50));
    ASSERT_TRUE(docking->SaveState(L"Bars"));
    docking->DockPaneLeftOf(Bar(1), Bar(0));
    docking->DockPane(Bar(2));
    docking->DockPane(Bar(3));
    ASSERT_TRUE(docking->LoadState(L"Bars"));
    EXPECT_EQ(Row(AFX_IDW_DOCKBAR_TOP), (std::vector<CControlBar*>{Bar(0), Bar(1)}));
    EXPECT_EQ(Row(AFX_IDW_DOCKBAR_RIGHT), (std::vector<CControlBar*>{Bar(2)}));
    EXPECT_EQ(docking->GetFloatRect(Bar(3)), CRect(10, 20, 110, 50));
    EXPECT_FALSE(docking->LoadState(L"Nothing"));
}

// One stored record: id, bar, order, rectangle, visible.
void Record(std::vector<BYTE>& out, std::vector<int32_t> fields) {
    for (int32_t v : fields)
        for (int i = 0; i < 4; ++i)
            out.push_back(BYTE(uint32_t(v) >> (8 * i)));
}

TEST_F(DockingManagerTest, DamagedStateLoadsWhatIsSound) {
    docking->DockPane(Bar(0));
    docking->DockPane(Bar(1));
    docking->DockPane(Bar(2));
    docking->EnableDocking(Bar(3), CBRS_ALIGN_TOP);
    docking->DockPane(Bar(3));
    std::vector<BYTE> data;
    Record(data, {1, 99}); // version, a count larger than what follows
    Record(data, {9999, int32_t(AFX_IDW_DOCKBAR_TOP), 0, 0, 0, 0, 0, 1}); // unknown pane
    Record(data, {701, int32_t(AFX_IDW_DOCKBAR_FLOAT), 0, -900000, -900000, -899000, -899900,
                  1});                                                    // off every monitor
    Record(data, {702, 12345, 0, 0, 0, 0, 0, 1});                         // no such dock bar
    Record(data, {700, int32_t(AFX_IDW_DOCKBAR_LEFT), 0, 0, 0, 0, 0, 1}); // sound
    Record(data, {703, int32_t(AFX_IDW_DOCKBAR_LEFT), 0, 0, 0, 0, 0, 1}); // a side it may not use
    data.resize(data.size() + 7);                                         // a truncated tail
    ASSERT_TRUE(app.WriteProfileBinary(L"Bars", L"DockState", data.data(), UINT(data.size())));
    ASSERT_TRUE(docking->LoadState(L"Bars"));
    EXPECT_EQ(Row(AFX_IDW_DOCKBAR_LEFT), (std::vector<CControlBar*>{Bar(0)}));
    EXPECT_TRUE(Bar(0)->IsWindowVisible());
    EXPECT_FALSE(Bar(1)->IsWindowVisible());
    EXPECT_FALSE(docking->IsFloating(Bar(1)));
    EXPECT_FALSE(Bar(2)->IsWindowVisible());
    EXPECT_FALSE(Bar(3)->IsWindowVisible());
    EXPECT_EQ(docking->GetDockBarId(Bar(3)), AFX_IDW_DOCKBAR_TOP);
    const BYTE shortData[] = {1, 0, 0};
    app.WriteProfileBinary(L"Short", L"DockState", shortData, 3);
    EXPECT_FALSE(docking->LoadState(L"Short"));
}

CRect WindowOf(CWnd* w) {
    CRect r;
    ::GetWindowRect(w->m_hWnd, &r);
    return r;
}

TEST_F(DockingManagerTest, DockedBarsShareRowsAndStandUprightOnTheSides) {
    const int counts[] = {3, 3, 30, 3}; // bar 2 is wider than the frame
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < counts[i]; ++k)
            Bar(i)->InsertButton(CMFCToolBarButton(UINT(900 + k)));
    for (int i = 0; i < 3; ++i)
        docking->DockPane(Bar(i));
    CRect client;
    frame->GetClientRect(&client);
    const CRect a = WindowOf(Bar(0)), b = WindowOf(Bar(1)), c = WindowOf(Bar(2));
    EXPECT_EQ(a.Size(), Bar(0)->CalcFixedLayout(FALSE, TRUE));
    EXPECT_EQ(b.TopLeft(), CPoint(a.right, a.top)) << "side by side while they fit";
    EXPECT_EQ(c.TopLeft(), CPoint(a.left, a.bottom)) << "the next row when not";
    EXPECT_EQ(c.Width(), client.Width());

    ASSERT_TRUE(docking->DockPane(Bar(3), AFX_IDW_DOCKBAR_LEFT));
    EXPECT_FALSE(Bar(3)->IsHorizontal());
    const CRect left = WindowOf(Bar(3));
    EXPECT_EQ(left.TopLeft(), CPoint(client.left, c.bottom));
    EXPECT_GT(left.Height(), left.Width());
    const CMFCToolBarButton* first = Bar(3)->GetButton(0);
    EXPECT_EQ(Bar(3)->GetButton(1)->m_rect.TopLeft(),
              CPoint(first->m_rect.left, first->m_rect.bottom));

    ASSERT_TRUE(docking->DockPane(Bar(3), AFX_IDW_DOCKBAR_RIGHT));
    EXPECT_EQ(WindowOf(Bar(3)).right, client.right);
    docking->FloatPane(Bar(3), CRect(10, 20, 110, 50));
    EXPECT_TRUE(Bar(3)->IsHorizontal()) << "a floating bar lies in its window";

    // Stored and loaded, the bars come back where they were.
    docking->DockPane(Bar(3), AFX_IDW_DOCKBAR_LEFT);
    const CRect placed[] = {WindowOf(Bar(0)), WindowOf(Bar(1)), WindowOf(Bar(2)), WindowOf(Bar(3))};
    ASSERT_TRUE(docking->SaveState(L"Rows"));
    docking->DockPane(Bar(0), AFX_IDW_DOCKBAR_BOTTOM);
    docking->DockPane(Bar(3));
    ASSERT_TRUE(docking->LoadState(L"Rows"));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(WindowOf(Bar(i)), placed[i]) << i;
}

TEST_F(DockingManagerTest, APaneDocksOnlyOnSidesItAllows) {
    docking->EnableDocking(Bar(0), CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
    docking->DockPane(Bar(1), AFX_IDW_DOCKBAR_LEFT);
    EXPECT_FALSE(docking->DockPane(Bar(0), AFX_IDW_DOCKBAR_LEFT));
    EXPECT_FALSE(docking->DockPaneLeftOf(Bar(0), Bar(1)));
    EXPECT_TRUE(docking->DockPane(Bar(0), AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(docking->GetDockBarId(Bar(0)), AFX_IDW_DOCKBAR_BOTTOM);
}

} // namespace
