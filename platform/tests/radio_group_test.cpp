#include "platform/windowing/radio_group.h"

#include "platform/windowing/dialog_template.h"
#include "platform/windowing/message.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD kRadio = BS_AUTORADIOBUTTON;

// Two groups of radio buttons with a group box and a push button between them.
HWND MakeDialog() {
    static const DialogTemplate tmpl{
        9300,
        WS_POPUP,
        120,
        80,
        L"Groups",
        L"MS Sans Serif",
        8,
        {{10, WC_BUTTON, L"Parity", BS_GROUPBOX, 0, 0, 50, 40},
         {11, WC_BUTTON, L"None", kRadio | WS_GROUP, 0, 0, 40, 10},
         {12, WC_BUTTON, L"Odd", kRadio, 0, 0, 40, 10},
         {13, WC_BUTTON, L"Even", kRadio, 0, 0, 40, 10},
         {20, WC_BUTTON, L"Stop Bits", BS_GROUPBOX | WS_GROUP, 0, 0, 50, 40},
         {21, WC_BUTTON, L"One", kRadio | WS_GROUP, 0, 0, 40, 10},
         {22, WC_BUTTON, L"Two", kRadio, 0, 0, 40, 10},
         {IDOK, WC_BUTTON, L"OK", BS_DEFPUSHBUTTON | WS_GROUP, 0, 0, 40, 10}}};
    platform::RegisterDialogTemplate(tmpl);
    return CreateDialogParamW(nullptr, 9300, nullptr, nullptr, 0);
}

TEST(RadioGroup, AClickUnchecksOnlyItsOwnGroup) {
    HWND d = MakeDialog();
    ASSERT_TRUE(d);
    CheckDlgButton(d, 11, BST_CHECKED);
    CheckDlgButton(d, 22, BST_CHECKED);
    SendDlgItemMessageW(d, 12, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(d, 11), UINT(BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(d, 12), UINT(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(d, 22), UINT(BST_CHECKED)); // the other group kept its choice
    EXPECT_EQ(platform::GetCheckedRadioButton(d, 11, 13), 12);
    EXPECT_EQ(platform::GetCheckedRadioButton(d, 21, 22), 22);

    EXPECT_EQ(platform::RadioGroupOf(GetDlgItem(d, 13)).size(), 3u);
    EXPECT_EQ(platform::RadioGroupOf(GetDlgItem(d, 21)).size(), 2u);
    EXPECT_TRUE(platform::RadioGroupOf(GetDlgItem(d, IDOK)).empty());

    CheckRadioButton(d, 21, 22, 21);
    EXPECT_EQ(platform::GetCheckedRadioButton(d, 21, 22), 21);
    EXPECT_EQ(platform::GetCheckedRadioButton(d, 11, 13), 12);
    // A group box takes no clicks.
    SendDlgItemMessageW(d, 10, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(d, 10), UINT(BST_UNCHECKED));
    DestroyWindow(d);
}

} // namespace
