#include "platform/framework/mdi_frame_wnd_ex.h"

#include "platform/framework/document.h"
#include "platform/framework/mdi_child_wnd_ex.h"
#include "platform/framework/multi_doc_template.h"
#include "platform/framework/view.h"
#include "platform/framework/win_app_ex.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/ui_notify.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kDesign = 700;
constexpr UINT kViewCmd = 710, kDocCmd = 711, kAppCmd = 712;

std::vector<std::string> g_log;

class TestDoc : public CDocument {
    DECLARE_DYNCREATE(TestDoc)
public:
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* info) override {
        if (code == CN_COMMAND && (id == kDocCmd || id == kViewCmd)) {
            if (!IsQuery(info))
                g_log.push_back("doc");
            return TRUE;
        }
        return CDocument::OnCmdMsg(id, code, extra, info);
    }
};
IMPLEMENT_DYNCREATE(TestDoc, CDocument)

class TestView : public CView {
    DECLARE_DYNCREATE(TestView)
public:
    void OnUpdate(CView* sender, LPARAM hint, CObject* obj) override {
        g_log.push_back("update " + std::to_string(hint) + (obj ? " obj" : "") +
                        (sender ? " from" : ""));
        CView::OnUpdate(sender, hint, obj);
    }
    void OnActivateView(BOOL on, CView* a, CView* d) override {
        if (on)
            g_log.push_back("activate " + GetDocument()->GetTitle().ToUtf8());
        CView::OnActivateView(on, a, d);
    }
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* info) override {
        if (code == CN_COMMAND && id == kViewCmd) {
            if (!IsQuery(info))
                g_log.push_back("view");
            return TRUE;
        }
        return CView::OnCmdMsg(id, code, extra, info);
    }
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* r) override {
        if (msg == WM_IDLEUPDATECMDUI)
            g_log.push_back("idle");
        return CView::OnWndMsg(msg, wp, lp, r);
    }
};
IMPLEMENT_DYNCREATE(TestView, CView)

class TestChild : public CMDIChildWndEx {
    DECLARE_DYNCREATE(TestChild)
};
IMPLEMENT_DYNCREATE(TestChild, CMDIChildWndEx)

class TestMain : public CMDIFrameWndEx {
public:
    std::vector<std::pair<WPARAM, LPARAM>> moves;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* r) override {
        if (msg == AFX_WM_ON_MOVETOTABGROUP || msg == AFX_WM_ON_MOVE_TAB)
            moves.emplace_back(wp, lp);
        return CMDIFrameWndEx::OnWndMsg(msg, wp, lp, r);
    }
};

class TestApp : public CWinAppEx {
public:
    TestApp() : CWinAppEx(TRUE, L"Kelvane") {}
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* info) override {
        if (code == CN_COMMAND && id == kAppCmd) {
            if (!IsQuery(info))
                g_log.push_back("app");
            return TRUE;
        }
        return CWinAppEx::OnCmdMsg(id, code, extra, info);
    }
};

class MDIFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::ResetMessageQueue();
        platform::RegisterStrings({{kDesign, L"\nDesign\nDesign"}});
        g_log.clear();
        main = new TestMain;
        ASSERT_TRUE(main->Create(nullptr, L"Kelvane",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE | FWS_ADDTOTITLE,
                                 CRect(0, 0, 800, 600)));
        AfxSetMainWnd(main);
        app.m_pMainWnd = main;
        tmpl = new CMultiDocTemplate(kDesign, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestChild),
                                     RUNTIME_CLASS(TestView));
        app.AddDocTemplate(tmpl);
    }
    void TearDown() override {
        if (::IsWindow(main->m_hWnd))
            main->DestroyWindow();
        EXPECT_EQ(tmpl->GetDocumentCount(), 0);
        platform::ResetMessageQueue();
    }
    TestApp app;
    TestMain* main = nullptr;
    CMultiDocTemplate* tmpl = nullptr;
};

TEST_F(MDIFrameTest, NewDocumentsOpenAsTabsOfOneGroupTheNewestActive) {
    CDocument* a = tmpl->OpenDocumentFile(nullptr);
    CDocument* b = tmpl->OpenDocumentFile(nullptr);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->GetTitle(), L"Design1");
    EXPECT_EQ(b->GetTitle(), L"Design2");
    ASSERT_EQ(main->GetTabGroupCount(), 1);
    CMFCTabCtrl* group = main->GetTabGroup(0);
    ASSERT_EQ(group->GetTabsNum(), 2);
    EXPECT_EQ(group->GetActiveTab(), 1);
    CString label;
    group->GetTabLabel(0, label);
    EXPECT_EQ(label, L"Design1");
    EXPECT_EQ(main->MDIGetActive()->GetActiveDocument(), b);
    CString title;
    main->GetWindowText(title);
    EXPECT_EQ(title, L"Kelvane - Design2");
    // Only the active tab's window shows.
    EXPECT_FALSE(::IsWindowVisible(group->GetTabHwnd(0)));
    EXPECT_TRUE(::IsWindowVisible(group->GetTabHwnd(1)));
    EXPECT_EQ(g_log.back(), "activate Design2");
}

