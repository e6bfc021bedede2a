#include "design/tools/line_sub_tool.h"

#include "design/tests/sub_tool_fixture.h"

#include <vector>

namespace {

using LineSubToolTest = SubToolHost;

TEST_F(LineSubToolTest, PointsRequiredRoundsUpToPairsAndCutsEnteredPoints) {
    struct Case {
        int n, required;
        size_t size;
    };
    for (const Case& k : {Case{3, 4, 4}, Case{2, 2, 2}, Case{0, 0, 1}, Case{-1, -1, 2}}) {
        SCOPED_TRACE(k.n);
        CLineSubTool t(0);
        t.PointsRequired(k.n, true, false);
        EXPECT_EQ(t.HaveRequiredPoints(), k.required == 0);
        EXPECT_EQ(t.GetPointArray().size(), k.size);
    }
}

TEST_F(LineSubToolTest, PairsGrowTheArrayAndARightReleaseForgetsTheOpenLine) {
    auto* line = new CLineSubTool(0);
    line->PointPairMsg(WM_APP + 7);
    view->SelectSubTool(line, 1);
    Pump();
    ASSERT_EQ(page->GetSubTool(), line);
    EXPECT_EQ(Pane(0), L"Enter first point");
    for (int i = 0; i < 8; ++i)
        Click(Middle() + CSize(i * 10, i * 5));
    EXPECT_EQ(line->Count(), 8);
    EXPECT_GE(line->GetPointArray().size(), 8u);
    Click(Middle());
    EXPECT_EQ(line->Count(), 9);
    EXPECT_EQ(Pane(0), L"Enter next point");
    Mouse(WM_RBUTTONDOWN, Middle(), MK_RBUTTON);
    Mouse(WM_RBUTTONUP, Middle(), 0);
    EXPECT_EQ(line->Count(), 8);
    Pump();
    EXPECT_EQ(page->GetSubTool(), nullptr);
}

} // namespace
