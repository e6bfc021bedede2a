#include "design/document/screen_properties.h"

#include "design/tests/design_host.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/edit_control.h"

#include <functional>
#include <string>

namespace {

using S = CScreenProperties;

std::wstring Text(HWND dlg, int id) {
    wchar_t buf[64] = {};
    GetDlgItemTextW(dlg, id, buf, 64);
    return buf;
}

void Press(HWND dlg, int id) {
    SendDlgItemMessageW(dlg, id, BM_CLICK, 0, 0);
}

// Command 43212 of the design view, answered by the test.
class ScreenPropertiesTest : public DesignHost {
protected:
    void SetUp() override {
        DesignHost::SetUp();
        ASSERT_TRUE(Open());
    }

    int Run(const std::function<void(HWND, S&)>& respond) {
        int shown = 0;
        platform::ScopedDialogResponder r([&](HWND dlg, UINT id) {
            if (id != S::IDD)
                return;
            ++shown;
            auto* d = dynamic_cast<S*>(CWnd::FromHandle(dlg));
            ASSERT_NE(d, nullptr);
            respond(dlg, *d);
        });
        Command(CDesignView::ID_SCREEN_WIDTH);
        return shown;
    }
};

TEST_F(ScreenPropertiesTest, UnsetValuesOpenEmptyWithTheMonitorsInGrey) {
    int32_t s = 0, p = 0;
    CDesignView::ScreenWidths(s, p);
    EXPECT_EQ(Run([&](HWND dlg, S& d) {
                  EXPECT_EQ(Text(dlg, S::IDC_SCREEN_WIDTH), L"");
                  EXPECT_EQ(Text(dlg, S::IDC_SCREEN_PIXELS), L"");
                  // A monitor that reports nothing shows no grey text either.
                  EXPECT_EQ(d.m_WidthEdit.DefaultText(),
                            s > 0 ? FormatString(L"%d", int(s / 100)) : CString());
                  EXPECT_EQ(d.m_PixelsEdit.DefaultText(),
                            p > 0 ? FormatString(L"%d", int(p)) : CString());
                  // The same texts are the edits' cue texts, for a display that draws them.
                  EXPECT_EQ(CString(platform::EditCueBanner(d.m_WidthEdit.m_hWnd).c_str()),
                            d.m_WidthEdit.DefaultText());
                  EXPECT_EQ(CString(platform::EditCueBanner(d.m_PixelsEdit.m_hWnd).c_str()),
                            d.m_PixelsEdit.DefaultText());
                  // Painting swaps the default text in and out again.
                  d.m_WidthEdit.SetDefaultText(L"345");
                  SendMessageW(d.m_WidthEdit.m_hWnd, WM_PAINT, 0, 0);
                  EXPECT_EQ(Text(dlg, S::IDC_SCREEN_WIDTH), L"");
                  EXPECT_EQ(d.m_WidthEdit.ShowingDefault(), 0);
                  EXPECT_EQ(platform::EditCueBanner(d.m_WidthEdit.m_hWnd), L"345");
                  Press(dlg, IDOK);
              }),
              1);
    EXPECT_EQ(QvGetSetAppParam(S::kWidthParam, -1), 0);
    EXPECT_EQ(QvGetSetAppParam(S::kPixelsParam, -1), 0);
}

TEST_F(ScreenPropertiesTest, TypedValuesAreCheckedAndStored) {
    const struct {
        int inches;
        const wchar_t* width;
        const wchar_t* pixels;
        bool refused;
        int storedWidth, storedPixels;
    } cases[] = {
        {0, L"345", L"1920", false, 34500, 1920}, {1, L"13.58", L"", false, 34493, 0},
        {1, L"40.5", L"1920", true, 0, 0},        {0, L"99", L"1920", true, 0, 0},
        {0, L"345", L"4001", true, 0, 0},         {0, L"abc", L"", true, 0, 0},
    };
    for (const auto& c : cases) {
        QvSetAppParam(L"Display Inches", c.inches);
        QvSetAppParam(S::kWidthParam, 0);
        QvSetAppParam(S::kPixelsParam, 0);
        const size_t shownBefore = m_boxes.Shown().size();
        Run([&](HWND dlg, S&) {
            SetDlgItemTextW(dlg, S::IDC_SCREEN_WIDTH, c.width);
            SetDlgItemTextW(dlg, S::IDC_SCREEN_PIXELS, c.pixels);
            Press(dlg, IDOK);
            EXPECT_EQ(platform::IsDialogEnded(dlg), !c.refused) << c.width;
            if (c.refused)
                Press(dlg, IDCANCEL);
        });
        EXPECT_EQ(m_boxes.Shown().size(), shownBefore + (c.refused ? 1 : 0)) << c.width;
        EXPECT_EQ(QvGetSetAppParam(S::kWidthParam, -1), c.storedWidth) << c.width;
        EXPECT_EQ(QvGetSetAppParam(S::kPixelsParam, -1), c.storedPixels) << c.width;
    }
}

TEST_F(ScreenPropertiesTest, StoredWidthShowsInTheDisplayUnit) {
    QvSetAppParam(S::kWidthParam, 34500);
    QvSetAppParam(S::kPixelsParam, 1920);
    for (int inches : {0, 1}) {
        QvSetAppParam(L"Display Inches", inches);
        Run([&](HWND dlg, S&) {
            EXPECT_EQ(Text(dlg, S::IDC_SCREEN_WIDTH), inches ? L"13.58" : L"345");
            EXPECT_EQ(Text(dlg, S::IDC_SCREEN_PIXELS), L"1920");
            Press(dlg, IDCANCEL);
        });
    }
}

TEST_F(ScreenPropertiesTest, LeavingAnInvalidBoxForCancelSaysNothing) {
    Run([&](HWND dlg, S&) {
        SetDlgItemTextW(dlg, S::IDC_SCREEN_WIDTH, L"5000");
        ::SetFocus(GetDlgItem(dlg, S::IDC_SCREEN_WIDTH));
        const size_t before = m_boxes.Shown().size();
        ::SetFocus(GetDlgItem(dlg, IDCANCEL));
        EXPECT_EQ(m_boxes.Shown().size(), before);
        ::SetFocus(GetDlgItem(dlg, S::IDC_SCREEN_WIDTH));
        ::SetFocus(GetDlgItem(dlg, S::IDC_SCREEN_PIXELS));
        EXPECT_GT(m_boxes.Shown().size(), before);
        Press(dlg, IDCANCEL);
    });
    EXPECT_EQ(QvGetSetAppParam(S::kWidthParam, -1), 0);
}

} // namespace
