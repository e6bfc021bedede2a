// The frame's right-click menus headless: which menu shows where, with which checks, and what
// a pick does.
#include "kelvane/app/app_resources.h"
#include "kelvane/tests/app_fixture.h"
#include "platform/framework/document.h"
#include "platform/framework/mfc_tab_ctrl.h"
#include "platform/framework/view.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/menu_hidden.h"

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
