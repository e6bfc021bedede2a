#include "design/rotate_tool.h"

#include "design/document/rotate_dlg.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "design/tests/tool_fixture.h"
#include "pivora/select.h"
#include "platform/graphics/surface.h"
#include "platform/windowing/dialog_template.h"

#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace {

class RotateToolTest : public ToolHost {
protected:
    void SetUp() override {
        ToolHost::SetUp();
        square = Path(CWindow(40000, 40000, 60000, 60000));
        if (!square)
            GTEST_SKIP() << "no curve library";
        Command(CDesignView::ID_ROTATE_TOOL);
        Pump();
        rotate = dynamic_cast<CRotateTool*>(page->GetDesignTool());
        ASSERT_NE(rotate, nullptr);
        page->AddObjectSelection(square, CSelect::kSelectArticle, 1);
        rotate->OnSelectionChanged();
    }

    // The square's corners, each within tolerance of the wanted point.
    void ExpectCorners(const std::vector<CLpoint>& want, double tolerance) {
        const std::vector<CLpoint> got = PointsOf(square);
        ASSERT_GE(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_NEAR(got[i].x, want[i].x, tolerance);
            EXPECT_NEAR(got[i].y, want[i].y, tolerance);
        }
    }

    void Undo() {
        page->PerformUndoTransaction();
        rotate->OnSelectionChanged();
    }

    CArticle* square = nullptr;
    CRotateTool* rotate = nullptr;
};

TEST_F(RotateToolTest, HandlesShiftAndCtrlGiveTheTransform) {
    // The square's points run (40, 40), (60, 40), (60, 60), (40, 60) in thousands.
    struct Case {
        const char* name;
        CLpoint from, to;
        UINT flags;
        std::vector<CLpoint> want;
        double tolerance;
    };
    const Case cases[] = {
        {"bottom-right a quarter turn about the centre, snapped",
         {60000, 40000},
         {60000, 60000},
         MK_CONTROL,
         {{60000, 40000}, {60000, 60000}, {40000, 60000}, {40000, 40000}},
         1},
        {"Shift pivots on the opposite corner",
         {60000, 40000},
         {60000, 80000},
         MK_CONTROL | MK_SHIFT,
         {{60000, 60000}, {60000, 80000}, {40000, 80000}, {40000, 60000}},
         1},
        {"the left middle shears vertically about the centre",
         {40000, 50000},
         {40000, 60000},
         0,
         {{40000, 50000}, {60000, 30000}, {60000, 50000}, {40000, 70000}},
         400},
        {"Shift on the top middle shears about the bottom edge",
         {50000, 60000},
         {60000, 60000},
         MK_SHIFT,
         {{40000, 40000}, {60000, 40000}, {70000, 60000}, {50000, 60000}},
         400},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Drag(Client(k.from.x, k.from.y), Client(k.to.x, k.to.y), k.flags);
        ExpectCorners(k.want, k.tolerance);
        Undo();
        ExpectCorners({{40000, 40000}, {60000, 40000}, {60000, 60000}, {40000, 60000}}, 0);
    }
}

TEST_F(RotateToolTest, TypedDegreesRotateAsOneNamedStep) {
    const int undo = page->GetUndoCount();
    rotate->OnTypedNumber(view, 360);
    rotate->OnTypedNumber(view, 0);
    EXPECT_EQ(page->GetUndoCount(), undo);
    rotate->OnTypedNumber(view, 90);
    ExpectCorners({{60000, 40000}, {60000, 60000}, {40000, 60000}, {40000, 40000}}, 1);
    ASSERT_GT(page->UndoTransactionNames().GetSize(), 0);
    EXPECT_EQ(page->UndoTransactionNames()[page->UndoTransactionNames().GetSize() - 1],
              CString(L"Rotate/Shear"));
    Undo();
    ExpectCorners({{40000, 40000}, {60000, 40000}, {60000, 60000}, {40000, 60000}}, 0);
    // To a tenth of a degree.
    rotate->SetTransformPrecise(view, 44.96, 0);
    EXPECT_NEAR(rotate->Angle(), 45.0 * 0.017453292, 1e-9);
}

TEST_F(RotateToolTest, TheCentreMovesStaysAndGoesBackOnARightClick) {
    EXPECT_EQ(rotate->RotationCentre(), CLpoint(50000, 50000));
    // A right click during the centre drag puts it back.
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, Client(50000, 50000), MK_LBUTTON);
    ASSERT_TRUE(rotate->MovingCentre());
    Mouse(WM_MOUSEMOVE, Client(40000, 60000), MK_LBUTTON);
    EXPECT_NEAR(rotate->RotationCentre().x, 40000, 300);
    Mouse(WM_RBUTTONDOWN, Client(40000, 60000), MK_LBUTTON | MK_RBUTTON);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, Client(40000, 60000), 0);
    EXPECT_EQ(rotate->RotationCentre(), CLpoint(50000, 50000));
    EXPECT_EQ(page->GetDesignTool(), rotate);

    // Dragged to the top-left corner, then a corner turns about it; the centre stays.
    const CPoint corner = Client(40000, 60000);
    Drag(Client(50000, 50000), corner);
    CPoint at(rotate->RotationCentre().x, rotate->RotationCentre().y);
    view->DocToClient(at);
    EXPECT_EQ(at, corner);
    const CLpoint centre = rotate->RotationCentre();
    const CLpoint far(60000, 40000);
    const CLpoint rel(far.x - centre.x, far.y - centre.y);
    // A quarter turn: the bottom-right corner goes to where the rotation takes it.
    Drag(Client(far.x, far.y), Client(centre.x - rel.y, centre.y + rel.x), MK_CONTROL);
    EXPECT_EQ(rotate->RotationCentre(), centre);
    const std::vector<CLpoint> pts = PointsOf(square);
    EXPECT_NEAR(pts[1].x, centre.x - rel.y, 1);
    EXPECT_NEAR(pts[1].y, centre.y + rel.x, 1);
    // A new selection puts it back in the middle.
    CArticle* other = Path(CWindow(10000, 10000, 20000, 30000));
    page->RemoveAllObjectSelection();
    page->AddObjectSelection(other, CSelect::kSelectArticle, 1);
    rotate->OnSelectionChanged();
    EXPECT_EQ(rotate->RotationCentre(), CLpoint(15000, 20000));
}

