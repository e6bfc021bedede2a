#include "design/tools/show_length_tool.h"

#include "design/document/large_cross_hair.h"
#include "design/tests/sub_tool_fixture.h"

#include <cmath>

namespace {

class ShowLengthToolTest : public SubToolHost {
protected:
    void SetUp() override {
        SubToolHost::SetUp();
        Command(CDesignView::ID_SHOW_LENGTH);
        Pump();
        tool = Sub<CShowLengthTool>();
        ASSERT_NE(tool, nullptr);
    }
    // The read-out of a line between two data points.
    static CString ReadOut(const CLpoint& a, const CLpoint& b) {
        double deg = std::atan2(double(b.y) - a.y, double(b.x) - a.x);
        if (deg < 0)
            deg += 6.283185308;
        CString s;
        s.Format(L"Length: %.2fmm Angle: %.2f\u00B0",
                 std::hypot(double(b.x) - a.x, double(b.y) - a.y) * 0.001, deg * 57.29577951);
        return s;
    }

    CShowLengthTool* tool = nullptr;
};

TEST_F(ShowLengthToolTest, TheReadOutFollowsThePointerAndTheThirdClickStartsAgain) {
    EXPECT_EQ(tool->GetToolID(), int(CShowLengthTool::ID_SHOW_LENGTH));
    EXPECT_NE(dynamic_cast<CLargeCrossHair*>(tool->GetCustomCursor()), nullptr);
    EXPECT_EQ(Pane(0), L"Enter first point, or press 'X' to mark position");
    const CPoint a = Middle(), b = Middle() + CSize(-90, 60), c = Middle() + CSize(40, 70);
    Click(a);
    EXPECT_EQ(Pane(0), L"Move to show length, or press 'X' to mark position");
    Mouse(WM_MOUSEMOVE, b, 0);
    EXPECT_EQ(Pane(1), ReadOut(Data(a), Data(b)));
    EXPECT_GT(tool->Angle(), 180.0); // down and left: no negative angles
    Mouse(WM_MOUSEMOVE, c, 0);
    EXPECT_EQ(Pane(1), ReadOut(Data(a), Data(c)));
    Click(c);
    EXPECT_EQ(tool->Count(), 2);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    // The fixed line keeps its read-out while the pointer moves on.
    Mouse(WM_MOUSEMOVE, b, 0);
    EXPECT_EQ(Pane(1), ReadOut(Data(a), Data(c)));
    Click(b);
    EXPECT_EQ(tool->Count(), 1);
    EXPECT_EQ(tool->GetPointArray()[0], Data(b));
    EXPECT_EQ(page->GetSubTool(), tool);
}

TEST_F(ShowLengthToolTest, ShiftSnapsAtOnceAndARightReleaseDiscardsAndEnds) {
    const CPoint a = Middle(), b = Middle() + CSize(100, 30);
    Click(a);
    Mouse(WM_MOUSEMOVE, b, 0);
    EXPECT_NE(tool->GetPointArray()[1].y, tool->GetPointArray()[0].y);
    SetKey(VK_SHIFT, true);
    Key(VK_SHIFT);
    EXPECT_EQ(tool->GetPointArray()[1].y, tool->GetPointArray()[0].y);
    EXPECT_NEAR(tool->Angle(), 0.0, 1e-9);
    SetKey(VK_SHIFT, false);
    Key(VK_SHIFT, true);
    EXPECT_NE(tool->GetPointArray()[1].y, tool->GetPointArray()[0].y);
    Mouse(WM_RBUTTONDOWN, b, MK_RBUTTON);
    EXPECT_EQ(page->GetSubTool(), tool); // the press does nothing
    Mouse(WM_RBUTTONUP, b, 0);
    EXPECT_EQ(tool->Count(), 0);
    Pump();
    EXPECT_EQ(page->GetSubTool(), nullptr);
    EXPECT_EQ(Pane(1), L" ");
}

} // namespace
