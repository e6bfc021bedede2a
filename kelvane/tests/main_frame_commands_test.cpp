// The main frame's window and settings commands: a further window on the active design, and
// the stored output settings edited in the sheet.
#include "design/design_view.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/tests/app_fixture.h"
#include "maltrec/cut_output_sheet.h"
#include "pivora/framework/app_params.h"
#include "platform/framework/cmd_ui.h"
#include "platform/framework/document.h"
#include "platform/windowing/dialog_template.h"

#include <vector>

namespace {

// The frame's busy flag, as a running cutter command holds it.
struct BusyFlag : CMainFrame {
    static constexpr bool CMainFrame::*flag = &BusyFlag::m_bBusy;
};

struct EnableUI : CCmdUI {
    int enabled = -1;
    void Enable(BOOL on) override { enabled = on ? 1 : 0; }
};

class MainFrameCommands : public AppFixture {
protected:
    void Command(UINT id) { ::SendMessageW(app->MainFrame()->m_hWnd, WM_COMMAND, id, 0); }
    int Enabled(UINT id) {
        EnableUI ui;
        ui.m_nID = id;
        app->MainFrame()->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        return ui.enabled;
    }
    static std::vector<CDesignView*> Views(CDocument* doc) {
        std::vector<CDesignView*> views;
        for (POSITION pos = doc->GetFirstViewPosition(); pos;)
            views.push_back(dynamic_cast<CDesignView*>(doc->GetNextView(pos)));
        return views;
    }
    // Runs "Output settings"; the sheet, when shown, gets the curve option clicked and ends
    // with `end`. The number of sheets shown.
    int OutputSettings(int end) {
        int shown = 0;
        platform::ScopedDialogResponder r([&](HWND h, UINT) {
            auto* sheet = dynamic_cast<CCutOutputSheet*>(CWnd::FromHandle(h));
            ++shown;
            if (!sheet) {
                ::EndDialog(h, IDCANCEL);
                return;
            }
            EXPECT_EQ(sheet->GetTitle(), CString(L"Output Setup Details"));
            EXPECT_EQ(sheet->GetPageCount(), 3);
            sheet->SetActivePage(&sheet->m_CutOutPP);
            ::SendDlgItemMessageW(sheet->m_CutOutPP.m_hWnd, CCutOutPP::IDC_OPTIMIZE_CURVES,
                                  BM_CLICK, 0, 0);
            ::SendDlgItemMessageW(h, end, BM_CLICK, 0, 0);
        });
        Command(kelvane::ID_OUTPUT_SETTINGS);
        return shown;
    }
};

TEST_F(MainFrameCommands, NewWindowShowsTheDesignTwiceAndClosingOneKeepsIt) {
    ASSERT_TRUE(Start({"x", "y"}));
    EXPECT_EQ(Enabled(kelvane::ID_NEW_WINDOW), 0);
    Command(kelvane::ID_NEW_WINDOW);
    EXPECT_EQ(DesignCount(), 0);

    CDocument* doc = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Enabled(kelvane::ID_NEW_WINDOW), 1);
    Command(kelvane::ID_NEW_WINDOW);
    EXPECT_EQ(DesignCount(), 1);
    const auto views = Views(doc);
    ASSERT_EQ(views.size(), 2u);
    ASSERT_TRUE(views[0] && views[1]);
    EXPECT_NE(views[0]->GetParentFrame(), views[1]->GetParentFrame());

    // An edit told through one window repaints the other, not the sender.
    for (CDesignView* v : views)
        ::ValidateRect(v->m_hWnd, nullptr);
    doc->UpdateAllViews(views[0], CDesignView::kHintAll, nullptr);
    EXPECT_FALSE(::GetUpdateRect(views[0]->m_hWnd, nullptr, FALSE));
    EXPECT_TRUE(::GetUpdateRect(views[1]->m_hWnd, nullptr, FALSE));

    // A modified design loses a window without a question and stays open in the other.
    doc->SetModifiedFlag(TRUE);
    HWND second = views[1]->GetParentFrame()->m_hWnd;
    ::SendMessageW(second, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(second));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(DesignCount(), 1);
    EXPECT_EQ(Views(doc).size(), 1u);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(MainFrameCommands, OutputSettingsAreStoredOnlyWhenTheSheetEndsWithOk) {
    const struct {
        int end;
        int stored;
    } cases[] = {{IDCANCEL, 0}, {IDOK, 1}};
    ASSERT_TRUE(Start({"x", "y"}));
    for (const auto& c : cases) {
        QvSetAppParam(L"Optimize curves", 0);
        EXPECT_EQ(OutputSettings(c.end), 1) << c.end;
        EXPECT_EQ(QvGetAppParam(L"Optimize curves", 7), c.stored) << c.end;
    }
}

TEST_F(MainFrameCommands, OutputSettingsAreDroppedWhileTheFrameIsBusy) {
    ASSERT_TRUE(Start({"x", "y"}));
    QvSetAppParam(L"Optimize curves", 0);
    app->MainFrame()->*BusyFlag::flag = true;
    EXPECT_EQ(OutputSettings(IDOK), 0);
    app->MainFrame()->*BusyFlag::flag = false;
    EXPECT_EQ(QvGetAppParam(L"Optimize curves", 7), 0);
}

} // namespace