TEST_F(MDIFrameTest, PickingATabActivatesItsWindowAndTellsTheDisplay) {
    CDocument* a = tmpl->OpenDocumentFile(nullptr);
    tmpl->OpenDocumentFile(nullptr);
    std::vector<platform::UiChange> seen;
    int id = platform::AddUiListener(
        [&](platform::UiChange what, HWND, void*) { seen.push_back(what); });
    g_log.clear();
    main->GetTabGroup(0)->SetActiveTab(0);
    platform::RemoveUiListener(id);
    EXPECT_EQ(main->MDIGetActive()->GetActiveDocument(), a);
    EXPECT_EQ(g_log, std::vector<std::string>{"activate Design1"});
    EXPECT_NE(std::find(seen.begin(), seen.end(), platform::UiChange::ActiveTab), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), platform::UiChange::ActiveChild), seen.end());
}

TEST_F(MDIFrameTest, CommandsGoToTheActiveViewThenItsDocumentThenTheApplication) {
    tmpl->OpenDocumentFile(nullptr);
    g_log.clear();
    for (UINT cmd : {kViewCmd, kDocCmd, kAppCmd, 799u})
        main->SendMessage(WM_COMMAND, MAKEWPARAM(WORD(cmd), 0), 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"view", "doc", "app"}));
}

TEST_F(MDIFrameTest, UpdateAllViewsReachesEveryViewButTheSender) {
    CDocument* doc = tmpl->OpenDocumentFile(nullptr);
    CFrameWnd* second = tmpl->CreateNewFrame(doc, nullptr);
    ASSERT_NE(second, nullptr);
    tmpl->InitialUpdateFrame(second, doc);
    ASSERT_EQ(doc->GetViewCount(), 2);
    POSITION pos = doc->GetFirstViewPosition();
    CView* sender = doc->GetNextView(pos);
    g_log.clear();
    CObject* hint = sender; // any object
    doc->UpdateAllViews(sender, 5, hint);
    doc->UpdateAllViews(nullptr, 6);
    EXPECT_EQ(g_log, (std::vector<std::string>{"update 5 obj from", "update 6", "update 6"}));
}

TEST_F(MDIFrameTest, ClosingATabClosesItsDocumentAndActivatesTheNeighbour) {
    CDocument* a = tmpl->OpenDocumentFile(nullptr);
    tmpl->OpenDocumentFile(nullptr);
    main->MDIGetActive()->SendMessage(WM_CLOSE);
    EXPECT_EQ(tmpl->GetDocumentCount(), 1);
    ASSERT_EQ(main->GetTabGroup(0)->GetTabsNum(), 1);
    EXPECT_EQ(main->MDIGetActive()->GetActiveDocument(), a);
    main->MDIGetActive()->SendMessage(WM_CLOSE);
    EXPECT_EQ(main->GetTabGroupCount(), 0);
    EXPECT_EQ(main->MDIGetActive(), nullptr);
}

// The tabs' keys, pressed in the active design's view: Ctrl+Tab and Ctrl+F6 step on, with Shift
// back, Ctrl+F4 closes; without Ctrl, Tab is the view's own.
TEST_F(MDIFrameTest, CtrlTabStepsThroughTheDesignWindowsAndCtrlF4ClosesOne) {
    CDocument* a = tmpl->OpenDocumentFile(nullptr);
    CDocument* b = tmpl->OpenDocumentFile(nullptr);
    CDocument* c = tmpl->OpenDocumentFile(nullptr);
    auto press = [&](int vk, bool ctrl, bool shift) {
        platform::SetKeyDown(VK_CONTROL, ctrl);
        platform::SetKeyDown(VK_SHIFT, shift);
        MSG msg{};
        msg.hwnd = main->MDIGetActive()->GetActiveView()->m_hWnd;
        msg.message = WM_KEYDOWN;
        msg.wParam = WPARAM(vk);
        const BOOL taken = app.PreTranslateMessage(&msg);
        platform::SetKeyDown(VK_CONTROL, false);
        platform::SetKeyDown(VK_SHIFT, false);
        return taken;
    };
    auto active = [&] { return main->MDIGetActive()->GetActiveDocument(); };
    EXPECT_TRUE(press(VK_TAB, true, false));
    EXPECT_EQ(active(), a);
    EXPECT_TRUE(press(VK_F6, true, false));
    EXPECT_EQ(active(), b);
    EXPECT_TRUE(press(VK_TAB, true, true));
    EXPECT_EQ(active(), a);
    EXPECT_FALSE(press(VK_TAB, false, false));
    EXPECT_EQ(active(), a);
    EXPECT_TRUE(press(VK_F4, true, false));
    for (MSG m; ::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);)
        ::DispatchMessageW(&m);
    EXPECT_EQ(tmpl->GetDocumentCount(), 2);
    EXPECT_NE(active(), a);
    (void)c;
}

