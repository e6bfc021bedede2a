#include "design/frame_tool.h"

#include "design/tests/sub_tool_fixture.h"
#include "platform/windowing/scroll_bar.h"

namespace {

using FrameToolTest = SubToolHost;

TEST_F(FrameToolTest, TooSmallLooksAtEitherSide) {
    struct Case {
        CRect r;
        bool small;
    };
    for (const Case& k : {Case{{0, 0, 5, 5}, false}, Case{{0, 0, 4, 50}, true},
                          Case{{0, 0, 50, 4}, true}, Case{{10, 10, 10, 10}, true}})
        EXPECT_EQ(CFrameTool::TooSmall(k.r, 5), k.small);
}

TEST_F(FrameToolTest, AFrameDraggedUpAndLeftIsNormalisedAndEndsTheTool) {
    auto* frame = new CFrameTool(0, 0);
    view->SelectSubTool(frame, 1);
    Pump();
    ASSERT_EQ(page->GetSubTool(), frame);
    const CPoint from = Middle(), to = Middle() - CSize(100, 60);
    Press(from);
    EXPECT_EQ(frame->Framing(), 1);
    Mouse(WM_MOUSEMOVE, to, MK_LBUTTON);
    EXPECT_EQ(frame->Extents(), CRect(to.x, to.y, from.x, from.y));
    // The read-out gives sizes, positive both ways.
    const CLpoint a = Data(from), b = Data(to);
    CString want;
    want.Format(L"%.2fmm x %.2fmm", (double(a.x) - b.x) / 1000, (double(b.y) - a.y) / 1000);
    EXPECT_EQ(Pane(1), want);
    // The framed object's proportions: a square.
    frame->FramedObjSize(CSize(10, 10));
    EXPECT_EQ(frame->Extents().Width(), frame->Extents().Height());
    frame->FramedObjSize(CSize(0, 0));
    Release(to);
    EXPECT_EQ(frame->HaveFrame(), 1);
    EXPECT_EQ(frame->Framing(), 0);
    Pump();
    EXPECT_EQ(page->GetSubTool(), nullptr);
}

TEST_F(FrameToolTest, TheAnchorStaysOnTheDesignWhileScrolling) {
    view->Zoom(CWindow(30000, 30000, 50000, 50000));
    Pump();
    auto* frame = new CFrameTool(0, 0);
    view->SelectSubTool(frame, 1);
    Pump();
    const CPoint from = Middle();
    const CLpoint anchor = Data(from);
    Press(from);
    Mouse(WM_MOUSEMOVE, from + CSize(30, 30), MK_LBUTTON);
    Send(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
    EXPECT_NE(frame->DownPoint(), from);
    const CLpoint still = Data(frame->DownPoint());
    EXPECT_NEAR(still.x, anchor.x, 100);
    EXPECT_NEAR(still.y, anchor.y, 100);
    RightClick(from);
    EXPECT_EQ(page->GetSubTool(), nullptr);
}

} // namespace
