#include "design/document/rotate_dlg.h"

#include "design/tests/tool_fixture.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/up_down_control.h"

#include <string>
#include <utility>
#include <vector>

namespace {

std::wstring Text(HWND dlg, int id) {
    wchar_t buf[64] = {};
    GetDlgItemTextW(dlg, id, buf, 64);
    return buf;
}

void Press(HWND dlg, int id) {
    SendDlgItemMessageW(dlg, id, BM_CLICK, 0, 0);
}

void Spin(HWND dlg, bool up, int times = 1) {
    for (int i = 0; i < times; ++i)
        platform::ClickUpDown(GetDlgItem(dlg, CRotateDlg::IDC_ANGLE_SPIN), up);
}

// The rotate tool's part, played by a shift of one millimetre per degree, so the design shows
// every degree applied; each call is recorded.
class RotateDlgTest : public ToolHost {
protected:
    void SetUp() override {
        ToolHost::SetUp();
        box = Box(CWindow(10000, 10000, 20000, 20000));
        page->AddObjectSelection(box, 1, 1);
    }

    INT_PTR Run(const std::function<void(HWND)>& respond) {
        platform::ScopedDialogResponder r([&](HWND dlg, UINT id) {
            if (id == CRotateDlg::IDD)
                respond(dlg);
        });
        CRotateDlg dlg(view);
        dlg.SetRotator(page->GetDesignTool(), [this](CDesignView* v, double degrees, int name) {
            calls.emplace_back(degrees, name);
            CDesignPage* p = v->GetDocument();
            if (name != CRotateDlg::kJoinTransaction)
                p->StartUndoTransaction(name == CRotateDlg::kNewTransaction ? 0 : name);
            CMat2d m{CDpoint(degrees * 1000, 0)};
            p->AddMoveUndo(box, m, 0, 1);
            box->DoTransform(m, 1);
        });
        const INT_PTR result = dlg.DoModal();
        angle = dlg.m_dAngle;
        return result;
    }

