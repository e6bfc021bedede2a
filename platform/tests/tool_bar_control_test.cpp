#include "platform/windowing/tool_bar_control.h"

#include "platform/framework/tool_bar_ctrl.h"
#include "platform/windowing/message.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT kStrip = 900;

// An owner that records commands and answers tip requests as the test says.
struct Owner : CWnd {
    std::vector<std::pair<WPARAM, HWND>> commands;
    std::vector<UINT> asked;
    std::wstring wide;  // answered through szText
    std::string narrow; // answered to the narrow request only
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* r) override {
        if (msg == WM_COMMAND && lp) {
            commands.emplace_back(wp, reinterpret_cast<HWND>(lp));
            return TRUE;
        }
        if (msg == WM_NOTIFY) {
            auto* hdr = reinterpret_cast<NMHDR*>(lp);
            asked.push_back(hdr->code);
            if (hdr->code == TTN_GETDISPINFOW && !wide.empty())
                wcsncpy(reinterpret_cast<NMTTDISPINFOW*>(lp)->szText, wide.c_str(), 79);
            if (hdr->code == TTN_GETDISPINFOA && !narrow.empty())
                strncpy(reinterpret_cast<NMTTDISPINFOA*>(lp)->szText, narrow.c_str(), 79);
            return TRUE;
        }
        return CWnd::OnWndMsg(msg, wp, lp, r);
    }
};

TBBUTTON Button(int image, int command, BYTE style = TBSTYLE_BUTTON, BYTE state = TBSTATE_ENABLED) {
    return TBBUTTON{image, command, state, style, 0, 0};
}

struct ToolBarTest : ::testing::Test {
    Owner owner;
    CToolBarCtrl bar;
    void SetUp() override {
        platform::ResetMessageQueue();
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"o", WS_POPUP, CRect(0, 0, 300, 100), nullptr, 0));
        ASSERT_TRUE(
            bar.Create(WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_TOP, CRect(0, 0, 0, 0), &owner, 28225));
        ASSERT_EQ(bar.AddBitmap(4, kStrip), 0);
        const TBBUTTON row[] = {Button(0, 10), Button(0, 0, TBSTYLE_SEP), Button(1, 11),
                                Button(2, 12, TBSTYLE_CHECK), Button(3, 13)};
        ASSERT_TRUE(bar.AddButtons(5, row));
    }
    void TearDown() override { owner.DestroyWindow(); }
    std::vector<LONG> Lefts() {
        std::vector<LONG> out;
        for (int i = 0; i < bar.GetButtonCount(); ++i) {
            RECT r{};
            out.push_back(bar.GetItemRect(i, &r) ? r.left : -1);
        }
        return out;
    }
};

TEST_F(ToolBarTest, ButtonsLieInARowAndHiddenOnesTakeNoRoom) {
    ASSERT_EQ(bar.GetButtonCount(), 5);
    EXPECT_EQ(bar.GetButtonSize(), CSize(23, 22));
    EXPECT_EQ(Lefts(), (std::vector<LONG>{0, 23, 31, 54, 77}));
    EXPECT_TRUE(bar.HideButton(11));
    EXPECT_TRUE(bar.IsButtonHidden(11));
    EXPECT_EQ(Lefts(), (std::vector<LONG>{0, 23, -1, 31, 54}));
    EXPECT_EQ(bar.CommandToIndex(12), 3);
    EXPECT_EQ(bar.CommandToIndex(99), -1);
    EXPECT_FALSE(bar.HideButton(99));
    // Fitted to the parent: its full width, one row of buttons high, at the top.
    bar.AutoSize();
    CRect placed;
    bar.GetWindowRect(&placed);
    EXPECT_EQ(placed.Width(), 300);
    EXPECT_EQ(placed.Height(), 26);
}

TEST_F(ToolBarTest, StatesAreSetAndReadByCommand) {
    EXPECT_TRUE(bar.IsButtonEnabled(10));
    EXPECT_TRUE(bar.EnableButton(10, FALSE));
    EXPECT_FALSE(bar.IsButtonEnabled(10));
    EXPECT_TRUE(bar.CheckButton(12));
    EXPECT_TRUE(bar.IsButtonChecked(12));
    EXPECT_EQ(bar.GetState(12), TBSTATE_ENABLED | TBSTATE_CHECKED);
    EXPECT_TRUE(bar.SetState(13, TBSTATE_HIDDEN));
    EXPECT_TRUE(bar.IsButtonHidden(13));
    EXPECT_EQ(bar.GetState(77), -1);
    TBBUTTON b{};
    ASSERT_TRUE(bar.GetButton(3, &b));
    EXPECT_EQ(b.idCommand, 12);
    EXPECT_EQ(b.iBitmap, 2);
    EXPECT_FALSE(bar.GetButton(5, &b));
    UINT strip = 0;
    int image = -1;
    ASSERT_TRUE(platform::ToolBarButtonImage(bar.m_hWnd, 4, &strip, &image));
    EXPECT_EQ(strip, kStrip);
    EXPECT_EQ(image, 3);
    EXPECT_FALSE(platform::ToolBarButtonImage(bar.m_hWnd, 1, &strip, &image));
}

TEST_F(ToolBarTest, PressingAButtonTellsTheParentAndTogglesACheckButton) {
    bar.EnableButton(13, FALSE);
    bar.HideButton(11);
    struct Case {
        int index;
        bool taken;
    } cases[] = {{0, true}, {1, false}, {2, false}, {3, true}, {4, false}, {9, false}};
    for (const Case& c : cases)
        EXPECT_EQ(platform::ClickToolBarButton(bar.m_hWnd, c.index), c.taken) << c.index;
    ASSERT_EQ(owner.commands.size(), 2u);
    EXPECT_EQ(owner.commands[0].first, MAKEWPARAM(10, BN_CLICKED));
    EXPECT_EQ(owner.commands[0].second, bar.m_hWnd);
    EXPECT_EQ(owner.commands[1].first, MAKEWPARAM(12, BN_CLICKED));
    EXPECT_TRUE(bar.IsButtonChecked(12));
    platform::ClickToolBarButton(bar.m_hWnd, 3);
    EXPECT_FALSE(bar.IsButtonChecked(12));
}

TEST_F(ToolBarTest, TipsComeFromTheWideRequestElseTheNarrowOne) {
    struct Case {
        const wchar_t* wide;
        const char* narrow;
        const wchar_t* tip;
        size_t requests;
    } cases[] = {
        {L"Next", "", L"Next", 1},
        {L"", "Start \xc3\xa0 la fin", L"Start \u00e0 la fin", 2},
        {L"", "", L"", 2},
    };
    for (const Case& c : cases) {
        owner.wide = c.wide;
        owner.narrow = c.narrow;
        owner.asked.clear();
        EXPECT_EQ(platform::ToolBarButtonTip(bar.m_hWnd, 2), c.tip);
        EXPECT_EQ(owner.asked.size(), c.requests);
    }
    owner.wide = L"x";
    EXPECT_EQ(platform::ToolBarButtonTip(bar.m_hWnd, 1), L""); // a separator has none
    CToolBarCtrl plain;
    ASSERT_TRUE(plain.Create(WS_VISIBLE, CRect(0, 40, 100, 60), &owner, 5));
    const TBBUTTON one = Button(0, 10);
    plain.AddButtons(1, &one);
    EXPECT_EQ(platform::ToolBarButtonTip(plain.m_hWnd, 0), L"");
}

} // namespace
