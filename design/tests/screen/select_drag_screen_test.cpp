// Under Xvfb: a handle drag over 2,000 paths, with the handles, the echo, the transformed
// outline and "Width: ..." in the status bar, saved as a PNG in the build tree for a person to
// look at.
#include "design/select_tool.h"
#include "design/tests/screen/display_host.h"
#include "design/tests/tool_fixture.h"
#include "platform/display/display.h"

#include <filesystem>

namespace {

using SelectDragScreen = OnDisplay<ToolHost>;

TEST_F(SelectDragScreen, AHandleDragOverTwoThousandPaths) {
    for (int i = 0; i < 2000; ++i) {
        const LONG x = 5000 + (i % 50) * 1800, y = 5000 + (i / 50) * 2200;
        if (!Path(CWindow(x, y, x + 1200, y + 1500)))
            GTEST_SKIP() << "the curve library is not linked";
    }
    page->RootArticle()->InvExtents(1);
    view->ZoomFirst();
    ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
    Paint();
    // A band round a quarter of them, then the right-middle handle dragged out.
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, Client(50000, 4000), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, Client(2000, 50000), MK_LBUTTON);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, Client(2000, 50000), 0);
    const CWindow e = page->ObjectSelectionExtents(nullptr);
    const CPoint handle = Client(e.x2, (e.y1 + e.y2) / 2);
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, handle, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, handle + CPoint(60, 0), MK_LBUTTON);
    platform::display::Flush();
    EXPECT_EQ(Pane(1).Left(7), CString(L"Width: "));
    const std::string path = TEST_BINARY_DIR "/select_drag.png";
    std::filesystem::remove(path);
    EXPECT_TRUE(platform::display::SaveScreenshot(m_frame->GetSafeHwnd(), path));
    Mouse(WM_RBUTTONDOWN, handle + CPoint(60, 0), MK_LBUTTON | MK_RBUTTON);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, handle + CPoint(60, 0), 0);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_GT(std::filesystem::file_size(path), 5000u);
}

} // namespace
