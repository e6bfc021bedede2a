#include "pivora/framework/jox_paint_dc.h"

#include "platform/framework/wnd.h"
#include "platform/graphics/surface.h"

#include <gtest/gtest.h>

namespace {

struct PaintWnd : ::testing::Test {
    CWnd w;
    void SetUp() override {
        ASSERT_TRUE(
            w.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 60, 40), nullptr, 0));
        w.ValidateRect(nullptr);
    }
};

TEST_F(PaintWnd, ClipRegionIsTheUpdateRegionAndPaintingValidatesIt) {
    CRect r(10, 5, 30, 25);
    w.InvalidateRect(&r, FALSE);
    {
        CJoxPaintDC dc(&w);
        RECT box;
        EXPECT_EQ(dc.GetClipRgn()->GetRgnBox(&box), SIMPLEREGION);
        EXPECT_EQ(CRect(box), r);
        EXPECT_EQ(CRect(dc.m_ps.rcPaint), r);
    }
    RECT u;
    EXPECT_FALSE(w.GetUpdateRect(&u));
}

TEST_F(PaintWnd, EraseBackgroundFillsWhatIsLeftOnceWithTheChosenColour) {
    w.InvalidateRect(nullptr, FALSE);
    CJoxPaintDC dc(&w);
    dc.fnSetBackColour(RGB(1, 2, 3));
    dc.SetDrawOption(1, CJoxDC::OPTION_BACKGROUND);
    CRect keep(0, 0, 20, 40);
    dc.ExcludeEraseRect(keep);
    EXPECT_EQ(dc.EraseBackground(), 1);
    EXPECT_EQ(dc.EraseBackground(), 0);
    auto* s = platform::GetWindowSurface(w.m_hWnd);
    EXPECT_EQ(s->Pixel(19, 10), 0xFFFFFFu);
    EXPECT_EQ(s->Pixel(20, 10), RGB(1, 2, 3));
}

struct ClampCase {
    const char* name;
    CRect rect;
    LONG firstRowErased; // the top of what is still erased in a 60 x 40 client
};

TEST_F(PaintWnd, HugeExcludedRectanglesAreClampedAndStillTakeTheirPartAway) {
    const ClampCase cases[] = {
        {"wide band over the top rows", CRect(-100000, 0, 100000, 10), 10},
        {"wholly left of the client", CRect(-100000, 0, -50000, 10), 0},
        {"tall band over the whole client", CRect(0, -90000, 60, 90000), -1},
        {"wholly right of the client", CRect(40000, 0, 90000, 40), 0},
    };
    for (const auto& c : cases) {
        platform::RecordingSurface rec(60, 40);
        platform::SetWindowSurface(w.m_hWnd, &rec);
        w.Invalidate(FALSE);
        {
            CJoxPaintDC dc(&w);
            CRect in = c.rect;
            dc.ExcludeEraseRect(in);
            EXPECT_EQ(in, c.rect) << c.name; // the caller's rectangle is left alone
            dc.EraseBackground();
        }
        platform::SetWindowSurface(w.m_hWnd, nullptr);
        auto fills = rec.Calls(platform::GdiOp::FillRgn);
        ASSERT_EQ(fills.size(), 1u) << c.name;
        if (c.firstRowErased < 0) {
            EXPECT_EQ(CRect(fills[0].rect), CRect(0, 0, 0, 0)) << c.name;
        } else {
            EXPECT_EQ(fills[0].rect.top, c.firstRowErased) << c.name;
            EXPECT_EQ(fills[0].rect.bottom, 40) << c.name;
        }
    }
}

} // namespace
