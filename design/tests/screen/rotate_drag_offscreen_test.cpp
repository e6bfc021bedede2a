// A rotate drag made of Qt mouse events through the presenter: the turned echo during it
// (saved as a PNG in the build tree);
// after the release the view equals a fresh paint, so no mark is left behind.
#include "design/design_view.h"
#include "design/rotate_tool.h"
#include "design/tests/screen/display_host.h"
#include "design/tests/tool_fixture.h"
#include "pivora/select.h"
#include "platform/display/display.h"
#include "platform/graphics/surface.h"

namespace {

class RotateDragOffscreen : public OnDisplay<ToolHost> {
protected:
    platform::RasterSurface* Buffer() {
        platform::display::Flush();
        return dynamic_cast<platform::RasterSurface*>(platform::GetWindowSurface(view->m_hWnd));
    }
    std::vector<uint32_t> Shown() {
        platform::RasterSurface* buffer = Buffer();
        return buffer ? buffer->Pixels() : std::vector<uint32_t>{};
    }
    void QtMouse(UINT kind, CPoint p) {
        ASSERT_TRUE(platform::display::SendMouse(view->m_hWnd, kind, p.x, p.y));
        platform::display::Flush();
    }
};

TEST_F(RotateDragOffscreen, ACornerDragLeavesNoStrayPixel) {
    CArticle* square = Path(CWindow(30000, 30000, 70000, 60000));
    if (!square)
        GTEST_SKIP() << "the curve library is not linked";
    Command(CDesignView::ID_ROTATE_TOOL);
    Pump();
    auto* rotate = dynamic_cast<CRotateTool*>(page->GetDesignTool());
    ASSERT_NE(rotate, nullptr);
    page->RemoveAllObjectSelection();
    page->AddObjectSelection(square, CSelect::kSelectArticle, 1);
    rotate->OnSelectionChanged();
    ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
    const std::vector<uint32_t> before = Shown();
    ASSERT_FALSE(before.empty());

    const CPoint corner = Client(70000, 60000);
    QtMouse(WM_LBUTTONDOWN, corner);
    ASSERT_NE(rotate->Echo(), nullptr);
    for (CPoint step : {CPoint(-5, 8), CPoint(-12, 20), CPoint(-20, 34)})
        QtMouse(WM_MOUSEMOVE, corner + step);
    const std::vector<uint32_t> during = Shown();
    ASSERT_EQ(during.size(), before.size());
    int changed = 0;
    for (size_t i = 0; i < before.size(); ++i)
        changed += (before[i] & 0xFFFFFF) != (during[i] & 0xFFFFFF);
    EXPECT_GT(changed, 50);
    EXPECT_NE(rotate->Angle(), 0.0);
    platform::RasterSurface* buffer = Buffer();
    ASSERT_NE(buffer, nullptr);
    EXPECT_TRUE(buffer->SavePng(TEST_BINARY_DIR "/rotate_drag.png"));

    QtMouse(WM_LBUTTONUP, corner + CPoint(-20, 34));
    EXPECT_EQ(rotate->Echo(), nullptr);
    const std::vector<uint32_t> dropped = Shown();
    ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
    EXPECT_TRUE(Shown() == dropped);
}

} // namespace
