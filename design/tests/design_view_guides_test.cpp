// Guides dragged out of the rulers, auto-pan while the pointer is outside, and the origin move.
#include "design/design_view.h"

#include "design/tests/design_host.h"
#include "pivora/article.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/grid.h"
#include "pivora/item.h"
#include "pivora/select.h"
#include "qvutils/qv_utils.h"

namespace {

class CGuideBoxItem : public CItem {
public:
    explicit CGuideBoxItem(const CWindow& box) : m_box(box) {}
    void DoTransform(CMat2d& m) override {
        const CLpoint a = m * CLpoint(m_box.x1, m_box.y1), b = m * CLpoint(m_box.x2, m_box.y2);
        m_box =
            CWindow(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
        InvExtents(1);
    }

protected:
    CWindow RecalcExtents() override { return m_box; }

private:
    CWindow m_box;
};

class GuideTest : public DesignHost {
protected:
    void SetUp() override {
        DesignHost::SetUp();
        ASSERT_NE(Open(), nullptr);
        R = view->GetRulerSize().cx;
        grid = page->Grid();
        ASSERT_NE(grid, nullptr);
        grid->showGuides = 1;
    }
    int Guides(int kind) const { return grid->GridLineCount(kind); }
    int GuideAt(int kind, int index) const {
        int pos = 0;
        grid->GetGridLinePos(pos, kind, index);
        return pos;
    }
    // Drags a new horizontal guide out of the top ruler to client y.
    void DragHorizontal(int y) {
        Mouse(WM_LBUTTONDOWN, CPoint(R + 100, R / 2), MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, CPoint(R + 100, y), MK_LBUTTON);
        Mouse(WM_LBUTTONUP, CPoint(R + 100, y));
    }

