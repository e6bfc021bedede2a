// Under Xvfb: the Rescale dialog over a design with a selection, and the Screen Properties
// dialog with the monitor's values in grey, saved as PNGs for a person to look at.
#include "design/document/rescale.h"
#include "design/document/screen_properties.h"
#include "design/tests/screen/display_host.h"
#include "design/tests/tool_fixture.h"
#include "platform/display/display.h"

#include <string>

namespace {

using ViewDialogsScreen = OnDisplay<ToolHost>;

TEST_F(ViewDialogsScreen, RescaleOverADesign) {
    CArticle* a = Box(CWindow(20000, 20000, 60000, 50000));
    Box(CWindow(65000, 10000, 90000, 80000));
    page->AddObjectSelection(a, 1, 1);
    view->ZoomFirst();
    Paint();
    CRescale dlg(view);
    dlg.SetView(view);
    ASSERT_TRUE(dlg.Create(CRescale::IDD, view));
    dlg.ShowWindow(SW_SHOW);
    SetDlgItemTextW(dlg.m_hWnd, CRescale::IDC_WIDTH, L"80");
    Pump();
    platform::display::Flush();
    EXPECT_TRUE(platform::display::SaveScreenshot(m_frame->GetSafeHwnd(),
                                                  TEST_BINARY_DIR "/rescale_design.png"));
    EXPECT_TRUE(
        platform::display::SaveScreenshot(dlg.m_hWnd, TEST_BINARY_DIR "/rescale_dialog.png"));
    dlg.DestroyWindow();
}

TEST_F(ViewDialogsScreen, ScreenPropertiesWithGreyDefaults) {
    CScreenProperties dlg;
    dlg.SetDefaults(34500, 1920);
    ASSERT_TRUE(dlg.Create(CScreenProperties::IDD, view));
    dlg.ShowWindow(SW_SHOW);
    Pump();
    platform::display::Flush();
    EXPECT_TRUE(
        platform::display::SaveScreenshot(dlg.m_hWnd, TEST_BINARY_DIR "/screen_properties.png"));
    dlg.DestroyWindow();
}

} // namespace
