#include "design/document/rescale.h"

#include "design/tests/tool_fixture.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/up_down_control.h"

#include <functional>
#include <string>

namespace {

using R = CRescale;

std::wstring Text(HWND dlg, int id) {
    wchar_t buf[64] = {};
    GetDlgItemTextW(dlg, id, buf, 64);
    return buf;
}

void Press(HWND dlg, int id) {
    SendDlgItemMessageW(dlg, id, BM_CLICK, 0, 0);
}

bool Enabled(HWND dlg, int id) {
    return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE;
}

// The Rescale dialog over a 100 x 100 mm page, run by command 43221 as the menu does.
class RescaleTest : public ToolHost {
protected:
    int Rescale(const std::function<void(HWND)>& respond) {
        int shown = 0;
        platform::ScopedDialogResponder r([&](HWND dlg, UINT id) {
            if (id != R::IDD)
                return;
            ++shown;
            respond(dlg);
        });
        Command(CDesignView::ID_RESCALE_DESIGN);
        return shown;
    }
};

TEST_F(RescaleTest, TypingRewritesOnlyThePartnerBoxes) {
    const struct {
        int keep;
        int edit;
        const wchar_t* typed;
        const wchar_t* width;
        const wchar_t* height;
        const wchar_t* widthPct;
        const wchar_t* heightPct;
    } cases[] = {
        {0, R::IDC_WIDTH, L"50", L"50", L"100.00", L"50.0", L"100.0"},
        {1, R::IDC_WIDTH, L"50", L"50", L"50.00", L"50.0", L"50.0"},
        {0, R::IDC_HEIGHT, L"25", L"100.00", L"25", L"100.0", L"25.0"},
        {1, R::IDC_HEIGHT_PERCENT, L"150", L"150.00", L"150.00", L"150.0", L"150"},
        {0, R::IDC_HEIGHT_PERCENT, L"abc", L"100.00", L"0.00", L"100.0", L"abc"},
    };
    for (const auto& c : cases) {
        QvSetAppParam(R::kAspectParam, c.keep);
        QvSetAppParam(R::kPercentageParam, c.edit == R::IDC_HEIGHT_PERCENT ? 1 : 0);
        Rescale([&](HWND dlg) {
            EXPECT_EQ(Text(dlg, R::IDC_WIDTH), L"100.00");
            SetDlgItemTextW(dlg, c.edit, c.typed);
            EXPECT_EQ(Text(dlg, R::IDC_WIDTH), c.width) << c.typed;
            EXPECT_EQ(Text(dlg, R::IDC_HEIGHT), c.height) << c.typed;
            EXPECT_EQ(Text(dlg, R::IDC_WIDTH_PERCENT), c.widthPct) << c.typed;
            EXPECT_EQ(Text(dlg, R::IDC_HEIGHT_PERCENT), c.heightPct) << c.typed;
            Press(dlg, IDCANCEL);
        });
    }
}

TEST_F(RescaleTest, SpinsAndCheckBoxes) {
    CArticle* a = Box(CWindow(10000, 10000, 30000, 20000));
    page->AddObjectSelection(a, 1, 1);
    Rescale([](HWND dlg) {
        // The selection's extents, sizes enabled, percentages not.
        EXPECT_EQ(Text(dlg, R::IDC_WIDTH), L"20.00");
        EXPECT_EQ(IsDlgButtonChecked(dlg, R::IDC_SELECTED_ONLY), UINT(BST_CHECKED));
        EXPECT_TRUE(Enabled(dlg, R::IDC_SELECTED_ONLY));
        EXPECT_TRUE(Enabled(dlg, R::IDC_WIDTH));
        EXPECT_FALSE(Enabled(dlg, R::IDC_WIDTH_PERCENT));
        EXPECT_FALSE(Enabled(dlg, R::IDC_CENTRE_SCALE));
        platform::ClickUpDown(GetDlgItem(dlg, R::IDC_HEIGHT_SPIN), true);
        EXPECT_EQ(Text(dlg, R::IDC_HEIGHT), L"10.01");
        EXPECT_EQ(Text(dlg, R::IDC_HEIGHT_PERCENT), L"100.1");
        EXPECT_EQ(Text(dlg, R::IDC_WIDTH_PERCENT), L"100.0");
        // The whole page instead.
        Press(dlg, R::IDC_SELECTED_ONLY);
        EXPECT_EQ(Text(dlg, R::IDC_WIDTH), L"100.00");
        EXPECT_EQ(Text(dlg, R::IDC_HEIGHT_PERCENT), L"100.0");
        Press(dlg, R::IDC_SELECTED_ONLY);
        Press(dlg, R::IDC_PERCENTAGE_MODE);
        EXPECT_FALSE(Enabled(dlg, R::IDC_WIDTH));
        EXPECT_TRUE(Enabled(dlg, R::IDC_WIDTH_PERCENT));
        EXPECT_TRUE(Enabled(dlg, R::IDC_CENTRE_SCALE));
        Press(dlg, IDCANCEL);
    });
    EXPECT_EQ(BoxOf(a), CWindow(10000, 10000, 30000, 20000));
}

TEST_F(RescaleTest, WholeDesignIsOneTransactionWithThePageSize) {
    CArticle* a = Box(CWindow(40000, 40000, 60000, 60000));
    QvSetAppParam(R::kAspectParam, 1);
    const int undoBefore = page->GetUndoCount();
    Rescale([](HWND dlg) {
        SetDlgItemTextW(dlg, R::IDC_WIDTH, L"200");
        Press(dlg, IDOK);
    });
    EXPECT_EQ(page->Extents(), CWindow(-50000, -50000, 150000, 150000));
    EXPECT_EQ(BoxOf(a), CWindow(30000, 30000, 70000, 70000));
    EXPECT_TRUE(page->IsModified());
    ASSERT_GT(page->GetUndoCount(), undoBefore);
    Command(CDesignView::ID_EDIT_UNDO);
    EXPECT_EQ(page->Extents(), CWindow(0, 0, 100000, 100000));
    EXPECT_EQ(BoxOf(a), CWindow(40000, 40000, 60000, 60000));
    EXPECT_EQ(page->GetUndoCount(), undoBefore);
}

TEST_F(RescaleTest, SelectionByPercentageWithCentreScale) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    CArticle* b = Box(CWindow(50000, 50000, 70000, 60000));
    page->AddObjectSelection(a, 1, 1);
    page->AddObjectSelection(b, 1, 1);
    QvSetAppParam(R::kAspectParam, 1);
    QvSetAppParam(R::kPercentageParam, 1);
    Rescale([](HWND dlg) {
        Press(dlg, R::IDC_CENTRE_SCALE);
        SetDlgItemTextW(dlg, R::IDC_WIDTH_PERCENT, L"200");
        Press(dlg, IDOK);
    });
    EXPECT_EQ(BoxOf(a), CWindow(5000, 5000, 25000, 25000));
    EXPECT_EQ(BoxOf(b), CWindow(40000, 45000, 80000, 65000));
    EXPECT_EQ(page->Extents(), CWindow(0, 0, 100000, 100000));
    Command(CDesignView::ID_EDIT_UNDO);
    EXPECT_EQ(BoxOf(a), CWindow(10000, 10000, 20000, 20000));
    EXPECT_EQ(BoxOf(b), CWindow(50000, 50000, 70000, 60000));
}

TEST_F(RescaleTest, SizesThatCannotBeAppliedAreRefusedAtOk) {
    const struct {
        CWindow pageExtents;
        const wchar_t* width;
    } cases[] = {
        {CWindow(0, 0, 100000, 100000), L"0"},
        {CWindow(0, 0, 100000, 100000), L"-5"},
        {CWindow(0, 0, 100000, 100000), L"99999999"},
        {CWindow(0, 0, 0, 100000), L"50"},
    };
    for (const auto& c : cases) {
        page->Extents(c.pageExtents);
        const size_t shownBefore = m_boxes.Shown().size();
        const int undoBefore = page->GetUndoCount();
        Rescale([&](HWND dlg) {
            SetDlgItemTextW(dlg, R::IDC_WIDTH, c.width);
            Press(dlg, IDOK);
            EXPECT_FALSE(platform::IsDialogEnded(dlg)) << c.width;
            Press(dlg, IDCANCEL);
        });
        EXPECT_EQ(m_boxes.Shown().size(), shownBefore + 1) << c.width;
        EXPECT_EQ(page->Extents(), c.pageExtents);
        EXPECT_EQ(page->GetUndoCount(), undoBefore);
    }
}

} // namespace
