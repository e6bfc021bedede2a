#include "platform/framework/dialog_ex.h"

#include "platform/graphics/surface.h"
#include "platform/windowing/system_metrics.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kTemplate = 9320;
constexpr UINT kIcon = 9321;

void Register() {
    platform::RegisterDialogTemplate(DialogTemplate{kTemplate,
                                                    WS_POPUP | WS_CAPTION,
                                                    80,
                                                    40,
                                                    L"Ex",
                                                    L"MS Sans Serif",
                                                    8,
                                                    {{IDOK, WC_BUTTON, L"OK", 0, 5, 5, 40, 14}}});
    // A 2 x 2 icon: red, transparent, green, blue.
    platform::RegisterIcon(kIcon, 2, 2, {0xFFFF0000, 0x00FFFFFF, 0xFF00FF00, 0xFF0000FF});
}

TEST(CDialogEx, CarriesItsIconsAndIconsDrawTheirOpaquePixels) {
    Register();
    HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(kIcon));
    ASSERT_TRUE(icon);
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(kIcon + 1)), nullptr);
    SIZE size{};
    EXPECT_TRUE(platform::GetIconSize(icon, &size));
    EXPECT_EQ(size.cx, 2);

    CDialogEx dlg(kTemplate);
    ASSERT_TRUE(dlg.Create(kTemplate));
    EXPECT_EQ(dlg.SetIcon(icon, TRUE), nullptr);
    EXPECT_EQ(dlg.GetIcon(TRUE), icon);
    EXPECT_EQ(dlg.GetIcon(FALSE), nullptr);

    CDC* dc = dlg.GetDC();
    RECT all{0, 0, 10, 10};
    FillRect(dc->GetSafeHdc(), &all, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(DrawIcon(dc->GetSafeHdc(), 3, 4, icon));
    EXPECT_EQ(GetPixel(dc->GetSafeHdc(), 3, 4), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc->GetSafeHdc(), 4, 4), RGB(255, 255, 255)); // transparent
    EXPECT_EQ(GetPixel(dc->GetSafeHdc(), 3, 5), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc->GetSafeHdc(), 4, 5), RGB(0, 0, 255));
    dlg.ReleaseDC(dc);
    EXPECT_FALSE(DrawIcon(nullptr, 0, 0, icon));
    EXPECT_FALSE(IsIconic(dlg.m_hWnd));
    dlg.ModifyStyle(0, WS_MINIMIZE);
    EXPECT_TRUE(IsIconic(dlg.m_hWnd));
    dlg.DestroyWindow();
}

TEST(CDialogEx, CentresOverItsOwnerAndStaysOnTheDesktop) {
    Register();
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"main", WS_POPUP | WS_VISIBLE, CRect(100, 100, 700, 500),
                              nullptr, 0));
    CDialogEx dlg(kTemplate);
    ASSERT_TRUE(dlg.Create(kTemplate, &main));
    CRect r;
    dlg.GetWindowRect(&r);
    dlg.CenterWindow();
    CRect c;
    dlg.GetWindowRect(&c);
    EXPECT_EQ(c.Width(), r.Width());
    EXPECT_EQ(c.left, 100 + (600 - r.Width()) / 2);
    EXPECT_EQ(c.top, 100 + (400 - r.Height()) / 2);

    // Near a monitor's edge the dialog is pulled back onto that monitor's work area.
    platform::SetMonitors({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, L"\\\\.\\DISPLAY1"},
                           {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1040}, L"\\\\.\\DISPLAY2"}});
    main.MoveWindow(-400, -300, 200, 100);
    dlg.CenterWindow();
    dlg.GetWindowRect(&c);
    EXPECT_EQ(c.TopLeft(), CPoint(0, 0));
    main.MoveWindow(3700, 1000, 200, 100);
    dlg.CenterWindow();
    dlg.GetWindowRect(&c);
    EXPECT_EQ(c.BottomRight(), CPoint(3840, 1040));
    platform::SetMonitors({});
    dlg.DestroyWindow();
    main.DestroyWindow();
}

} // namespace
