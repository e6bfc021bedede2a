#include "platform/display/dialog_text_fit.h"

#include "display_fixture.h"
#include "platform/windowing/dialog_template.h"

#include <string>

namespace {

constexpr UINT kFitDialog = 9301;
constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kRadio = kShown | BS_AUTORADIOBUTTON;
constexpr DWORD kCheck = kShown | BS_AUTOCHECKBOX;

INT_PTR CALLBACK_Plain(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

struct FitCase {
    const char* name;
    DialogControl control;
    const wchar_t* problem; // the start of the one misfit told, or null for none
};

class DialogTextFitTest : public DisplayTest {
protected:
    // The misfits of a dialog holding these controls.
    std::vector<platform::display::TextMisfit> Misfits(std::vector<DialogControl> controls) {
        platform::RegisterDialogTemplate({kFitDialog, WS_POPUP | WS_CAPTION, 240, 160, L"Fit",
                                          L"MS Sans Serif", 8, std::move(controls)});
        HWND dlg = CreateDialogParamW(nullptr, kFitDialog, nullptr, CALLBACK_Plain, 0);
        EXPECT_NE(dlg, nullptr);
        m_windows.push_back(dlg);
        ShowWindow(dlg, SW_SHOW);
        return platform::display::DialogTextMisfits(dlg);
    }
};

TEST_F(DialogTextFitTest, ATextCutByItsControlIsTold) {
    const std::wstring note = L"Selecting a language will automatically apply the change.";
    const FitCase cases[] = {
        {"a radio button wide enough",
         {10, WC_BUTTON, L"Least media movement", kRadio, 7, 7, 150, 10},
         nullptr},
        {"a radio button too narrow",
         {10, WC_BUTTON, L"Least media movement", kRadio, 7, 7, 40, 10},
         L"wider than its control"},
        {"a check box too narrow",
         {10, WC_BUTTON, L"Inside objects first", kCheck, 7, 7, 30, 10},
         L"wider than its control"},
        {"a check box without a text", {10, WC_BUTTON, L"", kCheck, 7, 7, 10, 10}, nullptr},
        {"a static text wide enough",
         {10, WC_STATIC, L"Max. deviation:", kShown, 7, 7, 100, 8},
         nullptr},
        {"a one-line static text whose words wrap out of sight",
         {10, WC_STATIC, L"Max. deviation:", kShown, 7, 7, 40, 8},
         L"higher than its control"},
        {"a word wider than its static text",
         {10, WC_STATIC, L"(mm)", kShown, 7, 7, 6, 8},
         L"wider than its control"},
        {"a long text wrapped in a static text of lines enough",
         {10, WC_STATIC, note.c_str(), kShown, 7, 7, 100, 40},
         nullptr},
        {"a hidden control is measured too",
         {10, WC_BUTTON, L"Always bottom", WS_CHILD | BS_AUTORADIOBUTTON, 7, 7, 20, 10},
         L"wider than its control"},
    };
    for (const FitCase& c : cases) {
        const auto misfits = Misfits({c.control});
        if (!c.problem) {
            EXPECT_TRUE(misfits.empty()) << c.name << ": " << misfits.size();
            continue;
        }
        ASSERT_EQ(misfits.size(), 1u) << c.name;
        EXPECT_EQ(misfits[0].id, 10) << c.name;
        EXPECT_EQ(misfits[0].text, c.control.text) << c.name;
        EXPECT_EQ(misfits[0].problem.rfind(c.problem, 0), 0u) << c.name;
    }
}

TEST_F(DialogTextFitTest, ButtonsStayInsideTheFrameOfTheirGroupBox) {
    const DialogControl group{-1,  WC_BUTTON, L"Flow Control", kShown | BS_GROUPBOX, 10, 10,
                              100, 60};
    EXPECT_TRUE(Misfits({group, {11, WC_BUTTON, L"Xon/Xoff", kRadio, 16, 26, 60, 10}}).empty());
    // On the title's line, and across the right edge of the frame.
    for (const DialogControl& radio :
         {DialogControl{11, WC_BUTTON, L"Xon/Xoff", kRadio, 16, 10, 60, 10},
          DialogControl{11, WC_BUTTON, L"Xon/Xoff", kRadio, 80, 40, 45, 10}}) {
        const auto misfits = Misfits({group, radio});
        ASSERT_EQ(misfits.size(), 1u) << radio.y;
        EXPECT_EQ(misfits[0].id, 11);
        EXPECT_EQ(misfits[0].problem, L"outside the frame of group box \"Flow Control\"");
    }
}

TEST_F(DialogTextFitTest, ATextRunningIntoItsNeighbourIsToldOnce) {
    const DialogControl check{12, WC_BUTTON, L"Weed Box", kCheck, 7, 26, 60, 10};
    const auto misfits = Misfits({check, {13, WC_STATIC, L"Weed Size", kShown, 20, 27, 48, 8}});
    ASSERT_EQ(misfits.size(), 1u);
    EXPECT_EQ(misfits[0].id, 12);
    EXPECT_EQ(misfits[0].problem, L"runs into control 13");
    // Apart, or the neighbour hidden, nothing is told.
    EXPECT_TRUE(Misfits({check, {13, WC_STATIC, L"Weed Size", kShown, 70, 27, 48, 8}}).empty());
    EXPECT_TRUE(Misfits({check, {13, WC_STATIC, L"Weed Size", WS_CHILD, 20, 27, 48, 8}}).empty());
}

TEST_F(DialogTextFitTest, NothingIsToldWithoutADialog) {
    EXPECT_TRUE(platform::display::DialogTextMisfits(nullptr).empty());
}

} // namespace