    CArticle* box = nullptr;
    std::vector<std::pair<double, int>> calls;
    double angle = -1;
};

TEST_F(RotateDlgTest, PreviewFollowsEachStepAndOkLeavesOneNamedRotation) {
    const int undoBefore = page->GetUndoCount();
    const INT_PTR result = Run([](HWND dlg) {
        Press(dlg, CRotateDlg::IDC_PRESET_FREE);
        Press(dlg, CRotateDlg::IDC_PREVIEW);
        SetDlgItemTextW(dlg, CRotateDlg::IDC_ANGLE, L"29.5");
        Spin(dlg, true, 5);
        EXPECT_EQ(Text(dlg, CRotateDlg::IDC_ANGLE), L"30");
        Press(dlg, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_GE(calls.size(), 8u);
    EXPECT_EQ(calls[0], std::make_pair(0.0, CRotateDlg::kNewTransaction));
    EXPECT_EQ(calls[1], std::make_pair(29.5, CRotateDlg::kJoinTransaction));
    for (size_t i = 2; i < 7; ++i) {
        EXPECT_NEAR(calls[i].first, 0.1, 1e-9);
        EXPECT_EQ(calls[i].second, CRotateDlg::kJoinTransaction);
    }
    EXPECT_EQ(calls.back(), std::make_pair(30.0, CRotateDlg::IDS_ROTATE_SHEAR));
    EXPECT_EQ(calls.size(), 8u);
    EXPECT_EQ(BoxOf(box), CWindow(40000, 10000, 50000, 20000));
    // The preview's transaction was taken back: one transaction, named.
    EXPECT_EQ(page->GetUndoCount() - undoBefore, 2); // marker and one move record
    EXPECT_EQ(page->UndoTransactionNames().GetAt(0), CString(L"Rotate/Shear"));
    EXPECT_EQ(page->GetRedoCount(), 0);
}

TEST_F(RotateDlgTest, CancelTakesThePreviewBackAndDropsOnlyItsRedo) {
    // An older redo of the person's: a move, undone.
    page->StartUndoTransaction(0);
    CMat2d shift{CDpoint(500, 0)};
    page->AddMoveUndo(box, shift, 0, 1);
    box->DoTransform(shift, 1);
    page->PerformUndoTransaction();
    ASSERT_EQ(page->GetRedoCount(), 2);

    // Without a preview Cancel keeps it.
    EXPECT_EQ(Run([](HWND dlg) {
                  Press(dlg, CRotateDlg::IDC_PRESET_FIRST + 2);
                  Press(dlg, IDCANCEL);
              }),
              IDCANCEL);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(page->GetRedoCount(), 2);

    // With one, the design is as before and nothing is left to redo.
    const int undoBefore = page->GetUndoCount();
    Run([](HWND dlg) {
        Press(dlg, CRotateDlg::IDC_PREVIEW);
        Press(dlg, CRotateDlg::IDC_PRESET_FIRST + 1);
        Press(dlg, IDCANCEL);
    });
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_EQ(BoxOf(box), CWindow(10000, 10000, 20000, 20000));
    EXPECT_EQ(page->GetUndoCount(), undoBefore);
    EXPECT_EQ(page->GetRedoCount(), 0);
}

TEST_F(RotateDlgTest, PresetsFreeClampAndWrap) {
    Run([](HWND dlg) {
        HWND edit = GetDlgItem(dlg, CRotateDlg::IDC_ANGLE);
        EXPECT_FALSE(IsWindowEnabled(edit));
        Press(dlg, CRotateDlg::IDC_PRESET_FIRST + 6);
        EXPECT_EQ(Text(dlg, CRotateDlg::IDC_ANGLE), L"270");
        EXPECT_FALSE(IsWindowEnabled(edit));
        Press(dlg, CRotateDlg::IDC_PRESET_FREE);
        EXPECT_EQ(Text(dlg, CRotateDlg::IDC_ANGLE), L"270");
        EXPECT_TRUE(IsWindowEnabled(edit));
        const struct {
            const wchar_t* typed;
            const wchar_t* shown;
        } cases[] = {{L"400", L"359.9"}, {L"-5", L"0"}, {L"abc", L"abc"}, {L"12.25", L"12.25"}};
        for (const auto& c : cases) {
            SetDlgItemTextW(dlg, CRotateDlg::IDC_ANGLE, c.typed);
            EXPECT_EQ(Text(dlg, CRotateDlg::IDC_ANGLE), c.shown) << c.typed;
        }
        SetDlgItemTextW(dlg, CRotateDlg::IDC_ANGLE, L"359.9");
        Spin(dlg, true);
        EXPECT_EQ(Text(dlg, CRotateDlg::IDC_ANGLE), L"0");
        Spin(dlg, false);
        EXPECT_EQ(Text(dlg, CRotateDlg::IDC_ANGLE), L"359.9");
        Press(dlg, IDCANCEL);
    });
    EXPECT_TRUE(calls.empty());
}

TEST_F(RotateDlgTest, ActsOnlyWhileItsToolIsCurrent) {
    Run([this](HWND dlg) {
        Press(dlg, CRotateDlg::IDC_PREVIEW);
        Press(dlg, CRotateDlg::IDC_PRESET_FIRST + 1);
        ASSERT_EQ(calls.size(), 2u);
        // A tool command ran while the dialog was open.
        InstallTool();
        Press(dlg, CRotateDlg::IDC_PRESET_FIRST + 2);
        EXPECT_EQ(calls.size(), 2u);
        Press(dlg, IDOK);
    });
    EXPECT_EQ(calls.size(), 2u);
    // The preview was still taken back.
    EXPECT_EQ(BoxOf(box), CWindow(10000, 10000, 20000, 20000));
}

} // namespace