TEST_F(RotateToolTest, ReadOutsAndKeys) {
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, Client(60000, 40000), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, Client(61000, 52000), MK_LBUTTON | MK_CONTROL);
    const CString text = Pane(1);
    EXPECT_EQ(text.Left(10), CString(L"Rotation: "));
    const double degrees = std::wcstod(text.Mid(10).GetString(), nullptr);
    EXPECT_EQ(std::fmod(degrees, 5.0), 0.0) << text.GetString();
    EXPECT_NE(degrees, 0.0);
    // Escape cancels the drag; a second one leaves the tool.
    Key(VK_ESCAPE);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, Client(61000, 52000), 0);
    ExpectCorners({{40000, 40000}, {60000, 40000}, {60000, 60000}, {40000, 60000}}, 0);
    // "N" without a selection says so.
    page->RemoveAllObjectSelection();
    const size_t shown = m_boxes.Shown().size();
    Key('N', true);
    ASSERT_EQ(m_boxes.Shown().size(), shown + 1);
    EXPECT_EQ(m_boxes.Shown().back().text,
              std::wstring(L"You must select an object before trying to use the rotate facility."));
    Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(dynamic_cast<CRotateTool*>(page->GetDesignTool()), nullptr);
}

TEST_F(RotateToolTest, AShearOnThePivotLineKeepsTheLastFactor) {
    // The centre onto the left edge, then the left middle is sheared: nothing to divide by.
    Drag(Client(50000, 50000), Client(40000, 50000));
    ASSERT_NEAR(rotate->RotationCentre().x, 40000, 300);
    Drag(Client(40000, rotate->RotationCentre().y), Client(40000, 70000));
    for (const CLpoint& p : PointsOf(square)) {
        EXPECT_GE(p.y, 40000);
        EXPECT_LE(p.y, 60000);
    }
}

TEST_F(RotateToolTest, NOpensTheRotateDialogAndOkLeavesOneRotation) {
    bool shown = false;
    {
        platform::ScopedDialogResponder r([&](HWND dlg, UINT id) {
            if (id != CRotateDlg::IDD)
                return;
            shown = true;
            SendDlgItemMessageW(dlg, CRotateDlg::IDC_PRESET_FIRST + 2, BM_CLICK, 0, 0);
            SendDlgItemMessageW(dlg, IDOK, BM_CLICK, 0, 0);
        });
        Key('N');
        Key('N', true);
    }
    ASSERT_TRUE(shown);
    // A quarter turn about the centre, one step named by the tool: one undo takes it back.
    ExpectCorners({{60000, 40000}, {60000, 60000}, {40000, 60000}, {40000, 40000}}, 1);
    EXPECT_EQ(page->UndoTransactionNames()[page->UndoTransactionNames().GetSize() - 1],
              CString(L"Rotate/Shear"));
    Undo();
    ExpectCorners({{40000, 40000}, {60000, 40000}, {60000, 60000}, {40000, 60000}}, 0);
}

TEST_F(RotateToolTest, HandlesAndTheCentreCrossAreDrawnWhereTheSelectionIs) {
    platform::RecordingSurface& surface = Record();
    page->RemoveAllObjectSelection();
    rotate->OnSelectionChanged();
    surface.Clear();
    Command(CSelectTool::ID_SELECT_ALL);
    Pump();
    // Eight rounded squares on the extents and one more on the centre, with its cross.
    const CPoint spots[] = {Client(40000, 40000), Client(60000, 40000), Client(40000, 60000),
                            Client(60000, 60000), Client(50000, 40000), Client(50000, 60000),
                            Client(40000, 50000), Client(60000, 50000), Client(50000, 50000)};
    for (const CPoint& spot : spots) {
        SCOPED_TRACE(testing::Message() << spot.x << "," << spot.y);
        bool found = false;
        for (const platform::RecordedCall& c : surface.Calls())
            if (c.op == platform::GdiOp::RoundRect)
                found = found || (std::abs((c.rect.left + c.rect.right) / 2 - spot.x) <= 2 &&
                                  std::abs((c.rect.top + c.rect.bottom) / 2 - spot.y) <= 2);
        EXPECT_TRUE(found);
    }
    const CPoint centre = Client(50000, 50000);
    int crossing = 0;
    for (const platform::RecordedCall& c : surface.Calls())
        if (c.op == platform::GdiOp::LineTo && !c.pts.empty())
            crossing += std::abs(c.pts.back().x - centre.x) <= 2 * CRotateTool::nHandleSize + 1 &&
                        std::abs(c.pts.back().y - centre.y) <= 2 * CRotateTool::nHandleSize + 1;
    EXPECT_GE(crossing, 2);
}

} // namespace
