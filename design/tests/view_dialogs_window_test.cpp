// A design file opened through the template of context 43: two objects rescaled to 200 % about
// their centres, rotated 30 degrees through the dialog with its preview, undone and redone
// through the window's commands, saved, reopened and saved again.
#include "design/document/rescale.h"
#include "design/document/rotate_dlg.h"
#include "design/rotate_tool.h"

#include "design/tests/saved_design.h"
#include "design/tests/tool_fixture.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/up_down_control.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>
#include <vector>

namespace {

using Points = std::vector<std::vector<CLpoint>>;

void Press(HWND dlg, int id) {
    SendDlgItemMessageW(dlg, id, BM_CLICK, 0, 0);
}

void Check(HWND dlg, int id) {
    if (IsDlgButtonChecked(dlg, id) != BST_CHECKED)
        Press(dlg, id);
}

void ExpectNear(const Points& got, const Points& want, double tolerance) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i].size(), want[i].size()) << "path " << i;
        for (size_t k = 0; k < got[i].size(); ++k) {
            EXPECT_NEAR(got[i][k].x, want[i][k].x, tolerance) << "path " << i << " point " << k;
            EXPECT_NEAR(got[i][k].y, want[i][k].y, tolerance) << "path " << i << " point " << k;
        }
    }
}

// The bounds of a path's points.
CWindow Bounds(const std::vector<CLpoint>& pts) {
    CWindow w(pts.at(0).x, pts.at(0).y, pts.at(0).x, pts.at(0).y);
    for (const CLpoint& p : pts)
        w = CWindow(std::min(w.x1, p.x), std::min(w.y1, p.y), std::max(w.x2, p.x),
                    std::max(w.y2, p.y));
    return w;
}

class ViewDialogsWindowTest : public ToolHost {
protected:
    Points Snapshot() {
        Points all;
        for (CArticle* a : paths)
            all.push_back(PointsOf(a));
        return all;
    }

    std::vector<CArticle*> paths;
};

TEST_F(ViewDialogsWindowTest, RescaleRotateWithPreviewUndoRedoSaveAndReopen) {
    // Everything stays inside the page, which a reopened view would grow to its design.
    if (!Path(CWindow(30000, 30000, 50000, 40000)) || !Path(CWindow(50000, 50000, 70000, 60000)))
        GTEST_SKIP() << "the curve library is not linked";
    page->Extents(CWindow(0, 0, 100000, 100000));
    const std::string first = m_box.Path("home/first.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString(first.c_str())));
    ASSERT_TRUE(Open(CString(first.c_str()), false));
    ASSERT_EQ(page->Context(), CDesignView::kContext);
    for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
        paths.push_back(static_cast<CArticle*>(t));
    ASSERT_EQ(paths.size(), 2u);
    const Points original = Snapshot();
    const INT_PTR stepsBefore = page->UndoTransactionNames().GetSize();

    // Both selected, then 200 % by percentage, each about its own centre.
    Command(CSelectTool::ID_SELECT_ALL);
    ASSERT_EQ(Selection().size(), 2u);
    QvSetAppParam(CRescale::kAspectParam, 1);
    QvSetAppParam(CRescale::kPercentageParam, 0);
    int shown = 0;
    {
        platform::ScopedDialogResponder r([&](HWND dlg, UINT id) {
            if (id != CRescale::IDD)
                return;
            ++shown;
            Press(dlg, CRescale::IDC_PERCENTAGE_MODE);
            Check(dlg, CRescale::IDC_CENTRE_SCALE);
            SetDlgItemTextW(dlg, CRescale::IDC_WIDTH_PERCENT, L"200");
            Press(dlg, IDOK);
        });
        Command(CDesignView::ID_RESCALE_DESIGN);
    }
    ASSERT_EQ(shown, 1);
    EXPECT_EQ(Bounds(PointsOf(paths[0])), CWindow(20000, 25000, 60000, 45000));
    EXPECT_EQ(Bounds(PointsOf(paths[1])), CWindow(40000, 45000, 80000, 65000));
    const Points scaled = Snapshot();

    // The rotate tool's dialog: a free angle previewed while it is typed and spun, then OK.
    Command(CDesignView::ID_ROTATE_TOOL);
    Pump();
    ASSERT_NE(dynamic_cast<CRotateTool*>(page->GetDesignTool()), nullptr);
    shown = 0;
    {
        platform::ScopedDialogResponder r([&](HWND dlg, UINT id) {
            if (id != CRotateDlg::IDD)
                return;
            ++shown;
            Press(dlg, CRotateDlg::IDC_PRESET_FREE);
            Press(dlg, CRotateDlg::IDC_PREVIEW);
            SetDlgItemTextW(dlg, CRotateDlg::IDC_ANGLE, L"29.5");
            for (int i = 0; i < 5; ++i)
                platform::ClickUpDown(GetDlgItem(dlg, CRotateDlg::IDC_ANGLE_SPIN), true);
            Press(dlg, IDOK);
        });
        Key('N');
        Key('N', true);
    }
    ASSERT_EQ(shown, 1);
    // Every point turned 30 degrees about the centre of both, at its old distance.
    const double cx = 50000, cy = 45000;
    const Points rotated = Snapshot();
    for (size_t i = 0; i < rotated.size(); ++i)
        for (size_t k = 0; k < rotated[i].size(); ++k) {
            const double ax = scaled[i][k].x - cx, ay = scaled[i][k].y - cy;
            const double bx = rotated[i][k].x - cx, by = rotated[i][k].y - cy;
            EXPECT_NEAR(std::hypot(bx, by), std::hypot(ax, ay), 2);
            const double turn = std::atan2(ax * by - ay * bx, ax * bx + ay * by);
            EXPECT_NEAR(std::abs(turn) * 180 / std::numbers::pi, 30, 0.01);
        }
    // Two named steps: the rescale and one rotation, the preview folded into it.
    const CStringArray& names = page->UndoTransactionNames();
    ASSERT_EQ(names.GetSize() - stepsBefore, 2);
    EXPECT_EQ(names[0], CString(L"Rotate/Shear"));

    // The preview's steps round at each step and are taken back by their inverses, so the
    // rescaled points come back within two units; the original ones within one.
    Command(CDesignView::ID_EDIT_UNDO);
    ExpectNear(Snapshot(), scaled, 2);
    Command(CDesignView::ID_EDIT_UNDO);
    ExpectNear(Snapshot(), original, 1);
    Command(CDesignView::ID_EDIT_REDO);
    Command(CDesignView::ID_EDIT_REDO);
    ExpectNear(Snapshot(), rotated, 2);

    const std::string second = m_box.Path("home/second.KDX");
    const std::string third = m_box.Path("home/third.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString(second.c_str())));
    ASSERT_TRUE(Open(CString(second.c_str()), false));
    ASSERT_TRUE(page->OnSaveDocument(CString(third.c_str())));
    EXPECT_EQ(DesignBytes(second), DesignBytes(third));
}

} // namespace
