#include "platform/windowing/dialog_template.h"

#include "platform/windowing/edit_control.h"
#include "platform/windowing/message.h"

#include <gtest/gtest.h>

namespace {

const DialogTemplate kTemplate{
    9100,
    WS_POPUP | WS_CAPTION | DS_MODALFRAME,
    120,
    60,
    L"Test",
    L"MS Sans Serif",
    8,
    {{IDOK, WC_BUTTON, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 10, 40, 40, 14},
     {IDCANCEL, WC_BUTTON, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 60, 40, 40, 14},
     {300, WC_STATIC, L"hello", SS_LEFT, 10, 5, 80, 8},
     {301, PROGRESS_CLASS, L"", 0, 10, 20, 100, 10}}};

INT_PTR CALLBACK_OkCancel(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        EndDialog(dlg, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

struct Dialogs : ::testing::Test {
    void SetUp() override {
        platform::ResetMessageQueue();
        platform::RegisterDialogTemplate(kTemplate);
    }
};

TEST_F(Dialogs, TemplateMakesItsControlsInPixels) {
    HWND dlg = CreateDialogParamW(nullptr, 9100, nullptr, CALLBACK_OkCancel, 0);
    ASSERT_NE(dlg, nullptr);
    EXPECT_FALSE(IsWindowVisible(dlg));
    HWND ok = GetDlgItem(dlg, IDOK);
    ASSERT_NE(ok, nullptr);
    RECT r;
    GetClientRect(ok, &r);
    EXPECT_EQ(r.right, 60);  // 40 units of 6/4 pixels
    EXPECT_EQ(r.bottom, 23); // 14 units of 13/8, rounded
    wchar_t buf[16];
    GetDlgItemTextW(dlg, 300, buf, 16);
    EXPECT_STREQ(buf, L"hello");
    DestroyWindow(dlg);
}

struct ProgressCase {
    const char* name;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    LRESULT result;
    int posAfter;
};

TEST_F(Dialogs, ProgressBarKeepsRangePositionAndStep) {
    HWND dlg = CreateDialogParamW(nullptr, 9100, nullptr, CALLBACK_OkCancel, 0);
    HWND bar = GetDlgItem(dlg, 301);
    const ProgressCase cases[] = {
        {"range 0..100", PBM_SETRANGE32, 0, 100, MAKELONG(0, 100), 0},
        {"set pos", PBM_SETPOS, 40, 0, 0, 40},
        {"delta", PBM_DELTAPOS, 25, 0, 40, 65},
        {"set pos clamps", PBM_SETPOS, 500, 0, 65, 100},
        {"step 30", PBM_SETSTEP, 30, 0, 10, 100},
        {"step wraps past the end", PBM_STEPIT, 0, 0, 100, 30},
        {"16-bit range", PBM_SETRANGE, 0, MAKELPARAM(10, 20), MAKELONG(0, 100), 20},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SendMessageW(bar, c.msg, c.wp, c.lp), c.result) << c.name;
        EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), c.posAfter) << c.name;
    }
    DestroyWindow(dlg);
}

