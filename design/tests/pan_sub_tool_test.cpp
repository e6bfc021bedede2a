#include "design/tools/pan_sub_tool.h"

#include "design/tests/sub_tool_fixture.h"
#include "platform/windowing/cursor.h"

namespace {

using PanSubToolTest = SubToolHost;

TEST_F(PanSubToolTest, TheDesignFollowsThePointerUntilARightClick) {
    view->Zoom(CWindow(30000, 30000, 50000, 50000));
    Pump();
    Command(CDesignView::ID_PAN);
    Pump();
    ASSERT_NE(Sub<CPanSubTool>(), nullptr);
    Pointer(Middle());
    ::SetCursor(nullptr);
    Send(WM_SETCURSOR, WPARAM(view->GetSafeHwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(platform::CursorId(::GetCursor()), CPanSubTool::IDC_PAN);

    const CPoint from = Middle(), to = Middle() + CSize(-80, 50);
    const CLpoint grabbed = Data(from);
    Press(from);
    Mouse(WM_MOUSEMOVE, from + CSize(-40, 25), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, to, MK_LBUTTON);
    EXPECT_EQ(Pane(0), L"Drag to pan the view");
    const CLpoint now = Data(to);
    EXPECT_NEAR(now.x, grabbed.x, 200);
    EXPECT_NEAR(now.y, grabbed.y, 200);
    Release(to);
    Pump();
    ASSERT_NE(Sub<CPanSubTool>(), nullptr);
    // Without the button the view stays put.
    const CWindow still = Shown();
    Mouse(WM_MOUSEMOVE, Middle(), 0);
    EXPECT_EQ(Shown(), still);
    RightClick(Middle());
    EXPECT_EQ(page->GetSubTool(), nullptr);
}

} // namespace