// A design window whose resource id has a menu loads it, and destroys it when it closes.
TEST_F(MDIFrameTest, ClosingADesignWindowDestroysItsMenu) {
    platform::RegisterMenuTemplate(MenuTemplate{kDesign, {{MF_STRING, kViewCmd, L"View", {}}}});
    tmpl->OpenDocumentFile(nullptr);
    tmpl->OpenDocumentFile(nullptr);
    std::vector<HMENU> menus;
    for (int i = 0; i < main->GetTabGroup(0)->GetTabsNum(); ++i) {
        auto* child = dynamic_cast<CMDIChildWndEx*>(main->GetTabGroup(0)->GetTabWnd(i));
        ASSERT_TRUE(child);
        menus.push_back(child->m_hMenuShared);
        EXPECT_TRUE(IsMenu(child->m_hMenuShared));
    }
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_NE(menus[0], menus[1]);
    main->MDIGetActive()->SendMessage(WM_CLOSE);
    main->MDIGetActive()->SendMessage(WM_CLOSE);
    EXPECT_EQ(tmpl->GetDocumentCount(), 0);
    for (HMENU m : menus)
        EXPECT_FALSE(IsMenu(m));
    platform::RegisterMenuTemplate(MenuTemplate{kDesign, {}});
}

// The menu bar follows the active design window; with none open the frame's own menu is back.
TEST_F(MDIFrameTest, TheMenuBarShowsTheActiveWindowsMenu) {
    constexpr UINT kFrameMenu = 701;
    platform::RegisterMenuTemplate(MenuTemplate{kFrameMenu, {{MF_STRING, kAppCmd, L"App", {}}}});
    platform::RegisterMenuTemplate(MenuTemplate{kDesign, {{MF_STRING, kViewCmd, L"View", {}}}});
    main->m_hMenuDefault = LoadMenuW(nullptr, kFrameMenu);
    ::SetMenu(main->m_hWnd, main->m_hMenuDefault);
    std::vector<HMENU> shown;
    int id = platform::AddUiListener([&](platform::UiChange what, HWND, void* menu) {
        if (what == platform::UiChange::FrameMenu)
            shown.push_back(static_cast<HMENU>(menu));
    });
    tmpl->OpenDocumentFile(nullptr);
    HMENU first = main->MDIGetActive()->m_hMenuShared;
    tmpl->OpenDocumentFile(nullptr);
    HMENU second = main->MDIGetActive()->m_hMenuShared;
    EXPECT_EQ(::GetMenu(main->m_hWnd), second);
    main->GetTabGroup(0)->SetActiveTab(0);
    EXPECT_EQ(::GetMenu(main->m_hWnd), first);
    main->MDIGetActive()->SendMessage(WM_CLOSE);
    EXPECT_EQ(::GetMenu(main->m_hWnd), second);
    main->MDIGetActive()->SendMessage(WM_CLOSE);
    EXPECT_EQ(::GetMenu(main->m_hWnd), main->m_hMenuDefault);
    platform::RemoveUiListener(id);
    EXPECT_EQ(shown, (std::vector<HMENU>{first, second, first, second, main->m_hMenuDefault}));
    // The frame is closed with a design window open: each menu is freed once.
    tmpl->OpenDocumentFile(nullptr);
    platform::RegisterMenuTemplate(MenuTemplate{kDesign, {}});
}

TEST_F(MDIFrameTest, TabsMoveWithinAndBetweenGroupsAndTheFrameIsTold) {
    tmpl->OpenDocumentFile(nullptr);
    tmpl->OpenDocumentFile(nullptr);
    tmpl->OpenDocumentFile(nullptr);
    CMFCTabCtrl* first = main->GetTabGroup(0);
    HWND active = first->GetTabHwnd(2);
    first->MoveTab(2, 0);
    EXPECT_EQ(first->GetTabHwnd(0), active);
    EXPECT_EQ(first->GetActiveTab(), 0); // the active tab stays the same window
    ASSERT_TRUE(main->MDITabNewGroup());
    ASSERT_EQ(main->GetTabGroupCount(), 2);
    CMFCTabCtrl* second = main->GetTabGroup(1);
    EXPECT_EQ(second->GetTabHwnd(0), active);
    EXPECT_EQ(main->MDIGetActive()->m_hWnd, active);
    ASSERT_EQ(main->moves.size(), 2u);
    EXPECT_EQ(main->moves[0], (std::pair<WPARAM, LPARAM>{2, 0}));
    EXPECT_EQ(main->moves[1].first, reinterpret_cast<WPARAM>(first->m_hWnd));
    EXPECT_EQ(main->moves[1].second, reinterpret_cast<LPARAM>(second->m_hWnd));
    // Moving the last tab of a group back removes the emptied group.
    EXPECT_TRUE(main->MoveToTabGroup(main->MDIGetActive(), first));
    EXPECT_EQ(main->GetTabGroupCount(), 1);
}

TEST_F(MDIFrameTest, IdleUpdatesReachTheViews) {
    tmpl->OpenDocumentFile(nullptr);
    g_log.clear();
    EXPECT_TRUE(app.OnIdle(0));
    EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "idle"), 1);
}

} // namespace
