// A design file opened through the template of context 43 and arranged through the window:
// a band, a drag, the rotate tool's typed angle and a Ctrl corner drag, Align Left, copy and
// paste after; everything undone and redone, saved, reopened and saved.
#include "design/rotate_tool.h"

#include "design/tests/saved_design.h"
#include "design/tests/tool_fixture.h"
#include "pivora/select.h"
#include "platform/windowing/clipboard.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using Points = std::vector<std::vector<CLpoint>>;

class RotateToolWindowTest : public ToolHost {
protected:
    void TearDown() override {
        platform::ResetClipboard();
        ToolHost::TearDown();
    }
    Points Snapshot() {
        Points all;
        for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
            all.push_back(PointsOf(static_cast<CArticle*>(t)));
        return all;
    }
    static void ExpectNear(const Points& got, const Points& want, double tolerance) {
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i) {
            ASSERT_EQ(got[i].size(), want[i].size()) << "path " << i;
            for (size_t k = 0; k < got[i].size(); ++k) {
                EXPECT_NEAR(got[i][k].x, want[i][k].x, tolerance) << "path " << i << "/" << k;
                EXPECT_NEAR(got[i][k].y, want[i][k].y, tolerance) << "path " << i << "/" << k;
            }
        }
    }
    // One step more on the undo list.
    INT_PTR Steps() const { return page->UndoTransactionNames().GetSize(); }
};

TEST_F(RotateToolWindowTest, ArrangeRotateCopyPasteUndoRedoSaveAndReopen) {
    platform::ResetClipboard();
    // Everything stays inside the page, which a reopened view would grow to its design.
    if (!Path(CWindow(30000, 30000, 40000, 40000)) || !Path(CWindow(45000, 35000, 55000, 45000)) ||
        !Path(CWindow(60000, 30000, 70000, 50000)))
        GTEST_SKIP() << "the curve library is not linked";
    page->Extents(CWindow(0, 0, 100000, 100000));
    const std::string first = m_box.Path("home/first.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString(first.c_str())));
    ASSERT_TRUE(Open(CString(first.c_str()), false));
    view->Abilities() |= CSelectTool::kAbilityEdit;
    const Points original = Snapshot();
    ASSERT_EQ(original.size(), 3u);
    std::vector<Points> after; // the design after each step

    // A band from the bottom-right corner over all three, then a drag of the three by 5 mm.
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, Client(75000, 25000), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, Client(25000, 55000), MK_LBUTTON);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, Client(25000, 55000), 0);
    ASSERT_EQ(Selection().size(), 3u);
    Drag(Client(35000, 30000), Client(40000, 30000));
    after.push_back(Snapshot());
    EXPECT_GT(after.back()[0][0].x, original[0][0].x);
    ASSERT_EQ(Steps(), 1);

    // The rotate tool: 45 typed, then a top-right corner dragged with Ctrl.
    Command(CDesignView::ID_ROTATE_TOOL);
    Pump();
    auto* rotate = dynamic_cast<CRotateTool*>(page->GetDesignTool());
    ASSERT_NE(rotate, nullptr);
    Key('4');
    Key('5');
    Advance(CDesignTool::kMaxNumericKeypressTime);
    ASSERT_EQ(Steps(), 2);
    EXPECT_EQ(page->UndoTransactionNames()[0], CString(L"Rotate/Shear"));
    after.push_back(Snapshot());
    const CWindow e = page->ObjectSelectionExtents(nullptr);
    const CPoint corner = Client(e.x2, e.y2);
    SetKey(VK_CONTROL, true);
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, corner, MK_LBUTTON | MK_CONTROL);
    Mouse(WM_MOUSEMOVE, corner + CPoint(-30, 25), MK_LBUTTON | MK_CONTROL);
    const double snapped = rotate->Angle() / 0.017453292;
    EXPECT_NE(snapped, 0.0);
    EXPECT_NEAR(snapped / 5, std::round(snapped / 5), 1e-6);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, corner + CPoint(-30, 25), MK_CONTROL);
    SetKey(VK_CONTROL, false);
    ASSERT_EQ(Steps(), 3);
    after.push_back(Snapshot());

    // Back to the select tool: Align Left, then a copy pasted after the last selected.
    Command(CDesignView::ID_SELECT_TOOL);
    Pump();
    ASSERT_NE(dynamic_cast<CSelectTool*>(page->GetDesignTool()), nullptr);
    // The new tool has no reference yet: a band gives it one.
    const CWindow turned = page->ObjectSelectionExtents(nullptr);
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, Client(turned.x2 + 3000, turned.y1 - 3000), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, Client(turned.x1 - 3000, turned.y2 + 3000), MK_LBUTTON);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, Client(turned.x1 - 3000, turned.y2 + 3000), 0);
    ASSERT_EQ(Selection().size(), 3u);
    Command(CSelectTool::ID_ALIGN_LEFT);
    ASSERT_EQ(Steps(), 4);
    after.push_back(Snapshot());
    ASSERT_NE(after[3], after[2]);
    Command(CSelectTool::ID_EDIT_COPY);
    EXPECT_TRUE(IsClipboardFormatAvailable(CSelectTool::ClipboardFormat()));
    Command(CSelectTool::ID_EDIT_PASTE_AFTER);
    ASSERT_EQ(Steps(), 5);
    after.push_back(Snapshot());
    ASSERT_EQ(after.back().size(), 6u);

    // Everything undone: moves and paste exact, turned points within a unit.
    for (int i = 4; i >= 0; --i) {
        Command(CDesignView::ID_EDIT_UNDO);
        ExpectNear(Snapshot(), i > 0 ? after[size_t(i - 1)] : original, i >= 3 ? 0 : 1);
    }
    EXPECT_EQ(Steps(), 0);
    for (size_t i = 0; i < after.size(); ++i) {
        Command(CDesignView::ID_EDIT_REDO);
        ExpectNear(Snapshot(), after[i], 1);
    }

    const std::string second = m_box.Path("home/second.KDX");
    const std::string third = m_box.Path("home/third.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString(second.c_str())));
    ASSERT_TRUE(Open(CString(second.c_str()), false));
    ASSERT_TRUE(page->OnSaveDocument(CString(third.c_str())));
    EXPECT_EQ(DesignBytes(second), DesignBytes(third));
}

} // namespace
