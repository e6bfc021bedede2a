// The main frame's toolbars on the display: the main and view toolbars share the top row, the
// layout toolbar floats in a window as wide as its buttons. For a person to look at, the
// frame and the floating toolbar as PNGs in the build tree.
#include "kelvane/app/app_resources.h"
#include "kelvane/app/main_frame.h"
#include "kelvane/app/qv_multi_doc_template.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "platform/display/display.h"
#include "platform/display/display_probe.h"
#include "platform/framework/docking_manager.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/dialog_template.h"
#include "toolbars/custom_tool_bar.h"
#include "toolbars/toolbar_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The system's font library keeps its caches for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace {

constexpr int kMainSlot = 0, kLayoutSlot = 11, kViewSlot = 36, kColourSlot = 47;
constexpr DWORD kEveryContext = 0xFFFFFFFF;

CRect WindowRectOf(CWnd* w) {
    CRect r;
    w->GetWindowRect(&r);
    return r;
}

TEST(MainFrameToolbars, ShareTheTopRowAndFloatAsWideAsTheirButtons) {
    static int argc = 1;
    static char name[] = "kelvane";
    static char* argv[] = {name, nullptr};
    if (!platform::display::Start(argc, argv))
        GTEST_SKIP() << "no display";
    const std::string dir = TEST_BINARY_DIR;
    {
        SettingsSandbox box;
        CVanterFerolinApp app;
        {
            // No cutter is installed: the installation the start offers is declined.
            platform::ScopedDialogResponder decline(
                [](HWND dialog, UINT) { EndDialog(dialog, IDCANCEL); });
            ASSERT_TRUE(app.InitInstance());
        }
        ASSERT_NE(app.DesignTemplate()->OpenDocumentFile(nullptr, TRUE), nullptr);
        platform::display::Flush(); // the design's own toolbars come up first
        CMainFrame* frame = app.MainFrame();
        ASSERT_NE(QvCreateToolbar(kViewSlot, kelvane::IDR_VIEW_TOOLBAR, kEveryContext), nullptr);
        ASSERT_NE(QvCreateToolbar(kLayoutSlot, kelvane::IDR_LAYOUT_TOOLBAR, kEveryContext),
                  nullptr);
        QvPlaceToolbar(kViewSlot, AFX_IDW_DOCKBAR_TOP, 70, TRUE); // at the end of the row
        QvPlaceToolbar(kLayoutSlot, AFX_IDW_DOCKBAR_FLOAT, -1, TRUE);
        frame->RecalcLayout();
        platform::display::Flush();

        CCustomToolBar* mainBar = QvGetToolBar(kMainSlot, 0);
        CCustomToolBar* viewBar = QvGetToolBar(kViewSlot, 0);
        CCustomToolBar* layoutBar = QvGetToolBar(kLayoutSlot, 0);
        ASSERT_TRUE(mainBar && viewBar && layoutBar);
        const CRect m = WindowRectOf(mainBar), v = WindowRectOf(viewBar);
        // At the end of the top row, after the design's colour list.
        EXPECT_EQ(v.top, m.top);
        EXPECT_GE(v.left, m.right);
        // The whole cutting toolbar, in pictures, fits on the row.
        EXPECT_EQ(platform::display::ToolBarShown(viewBar->m_hWnd).size(), 16u);
        CRect frameRect;
        frame->GetWindowRect(&frameRect);
        EXPECT_LE(v.right, frameRect.right);
        EXPECT_EQ(platform::display::ToolBarShown(mainBar->m_hWnd),
                  (std::vector<std::wstring>{L"New", L"Open", L"Save"}));

        CWnd* mini = frame->GetDockingManager()->GetMiniFrame(layoutBar);
        ASSERT_NE(mini, nullptr);
        CRect client;
        mini->GetClientRect(&client);
        EXPECT_EQ(client.Width(), layoutBar->CalcFloatingSize().cx);
        EXPECT_EQ(platform::display::ToolBarShown(layoutBar->m_hWnd).size(), 2u);

        EXPECT_TRUE(
            platform::display::SaveScreenshot(frame->m_hWnd, dir + "/main_frame_toolbars.png"));
        EXPECT_TRUE(
            platform::display::SaveScreenshot(mini->m_hWnd, dir + "/main_frame_floating.png"));
        ::PostMessageW(frame->m_hWnd, WM_CLOSE, 0, 0);
        app.Run();
        CWnd::DeleteTempMap();
    }
    platform::display::Stop();
}

// The program as a person meets it: a design open, its toolbars set up as the design comes up,
// all on the top row, and the design drawn. For a person to look at, the frame as a PNG.
TEST(MainFrameToolbars, ADesignWindowsToolbarsComeUpWithItOnTheTopRow) {
    static int argc = 1;
    static char name[] = "kelvane";
    static char* argv[] = {name, nullptr};
    if (!platform::display::Start(argc, argv))
        GTEST_SKIP() << "no display";
    {
        SettingsSandbox box;
        CVanterFerolinApp app;
        {
            platform::ScopedDialogResponder decline(
                [](HWND dialog, UINT) { EndDialog(dialog, IDCANCEL); });
            ASSERT_TRUE(app.InitInstance());
        }
        CMainFrame* frame = app.MainFrame();
        ASSERT_NE(app.DesignTemplate()->OpenDocumentFile(nullptr, TRUE), nullptr);
        // The program's loop: messages, then the idle work (which draws what was held back).
        for (int round = 0; round < 3; ++round) {
            MSG msg;
            for (int i = 0; i < 10000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            app.OnIdle(0);
            platform::display::Flush();
        }

        CCustomToolBar* mainBar = QvGetToolBar(kMainSlot, 0);
        CCustomToolBar* cutting = QvGetToolBar(kViewSlot, 0);
        CCustomToolBar* colours = QvGetToolBar(kColourSlot, 0);
        ASSERT_TRUE(mainBar && cutting && colours);
        EXPECT_EQ(platform::display::ToolBarShown(cutting->m_hWnd).size(), 16u);
        CRect client;
        frame->GetWindowRect(&client);
        for (CCustomToolBar* bar : {cutting, colours}) {
            const CRect r = WindowRectOf(bar);
            EXPECT_EQ(r.top, WindowRectOf(mainBar).top) << "on the top row";
            EXPECT_LE(r.right, client.right);
        }
        EXPECT_TRUE(platform::display::SaveScreenshot(frame->m_hWnd, std::string(TEST_BINARY_DIR) +
                                                                         "/main_frame_design.png"));
        ::PostMessageW(frame->m_hWnd, WM_CLOSE, 0, 0);
        app.Run();
        CWnd::DeleteTempMap();
    }
    platform::display::Stop();
}

} // namespace
