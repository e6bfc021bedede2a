// The frame's right-click menus headless: which menu shows where, with which checks, and what
// a pick does.
#include "design/design_page.h"
#include "design/design_view.h"
#include "design/select_tool.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/tests/app_fixture.h"
#include "pivora/geometry/sb.h"
#include "platform/framework/context_menu_manager.h"
#include "platform/framework/docking_manager.h"
#include "platform/framework/document.h"
#include "platform/framework/message_filter.h"
#include "platform/framework/mfc_tab_ctrl.h"
#include "platform/framework/view.h"
#include "platform/system/settings_store.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/menu_bar_messages.h"
#include "platform/windowing/menu_hidden.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Item {
    UINT id;
    std::wstring text;
    bool checked;
};

class MainFrameMenusTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        platform::SetMenuResponder([this](HMENU menu, int x, int y, HWND owner) {
            shown.clear();
            for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
                wchar_t text[64] = {};
                ::GetMenuStringW(menu, UINT(i), text, 64, MF_BYPOSITION);
                const bool checked =
                    (::GetMenuState(menu, UINT(i), MF_BYPOSITION) & MF_CHECKED) != 0;
                shown.push_back({::GetMenuItemID(menu, i), text, checked});
            }
            where = {x, y};
            ownerShown = owner;
            return pick;
        });
    }
    void TearDown() override {
        platform::SetMenuResponder(nullptr);
        AppFixture::TearDown();
    }
    void ToolbarMenuAt(int x, int y) {
        ::SendMessageW(app->MainFrame()->m_hWnd, kelvane::WM_TOOLBAR_MENU, 0,
                       MAKELPARAM(WORD(x), WORD(y)));
    }

    std::vector<Item> shown;
    POINT where{-1, -1};
    HWND ownerShown = nullptr;
    UINT pick = 0;
};

TEST_F(MainFrameMenusTest, ATabsMenuShowsAtTheClickAndCloseClosesThatTabsDesign) {
    ASSERT_TRUE(Start({"x", "y"}));
    CDocument* first = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
    ASSERT_NE(first, nullptr);
    CDocument* second = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
    ASSERT_NE(second, nullptr);
    POSITION pos = first->GetFirstViewPosition();
    CWnd* child = first->GetNextView(pos)->GetParentFrame();
    CMFCTabCtrl* tabs = app->MainFrame()->FindTabGroup(child->m_hWnd);
    ASSERT_NE(tabs, nullptr);
    const int index = tabs->GetTabFromHwnd(child->m_hWnd);
    ASSERT_GE(index, 0);

    pick = kelvane::ID_CLOSE_DESIGN;
    EXPECT_TRUE(app->MainFrame()->ShowTabContextMenu(tabs, index, POINT{310, 42}));
    const std::vector<std::pair<UINT, std::wstring>> expected = {
        {kelvane::ID_CLOSE_DESIGN, L"Close"},
        {kelvane::ID_CLOSE_ALL, L"Close All"},
        {kelvane::ID_SAVE_DESIGN, L"Save"},
        {kelvane::ID_SAVE_DESIGN_AS, L"Save As"}};
    ASSERT_EQ(shown.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(shown[i].id, expected[i].first) << i;
        EXPECT_EQ(shown[i].text, expected[i].second) << i;
    }
    EXPECT_EQ(where.x, 310);
    EXPECT_EQ(where.y, 42);
    EXPECT_EQ(ownerShown, app->MainFrame()->m_hWnd);
    // Only the posted close: a paint would pull in the font libraries for nothing.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        ::DispatchMessageW(&msg);
    // The right-clicked design went, not the one that was active before.
    ASSERT_EQ(DesignCount(), 1);
    POSITION left = app->DesignTemplate()->GetFirstDocPosition();
    EXPECT_EQ(app->DesignTemplate()->GetNextDoc(left), second);
}

