// Bar colours of the looks: the mixed background of the default look and the plain face
// where the screen or the look asks for it.
#include "platform/framework/visual_look.h"

#include <gtest/gtest.h>

namespace {

TEST(VisualLook, BarBackgrounds) {
    GlobalColours c;
    c.clrBarFace = RGB(255, 240, 240);
    c.clrBarShadow = RGB(255, 100, 0);
    c.clrBarText = RGB(1, 2, 3);
    // 40 : 215 of shadow and face, then 107 %, capped at 255: red 272 capped, green
    // (100 x 40 + 240 x 215) / 255 = 218 then 233, blue 202 then 216.
    const COLORREF mixed = RGB(255, 233, 216);
    const struct {
        int look, bits;
        bool highContrast;
        COLORREF expected;
    } cases[] = {
        {4, 32, false, mixed},        {4, 8, false, c.clrBarFace},  {4, 16, true, c.clrBarFace},
        {3, 32, false, c.clrBarFace}, {0, 32, false, c.clrBarFace},
    };
    for (const auto& k : cases) {
        c.bitsPerPixel = k.bits;
        c.highContrast = k.highContrast;
        platform::SetGlobalColours(c);
        platform::SetVisualLook(k.look);
        EXPECT_EQ(platform::GetBarBackgroundColour(), k.expected) << k.look << " " << k.bits;
        EXPECT_EQ(platform::GetBarTextColour(), RGB(1, 2, 3));
    }
    platform::ResetGlobalColours();
    platform::SetVisualLook(platform::kLookMixedBars);
}

TEST(VisualLook, ThemesOutOfRangeAreTheLastLook) {
    for (int theme : {-1, 6, 1000}) {
        platform::SetVisualLook(theme);
        EXPECT_EQ(platform::GetVisualLook(), platform::kLookLast) << theme;
    }
    platform::SetVisualLook(2);
    EXPECT_EQ(platform::GetVisualLook(), 2);
    platform::SetVisualLook(platform::kLookMixedBars);
}

} // namespace