TEST_F(Dialogs, ModalDialogAnsweredByTheResponderDisablesItsOwnerMeanwhile) {
    HWND owner = CreateDialogParamW(nullptr, 9100, nullptr, CALLBACK_OkCancel, 0);
    bool ownerWasEnabled = true;
    platform::ScopedDialogResponder responder([&](HWND dlg, UINT id) {
        EXPECT_EQ(id, 9100u);
        ownerWasEnabled = IsWindowEnabled(owner);
        SendDlgItemMessageW(dlg, IDOK, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(DialogBoxParamW(nullptr, 9100, owner, CALLBACK_OkCancel, 0), IDOK);
    EXPECT_FALSE(ownerWasEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

TEST_F(Dialogs, UnansweredModalDialogCancelsAndKeepsAQuitForTheMainLoop) {
    EXPECT_EQ(DialogBoxParamW(nullptr, 9100, nullptr, CALLBACK_OkCancel, 0), IDCANCEL);
    platform::ScopedDialogResponder responder([](HWND, UINT) { PostQuitMessage(4); });
    EXPECT_EQ(DialogBoxParamW(nullptr, 9100, nullptr, CALLBACK_OkCancel, 0), IDCANCEL);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 4u);
}

const DialogTemplate kShownControls{
    9101,
    WS_POPUP | WS_CAPTION | DS_MODALFRAME,
    120,
    60,
    L"Shown",
    L"MS Sans Serif",
    8,
    {{300, WC_STATIC, L"Name:", WS_VISIBLE, 10, 5, 30, 8},
     {301, WC_EDIT, L"", WS_VISIBLE | WS_TABSTOP, 45, 5, 60, 12},
     {IDOK, WC_BUTTON, L"OK", WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP, 10, 40, 40, 14},
     {IDCANCEL, WC_BUTTON, L"Cancel", WS_VISIBLE | WS_TABSTOP, 60, 40, 40, 14}}};

// A dialog that opens a dialog of its own gets the keyboard back where it was, or on its first
// control that takes it when that one can no longer; typed keys would go nowhere otherwise.
TEST_F(Dialogs, TheKeyboardGoesBackIntoADialogWhenADialogOverItEnds) {
    platform::RegisterDialogTemplate(kShownControls);
    struct Case {
        const char* name;
        int focused;    // the control with the keyboard before
        bool disableIt; // disabled while the other dialog is up
        int expected;
    } cases[] = {{"the control it had", IDCANCEL, false, IDCANCEL},
                 {"its first control", IDCANCEL, true, 301}};
    for (const Case& c : cases) {
        HWND owner = CreateDialogParamW(nullptr, 9101, nullptr, CALLBACK_OkCancel, 0);
        ShowWindow(owner, SW_SHOW);
        SetActiveWindow(owner);
        SetFocus(GetDlgItem(owner, c.focused));
        platform::ScopedDialogResponder responder([&](HWND dlg, UINT) {
            SetActiveWindow(dlg);
            EXPECT_TRUE(IsChild(dlg, GetFocus())) << c.name;
            if (c.disableIt)
                EnableWindow(GetDlgItem(owner, c.focused), FALSE);
            SendDlgItemMessageW(dlg, IDOK, BM_CLICK, 0, 0);
        });
        EXPECT_EQ(DialogBoxParamW(nullptr, 9101, owner, CALLBACK_OkCancel, 0), IDOK);
        EXPECT_EQ(GetActiveWindow(), owner) << c.name;
        EXPECT_EQ(GetFocus(), GetDlgItem(owner, c.expected)) << c.name;
        DestroyWindow(owner);
    }
}

// Activated while still disabled (the window manager is quicker than the program), the dialog
// takes the keyboard once it is enabled.
TEST_F(Dialogs, ADialogActivatedWhileDisabledTakesTheKeyboardWhenEnabled) {
    platform::RegisterDialogTemplate(kShownControls);
    HWND owner = CreateDialogParamW(nullptr, 9101, nullptr, CALLBACK_OkCancel, 0);
    ShowWindow(owner, SW_SHOW);
    SetActiveWindow(nullptr);
    SetFocus(nullptr);
    EnableWindow(owner, FALSE);
    SetActiveWindow(owner);
    EXPECT_EQ(GetFocus(), nullptr);
    EnableWindow(owner, TRUE);
    EXPECT_EQ(GetFocus(), GetDlgItem(owner, 301));
    // The keyboard given to the dialog itself goes on to its control.
    SetFocus(GetDlgItem(owner, IDCANCEL));
    SetFocus(owner);
    EXPECT_EQ(GetFocus(), GetDlgItem(owner, IDCANCEL));
    DestroyWindow(owner);
}

} // namespace
