// Software cursors drawn in XOR over the view: the large cross hair's states and its redraw
// after a paint, read from the view's own back buffer.
#include "design/document/custom_cursor.h"

#include "design/document/large_cross_hair.h"
#include "design/tests/design_host.h"
#include "qvutils/qv_utils.h"

namespace {

class CursorTest : public DesignHost {
protected:
    void SetUp() override {
        DesignHost::SetUp();
        ASSERT_NE(Open(), nullptr);
        view->OnActivateView(TRUE, view, nullptr);
        view->Invalidate();
        Paint();
        view->GetClientRect(&client);
        // A pixel of the horizontal and one of the vertical line, away from the crossing.
        background = Pixel(client.left + 5, client.top + 5);
    }
    void TearDown() override {
        delete cursor;
        DesignHost::TearDown();
    }
    COLORREF Pixel(int x, int y) { return platform::GetWindowSurface(view->m_hWnd)->Pixel(x, y); }
    // Whether the cross through p is drawn at both probes (left end and top end).
    bool CrossAt(CPoint p) {
        return Pixel(client.left + 3, p.y) != background &&
               Pixel(p.x, client.top + 3) != background;
    }
    bool Clean(CPoint p) {
        return Pixel(client.left + 3, p.y) == background &&
               Pixel(p.x, client.top + 3) == background;
    }

    CRect client;
    COLORREF background = 0;
    CLargeCrossHair* cursor = new CLargeCrossHair;
    const CPoint a{200, 150}, b{300, 250};
};

TEST_F(CursorTest, MovingDrawsAtTheNewPointAndErasesTheOldOne) {
    QvSetUseLargeCrossHair(1);
    cursor->vfnOnDrawCursor(view, a);
    EXPECT_TRUE(CrossAt(a));
    EXPECT_EQ(Pixel(client.left + 3, a.y), background ^ CJoxDC::XorPenColour());
    cursor->vfnOnDrawCursor(view, b);
    EXPECT_TRUE(Clean(a));
    EXPECT_TRUE(CrossAt(b));
    EXPECT_EQ(cursor->LastPosition(), b);
}

TEST_F(CursorTest, WithTheOptionOffNothingIsDrawnAndTheToggleShowsTheLastPosition) {
    QvSetUseLargeCrossHair(1);
    cursor->vfnOnDrawCursor(view, a);
    cursor->fnToggleAppParam(view); // off: hidden
    EXPECT_FALSE(QvGetUseLargeCrossHair());
    EXPECT_TRUE(Clean(a));
    cursor->vfnOnDrawCursor(view, b); // ignored, the position stays
    EXPECT_TRUE(Clean(b));
    EXPECT_EQ(cursor->LastPosition(), a);
    cursor->fnToggleAppParam(view);
    EXPECT_TRUE(CrossAt(a));
    EXPECT_TRUE(Clean(b));
}

TEST_F(CursorTest, EnablingNeverDrawnOrUnchangedCursorsDrawsNothing) {
    QvSetUseLargeCrossHair(1);
    cursor->fnEnableCursor(view, 0);
    cursor->fnEnableCursor(view, 1);
    EXPECT_FALSE(cursor->IsShown());
    cursor->vfnOnDrawCursor(view, a);
    cursor->fnEnableCursor(view, 1); // unchanged: no second XOR
    EXPECT_TRUE(CrossAt(a));
    cursor->fnEnableCursor(view, 0);
    EXPECT_TRUE(Clean(a));
    cursor->vfnOnDrawCursor(view, b); // disabled: nothing
    cursor->fnEnableCursor(view, 1);
    EXPECT_TRUE(CrossAt(a));
    EXPECT_TRUE(Clean(b));
}

TEST_F(CursorTest, APaintOverPartOfTheCrossRedrawsItOnlyInsideThePaintedArea) {
    QvSetUseLargeCrossHair(1);
    cursor->vfnOnDrawCursor(view, a);
    tool->redraw = cursor;
    // Repaint a band across the vertical line only.
    CRect band(a.x - 20, a.y + 40, a.x + 20, a.y + 80);
    view->InvalidateRect(&band, TRUE);
    Paint();
    EXPECT_FALSE(tool->Named("Draw").empty());
    EXPECT_TRUE(cursor->IsShown());
    // Inside the band the line is back, outside it was never erased.
    EXPECT_NE(Pixel(a.x, a.y + 60), background);
    EXPECT_TRUE(CrossAt(a));
    // Moving on erases all of it.
    cursor->vfnOnDrawCursor(view, b);
    EXPECT_EQ(Pixel(a.x, a.y + 60), background);
    EXPECT_TRUE(Clean(a));
}

} // namespace
