#include "platform/display/dialog_font.h"

#include "display_fixture.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>

namespace {

constexpr UINT kUnitsDialog = 9302;

INT_PTR CALLBACK_Plain(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

class DialogFontTest : public DisplayTest {};

// The base units from the display's own font: the mean width of the 52 letters, rounded, and
// the font's height.
platform::DialogBaseUnits Expected() {
    const QFontMetrics metrics(QApplication::font());
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {int(double(letters) / 52 + 0.5), metrics.height()};
}

TEST_F(DialogFontTest, DialogUnitsComeFromTheFontTheControlsAreDrawnIn) {
    platform::RegisterDialogTemplate(
        {kUnitsDialog,
         WS_POPUP | WS_CAPTION,
         200,
         80,
         L"Units",
         L"MS Sans Serif",
         8,
         {{20, WC_BUTTON, L"Least media movement", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 8,
           16, 100, 10}}});
    HWND dlg = CreateDialogParamW(nullptr, kUnitsDialog, nullptr, CALLBACK_Plain, 0);
    ASSERT_NE(dlg, nullptr);
    m_windows.push_back(dlg);
    ShowWindow(dlg, SW_SHOW);
    Pump();
    const platform::DialogBaseUnits base = Expected();
    RECT client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(client.right, MulDiv(200, base.cx, 4));
    EXPECT_EQ(client.bottom, MulDiv(80, base.cy, 8));
    RECT r{8, 16, 100, 10};
    ASSERT_TRUE(MapDialogRect(dlg, &r));
    EXPECT_EQ(r.left, MulDiv(8, base.cx, 4));
    EXPECT_EQ(r.top, MulDiv(16, base.cy, 8));
    // The widget is drawn in the font the units were measured in.
    QWidget* radio = Widget(GetDlgItem(dlg, 20));
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(QFontMetrics(radio->font()).height(), base.cy);
    EXPECT_EQ(radio->width(), MulDiv(100, base.cx, 4));
}

TEST_F(DialogFontTest, TheMeasureGoesWithTheDisplay) {
    const platform::DialogBaseUnits base = Expected();
    const platform::DialogBaseUnits shown = platform::DialogBaseUnitsFor(L"MS Sans Serif", 8);
    EXPECT_EQ(shown.cx, base.cx);
    EXPECT_EQ(shown.cy, base.cy);
    platform::display::MeasureDialogsInDisplayFont(false);
    EXPECT_EQ(platform::DialogBaseUnitsFor(L"MS Sans Serif", 8).cx,
              platform::kClassicDialogBaseUnits.cx);
    platform::display::MeasureDialogsInDisplayFont(true);
    EXPECT_EQ(platform::DialogBaseUnitsFor(L"MS Sans Serif", 8).cx, base.cx);
}

} // namespace
