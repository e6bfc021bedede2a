#include "pivora/framework/jox_frame_wnd.h"

#include "design_fixture.h"
#include "pivora/framework/jox_child_wnd.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_tab_ctrl.h"
#include "pivora/framework/jox_view.h"
#include "pivora/framework/jox_win_app_ex.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/windowing/dialog_template.h"

#include <gtest/gtest.h>

namespace {

class CPlainJoxView : public CJoxView {
    DECLARE_DYNCREATE(CPlainJoxView)
};
IMPLEMENT_DYNCREATE(CPlainJoxView, CJoxView)

class JoxFrameTest : public DesignTest {
protected:
    void SetUp() override {
        DesignTest::SetUp();
        platform::ResetMessageQueue();
        platform::RegisterStrings({{610, L"\nDesign\nDesign"}});
        app.SetContextCount(100);
        tmpl = new CJoxDocTemplate(610, RUNTIME_CLASS(CJoxPage), RUNTIME_CLASS(CJoxChildWnd),
                                   RUNTIME_CLASS(CPlainJoxView), 1);
        app.AddDocTemplate(1, tmpl, 1);
        frame = new CJoxFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, L"Kelvane",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE | FWS_ADDTOTITLE,
                                  CRect(0, 0, 800, 600)));
        AfxSetMainWnd(frame);
    }
    void TearDown() override {
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        platform::ResetMessageQueue();
        DesignTest::TearDown();
    }
    CJoxWinAppEx app;
    CJoxDocTemplate* tmpl = nullptr;
    CJoxFrameWnd* frame = nullptr;
};

TEST_F(JoxFrameTest, RedrawOffMakesPaintInputAndShowMessagesIgnorable) {
    EXPECT_EQ(JoxGetMainWnd(), frame);
    frame->SendMessage(WM_SETREDRAW, FALSE);
    struct Case {
        UINT msg;
        bool ignored;
    } cases[] = {{WM_PAINT, true}, {0x201, true},  {0x109, true},   {WM_SHOWWINDOW, true},
                 {0x20E, false},   {0x10A, false}, {WM_SIZE, false}};
    for (const Case& c : cases)
        EXPECT_EQ(frame->IgnoreMessage(c.msg), c.ignored) << std::hex << c.msg;
    MSG paint{frame->m_hWnd, WM_PAINT, 0, 0, 0, {0, 0}};
    // The held paint is not asked for again (a message loop would spin) but comes back with
    // redraw.
    frame->Invalidate();
    EXPECT_TRUE(frame->PreTranslateMessage(&paint));
    RECT dirty{};
    EXPECT_FALSE(::GetUpdateRect(frame->m_hWnd, &dirty, FALSE));
    frame->SendMessage(WM_SETREDRAW, TRUE);
    EXPECT_TRUE(::GetUpdateRect(frame->m_hWnd, &dirty, FALSE));
    for (const Case& c : cases)
        EXPECT_FALSE(frame->IgnoreMessage(c.msg)) << std::hex << c.msg;
    EXPECT_FALSE(frame->PreTranslateMessage(&paint));
    frame->SendMessage(WM_ENTERSIZEMOVE);
    EXPECT_TRUE(frame->IsResizing());
    frame->SendMessage(WM_EXITSIZEMOVE);
    EXPECT_FALSE(frame->IsResizing());
}

TEST_F(JoxFrameTest, WindowsOfChangedTabsRepaintAtTheNextIdleButNotDuringATabDrag) {
    tmpl->OpenDocumentFile(nullptr);
    tmpl->OpenDocumentFile(nullptr);
    CMFCTabCtrl* tabs = frame->GetTabGroup(0);
    ASSERT_NE(dynamic_cast<CJoxTabCtrl*>(tabs), nullptr);
    HWND first = tabs->GetTabHwnd(0);
    while (!const_cast<CList<HWND, HWND>&>(frame->PendingRedraws()).IsEmpty())
        frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    tabs->SetActiveTab(0);
    ASSERT_EQ(frame->PendingRedraws().GetCount(), 1);
    EXPECT_EQ(frame->PendingRedraws().GetHead(), first);
    // A drag with the left button over the tabs keeps the list.
    tabs->SetCapture();
    platform::SetKeyDown(VK_LBUTTON, true);
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(frame->PendingRedraws().GetCount(), 1);
    platform::SetKeyDown(VK_LBUTTON, false);
    ReleaseCapture();
    ValidateRect(first, nullptr);
    CJoxView::SetRedrawAll(0);
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(frame->PendingRedraws().GetCount(), 0);
    EXPECT_EQ(CJoxView::GetRedrawAll(), 1);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(first, &update, FALSE));
}

TEST_F(JoxFrameTest, AModifiedPageShowsAStarInItsTitleAndTab) {
    CDocument* doc = tmpl->OpenDocumentFile(nullptr);
    auto* child = dynamic_cast<CJoxChildWnd*>(frame->MDIGetActive());
    ASSERT_NE(child, nullptr);
    doc->SetModifiedFlag(TRUE);
    app.OnIdle(0); // the view notices the difference
    CString title;
    child->GetWindowText(title);
    EXPECT_EQ(title, L"Design1*");
    EXPECT_EQ(doc->GetTitle(), L"Design1");
    EXPECT_EQ(child->ModifiedInTitle(), 1);
    CString label;
    frame->GetTabGroup(0)->GetTabLabel(0, label);
    EXPECT_EQ(label, L"Design1*");
    doc->SetModifiedFlag(FALSE);
    app.OnIdle(0);
    child->GetWindowText(title);
    EXPECT_EQ(title, L"Design1");
    EXPECT_EQ(child->ModifiedInTitle(), 0);
    // A move to where the child already is changes nothing and asks for no repaint.
    RECT r;
    GetWindowRect(child->m_hWnd, &r);
    POINT tl{r.left, r.top};
    ScreenToClient(GetParent(child->m_hWnd), &tl);
    ValidateRect(child->m_hWnd, nullptr);
    child->SetWindowPos(nullptr, tl.x, tl.y, r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(child->m_hWnd, &update, FALSE));
}

TEST_F(JoxFrameTest, APaneDockedThroughTheFramesDockingManagerTakesItsRoomInThatFrame) {
    CDockingManager* docking = frame->GetDockingManager();
    ASSERT_NE(docking, nullptr);
    CMFCToolBar bar;
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 700));
    bar.InsertButton(CMFCToolBarButton(900));
    docking->EnableDocking(&bar, CBRS_ALIGN_ANY);
    ASSERT_TRUE(docking->DockPane(&bar));
    EXPECT_EQ(frame->GetControlBar(700), &bar);
    // The design windows' area starts below the docked bar.
    CRect barRect, area;
    bar.GetWindowRect(&barRect);
    frame->GetClientArea()->GetWindowRect(&area);
    EXPECT_GT(barRect.Height(), 0);
    EXPECT_EQ(area.top, barRect.bottom);
    docking->RemovePane(&bar);
    EXPECT_EQ(frame->GetControlBar(700), nullptr);
    bar.DestroyWindow();
}

} // namespace
