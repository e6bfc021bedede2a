#include "design/document/move_dlg.h"

#include "design/tests/tool_fixture.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/up_down_control.h"

#include <functional>
#include <string>

namespace {

std::wstring Text(HWND dlg, int id) {
    wchar_t buf[64] = {};
    GetDlgItemTextW(dlg, id, buf, 64);
    return buf;
}

// "M" of the select tool runs the Move dialog and moves the selection by what it returns.
class MoveDlgTest : public SelectToolHost {
protected:
    void SetUp() override {
        SelectToolHost::SetUp();
        box = Box(CWindow(10000, 10000, 20000, 20000));
        page->AddObjectSelection(box, 1, 1);
    }

    int PressM(const std::function<void(HWND)>& respond) {
        int shown = 0;
        platform::ScopedDialogResponder r([&](HWND dlg, UINT id) {
            if (id != CMoveDlg::IDD)
                return;
            ++shown;
            respond(dlg);
        });
        Key('M');
        Key('M', true);
        return shown;
    }

    CArticle* box = nullptr;
};

TEST_F(MoveDlgTest, OffsetsAndPositionsInDisplayUnits) {
    const struct {
        const wchar_t* x;
        const wchar_t* y;
        bool absolute;
        bool inches;
        CWindow expected;
    } cases[] = {
        {L"5", L"-2.5", false, false, CWindow(15000, 7500, 25000, 17500)},
        {L"50", L"60", true, false, CWindow(50000, 60000, 60000, 70000)},
        {L"1", L"0", false, true, CWindow(35400, 10000, 45400, 20000)},
        {L"junk", L"", false, false, CWindow(10000, 10000, 20000, 20000)},
    };
    for (const auto& c : cases) {
        const CWindow at = BoxOf(box);
        CMat2d back{CDpoint(10000.0 - at.x1, 10000.0 - at.y1)};
        box->DoTransform(back, 1);
        box->InvExtents(1);
        QvSetAppParam(L"Display Inches", c.inches ? 1 : 0);
        const int undoBefore = page->GetUndoCount();
        EXPECT_EQ(PressM([&](HWND dlg) {
                      SetDlgItemTextW(dlg, CMoveDlg::IDC_MOVE_X, c.x);
                      SetDlgItemTextW(dlg, CMoveDlg::IDC_MOVE_Y, c.y);
                      CheckDlgButton(dlg, CMoveDlg::IDC_MOVE_ABSOLUTE,
                                     c.absolute ? BST_CHECKED : BST_UNCHECKED);
                      SendDlgItemMessageW(dlg, IDOK, BM_CLICK, 0, 0);
                  }),
                  1);
        EXPECT_EQ(BoxOf(box), c.expected) << c.x << " " << c.y;
        EXPECT_GT(page->GetUndoCount(), undoBefore);
        EXPECT_EQ(select->BandMode(), 0);
    }
}

TEST_F(MoveDlgTest, SpinsStepATenthAndCancelMovesNothing) {
    const int undoBefore = page->GetUndoCount();
    EXPECT_EQ(PressM([](HWND dlg) {
                  SetDlgItemTextW(dlg, CMoveDlg::IDC_MOVE_X, L"1.25");
                  HWND xs = GetDlgItem(dlg, CMoveDlg::IDC_MOVE_X_SPIN);
                  platform::ClickUpDown(xs, true);
                  EXPECT_EQ(Text(dlg, CMoveDlg::IDC_MOVE_X), L"1.35");
                  platform::ClickUpDown(xs, false);
                  platform::ClickUpDown(xs, false);
                  EXPECT_EQ(Text(dlg, CMoveDlg::IDC_MOVE_X), L"1.15");
                  platform::ClickUpDown(GetDlgItem(dlg, CMoveDlg::IDC_MOVE_Y_SPIN), false);
                  EXPECT_EQ(Text(dlg, CMoveDlg::IDC_MOVE_Y), L"-0.1");
                  SendDlgItemMessageW(dlg, IDCANCEL, BM_CLICK, 0, 0);
              }),
              1);
    EXPECT_EQ(BoxOf(box), CWindow(10000, 10000, 20000, 20000));
    EXPECT_EQ(page->GetUndoCount(), undoBefore);
}

TEST_F(MoveDlgTest, NothingSelectedNoDialog) {
    page->RemoveAllObjectSelection();
    EXPECT_EQ(PressM([](HWND dlg) { SendDlgItemMessageW(dlg, IDOK, BM_CLICK, 0, 0); }), 0);
}

} // namespace
