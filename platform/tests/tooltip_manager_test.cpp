// Looks of tooltips per kind: set for a mask of kinds, found by kind, reset to the display's own.
#include "platform/framework/tooltip_manager.h"

#include <gtest/gtest.h>

TEST(TooltipManager, LooksAreKeptPerKindAndCanBeGivenBack) {
    CTooltipManager tips;
    EXPECT_EQ(tips.FindTooltipParams(AFX_TOOLTIP_TYPE_TAB), nullptr);
    EXPECT_TRUE(tips.GetTooltipParams(AFX_TOOLTIP_TYPE_TAB) == CToolTipLook{});
    CToolTipLook look;
    look.m_clrText = 0x50533D;
    const unsigned before = tips.Revision();
    tips.SetTooltipParams(AFX_TOOLTIP_TYPE_TOOLBAR | AFX_TOOLTIP_TYPE_TAB, &look);
    EXPECT_NE(tips.Revision(), before);
    ASSERT_NE(tips.FindTooltipParams(AFX_TOOLTIP_TYPE_TAB), nullptr);
    EXPECT_EQ(tips.FindTooltipParams(AFX_TOOLTIP_TYPE_TAB)->m_clrText, 0x50533Du);
    EXPECT_EQ(tips.FindTooltipParams(AFX_TOOLTIP_TYPE_DEFAULT), nullptr);
    // The lowest bit of a mask names the kind.
    EXPECT_EQ(tips.FindTooltipParams(AFX_TOOLTIP_TYPE_TOOLBAR | AFX_TOOLTIP_TYPE_DEFAULT), nullptr);
    tips.SetTooltipParams(AFX_TOOLTIP_TYPE_TAB, nullptr);
    EXPECT_EQ(tips.FindTooltipParams(AFX_TOOLTIP_TYPE_TAB), nullptr);
    EXPECT_NE(tips.FindTooltipParams(AFX_TOOLTIP_TYPE_TOOLBAR), nullptr);
    EXPECT_EQ(tips.FindTooltipParams(0), nullptr);
}