    int R = 0;
    CGrid* grid = nullptr;
};

TEST_F(GuideTest, ThePressInTheCornerSquareTogglesRelativeRulersAndMakesNoGuide) {
    const int before = view->RelativeRulers();
    Mouse(WM_LBUTTONDOWN, CPoint(R / 2, R / 2), MK_LBUTTON);
    EXPECT_NE(view->RelativeRulers(), before);
    EXPECT_FALSE(view->GuideDragging());
    Mouse(WM_LBUTTONUP, CPoint(R / 2, R / 2));
    EXPECT_EQ(Guides(CGrid::kHorizontal) + Guides(CGrid::kVertical), 0);
    EXPECT_TRUE(tool->Named("LButton").empty());
}

TEST_F(GuideTest, ANewGuideDraggedIntoTheDrawingIsOneUndoableStepAndGoesBackOnItsBand) {
    DragHorizontal(R + 150);
    ASSERT_EQ(Guides(CGrid::kHorizontal), 1);
    CPoint expected(R + 100, R + 150);
    view->ClientToDoc(expected);
    CLpoint snapped(expected.x, expected.y);
    grid->SnapRectGrid(view, snapped);
    EXPECT_EQ(GuideAt(CGrid::kHorizontal, 0), snapped.y);
    // Neither the press nor the release reached the tool.
    EXPECT_TRUE(tool->Named("LButton").empty());
    EXPECT_EQ(page->GetUndoCount() > 0, true);
    page->PerformUndoTransaction();
    EXPECT_EQ(Guides(CGrid::kHorizontal), 0);
    page->PerformRedoTransaction();
    ASSERT_EQ(Guides(CGrid::kHorizontal), 1);
    // Grabbed on its ruler mark and dropped back on the band: deleted, also undoable.
    CPoint mark(0, GuideAt(CGrid::kHorizontal, 0));
    view->DocToClient(mark);
    Mouse(WM_LBUTTONDOWN, CPoint(R / 2, mark.y), MK_LBUTTON);
    EXPECT_EQ(view->GuideIndex(), 0);
    Mouse(WM_MOUSEMOVE, CPoint(R + 50, R / 2), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, CPoint(R + 50, R / 2));
    EXPECT_EQ(Guides(CGrid::kHorizontal), 0);
    page->PerformUndoTransaction();
    EXPECT_EQ(Guides(CGrid::kHorizontal), 1);
}

TEST_F(GuideTest, ANewGuideReleasedOnItsOwnBandChangesNothing) {
    Mouse(WM_LBUTTONDOWN, CPoint(R / 2, R + 100), MK_LBUTTON);
    EXPECT_EQ(view->GuideKind(), CGrid::kVertical);
    Mouse(WM_LBUTTONUP, CPoint(R / 2, R + 120));
    EXPECT_EQ(Guides(CGrid::kVertical), 0);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(GuideTest, RightClickDuringADragErasesTheEchoChangesNothingAndSwallowsTheRelease) {
    platform::RecordingSurface& rec = Record();
    Mouse(WM_LBUTTONDOWN, CPoint(R + 100, R / 2), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, CPoint(R + 100, R + 200), MK_LBUTTON);
    rec.Clear();
    Mouse(WM_RBUTTONDOWN, CPoint(R + 100, R + 200), MK_RBUTTON | MK_LBUTTON);
    // One XOR line: the echo erased.
    EXPECT_EQ(rec.Count(platform::GdiOp::LineTo), 1) << rec.Dump();
    Mouse(WM_RBUTTONUP, CPoint(R + 100, R + 200), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, CPoint(R + 100, R + 200));
    EXPECT_EQ(Guides(CGrid::kHorizontal), 0);
    EXPECT_TRUE(tool->Named("RButton").empty());
    EXPECT_FALSE(view->GuideDragging());
}

TEST_F(GuideTest, HeldOutsideTheViewAGuideScrollsALineAtOnceThenOnePerDelay) {
    QvSetAutoPan(1);
    QvSetAppParam(L"AutoPanDelay", 3);
    view->ZoomAllData(1);
    view->SetZoomToFit(CWindow(0, 0, 20000, 15000), 1);
    Mouse(WM_LBUTTONDOWN, CPoint(R + 100, R / 2), MK_LBUTTON);
    tool->Clear();
    Mouse(WM_MOUSEMOVE, CPoint(R + 100, kViewHeight + 40), MK_LBUTTON);
    EXPECT_EQ(tool->Named("VScroll 1").size(), 1u);
    EXPECT_TRUE(view->GuideAutoPanOn());
    Advance(299);
    EXPECT_EQ(tool->Named("VScroll 1").size(), 1u);
    Advance(1);
    EXPECT_EQ(tool->Named("VScroll 1").size(), 2u);
    Advance(300);
    EXPECT_EQ(tool->Named("VScroll 1").size(), 3u);
    // Back inside: no more scrolling.
    Mouse(WM_MOUSEMOVE, CPoint(R + 100, R + 100), MK_LBUTTON);
    EXPECT_FALSE(view->GuideAutoPanOn());
    Advance(1000);
    EXPECT_EQ(tool->Named("VScroll").size(), 3u);
    Mouse(WM_LBUTTONUP, CPoint(R + 100, R + 100));
}

TEST_F(GuideTest, LosingTheCaptureDuringADragCancelsItAndStopsTheAutoPan) {
    QvSetAutoPan(1);
    QvSetAppParam(L"AutoPanDelay", 0); // out of range: the default delay
    Mouse(WM_LBUTTONDOWN, CPoint(R + 100, R / 2), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, CPoint(R + 100, kViewHeight + 40), MK_LBUTTON);
    ASSERT_TRUE(view->GuideAutoPanOn());
    // Another window takes the capture (the design window was deactivated).
    ::SetCapture(m_frame->m_hWnd);
    EXPECT_FALSE(view->GuideDragging());
    EXPECT_FALSE(view->GuideAutoPanOn());
    tool->Clear();
    Advance(5000);
    EXPECT_TRUE(tool->Named("VScroll").empty());
    ::ReleaseCapture();
    Mouse(WM_LBUTTONUP, CPoint(R + 100, R + 100));
    EXPECT_EQ(Guides(CGrid::kHorizontal), 0);
}

TEST_F(GuideTest, MovingTheOriginToTheSelectedObjectsCentreMovesEverythingAndOneUndoReturnsIt) {
    auto* a = new CArticle;
    a->Item(new CGuideBoxItem(CWindow(-30000, 10000, -10000, 50000)));
    page->RootArticle()->AddChild(a);
    a->InvExtents(1);
    page->Extents(CWindow(-50000, -50000, 50000, 50000));
    grid->AddGridLinePos(7000, CGrid::kVertical);
    grid->AddGridLinePos(-4000, CGrid::kHorizontal);
    page->AddObjectSelection(a, 1, 0);
    auto update = Update(CDesignView::ID_ORIGIN_TO_CENTRE);
    EXPECT_EQ(update->enabled, 1);
    Command(CDesignView::ID_ORIGIN_TO_CENTRE);
    // The centre (-20000, 30000) is the new origin; signed values came through intact.
    EXPECT_EQ(a->Extents(0), CWindow(-10000, -20000, 10000, 20000));
    EXPECT_EQ(GuideAt(CGrid::kVertical, 0), 27000);
    EXPECT_EQ(GuideAt(CGrid::kHorizontal, 0), -34000);
    EXPECT_EQ(page->Extents(), CWindow(-30000, -80000, 70000, 20000));
    EXPECT_TRUE(page->IsModified());
    page->PerformUndoTransaction();
    EXPECT_EQ(a->Extents(0), CWindow(-30000, 10000, -10000, 50000));
    EXPECT_EQ(page->Extents(), CWindow(-50000, -50000, 50000, 50000));
    EXPECT_EQ(GuideAt(CGrid::kVertical, 0), 7000);
    EXPECT_EQ(GuideAt(CGrid::kHorizontal, 0), -4000);
    // Two objects selected: the command is disabled.
    page->RemoveAllSelection();
    EXPECT_EQ(Update(CDesignView::ID_ORIGIN_TO_CENTRE)->enabled, 0);
}

} // namespace
