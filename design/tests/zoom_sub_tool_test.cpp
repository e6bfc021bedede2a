#include "design/zoom_sub_tool.h"

#include "design/tests/sub_tool_fixture.h"
#include "platform/windowing/cursor.h"

#include <cmath>

namespace {

class ZoomSubToolTest : public SubToolHost {
protected:
    void SetUp() override {
        SubToolHost::SetUp();
        view->Zoom(CWindow(20000, 20000, 60000, 60000));
        Pump();
        Command(CDesignView::ID_ZOOM_IN);
        Pump();
        ASSERT_NE(Sub<CZoomSubTool>(), nullptr);
    }
};

TEST_F(ZoomSubToolTest, ClicksAndFramesZoomAndTheToolStaysUntilARightClick) {
    struct Case {
        const char* name;
        CSize drag;
        bool ctrl;
        double scale; // of the shown width
    };
    const Case cases[] = {
        {"click zooms in by 2/3", {0, 0}, false, 2.0 / 3},
        {"a drag under 5 pixels is a click", {4, 30}, false, 2.0 / 3},
        {"Ctrl+click zooms out by 3/2", {0, 0}, true, 1.5},
        {"Ctrl+frame zooms out to 3/2 of the window", {60, 40}, true, 1.5},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        view->Zoom(CWindow(20000, 20000, 60000, 60000));
        Pump();
        const CWindow before = Shown();
        const CPoint from = Middle() - CSize(30, 20);
        SetKey(VK_CONTROL, k.ctrl);
        Press(from, k.ctrl ? MK_CONTROL : 0);
        Mouse(WM_MOUSEMOVE, from + k.drag, MK_LBUTTON);
        Release(from + k.drag, k.ctrl ? MK_CONTROL : 0);
        SetKey(VK_CONTROL, false);
        Pump();
        EXPECT_NEAR(Width(Shown()) / Width(before), k.scale, 0.03);
        if (k.drag.cx > 10) {
            // Centred on the frame's centre.
            const CLpoint c = Data(from + CSize(k.drag.cx / 2, k.drag.cy / 2));
            const CWindow w = Shown();
            EXPECT_NEAR((w.x1 + w.x2) / 2.0, c.x, Width(w) * 0.02);
        }
        EXPECT_NE(Sub<CZoomSubTool>(), nullptr);
    }
    RightClick(Middle());
    EXPECT_EQ(page->GetSubTool(), nullptr);
}

TEST_F(ZoomSubToolTest, AFrameBecomesTheShownArea) {
    const CPoint from = Middle() - CSize(100, 50), to = Middle() + CSize(60, 50);
    const CLpoint a = Data(from), b = Data(to);
    Press(from);
    Mouse(WM_MOUSEMOVE, to, MK_LBUTTON);
    EXPECT_NE(Pane(1).Find(L"mm x "), -1);
    Release(to);
    Pump();
    const CWindow w = Shown();
    // To within a pixel's rounding.
    const double slack = Width(w) / 100;
    EXPECT_LE(w.x1, a.x + slack);
    EXPECT_GE(w.x2, b.x - slack);
    EXPECT_LT(Width(w), (double(b.x) - a.x) * 1.4);
    EXPECT_NE(Sub<CZoomSubTool>(), nullptr);
}

TEST_F(ZoomSubToolTest, PlusAndMinusZoomButNotWhileFraming) {
    const CPoint p = Middle();
    Pointer(p);
    struct Case {
        UINT key;
        double scale;
    };
    for (const Case& k : {Case{107, 2.0 / 3}, Case{187, 2.0 / 3}, Case{109, 1.5}, Case{189, 1.5}}) {
        SCOPED_TRACE(k.key);
        const double before = Width(Shown());
        Key(k.key);
        EXPECT_NEAR(Width(Shown()) / before, k.scale, 0.03);
        // Held down, the key repeats: no further zoom.
        const double held = Width(Shown());
        Key(k.key, false, true);
        EXPECT_DOUBLE_EQ(Width(Shown()), held);
        Key(k.key, true);
    }
    const double before = Width(Shown());
    Press(p);
    Mouse(WM_MOUSEMOVE, p + CSize(40, 40), MK_LBUTTON);
    Key(107);
    Key(109);
    EXPECT_DOUBLE_EQ(Width(Shown()), before);
    RightClick(p);
    EXPECT_EQ(page->GetSubTool(), nullptr);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(ZoomSubToolTest, CtrlChoosesTheCursor) {
    Pointer(Middle());
    for (bool ctrl : {true, false}) {
        SetKey(VK_CONTROL, ctrl);
        ::SetCursor(nullptr);
        Key(VK_CONTROL, !ctrl);
        EXPECT_EQ(platform::CursorId(::GetCursor()),
                  ctrl ? CZoomSubTool::IDC_ZOOM_OUT : CZoomSubTool::IDC_ZOOM_IN);
    }
}

} // namespace
