#include "platform/framework/dialog_watch.h"

#include "platform/framework/dialog.h"
#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kTemplate = 9210;

void Register() {
    platform::RegisterDialogTemplate(
        DialogTemplate{kTemplate,
                       WS_POPUP | WS_CAPTION | DS_MODALFRAME,
                       100,
                       50,
                       L"Busy",
                       L"MS Sans Serif",
                       8,
                       {{IDCANCEL, WC_BUTTON, L"Cancel", 0, 50, 30, 40, 14}}});
}

struct BusyDlg : CDialog {
    BusyDlg() : CDialog(kTemplate) {}
    int inits = 0;
    bool cancelled = false;
    BOOL OnInitDialog() override {
        ++inits;
        return CDialog::OnInitDialog();
    }
    void OnCancel() override { cancelled = true; }
};

// A watch hears of each modeless dialog once it is initialised and can press its buttons;
// modal dialogs (answered by the responder) and dialogs after the watch ended are not told.
TEST(DialogWatch, HearsModelessDialogsWhileItLives) {
    Register();
    std::vector<CDialog*> heard;
    int initsSeen = -1;
    BusyDlg first, modal, late;
    {
        platform::ScopedDialogWatch watch([&](CDialog* dlg) {
            heard.push_back(dlg);
            initsSeen = static_cast<BusyDlg*>(dlg)->inits;
            ::PostMessageW(dlg->m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        ASSERT_TRUE(first.Create(kTemplate));
        EXPECT_FALSE(first.cancelled); // posted: pressed when the operation pumps messages
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        EXPECT_TRUE(first.cancelled);

        platform::ScopedDialogResponder responder([](HWND h, UINT) { ::EndDialog(h, IDCANCEL); });
        modal.DoModal();
    }
    ASSERT_TRUE(late.Create(kTemplate));
    EXPECT_EQ(heard, std::vector<CDialog*>{&first});
    EXPECT_EQ(initsSeen, 1);
    first.DestroyWindow();
    late.DestroyWindow();
}

} // namespace
