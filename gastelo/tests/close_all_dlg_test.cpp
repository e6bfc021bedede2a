#include "gastelo/close_all_dlg.h"

#include "browsing_fixture.h"

#include "platform/display/display.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/window.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Seen {
    CString question, saveAll, prompt, noSave, cancel;
    bool saveAllOn = false, promptOn = false, noSaveOn = false, cancelOn = false;
};

CString TextOf(HWND dialog, int id) {
    wchar_t buffer[256] = {};
    GetDlgItemTextW(dialog, id, buffer, 256);
    return CString(buffer);
}

bool Enabled(HWND dialog, int id) {
    HWND h = GetDlgItem(dialog, id);
    return h && IsWindowEnabled(h);
}

// Runs the dialog, notes what it shows and presses the button.
INT_PTR RunDialog(CCloseAllDlg& dlg, int button, Seen& seen) {
    platform::ScopedDialogResponder responder([&](HWND h, UINT id) {
        EXPECT_EQ(id, UINT(CCloseAllDlg::IDD));
        seen.question = TextOf(h, CCloseAllDlg::IDC_QUESTION);
        seen.saveAll = TextOf(h, CCloseAllDlg::IDC_SAVE_ALL);
        seen.prompt = TextOf(h, CCloseAllDlg::IDC_PROMPT);
        seen.noSave = TextOf(h, CCloseAllDlg::IDC_NO_SAVE);
        seen.cancel = TextOf(h, IDCANCEL);
        seen.saveAllOn = Enabled(h, CCloseAllDlg::IDC_SAVE_ALL);
        seen.promptOn = Enabled(h, CCloseAllDlg::IDC_PROMPT);
        seen.noSaveOn = Enabled(h, CCloseAllDlg::IDC_NO_SAVE);
        seen.cancelOn = Enabled(h, IDCANCEL);
        SendDlgItemMessageW(h, button, BM_CLICK, 0, 0);
    });
    return dlg.DoModal();
}

class CloseAllDlgTest : public BrowsingTest {};

} // namespace

TEST_F(CloseAllDlgTest, OneUnsavedDesignOffersSaveNoSaveAndCancel) {
    CCloseAllDlg dlg;
    dlg.SetDesignCount(4, 1);
    Seen seen;
    EXPECT_EQ(RunDialog(dlg, CCloseAllDlg::IDC_SAVE_ALL, seen), IDOK);
    EXPECT_EQ(seen.question, CString(L"1 design is unsaved. Save it before closing?"));
    EXPECT_EQ(seen.saveAll, CString(L"&Save"));
    EXPECT_EQ(seen.noSave, CString(L"&No Save"));
    EXPECT_EQ(seen.cancel, CString(L"&Cancel"));
    EXPECT_TRUE(seen.saveAllOn);
    EXPECT_TRUE(seen.noSaveOn);
    EXPECT_TRUE(seen.cancelOn);
    EXPECT_FALSE(seen.promptOn);
    EXPECT_EQ(dlg.CloseModifiedAction(), eCloseModSaveAll);
    // Closed with OK: its place is kept, as for every dialog of the system.
    CString place;
    EXPECT_TRUE(QvGetAppParam(L"Dialog Position 12286", place));
}

TEST_F(CloseAllDlgTest, SeveralUnsavedDesignsAreCountedAndEachButtonSetsItsAction) {
    const struct {
        int button;
        INT_PTR result;
        CloseModAction action;
    } cases[] = {
        {CCloseAllDlg::IDC_SAVE_ALL, IDOK, eCloseModSaveAll},
        {CCloseAllDlg::IDC_PROMPT, IDOK, eCloseModPrompt},
        {CCloseAllDlg::IDC_NO_SAVE, IDOK, eCloseModNoSave},
        {IDCANCEL, IDCANCEL, eCloseModSaveAll}, // left as it was
    };
    for (const auto& c : cases) {
        CCloseAllDlg dlg;
        dlg.SetDesignCount(5, 3);
        Seen seen;
        EXPECT_EQ(RunDialog(dlg, c.button, seen), c.result) << c.button;
        EXPECT_EQ(dlg.CloseModifiedAction(), c.action) << c.button;
        EXPECT_EQ(seen.question, CString(L"3 designs are unsaved. Save all, some or none of them "
                                         L"before closing?"));
        EXPECT_EQ(seen.saveAll, CString(L"&Save All"));
        EXPECT_EQ(seen.prompt, CString(L"&Prompt"));
        EXPECT_TRUE(seen.promptOn);
    }
}

// For a person to look at: the dialog for one unsaved design and for three.
TEST_F(CloseAllDlgTest, ScreenshotsOfTheDialog) {
    int argc = 1;
    char name[] = "close_all_dlg_test";
    char* argv[] = {name, nullptr};
    if (!platform::display::Start(argc, argv))
        GTEST_SKIP() << "no display";
    for (int unsaved : {1, 3}) {
        CCloseAllDlg dlg;
        dlg.SetDesignCount(4, unsaved);
        bool saved = false;
        {
            platform::ScopedDialogResponder responder([&](HWND h, UINT) {
                platform::display::Flush();
                saved = platform::display::SaveScreenshot(h, std::string(TEST_BINARY_DIR) +
                                                                 "/close_all_dlg_" +
                                                                 std::to_string(unsaved) + ".png");
                SendDlgItemMessageW(h, IDCANCEL, BM_CLICK, 0, 0);
            });
            EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        }
        EXPECT_TRUE(saved) << unsaved;
    }
    platform::display::Stop();
}
