#include "design/show_bar.h"

#include "pivora/framework/app_params.h"
#include "platform/framework/dialog.h"
#include "platform/framework/slider_ctrl.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/message.h"
#include "platform/windowing/resources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using B = CShowBar;

struct ShowBarTest : ::testing::Test {
    SettingsSandbox box;
    CWnd owner;
    void SetUp() override {
        platform::ResetMessageQueue();
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"o", WS_POPUP, CRect(0, 0, 300, 100), nullptr, 0));
    }
    void TearDown() override { owner.DestroyWindow(); }
};

TEST_F(ShowBarTest, SixButtonsWithASeparatorAfterTheSecondFlatUnlessTurnedOff) {
    for (int flat : {1, 0}) {
        QvSetAppParam(L"Flat Toolbar Buttons", flat);
        B bar;
        ASSERT_TRUE(bar.CreateIn(&owner));
        EXPECT_EQ(bar.GetDlgCtrlID(), int(B::IDC_SHOW_BAR));
        EXPECT_EQ((bar.GetStyle() & TBSTYLE_FLAT) != 0, flat != 0);
        EXPECT_NE(bar.GetStyle() & TBSTYLE_TOOLTIPS, 0u);
        std::vector<int> row;
        for (int i = 0; i < bar.GetButtonCount(); ++i) {
            TBBUTTON b{};
            bar.GetButton(i, &b);
            row.push_back((b.fsStyle & TBSTYLE_SEP) ? 0 : b.idCommand);
            if (!(b.fsStyle & TBSTYLE_SEP)) {
                UINT strip = 0;
                int image = -1;
                EXPECT_TRUE(platform::ToolBarButtonImage(bar.m_hWnd, i, &strip, &image));
                EXPECT_EQ(strip, B::IDB_SHOW_BAR);
                EXPECT_EQ(image, int(b.idCommand - B::ID_SHOW_AUTO_PAN));
            }
        }
        EXPECT_EQ(row, (std::vector<int>{43215, 43216, 0, 43217, 43218, 43219, 43220}));
        CRect r;
        bar.GetWindowRect(&r);
        EXPECT_EQ(r.Width(), 300);
        bar.DestroyWindow();
    }
}

TEST_F(ShowBarTest, TipsAreTheCommandsStringsCutForBothRequests) {
    B bar;
    ASSERT_TRUE(bar.CreateIn(&owner));
    EXPECT_EQ(platform::ToolBarButtonTip(bar.m_hWnd, 4), L"Previous");
    // A language library's longer texts are cut: 79 characters, or 79 bytes for the narrow
    // request without splitting a character.
    const std::wstring longTip(100, L'\u00e9');
    platform::RegisterStrings({{B::ID_SHOW_NEXT, longTip.c_str()}});
    EXPECT_EQ(std::wstring(B::TipText(B::ID_SHOW_NEXT).GetString()), longTip.substr(0, 79));
    NMTTDISPINFOA narrow{};
    narrow.hdr = NMHDR{bar.m_hWnd, B::ID_SHOW_NEXT, TTN_GETDISPINFOA};
    bar.SendMessage(WM_NOTIFY, B::ID_SHOW_NEXT, reinterpret_cast<LPARAM>(&narrow));
    EXPECT_EQ(std::string(narrow.szText).size(), 78u); // 39 two-byte characters
    NMTTDISPINFOW wide{};
    wide.hdr = NMHDR{bar.m_hWnd, B::ID_SHOW_NEXT, TTN_GETDISPINFOW};
    bar.SendMessage(WM_NOTIFY, B::ID_SHOW_NEXT, reinterpret_cast<LPARAM>(&wide));
    EXPECT_EQ(std::wstring(wide.szText), longTip.substr(0, 79));
    platform::RegisterStrings({{B::ID_SHOW_NEXT, L"Next"}});
    EXPECT_EQ(B::TipText(1), CString());
}

// A dialog of the shared template opened as both viewers open it.
struct Opened : CDialog {
    CSliderCtrl slider;
    B bar;
    Opened() : CDialog(B::IDD_SHOW) {}
    BOOL OnInitDialog() override {
        slider.SubclassWindow(::GetDlgItem(m_hWnd, B::IDC_SHOW_SLIDER));
        B::OpenDialog(this, bar, slider, {B::ID_SHOW_AUTO_PAN}, {B::IDC_SHOW_ALL, B::IDC_SHOW_DEL});
        return TRUE;
    }
};

TEST_F(ShowBarTest, OpeningSetsTheSliderHidesWhatItIsToldAndIsAHundredPixelsHigh) {
    Opened dlg;
    ASSERT_TRUE(dlg.Create(B::IDD_SHOW, &owner));
    dlg.ShowWindow(SW_SHOW);
    EXPECT_EQ(dlg.slider.GetLineSize(), 1);
    EXPECT_EQ(dlg.slider.GetPageSize(), 10);
    EXPECT_EQ(dlg.slider.GetRangeMax(), 100);
    EXPECT_TRUE(dlg.bar.IsButtonHidden(B::ID_SHOW_AUTO_PAN));
    EXPECT_FALSE(dlg.bar.IsButtonHidden(B::ID_SHOW_LEAVE_ON));
    EXPECT_FALSE(dlg.GetDlgItem(B::IDC_SHOW_ALL)->IsWindowVisible());
    EXPECT_TRUE(dlg.GetDlgItem(B::IDC_SHOW_CLEAR)->IsWindowVisible());
    CRect r;
    dlg.GetWindowRect(&r);
    EXPECT_EQ(r.Height(), 100);
    // The bar lies above the slider.
    CRect bar, slider;
    dlg.bar.GetWindowRect(&bar);
    dlg.slider.GetWindowRect(&slider);
    EXPECT_LE(bar.bottom, slider.top);
    dlg.DestroyWindow();
}

} // namespace
