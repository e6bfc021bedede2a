#include "platform/windowing/up_down_control.h"

#include "platform/framework/edit.h"
#include "platform/framework/spin_button_ctrl.h"
#include "platform/windowing/message.h"
#include "platform/windowing/scroll_bar.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// An owner that answers UDN_DELTAPOS as the test says and records what it is told.
struct Owner : CWnd {
    std::vector<int> deltas; // as the control asked
    std::vector<int> scrolled;
    bool deny = false;
    int replaceDelta = 0;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* r) override {
        if (msg == WM_NOTIFY) {
            auto* nm = reinterpret_cast<NMUPDOWN*>(lp);
            if (nm->hdr.code == UDN_DELTAPOS) {
                deltas.push_back(nm->iDelta);
                if (replaceDelta)
                    nm->iDelta = replaceDelta;
                *r = deny;
                return TRUE;
            }
        }
        if (msg == WM_VSCROLL && LOWORD(DWORD(wp)) == SB_THUMBPOSITION)
            scrolled.push_back(short(HIWORD(DWORD(wp))));
        return CWnd::OnWndMsg(msg, wp, lp, r);
    }
};

struct UpDownTest : ::testing::Test {
    Owner owner;
    CEdit buddy;
    CSpinButtonCtrl spin;
    void SetUp() override {
        platform::ResetMessageQueue();
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"o", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
        ASSERT_TRUE(buddy.Create(WS_VISIBLE, CRect(0, 0, 60, 12), &owner, 10));
        ASSERT_TRUE(spin.Create(WS_VISIBLE | UDS_AUTOBUDDY | UDS_SETBUDDYINT, CRect(60, 0, 72, 12),
                                &owner, 11));
    }
    void TearDown() override { owner.DestroyWindow(); }
    CString Shown() {
        CString s;
        buddy.GetWindowText(s);
        return s;
    }
};

TEST_F(UpDownTest, TheDefaultRangeIsReversedSoUpGivesMinusOne) {
    int lower = 0, upper = 0;
    spin.GetRange32(lower, upper);
    EXPECT_EQ(lower, 100);
    EXPECT_EQ(upper, 0);
    EXPECT_EQ(spin.GetBuddy(), &buddy); // the control made just before it
    spin.SetPos(50);
    EXPECT_EQ(Shown(), L"50");
    EXPECT_TRUE(platform::ClickUpDown(spin.m_hWnd, true));
    EXPECT_EQ(spin.GetPos(), 49);
    EXPECT_EQ(owner.deltas, std::vector<int>{-1});
    EXPECT_EQ(owner.scrolled, std::vector<int>{49});
    EXPECT_EQ(Shown(), L"49");
}

TEST_F(UpDownTest, TheOwnerMayDenyOrChangeAStep) {
    spin.SetRange32(0, 10);
    spin.SetPos(5);
    owner.deny = true;
    EXPECT_FALSE(platform::ClickUpDown(spin.m_hWnd, true));
    EXPECT_EQ(spin.GetPos(), 5);
    EXPECT_TRUE(owner.scrolled.empty());
    owner.deny = false;
    owner.replaceDelta = -3;
    EXPECT_TRUE(platform::ClickUpDown(spin.m_hWnd, true));
    EXPECT_EQ(owner.deltas, (std::vector<int>{1, 1}));
    EXPECT_EQ(spin.GetPos(), 2);
}

TEST_F(UpDownTest, StepsStopAtTheEndsUnlessTheyWrapAndReadTheTypedBuddy) {
    spin.SetRange32(0, 3);
    buddy.SetWindowText(L"3"); // typed by the person
    EXPECT_EQ(spin.GetPos(), 3);
    EXPECT_TRUE(platform::ClickUpDown(spin.m_hWnd, true));
    EXPECT_EQ(spin.GetPos(), 3);
    buddy.SetWindowText(L"not a number"); // the last good position stands
    EXPECT_TRUE(platform::ClickUpDown(spin.m_hWnd, false));
    EXPECT_EQ(spin.GetPos(), 2);
    spin.ModifyStyle(0, UDS_WRAP);
    spin.SetPos(3);
    EXPECT_TRUE(platform::ClickUpDown(spin.m_hWnd, true));
    EXPECT_EQ(spin.GetPos(), 0);
    spin.EnableWindow(FALSE);
    EXPECT_FALSE(platform::ClickUpDown(spin.m_hWnd, true));
}

} // namespace
