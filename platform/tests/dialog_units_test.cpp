#include "platform/windowing/dialog_units.h"

#include "platform/windowing/dialog_template.h"
#include "platform/windowing/message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const DialogTemplate kUnitsTemplate{
    9200,
    WS_POPUP | WS_CAPTION | DS_MODALFRAME,
    200,
    100,
    L"Units",
    L"MS Sans Serif",
    8,
    {{400, WC_BUTTON, L"Least media movement", BS_AUTORADIOBUTTON, 7, 33, 100, 10},
     {IDOK, WC_BUTTON, L"OK", BS_DEFPUSHBUTTON, 10, 80, 40, 14}}};

INT_PTR CALLBACK_Nothing(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

struct Asked {
    std::wstring face;
    int pointSize;
    std::wstring text;
};

std::vector<Asked>& AskedLog() {
    static std::vector<Asked> log;
    return log;
}

// A font whose 52 letters are 416 pixels wide (8 per letter) and whose lines are 16 high.
bool WideFont(const wchar_t* face, int pointSize, const wchar_t* text, SIZE* size) {
    AskedLog().push_back({face ? face : L"", pointSize, text});
    *size = SIZE{416, 16};
    return true;
}

bool Unknown(const wchar_t*, int, const wchar_t*, SIZE*) {
    return false;
}

struct DialogUnits : ::testing::Test {
    void SetUp() override {
        platform::ResetMessageQueue();
        platform::RegisterDialogTemplate(kUnitsTemplate);
        AskedLog().clear();
    }
    void TearDown() override { platform::SetDialogTextMeasure(nullptr); }

    static RECT ControlRect(HWND dlg, int id) {
        RECT r;
        GetWindowRect(GetDlgItem(dlg, id), &r);
        POINT o{0, 0};
        ClientToScreen(dlg, &o);
        return RECT{r.left - o.x, r.top - o.y, r.right - o.x, r.bottom - o.y};
    }
};

TEST(DialogBaseUnits, AverageWidthIsTheRoundedMeanOfTheLetters) {
    struct Case {
        const char* name;
        int lettersWidth, height;
        int cx, cy;
    } const cases[] = {
        {"the classic dialog font", 312, 13, 6, 13},
        {"a mean of 6.48 rounds down", 337, 14, 6, 14},
        {"a mean of 6.5 rounds up", 338, 14, 7, 14},
        {"a mean of 7.48 rounds down", 389, 15, 7, 15},
        {"a mean of 7.5 rounds up", 390, 15, 8, 15},
        {"nothing measured", 0, 0, 6, 13},
        {"a width without a height", 300, 0, 6, 13},
        {"letters narrower than half a pixel", 20, 13, 6, 13},
        {"a negative width", -400, 13, 6, 13},
    };
    for (const Case& c : cases) {
        const platform::DialogBaseUnits u =
            platform::BaseUnitsFromLetters(c.lettersWidth, c.height);
        EXPECT_EQ(u.cx, c.cx) << c.name;
        EXPECT_EQ(u.cy, c.cy) << c.name;
    }
}

TEST_F(DialogUnits, WithoutAMeasureTheClassicUnitsApply) {
    HWND dlg = CreateDialogParamW(nullptr, 9200, nullptr, CALLBACK_Nothing, 0);
    ASSERT_NE(dlg, nullptr);
    RECT client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(client.right, 300);  // 200 units of 6/4
    EXPECT_EQ(client.bottom, 163); // 100 units of 13/8, rounded
    RECT r{4, 8, 100, 10};
    ASSERT_TRUE(MapDialogRect(dlg, &r));
    EXPECT_EQ(r.left, 6);
    EXPECT_EQ(r.top, 13);
    EXPECT_EQ(r.right, 150);
    EXPECT_EQ(r.bottom, 16);
    DestroyWindow(dlg);
}

TEST_F(DialogUnits, TheDialogIsLaidOutInTheMeasuredFont) {
    platform::SetDialogTextMeasure(WideFont);
    HWND dlg = CreateDialogParamW(nullptr, 9200, nullptr, CALLBACK_Nothing, 0);
    ASSERT_NE(dlg, nullptr);
    RECT client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(client.right, 400);  // 200 units of 8/4
    EXPECT_EQ(client.bottom, 200); // 100 units of 16/8
    const RECT radio = ControlRect(dlg, 400);
    EXPECT_EQ(radio.left, 14);
    EXPECT_EQ(radio.top, 66);
    EXPECT_EQ(radio.right - radio.left, 200);
    EXPECT_EQ(radio.bottom - radio.top, 20);
    // The font asked about is the template's, measured by the 52 letters.
    ASSERT_EQ(AskedLog().size(), 1u);
    EXPECT_EQ(AskedLog()[0].face, L"MS Sans Serif");
    EXPECT_EQ(AskedLog()[0].pointSize, 8);
    EXPECT_EQ(AskedLog()[0].text, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    DestroyWindow(dlg);
}

TEST_F(DialogUnits, MapDialogRectUsesTheUnitsOfTheDialogAControlBelongsTo) {
    platform::SetDialogTextMeasure(WideFont);
    HWND dlg = CreateDialogParamW(nullptr, 9200, nullptr, CALLBACK_Nothing, 0);
    ASSERT_NE(dlg, nullptr);
    for (HWND w : {dlg, GetDlgItem(dlg, IDOK)}) {
        RECT r{4, 8, 100, 10};
        ASSERT_TRUE(MapDialogRect(w, &r));
        EXPECT_EQ(r.left, 8);
        EXPECT_EQ(r.top, 16);
        EXPECT_EQ(r.right, 200);
        EXPECT_EQ(r.bottom, 20);
    }
    // A dialog keeps the units it was made with when the measure changes.
    platform::SetDialogTextMeasure(nullptr);
    RECT r{4, 8, 0, 0};
    MapDialogRect(dlg, &r);
    EXPECT_EQ(r.left, 8);
    EXPECT_EQ(r.top, 16);
    DestroyWindow(dlg);
}

TEST_F(DialogUnits, EachFontIsMeasuredOnce) {
    platform::SetDialogTextMeasure(WideFont);
    for (int i = 0; i < 3; ++i)
        DestroyWindow(CreateDialogParamW(nullptr, 9200, nullptr, CALLBACK_Nothing, 0));
    EXPECT_EQ(AskedLog().size(), 1u);
    EXPECT_EQ(platform::DialogBaseUnitsFor(L"MS Sans Serif", 10).cx, 8);
    EXPECT_EQ(AskedLog().size(), 2u);
    // A new measure forgets what the old one said.
    platform::SetDialogTextMeasure(WideFont);
    platform::DialogBaseUnitsFor(L"MS Sans Serif", 8);
    EXPECT_EQ(AskedLog().size(), 3u);
}

TEST_F(DialogUnits, AFontTheMeasureCannotTellGetsTheClassicUnits) {
    platform::SetDialogTextMeasure(Unknown);
    const platform::DialogBaseUnits u = platform::DialogBaseUnitsFor(L"MS Sans Serif", 8);
    EXPECT_EQ(u.cx, 6);
    EXPECT_EQ(u.cy, 13);
    HWND dlg = CreateDialogParamW(nullptr, 9200, nullptr, CALLBACK_Nothing, 0);
    ASSERT_NE(dlg, nullptr);
    RECT client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(client.right, 300);
    DestroyWindow(dlg);
}

} // namespace