TEST_F(MainFrameMenusTest, TheToolbarMenuShowsAtThePointCheckedAsThingsStandAndToggles) {
    ASSERT_TRUE(Start({"x", "y"}));
    ToolbarMenuAt(120, 30);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].id, kelvane::ID_TOGGLE_MENU_BAR);
    EXPECT_EQ(shown[1].id, kelvane::ID_MAIN_TOOLBAR);
    // The toolbar entry carries the main toolbar's own name.
    EXPECT_EQ(shown[1].text, L"Files");
    EXPECT_EQ(where.x, 120);
    EXPECT_EQ(where.y, 30);
    const bool barShown = app->MainFrame()->IsMenuBarVisible();
    EXPECT_EQ(shown[0].checked, barShown);
    EXPECT_TRUE(shown[1].checked);

    // Picking the main toolbar hides it; the menu bar's check follows the bar.
    pick = kelvane::ID_MAIN_TOOLBAR;
    ToolbarMenuAt(5, 6);
    pick = 0;
    app->MainFrame()->fnShowMenuBar(!barShown);
    ToolbarMenuAt(5, 6);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].checked, !barShown);
    EXPECT_FALSE(shown[1].checked);
}

} // namespace

namespace {

TEST_F(MainFrameMenusTest, APopupLeavesOutTheHiddenCommandAndTheSeparatorBeforeIt) {
    ASSERT_TRUE(Start({"x", "y"}));
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_STRING, kelvane::ID_ABOUT, L"About");
    ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(popup, MF_STRING, kelvane::ID_HIDDEN_ITEM, L"Hidden");
    ::SendMessageW(app->MainFrame()->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    EXPECT_FALSE(::IsMenuItemHidden(popup, 0, MF_BYPOSITION));
    EXPECT_TRUE(::IsMenuItemHidden(popup, 1, MF_BYPOSITION));
    EXPECT_TRUE(::IsMenuItemHidden(popup, 2, MF_BYPOSITION));
    EXPECT_TRUE(::GetMenuState(popup, kelvane::ID_HIDDEN_ITEM, MF_BYCOMMAND) & MF_GRAYED);
    ::DestroyMenu(popup);
}

} // namespace

namespace {

TEST_F(MainFrameMenusTest, ARightClickOnTheMenuBarOrADockedPaneShowsTheToolbarMenuThere) {
    ASSERT_TRUE(Start({"x", "y"}));
    CMainFrame* frame = app->MainFrame();
    const auto docked = frame->GetDockingManager()->GetDockedPanes(AFX_IDW_DOCKBAR_TOP);
    ASSERT_FALSE(docked.empty());
    HWND pane = docked.front()->m_hWnd;
    EXPECT_EQ(platform::MessageFilterCount(pane), 1u);

    ::SendMessageW(frame->m_hWnd, WM_NCRBUTTONUP, HTMENU, MAKELPARAM(200, 12));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].id, kelvane::ID_TOGGLE_MENU_BAR);
    EXPECT_EQ(where.x, 200);
    EXPECT_EQ(where.y, 12);

    shown.clear();
    POINT at{3, 4};
    ::ClientToScreen(pane, &at);
    ::SendMessageW(pane, WM_RBUTTONUP, 0, MAKELPARAM(3, 4));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(where.x, at.x);
    EXPECT_EQ(where.y, at.y);
    // Once: the pane's own handling does not show it a second time.
    EXPECT_EQ(AfxGetContextMenuManager()->ShownCount(), 2);

    // Another hit on the frame's border is not the menu bar.
    shown.clear();
    ::SendMessageW(frame->m_hWnd, WM_NCRBUTTONUP, HTCLIENT, MAKELPARAM(200, 12));
    EXPECT_TRUE(shown.empty());
}

} // namespace

