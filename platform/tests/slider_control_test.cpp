#include "platform/windowing/slider_control.h"

#include "platform/framework/slider_ctrl.h"
#include "platform/windowing/message.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// An owner that records the slider's scroll codes and the positions the drags carried.
struct Owner : CWnd {
    struct Scroll {
        UINT msg, code;
        int pos;
        HWND from;
    };
    std::vector<Scroll> seen;
    // The position the owner reads back from the slider while it is told.
    std::vector<int> read;
    CSliderCtrl* slider = nullptr;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* r) override {
        if (msg == WM_HSCROLL || msg == WM_VSCROLL) {
            seen.push_back({msg, LOWORD(DWORD(wp)), HIWORD(DWORD(wp)), reinterpret_cast<HWND>(lp)});
            if (slider)
                read.push_back(slider->GetPos());
        }
        return CWnd::OnWndMsg(msg, wp, lp, r);
    }
};

struct SliderTest : ::testing::Test {
    Owner owner;
    CSliderCtrl slider;
    void SetUp() override {
        platform::ResetMessageQueue();
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"o", WS_POPUP, CRect(0, 0, 300, 100), nullptr, 0));
        ASSERT_TRUE(slider.Create(WS_VISIBLE, CRect(0, 0, 200, 30), &owner, 28227));
        owner.slider = &slider;
    }
    void TearDown() override { owner.DestroyWindow(); }
};

TEST_F(SliderTest, RangeSizesAndPositionAreKept) {
    EXPECT_EQ(slider.GetRangeMin(), 0);
    EXPECT_EQ(slider.GetRangeMax(), 100);
    EXPECT_EQ(slider.GetLineSize(), 1);
    EXPECT_EQ(slider.SetPageSize(10), 20);
    EXPECT_EQ(slider.GetPageSize(), 10);
    slider.SetRange(0, 50);
    slider.SetPos(70);
    EXPECT_EQ(slider.GetPos(), 50);
    slider.SetPos(-3);
    EXPECT_EQ(slider.GetPos(), 0);
    slider.SetPos(40);
    slider.SetRangeMax(30);
    EXPECT_EQ(slider.GetPos(), 30);
    // An empty list gives 0..-1: the end is kept as set, the position stays at the start.
    slider.SetRange(0, -1);
    EXPECT_EQ(slider.GetRangeMax(), -1);
    EXPECT_EQ(slider.GetPos(), 0);
}

TEST_F(SliderTest, EachScrollMovesThePositionAndTellsTheOwnerFirstHand) {
    slider.SetRange(0, 40);
    slider.SetPageSize(10);
    struct Case {
        UINT code;
        int given, pos;
    } cases[] = {
        {TB_LINEDOWN, 0, 1},  {TB_PAGEDOWN, 0, 11},    {TB_LINEUP, 0, 10},
        {TB_PAGEUP, 0, 0},    {TB_PAGEUP, 0, 0},       {TB_BOTTOM, 0, 40},
        {TB_PAGEDOWN, 0, 40}, {TB_THUMBTRACK, 17, 17}, {TB_THUMBPOSITION, 99, 40},
        {TB_TOP, 0, 0},       {TB_ENDTRACK, 0, 0},
    };
    for (const Case& c : cases) {
        owner.seen.clear();
        owner.read.clear();
        ASSERT_TRUE(platform::ScrollSlider(slider.m_hWnd, c.code, c.given)) << c.code;
        EXPECT_EQ(slider.GetPos(), c.pos) << c.code;
        ASSERT_EQ(owner.seen.size(), 1u) << c.code;
        EXPECT_EQ(owner.seen[0].msg, UINT(WM_HSCROLL));
        EXPECT_EQ(owner.seen[0].code, c.code);
        EXPECT_EQ(owner.seen[0].from, slider.m_hWnd);
        const bool thumb = c.code == TB_THUMBTRACK || c.code == TB_THUMBPOSITION;
        EXPECT_EQ(owner.seen[0].pos, thumb ? c.pos : 0) << c.code;
        EXPECT_EQ(owner.read[0], c.pos) << c.code;
    }
}

TEST_F(SliderTest, RefusedScrollsLeaveTheSliderAlone) {
    EXPECT_FALSE(platform::ScrollSlider(slider.m_hWnd, TB_ENDTRACK + 1));
    EXPECT_FALSE(platform::ScrollSlider(owner.m_hWnd, TB_LINEDOWN));
    slider.EnableWindow(FALSE);
    EXPECT_FALSE(platform::ScrollSlider(slider.m_hWnd, TB_LINEDOWN));
    EXPECT_EQ(slider.GetPos(), 0);
    EXPECT_TRUE(owner.seen.empty());
}

TEST_F(SliderTest, AVerticalSliderScrollsVertically) {
    CSliderCtrl vertical;
    ASSERT_TRUE(vertical.Create(WS_VISIBLE | TBS_VERT, CRect(210, 0, 240, 90), &owner, 7));
    ASSERT_TRUE(platform::ScrollSlider(vertical.m_hWnd, TB_LINEDOWN));
    ASSERT_EQ(owner.seen.size(), 1u);
    EXPECT_EQ(owner.seen[0].msg, UINT(WM_VSCROLL));
}

} // namespace
