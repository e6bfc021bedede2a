#include "platform/framework/dialog.h"

#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kTemplate = 9200;

void Register() {
    platform::RegisterDialogTemplate(
        DialogTemplate{kTemplate,
                       WS_POPUP | WS_CAPTION | DS_MODALFRAME,
                       100,
                       50,
                       L"Number",
                       L"MS Sans Serif",
                       8,
                       {{IDOK, WC_BUTTON, L"OK", BS_DEFPUSHBUTTON, 5, 30, 40, 14},
                        {IDCANCEL, WC_BUTTON, L"Cancel", 0, 50, 30, 40, 14},
                        {400, WC_STATIC, L"", 0, 5, 5, 80, 8},
                        {401, PROGRESS_CLASS, L"", 0, 5, 15, 80, 8}}});
}

struct NumberDlg : CDialog {
    NumberDlg() : CDialog(kTemplate) {}
    int m_value = 7;
    int inits = 0;
    CProgressCtrl m_bar;
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, 401, m_bar);
        DDX_Text(dx, 400, m_value);
    }
    BOOL OnInitDialog() override {
        ++inits;
        return CDialog::OnInitDialog();
    }
};

TEST(CDialogModal, DataExchangeRunsBothWaysAndOkEndsTheDialog) {
    Register();
    NumberDlg dlg;
    CString shown;
    platform::ScopedDialogResponder responder([&](HWND h, UINT) {
        CWnd::FromHandle(h)->GetDlgItemText(400, shown);
        SetDlgItemTextW(h, 400, L" 42 ");
        SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.inits, 1);
    EXPECT_EQ(shown, L"7");
    EXPECT_EQ(dlg.m_value, 42);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_bar.m_hWnd, nullptr); // the control let go of its window with the dialog
}

TEST(CDialogModal, InvalidNumberKeepsTheDialogOpenAndSaysSo) {
    Register();
    NumberDlg dlg;
    platform::MessageBoxResponder boxes;
    bool stillOpen = false;
    platform::ScopedDialogResponder responder([&](HWND h, UINT) {
        SetDlgItemTextW(h, 400, L"4x2");
        SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0);
        stillOpen = !platform::IsDialogEnded(h);
        SendDlgItemMessageW(h, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(dlg.m_value, 7);
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

TEST(CDialogModeless, WithoutAParentTheMainWindowOwnsIt) {
    Register();
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"main", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    AfxSetMainWnd(&main);
    NumberDlg dlg;
    ASSERT_TRUE(dlg.Create(kTemplate));
    EXPECT_EQ(::GetParent(dlg.m_hWnd), main.m_hWnd);
    EXPECT_EQ(dlg.inits, 1);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(dlg.IsWindowVisible()); // ended: hidden, still there until destroyed
    EXPECT_TRUE(IsWindow(dlg.m_hWnd));
    dlg.DestroyWindow();
    AfxSetMainWnd(nullptr);
}

} // namespace
