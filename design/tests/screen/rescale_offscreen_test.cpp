// The Rescale dialog on the display: keys typed into its boxes' widgets reach the model, which
// rewrites only the partner boxes, and the widgets settle on the model's texts.
#include "design/document/rescale.h"
#include "design/tests/screen/display_host.h"
#include "design/tests/tool_fixture.h"
#include "platform/display/control_actions.h"
#include "platform/display/display.h"

#include <string>

namespace {

using R = CRescale;

using RescaleOffscreen = OnDisplay<ToolHost>;

std::wstring Text(HWND dlg, int id) {
    wchar_t buf[64] = {};
    GetDlgItemTextW(dlg, id, buf, 64);
    return buf;
}

TEST_F(RescaleOffscreen, KeysTypedIntoTheBoxesSettle) {
    const struct {
        int keep;
        int edit;
        const wchar_t* typed;
        const wchar_t* width;
        const wchar_t* height;
        const wchar_t* widthPct;
        const wchar_t* heightPct;
    } cases[] = {
        {1, R::IDC_WIDTH, L"50", L"50", L"50.00", L"50.0", L"50.0"},
        {0, R::IDC_HEIGHT, L"25.5", L"100.00", L"25.5", L"100.0", L"25.5"},
        {1, R::IDC_WIDTH, L"x", L"x", L"0.00", L"0.0", L"0.0"},
    };
    const int boxes[] = {R::IDC_WIDTH, R::IDC_HEIGHT, R::IDC_WIDTH_PERCENT, R::IDC_HEIGHT_PERCENT};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.edit << " " << std::string(c.typed, c.typed + 1));
        QvSetAppParam(R::kAspectParam, c.keep);
        QvSetAppParam(R::kPercentageParam, 0);
        R dlg(view);
        dlg.SetView(view);
        ASSERT_TRUE(dlg.Create(R::IDD, view));
        dlg.ShowWindow(SW_SHOW);
        platform::display::Flush();
        ASSERT_TRUE(platform::display::TypeIntoEditWidget(GetDlgItem(dlg.m_hWnd, c.edit), c.typed));
        platform::display::Flush();
        EXPECT_EQ(Text(dlg.m_hWnd, R::IDC_WIDTH), c.width);
        EXPECT_EQ(Text(dlg.m_hWnd, R::IDC_HEIGHT), c.height);
        EXPECT_EQ(Text(dlg.m_hWnd, R::IDC_WIDTH_PERCENT), c.widthPct);
        EXPECT_EQ(Text(dlg.m_hWnd, R::IDC_HEIGHT_PERCENT), c.heightPct);
        // The widgets show the model's texts, and another round changes nothing.
        for (int round = 0; round < 2; ++round) {
            for (int id : boxes)
                EXPECT_EQ(platform::display::EditWidgetText(GetDlgItem(dlg.m_hWnd, id)),
                          Text(dlg.m_hWnd, id))
                    << id;
            platform::display::Flush();
        }
        dlg.DestroyWindow();
    }
}

} // namespace
