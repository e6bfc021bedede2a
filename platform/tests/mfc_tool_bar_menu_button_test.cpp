// Drop-down buttons on a toolbar: copies keep their class, the arrow opens one popup under
// the button, and a popup never outlives its button.
#include "platform/framework/mfc_tool_bar_menu_button.h"

#include "platform/framework/frame_wnd.h"
#include "platform/framework/mfc_popup_menu.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/framework/tool_bar_button_face.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A drop-down whose popup is empty, as a deliverable's button would be.
class CEmptyDropDown : public CMFCToolBarMenuButton {
    DECLARE_DYNCREATE(CEmptyDropDown)

public:
    CEmptyDropDown() = default;
    explicit CEmptyDropDown(UINT id, BOOL exclusive = FALSE)
        : CMFCToolBarMenuButton(id, nullptr, -1), m_exclusive(exclusive) {}
    void CopyFrom(const CMFCToolBarButton& src) override {
        CMFCToolBarMenuButton::CopyFrom(src);
        if (const auto* b = dynamic_cast<const CEmptyDropDown*>(&src))
            m_exclusive = b->m_exclusive;
    }
    BOOL IsEmptyMenuAllowed() const override { return TRUE; }
    BOOL IsExclusive() const override { return m_exclusive; }

    BOOL m_exclusive = FALSE;
};
IMPLEMENT_DYNCREATE(CEmptyDropDown, CMFCToolBarMenuButton)

class MenuButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new CFrameWnd;
        ASSERT_TRUE(
            frame->Create(nullptr, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 480)));
        bar = std::make_unique<CMFCToolBar>();
        ASSERT_TRUE(bar->Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 700));
        for (UINT id : {100u, 101u, 100u})
            bar->InsertButton(CMFCToolBarButton(id));
        bar->AdjustLayout();
    }
    void TearDown() override {
        bar.reset();
        frame->DestroyWindow();
    }

    CFrameWnd* frame = nullptr;
    std::unique_ptr<CMFCToolBar> bar;
};

TEST_F(MenuButtonTest, ReplacedButtonsKeepTheirClassAndPlace) {
    const CRect place = bar->GetButton(2)->m_rect;
    EXPECT_EQ(bar->ReplaceButton(100, CEmptyDropDown(100, TRUE)), 1);
    EXPECT_TRUE(bar->GetButton(0)->IsKindOf(RUNTIME_CLASS(CEmptyDropDown)));
    EXPECT_FALSE(bar->GetButton(2)->IsKindOf(RUNTIME_CLASS(CEmptyDropDown)));
    EXPECT_EQ(bar->ReplaceButton(100, CEmptyDropDown(100, TRUE), TRUE), 2);
    auto* b = dynamic_cast<CEmptyDropDown*>(bar->GetButton(2));
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->m_exclusive);
    // Same place in the row; the arrows of buttons 0 and 2 take room beside their faces.
    EXPECT_EQ(b->m_rect, CRect(place.left + platform::kDropDownArrowWidth, place.top,
                               place.right + 2 * platform::kDropDownArrowWidth, place.bottom));
    EXPECT_EQ(b->GetParentWnd(), bar.get());
    EXPECT_TRUE(b->m_bDrawDownArrow);
    EXPECT_EQ(bar->ReplaceButton(555, CEmptyDropDown(555)), 0);
}

TEST_F(MenuButtonTest, TheArrowOpensOnePopupUnderTheButton) {
    bar->ReplaceButton(101, CEmptyDropDown(101));
    auto* b = dynamic_cast<CMFCToolBarMenuButton*>(bar->GetButton(1));
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(bar->DropDown(0)) << "a plain button has no drop-down";
    ASSERT_TRUE(bar->DropDown(1));
    ASSERT_TRUE(b->IsDroppedDown());
    CMFCPopupMenu* popup = b->GetPopupMenu();
    EXPECT_EQ(CMFCPopupMenu::GetActiveMenu(), popup);
    POINT under{b->m_rect.left, b->m_rect.bottom};
    ::ClientToScreen(bar->m_hWnd, &under);
    CRect r;
    popup->GetWindowRect(&r);
    EXPECT_EQ(r.TopLeft(), CPoint(under.x, under.y));
    EXPECT_FALSE(bar->DropDown(1)) << "already open";

    popup->SendMessage(WM_KEYDOWN, VK_ESCAPE);
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&m);
    EXPECT_FALSE(b->IsDroppedDown());
    EXPECT_EQ(CMFCPopupMenu::GetActiveMenu(), nullptr);
}

TEST_F(MenuButtonTest, AnOpenPopupGoesWithItsButton) {
    bar->ReplaceButton(101, CEmptyDropDown(101));
    ASSERT_TRUE(bar->DropDown(1));
    HWND popup = CMFCPopupMenu::GetActiveMenu()->m_hWnd;
    EXPECT_TRUE(bar->RemoveButton(1));
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_EQ(CMFCPopupMenu::GetActiveMenu(), nullptr);
}

TEST_F(MenuButtonTest, APopupLosingTheActivationCloses) {
    bar->ReplaceButton(101, CEmptyDropDown(101));
    ASSERT_TRUE(bar->DropDown(1));
    auto* b = dynamic_cast<CMFCToolBarMenuButton*>(bar->GetButton(1));
    ::SetActiveWindow(b->GetPopupMenu()->m_hWnd);
    EXPECT_TRUE(b->IsDroppedDown());
    ::SetActiveWindow(frame->m_hWnd); // a click on the frame
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&m);
    EXPECT_FALSE(b->IsDroppedDown());
}

TEST_F(MenuButtonTest, OnlyOnePopupIsOpen) {
    bar->ReplaceButton(100, CEmptyDropDown(100), TRUE);
    auto* first = dynamic_cast<CMFCToolBarMenuButton*>(bar->GetButton(0));
    auto* second = dynamic_cast<CMFCToolBarMenuButton*>(bar->GetButton(2));
    ASSERT_TRUE(bar->DropDown(0));
    ASSERT_TRUE(bar->DropDown(2));
    EXPECT_FALSE(first->IsDroppedDown());
    EXPECT_TRUE(second->IsDroppedDown());
}

TEST_F(MenuButtonTest, NoMenuOpensNothingAndAMenuShowsNoArrow) {
    CMFCToolBarMenuButton plain(300, nullptr, -1);
    EXPECT_EQ(plain.CreatePopupMenu(), nullptr);
    EXPECT_FALSE(plain.OpenPopupMenu(bar.get()));
    plain.OnChangeParentWnd(frame);
    EXPECT_FALSE(plain.m_bDrawDownArrow);
    plain.OnChangeParentWnd(bar.get());
    EXPECT_TRUE(plain.m_bDrawDownArrow);
}

TEST(ToolBarCommands, NonPermittedCommandsAreListed) {
    CMFCToolBar::SetNonPermittedCommands({57600, 57601});
    EXPECT_FALSE(CMFCToolBar::IsCommandPermitted(57601));
    EXPECT_TRUE(CMFCToolBar::IsCommandPermitted(57602));
    CMFCToolBar::SetNonPermittedCommands({});
    EXPECT_TRUE(CMFCToolBar::IsCommandPermitted(57601));
}

} // namespace
