#include "hobrand/choose_cutter.h"

#include "platform/windowing/dialog_template.h"
#include "platform/windowing/list_controls.h"

#include <gtest/gtest.h>

namespace {

TEST(ChooseCutter, OkTakesTheListsSelectionCancelKeepsTheGivenOne) {
    CStringArray names;
    names.Add(L"Shop Cutter");
    names.Add(L"Wide Cutter");
    struct Case {
        int button, choose, selected;
    } const cases[] = {{IDOK, 0, 0}, {IDCANCEL, 0, 1}, {IDOK, -1, 1}};
    for (const Case& c : cases) {
        CChooseCutter dlg(&names, 1, nullptr);
        platform::ScopedDialogResponder r([&](HWND h, UINT) {
            HWND list = GetDlgItem(h, IDC_CHOOSE_CUTTER_LIST);
            EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
            if (c.choose >= 0)
                platform::ChooseListItem(list, c.choose);
            SendDlgItemMessageW(h, c.button, BM_CLICK, 0, 0);
        });
        EXPECT_EQ(dlg.DoModal(), c.button);
        EXPECT_EQ(dlg.m_nSelected, c.selected);
    }
}

} // namespace