namespace {

TEST_F(MainFrameMenusTest, ARightClickOnASelectedArticleShowsTheRegisteredDefaultMenu) {
    ASSERT_TRUE(Start({"x", "y"}));
    CContextMenuManager* manager = AfxGetContextMenuManager();
    ASSERT_NE(manager, nullptr);
    UINT id = 0;
    ASSERT_NE(manager->GetMenuByName(L"Right Click Default", &id), nullptr);
    EXPECT_EQ(id, CDesignView::IDR_RIGHT_CLICK_MENU);

    auto* page = dynamic_cast<CDesignPage*>(app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE));
    ASSERT_NE(page, nullptr);
    Pump();
    POSITION pos = page->GetFirstViewPosition();
    auto* view = dynamic_cast<CDesignView*>(page->GetNextView(pos));
    ASSERT_NE(view, nullptr);
    auto* item = DynamicDowncast<CVectorItem>(CRuntimeClass::CreateObject("CSplineItem"));
    ASSERT_NE(item, nullptr);
    const CSb square[] = {{0x200, {40000, 40000}},
                          {0x200, {60000, 40000}},
                          {0x200, {60000, 60000}},
                          {0x200, {40000, 60000}},
                          {0x200, {40000, 40000}}};
    item->InsertElement(-1, const_cast<CSb*>(square), 5);
    auto* article = new CVectorArticle;
    article->Item(item);
    page->RootArticle()->AddChild(article);
    article->InvExtents(1);
    page->AddObjectSelection(article, 1, 0);

    CPoint at(50000, 50000);
    view->DocToClient(at);
    const int before = manager->ShownCount();
    ::SendMessageW(view->m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(WORD(at.x), WORD(at.y)));
    ::SendMessageW(view->m_hWnd, WM_RBUTTONUP, 0, MAKELPARAM(WORD(at.x), WORD(at.y)));
    EXPECT_EQ(manager->ShownCount(), before + 1);
    const std::vector<UINT> expected = {CSelectTool::ID_EDIT_CUT,
                                        CSelectTool::ID_EDIT_COPY,
                                        CSelectTool::ID_EDIT_PASTE,
                                        CSelectTool::ID_EDIT_CLEAR,
                                        0,
                                        CDesignView::ID_GROUP,
                                        CDesignView::ID_UNGROUP};
    std::vector<UINT> ids;
    for (const Item& i : shown)
        ids.push_back(i.id);
    EXPECT_EQ(ids, expected);
    POINT screen = at;
    ::ClientToScreen(view->m_hWnd, &screen);
    EXPECT_EQ(manager->LastPoint().x, screen.x);
    EXPECT_EQ(manager->LastPoint().y, screen.y);
    EXPECT_EQ(where.x, screen.x);
    EXPECT_EQ(ownerShown, app->MainFrame()->m_hWnd);
}

TEST_F(MainFrameMenusTest, RightClickMenuNamesKeptAtCloseComeBackAtTheNextStartGarbageAside) {
    ASSERT_TRUE(Start({"x", "y"}));
    ASSERT_TRUE(AfxGetContextMenuManager()->AddMenu(L"Tabs", kelvane::IDR_MDI_TABS));
    ::SendMessageW(app->MainFrame()->m_hWnd, WM_CLOSE, 0, 0);
    Stop();
    const wchar_t* key = L"Software\\Oquen\\VanterFerolin\\ContextMenu";
    {
        CContextMenuManager saved;
        ASSERT_TRUE(saved.LoadState(key));
        const auto names = saved.GetMenuNames();
        ASSERT_EQ(names.size(), 2u);
        EXPECT_EQ(names[0].first, L"Right Click Default");
        EXPECT_EQ(names[0].second, CDesignView::IDR_RIGHT_CLICK_MENU);
        EXPECT_EQ(names[1].first, L"Tabs");
    }
    // Values the manager never writes, and a menu that does not exist.
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, key, 0, KEY_WRITE, &h), ERROR_SUCCESS);
    const BYTE nowhere[4] = {0x9F, 0x86, 0x01, 0x00};
    const BYTE shortId[2] = {0x8A, 0x00};
    const wchar_t text[] = L"138";
    RegSetValueEx(h, L"Nowhere", 0, REG_DWORD, nowhere, sizeof nowhere);
    RegSetValueEx(h, L"Short", 0, REG_BINARY, shortId, sizeof shortId);
    RegSetValueEx(h, L"Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegCloseKey(h);

    app.reset();
    app = std::make_unique<CVanterFerolinApp>();
    ASSERT_TRUE(Start({"x", "y"}));
    UINT id = 0;
    EXPECT_NE(AfxGetContextMenuManager()->GetMenuByName(L"Tabs", &id), nullptr);
    EXPECT_EQ(id, kelvane::IDR_MDI_TABS);
    std::vector<std::wstring> names;
    for (const auto& [name, menu] : AfxGetContextMenuManager()->GetMenuNames())
        names.emplace_back(name.GetString());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Right Click Default", L"Tabs"}));
}

} // namespace

