#include "pivora/framework/jox_toolbar.h"

#include "design_fixture.h"
#include "platform/framework/frame_wnd.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kBar = 800, kA = 801, kB = 802;

class JoxToolbarTest : public DesignTest {
protected:
    void SetUp() override {
        DesignTest::SetUp();
        platform::RegisterToolBarTemplate({kBar, 16, 15, {0, kA, 0, 0, kB, 0}});
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    }
    void TearDown() override {
        frame->DestroyWindow();
        DesignTest::TearDown();
    }
    std::vector<BOOL> Separators(CJoxToolbar& bar) {
        std::vector<BOOL> shown;
        for (int i = 0; i < bar.GetCount(); ++i)
            if (bar.GetButton(i)->IsSeparator())
                shown.push_back(bar.GetButton(i)->IsVisible());
        return shown;
    }
    CFrameWnd* frame = nullptr;
};

TEST_F(JoxToolbarTest, FlatButtonsFollowTheParameter) {
    CJoxToolbar flat;
    ASSERT_TRUE(flat.Create(frame));
    EXPECT_EQ(flat.GetToolBarStyle(), TBSTYLE_FLAT);
    EXPECT_TRUE(flat.GetBarStyle() & CBRS_HIDE_INPLACE);
    QvSetAppParam(L"Flat Toolbar Buttons", 0);
    CJoxToolbar plain;
    ASSERT_TRUE(plain.CreateEx(frame, TBSTYLE_FLAT | TBSTYLE_TOOLTIPS));
    EXPECT_EQ(plain.GetToolBarStyle(), TBSTYLE_TOOLTIPS);
}

TEST_F(JoxToolbarTest, SeparatorsAreTidiedAroundTheVisibleButtons) {
    CJoxToolbar bar;
    ASSERT_TRUE(bar.Create(frame));
    ASSERT_TRUE(bar.LoadToolBar(kBar));
    EXPECT_EQ(bar.HideDuplicateSeparators(), 1);
    EXPECT_EQ(Separators(bar), (std::vector<BOOL>{FALSE, TRUE, FALSE, FALSE}));
    EXPECT_EQ(bar.HideDuplicateSeparators(), 0); // nothing left to change
    // Hiding every button between two separators hides one of them.
    EXPECT_EQ(bar.HideButton(kB, 1), 1);
    EXPECT_EQ(bar.HideButton(kB, 1), 0);
    EXPECT_EQ(bar.HideDuplicateSeparators(), 1);
    EXPECT_EQ(Separators(bar), (std::vector<BOOL>{FALSE, FALSE, FALSE, FALSE}));
    EXPECT_EQ(bar.HideButton(4242, 1), 0);
}

TEST_F(JoxToolbarTest, ChangesWhileHiddenWaitForRedraw) {
    CJoxToolbar bar;
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | CBRS_TOP));
    ASSERT_TRUE(bar.LoadToolBar(kBar));
    EXPECT_EQ(bar.HideButton(kA, 1), 1);
    EXPECT_EQ(bar.IsLayoutPending(), 1);
    bar.SetRedraw(1);
    EXPECT_EQ(bar.IsLayoutPending(), 0);
    EXPECT_TRUE(bar.GetButton(1)->m_rect.IsRectEmpty()); // laid out without the hidden button
}

} // namespace
