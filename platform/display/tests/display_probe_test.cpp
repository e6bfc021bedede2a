#include "platform/display/display_probe.h"

#include "display_fixture.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/resources.h"

#include <memory>

namespace {

using DisplayProbeTest = DisplayTest;

constexpr UINT kBar = 8301, kOpen = 8311, kCut = 8312, kJoin = 8313, kTrim = 8314;

TEST_F(DisplayProbeTest, TellsTheMenuBarAndTheToolbarAsShown) {
    platform::RegisterToolBarTemplate({kBar, 16, 15, {kOpen, 0, kCut}});
    platform::RegisterStrings({{kOpen, L"Open a design\nOpen"}});
    auto* frame = new CFrameWnd; // deletes itself with its window
    ASSERT_TRUE(
        frame->Create(nullptr, L"Probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 160)));
    HMENU bar = CreateMenu(), file = CreatePopupMenu(), shapes = CreatePopupMenu();
    AppendMenuW(shapes, MF_STRING, kJoin, L"&Join");
    AppendMenuW(shapes, MF_STRING, kTrim, L"Trim\tCtrl+T");
    AppendMenuW(file, MF_STRING, kOpen, L"&Open...\tCtrl+O");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(shapes), L"Shapes");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    SetMenu(frame->m_hWnd, bar);
    auto tools = std::make_unique<CMFCToolBar>();
    ASSERT_TRUE(tools->CreateEx(frame));
    ASSERT_TRUE(tools->LoadToolBar(kBar));
    frame->RecalcLayout();
    Pump();
    const std::vector<std::wstring> menu = {
        L"&File", L"  &Open...\tCtrl+O", L"  -", L"  Shapes", L"    &Join", L"    Trim\tCtrl+T"};
    EXPECT_EQ(platform::display::MenuBarShown(frame->m_hWnd), menu);
    const std::vector<std::wstring> buttons = {L"Open", L"8312"};
    EXPECT_EQ(platform::display::ToolBarShown(tools->m_hWnd), buttons);
    // Nothing shown for a window without them.
    EXPECT_TRUE(platform::display::MenuBarShown(tools->m_hWnd).empty());
    EXPECT_TRUE(platform::display::ToolBarShown(nullptr).empty());
    frame->DestroyWindow(); // before the bar, which is the caller's
}

} // namespace
