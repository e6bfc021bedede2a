#include "platform/display/tool_bar_ctrl_widget.h"

#include "display_fixture.h"
#include "platform/framework/tool_bar_images.h"
#include "platform/windowing/tool_bar_control.h"

#include <QTest>
#include <QToolButton>

#include <cwchar>

namespace {

using ToolBarCtrlWidgetTest = DisplayTest;

constexpr UINT kStrip = 28990;

// A parent that names each button's tip after its command, and records presses.
std::vector<WPARAM> g_pressed;
LRESULT TipOwner(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
        swprintf(info->szText, kTipTextLength, L"Tip %d", int(info->hdr.idFrom));
        return 0;
    }
    if (msg == WM_COMMAND)
        g_pressed.push_back(wp);
    return DefWindowProcW(h, msg, wp, lp);
}

std::vector<QToolButton*> Buttons(QWidget* bar) {
    const auto found = bar->findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly);
    return std::vector<QToolButton*>(found.begin(), found.end());
}

TEST_F(ToolBarCtrlWidgetTest, ButtonsShowTheirImagesTipsAndStatesAndPressesReachTheParent) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = TipOwner;
    cls.lpszClassName = L"TipOwner";
    RegisterClassW(&cls);
    HWND owner = CreateWindowExW(0, L"TipOwner", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                 60, nullptr, nullptr, nullptr, nullptr);
    m_windows.push_back(owner);
    // Two 16 x 15 images: red and blue.
    std::vector<uint32_t> strip(size_t(32 * 15));
    for (size_t i = 0; i < strip.size(); ++i)
        strip[i] = (i % 32) < 16 ? 0xFFFF0000u : 0xFF0000FFu;
    ASSERT_TRUE(platform::RegisterToolBarImages(kStrip, 16, 15, strip));
    HWND bar = CreateWindowExW(0, TOOLBARCLASSNAME, L"",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT, 0, 0, 0, 0,
                               owner, reinterpret_cast<HMENU>(intptr_t(28225)), nullptr, nullptr);
    TBADDBITMAP add{nullptr, kStrip};
    SendMessageW(bar, TB_ADDBITMAP, 2, reinterpret_cast<LPARAM>(&add));
    const TBBUTTON row[] = {{0, 41, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0},
                            {0, 0, 0, TBSTYLE_SEP, 0, 0},
                            {1, 42, TBSTATE_ENABLED, TBSTYLE_CHECK, 0, 0},
                            {5, 43, TBSTATE_ENABLED | TBSTATE_HIDDEN, TBSTYLE_BUTTON, 0, 0},
                            {5, 44, 0, TBSTYLE_BUTTON, 0, 0}};
    SendMessageW(bar, TB_ADDBUTTONSW, 5, reinterpret_cast<LPARAM>(row));
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    Pump();
    QWidget* w = Widget(bar);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->width(), 200);
    const auto buttons = Buttons(w);
    ASSERT_EQ(buttons.size(), 5u);
    struct Case {
        bool visible, enabled, checkable, pictured;
        const char* tip;
        int left;
    } cases[] = {{true, true, false, true, "Tip 41", 0},
                 {false, true, false, false, "", 0},
                 {true, true, true, true, "Tip 42", 31},
                 {false, true, false, false, "", 0},
                 {true, false, false, false, "Tip 44", 54}};
    for (size_t i = 0; i < buttons.size(); ++i) {
        const Case& c = cases[i];
        QToolButton* b = buttons[i];
        EXPECT_EQ(b->isVisibleTo(w), c.visible) << i;
        if (!c.visible)
            continue;
        EXPECT_EQ(b->isEnabled(), c.enabled) << i;
        EXPECT_EQ(b->isCheckable(), c.checkable) << i;
        EXPECT_EQ(b->icon().isNull(), !c.pictured) << i;
        EXPECT_EQ(b->toolTip(), QString::fromLatin1(c.tip)) << i;
        EXPECT_EQ(b->x(), c.left) << i;
    }
    EXPECT_EQ(buttons[4]->text(), QStringLiteral("Tip 44"));
    g_pressed.clear();
    QTest::mouseClick(buttons[2], Qt::LeftButton);
    QTest::mouseClick(buttons[4], Qt::LeftButton); // disabled: nothing
    Pump();
    EXPECT_EQ(g_pressed, (std::vector<WPARAM>{MAKEWPARAM(42, BN_CLICKED)}));
    EXPECT_EQ(SendMessageW(bar, TB_ISBUTTONCHECKED, 42, 0), TRUE);
    EXPECT_TRUE(buttons[2]->isChecked());
    // Hiding a button in the model hides it on the screen.
    SendMessageW(bar, TB_HIDEBUTTON, 41, MAKELPARAM(1, 0));
    Pump();
    EXPECT_FALSE(buttons[0]->isVisibleTo(w));
    EXPECT_EQ(buttons[2]->x(), 8);
    EXPECT_TRUE(Widget(owner)->grab().save(TEST_BINARY_DIR "/tool_bar_ctrl.png"));
}

} // namespace