namespace {

// Every command of a menu as the display shows it: each popup told first (WM_INITMENUPOPUP),
// then each item's state read. "text (id)" of each item that no target of the frame handles,
// and of each that shows enabled without one.
void WalkMenu(HMENU menu, CFrameWnd* frame, const std::wstring& path,
              std::vector<std::wstring>& noHandler, std::vector<std::wstring>& enabledDead) {
    ::SendMessageW(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, UINT(i), text, 128, MF_BYPOSITION);
        const UINT state = ::GetMenuState(menu, UINT(i), MF_BYPOSITION);
        const std::wstring name = path + L"/" + text;
        if (state & MF_POPUP) {
            WalkMenu(::GetSubMenu(menu, i), frame, name, noHandler, enabledDead);
            continue;
        }
        const UINT id = ::GetMenuItemID(menu, i);
        if ((state & MF_SEPARATOR) || id == 0 || id == kelvane::ID_HIDDEN_ITEM)
            continue;
        int query = 0;
        const bool handled = frame->OnCmdMsg(id, CN_COMMAND, nullptr, &query) != FALSE;
        const std::wstring shown = name + L" (" + std::to_wstring(id) + L")";
        if (!handled)
            noHandler.push_back(shown);
        if (!handled && !(state & (MF_GRAYED | MF_DISABLED)))
            enabledDead.push_back(shown);
    }
}

std::string Listed(const std::vector<std::wstring>& items) {
    std::string out;
    for (const std::wstring& s : items)
        out += CString(s.c_str()).ToUtf8() + "\n";
    return out;
}

} // namespace

TEST_F(MainFrameMenusTest, EveryItemOfTheFrameAndTabMenusReachesAHandler) {
    ASSERT_NO_FATAL_FAILURE(StartWithFilePortCutter());
    CMainFrame* frame = app->MainFrame();
    ASSERT_NE(frame, nullptr);
    std::vector<std::wstring> noHandler, enabledDead;

    // No design open: the frame's own menu.
    WalkMenu(::GetMenu(frame->m_hWnd), frame, L"23012", noHandler, enabledDead);

    // A modified design with everything selected: the design window's menu and the tabs' menu.
    auto* page = dynamic_cast<CDesignPage*>(app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE));
    ASSERT_NE(page, nullptr);
    Pump();
    page->SetModifiedFlag(TRUE);
    WalkMenu(::GetMenu(frame->m_hWnd), frame, L"23011", noHandler, enabledDead);
    HMENU tabs = ::LoadMenuW(nullptr, kelvane::IDR_MDI_TABS);
    ASSERT_NE(tabs, nullptr);
    for (int i = 0; i < ::GetMenuItemCount(tabs); ++i)
        if (HMENU sub = ::GetSubMenu(tabs, i))
            WalkMenu(sub, frame, L"138", noHandler, enabledDead);
    ::DestroyMenu(tabs);

    EXPECT_TRUE(enabledDead.empty()) << "enabled without a handler:\n" << Listed(enabledDead);
    EXPECT_TRUE(noHandler.empty()) << "no handler:\n" << Listed(noHandler);
}
