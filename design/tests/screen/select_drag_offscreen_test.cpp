// A drag made of Qt mouse events through the presenter: while it lasts every changed pixel of
// the view is the original XOR 0xC0C0C0; after the release the view equals a fresh paint.
#include "design/select_tool.h"
#include "design/tests/screen/display_host.h"
#include "design/tests/tool_fixture.h"
#include "platform/display/display.h"
#include "platform/graphics/surface.h"

namespace {

class SelectDragOffscreen : public OnDisplay<ToolHost> {
protected:
    // What the presenter shows of the view: its back buffer, brought up to date.
    std::vector<uint32_t> Shown() {
        platform::display::Flush();
        auto* buffer =
            dynamic_cast<platform::RasterSurface*>(platform::GetWindowSurface(view->m_hWnd));
        return buffer ? buffer->Pixels() : std::vector<uint32_t>{};
    }
    void QtMouse(UINT kind, CPoint p) {
        ASSERT_TRUE(platform::display::SendMouse(view->m_hWnd, kind, p.x, p.y));
        platform::display::Flush();
    }
};

TEST_F(SelectDragOffscreen, ABodyDragByQtEventsOnlyXorsAndItsDropEqualsAFreshPaint) {
    std::vector<CArticle*> paths;
    for (int i = 0; i < 9; ++i)
        if (CArticle* p = Path(CWindow(10000 + (i % 3) * 28000, 10000 + (i / 3) * 28000,
                                       30000 + (i % 3) * 28000, 30000 + (i / 3) * 28000)))
            paths.push_back(p);
    if (paths.empty())
        GTEST_SKIP() << "the curve library is not linked";
    Command(CSelectTool::ID_SELECT_ALL);
    ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
    const std::vector<uint32_t> before = Shown();
    ASSERT_FALSE(before.empty());

    // The press lands on the first path's bottom line, where no handle is.
    const CPoint at = Client(20000, 10000);
    QtMouse(WM_LBUTTONDOWN, at);
    Advance(CSelectTool::kDragStartMs);
    auto* select = dynamic_cast<CSelectTool*>(page->GetDesignTool());
    ASSERT_NE(select, nullptr);
    ASSERT_NE(select->Echo(), nullptr);
    for (CPoint step : {CPoint(10, 4), CPoint(25, 9), CPoint(41, 17)})
        QtMouse(WM_MOUSEMOVE, at + step);
    const std::vector<uint32_t> during = Shown();
    ASSERT_EQ(during.size(), before.size());
    int changed = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        const uint32_t a = before[i] & 0xFFFFFF, b = during[i] & 0xFFFFFF;
        if (a == b)
            continue;
        ++changed;
        ASSERT_EQ(b, a ^ 0xC0C0C0u) << "pixel " << i;
    }
    EXPECT_GT(changed, 100);

    QtMouse(WM_LBUTTONUP, at + CPoint(41, 17));
    EXPECT_EQ(select->Echo(), nullptr);
    EXPECT_EQ(page->GetUndoCount(), 1 + int(paths.size()));
    const std::vector<uint32_t> dropped = Shown();
    ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
    EXPECT_TRUE(Shown() == dropped);
}

} // namespace
