// Close All: one question for every design (the count when none is modified, the close-all
// dialog when some are), the choice obeyed by each design's close; at exit each modified design
// is still asked about.
#include "gastelo/close_all_dlg.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/app/open_resources.h"
#include "kelvane/tests/app_fixture.h"
#include "pivora/jox_page.h"
#include "platform/windowing/dialog_template.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

class SaveAll : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(Start({"a", "b"})); // no design of its own
    }
    void Open(int designs, int modified) {
        for (int i = 0; i < designs; ++i) {
            CDocument* doc = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
            ASSERT_NE(doc, nullptr);
            doc->SetModifiedFlag(i < modified);
        }
    }
};

TEST_F(SaveAll, CloseAllAsksOnceAndFollowsTheAnswer) {
    constexpr int kNoDialog = 0;
    const struct {
        int designs, modified;
        int answer;       // to message boxes
        int dialogButton; // in the close-all dialog
        int closeAllAsked, eachAsked;
        int left;
    } cases[] = {
        {0, 0, IDOK, kNoDialog, 0, 0, 0},
        {1, 0, IDOK, kNoDialog, 0, 0, 0},
        {1, 1, IDNO, kNoDialog, 0, 1, 0},     // the design's own prompt decides
        {1, 1, IDCANCEL, kNoDialog, 0, 1, 1}, // ... and may keep it
        {3, 0, IDOK, kNoDialog, 1, 0, 0},     // "You are about to close all 3 designs"
        {3, 0, IDCANCEL, kNoDialog, 1, 0, 3},
        {3, 2, IDNO, CCloseAllDlg::IDC_NO_SAVE, 0, 0, 0},
        {3, 2, IDNO, CCloseAllDlg::IDC_PROMPT, 0, 2, 0}, // asked for each, Yes or No only
        {3, 2, IDNO, IDCANCEL, 0, 0, 3},
    };
    for (const auto& c : cases) {
        Open(c.designs, c.modified);
        platform::MessageBoxResponder boxes2;
        boxes2.SetDefault(c.answer);
        int dialogs = 0;
        int unsaved = -1;
        platform::ScopedDialogResponder responder([&](HWND dlg, UINT id) {
            ++dialogs;
            ASSERT_EQ(id, UINT(CCloseAllDlg::IDD));
            wchar_t text[200] = {};
            GetDlgItemTextW(dlg, CCloseAllDlg::IDC_QUESTION, text, 200);
            swscanf(text, L"%d", &unsaved);
            SendDlgItemMessageW(dlg, c.dialogButton, BM_CLICK, 0, 0);
        });
        app->MainFrame()->SendMessage(WM_COMMAND, kelvane::ID_CLOSE_ALL, 0);
        const auto label = ::testing::Message() << c.designs << "/" << c.modified << " " << c.answer
                                                << " " << c.dialogButton;
        EXPECT_EQ(dialogs, c.dialogButton ? 1 : 0) << label;
        if (c.dialogButton) {
            EXPECT_EQ(unsaved, c.modified) << label;
        }
        int closeAll = 0, each = 0;
        for (const auto& m : boxes2.Shown()) {
            if (m.text == L"You are about to close all " + std::to_wstring(c.designs) + L" designs")
                ++closeAll;
            else
                ++each;
        }
        EXPECT_EQ(closeAll, c.closeAllAsked) << label;
        EXPECT_EQ(each, c.eachAsked) << label;
        EXPECT_EQ(DesignCount(), c.left) << label;
        // Each design's close is back to its own question.
        EXPECT_EQ(CJoxPage::CloseModifiedAction(), eCloseModNone) << label;
        for (POSITION pos = app->DesignTemplate()->GetFirstDocPosition(); pos;)
            app->DesignTemplate()->GetNextDoc(pos)->SetModifiedFlag(FALSE);
        app->CloseAllDocuments(FALSE);
    }
}

TEST_F(SaveAll, ClosingTheProgramStillAsksAboutAModifiedDesign) {
    Open(2, 1);
    boxes.SetDefault(IDCANCEL);
    app->MainFrame()->SendMessage(WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(DesignCount(), 2);
    ASSERT_NE(app->MainFrame(), nullptr);
    for (POSITION pos = app->DesignTemplate()->GetFirstDocPosition(); pos;)
        app->DesignTemplate()->GetNextDoc(pos)->SetModifiedFlag(FALSE);
}

} // namespace
