// Under Xvfb: the rotate tool over a few selected paths, with its rounded handles and centre
// cross, then mid-way through a Ctrl corner drag, with the turned echo and outline (a held
// handle draws no handles) and the snapped "Rotation: ..." in the status bar; both saved as
// PNGs in the build tree for a person to look at.
#include "design/rotate_tool.h"
#include "design/tests/screen/display_host.h"
#include "design/tests/tool_fixture.h"
#include "platform/display/display.h"

#include <cwchar>
#include <filesystem>

namespace {

using RotateDragScreen = OnDisplay<ToolHost>;

TEST_F(RotateDragScreen, ACtrlCornerDragMidWay) {
    for (int i = 0; i < 6; ++i) {
        const LONG x = 30000 + (i % 3) * 14000, y = 35000 + (i / 3) * 16000;
        if (!Path(CWindow(x, y, x + 10000, y + 12000)))
            GTEST_SKIP() << "the curve library is not linked";
    }
    view->ZoomFirst();
    ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
    Paint();
    Command(CDesignView::ID_ROTATE_TOOL);
    Pump();
    auto* rotate = dynamic_cast<CRotateTool*>(page->GetDesignTool());
    ASSERT_NE(rotate, nullptr);
    Command(CSelectTool::ID_SELECT_ALL);
    Pump();
    platform::display::Flush();
    EXPECT_TRUE(platform::display::SaveScreenshot(m_frame->GetSafeHwnd(),
                                                  TEST_BINARY_DIR "/rotate_tool_handles.png"));
    const CWindow e = page->ObjectSelectionExtents(nullptr);
    const CPoint corner = Client(e.x2, e.y2);
    SetKey(VK_CONTROL, true);
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, corner, MK_LBUTTON | MK_CONTROL);
    Mouse(WM_MOUSEMOVE, corner + CPoint(-70, 45), MK_LBUTTON | MK_CONTROL);
    platform::display::Flush();
    const CString pane = Pane(1);
    ASSERT_EQ(pane.Left(10), CString(L"Rotation: "));
    const double shown = std::wcstod(pane.Mid(10).GetString(), nullptr);
    EXPECT_NE(shown, 0.0);
    EXPECT_DOUBLE_EQ(shown / 5, double(int(shown / 5)));
    const std::string path = TEST_BINARY_DIR "/rotate_tool_drag.png";
    std::filesystem::remove(path);
    EXPECT_TRUE(platform::display::SaveScreenshot(m_frame->GetSafeHwnd(), path));
    Mouse(WM_RBUTTONDOWN, corner + CPoint(-70, 45), MK_LBUTTON | MK_RBUTTON | MK_CONTROL);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, corner + CPoint(-70, 45), MK_CONTROL);
    SetKey(VK_CONTROL, false);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_GT(std::filesystem::file_size(path), 5000u);
}

} // namespace
