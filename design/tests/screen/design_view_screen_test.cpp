// Under Xvfb: a guide dragged out of the ruler by the window system's mouse events leaves the
// screen exactly as a fresh paint would; and a design window with its rulers, guides, a guide
// echo and the view toolbar with its zoom drop-down open, saved as a PNG for a person to look at
// (the drop-down itself is a popup of its own, outside the window's picture).
#include "design/tests/screen/display_host.h"
#include "design/tests/tool_fixture.h"
#include "design/view_toolbar.h"
#include "pivora/grid.h"
#include "platform/display/display.h"
#include "platform/framework/mfc_tool_bar_menu_button.h"
#include "platform/graphics/surface.h"
#include "platform/windowing/menu.h"
#include "toolbars/toolbar_registry.h"

#include <filesystem>

namespace {

class DesignViewScreen : public OnDisplay<ToolHost> {
protected:
    void SetUp() override {
        OnDisplay<ToolHost>::SetUp();
        page->Grid()->showGuides = 1;
        page->Grid()->showRect = 1;
        for (int i = 0; i < 60; ++i) {
            const LONG x = 8000 + (i % 10) * 9000, y = 8000 + (i / 10) * 14000;
            if (!Path(CWindow(x, y, x + 6000, y + 10000)))
                GTEST_SKIP() << "the curve library is not linked";
        }
        page->RootArticle()->InvExtents(1);
        view->OnActivateView(TRUE, view, nullptr);
        view->ZoomFirst();
        ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
        Paint();
        platform::display::Flush();
        R = view->GetRulerSize().cx;
    }
    std::vector<uint32_t> Screen() {
        platform::display::Flush();
        auto* raster =
            dynamic_cast<platform::RasterSurface*>(platform::GetWindowSurface(view->m_hWnd));
        return raster ? raster->Pixels() : std::vector<uint32_t>{};
    }
    int R = 0;
};

TEST_F(DesignViewScreen, AGuideDraggedByMouseEventsLeavesTheScreenAsAFreshPaint) {
    HWND h = view->m_hWnd;
    ASSERT_TRUE(platform::display::SendMouse(h, WM_LBUTTONDOWN, R / 2, R + 150));
    for (int x = R + 20; x <= R + 260; x += 40)
        platform::display::SendMouse(h, WM_MOUSEMOVE, x, R + 150);
    platform::display::SendMouse(h, WM_LBUTTONUP, R + 260, R + 150);
    Pump();
    ASSERT_EQ(page->Grid()->GridLineCount(CGrid::kVertical), 1);
    const std::vector<uint32_t> dragged = Screen();
    ASSERT_FALSE(dragged.empty());
    ::InvalidateRect(h, nullptr, TRUE);
    Paint();
    const std::vector<uint32_t> fresh = Screen();
    ASSERT_EQ(dragged.size(), fresh.size());
    size_t differing = 0;
    for (size_t i = 0; i < fresh.size(); ++i)
        differing += dragged[i] != fresh[i];
    EXPECT_EQ(differing, 0u);
}

TEST_F(DesignViewScreen, RulersGuidesAGuideEchoAndTheZoomDropDown) {
    constexpr UINT kViewToolbar = 23013;
    constexpr int kSlot = 36;
    platform::RegisterToolBarTemplate(
        {kViewToolbar,
         16,
         15,
         {CDesignView::ID_ZOOM_IN, CDesignView::ID_ZOOM_OUT, CDesignView::ID_ZOOM_SELECTED, 0,
          CDesignView::ID_ZOOM_FIT}});
    auto* bar = new CViewToolbar;
    m_frame->SetSlot(kSlot, bar);
    m_frame->SetToolbarName(kSlot, L"View");
    ASSERT_EQ(QvCreateToolbar(kSlot, kViewToolbar, 0), bar);
    QvPlaceToolbar(kSlot, AFX_IDW_DOCKBAR_TOP, 0, TRUE);
    m_frame->RecalcLayoutEx(TRUE);
    page->Grid()->AddGridLinePos(30000, CGrid::kVertical);
    page->Grid()->AddGridLinePos(50000, CGrid::kHorizontal);
    ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
    Paint();
    // A new horizontal guide held over the drawing: its echo shows.
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, CPoint(R + 200, R / 2), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, CPoint(R + 200, R + 220), MK_LBUTTON);
    const int zoomIn = bar->CommandToIndex(CDesignView::ID_ZOOM_IN);
    ASSERT_GE(zoomIn, 0);
    EXPECT_TRUE(bar->DropDown(zoomIn));
    platform::display::Flush();
    const std::string path = TEST_BINARY_DIR "/design_view.png";
    std::filesystem::remove(path);
    EXPECT_TRUE(platform::display::SaveScreenshot(m_frame->GetSafeHwnd(), path));
    // The drop-down is a popup of its own, outside the window's picture.
    auto* button = dynamic_cast<CMFCToolBarMenuButton*>(bar->GetButton(zoomIn));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->IsDroppedDown());
    EXPECT_EQ(::GetMenuItemCount(button->GetMenu()), 13);
    Mouse(WM_RBUTTONDOWN, CPoint(R + 200, R + 220), MK_LBUTTON | MK_RBUTTON);
    Mouse(WM_RBUTTONUP, CPoint(R + 200, R + 220), MK_LBUTTON);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, CPoint(R + 200, R + 220));
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_GT(std::filesystem::file_size(path), 5000u);
}

} // namespace
