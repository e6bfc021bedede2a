// The open dialog: its filter list in both orders, the check box, and what it remembers after
// OK.
#include "kelvane/app/design_file_dlg.h"

#include "kelvane/app/open_resources.h"
#include "pivora/framework/app_params.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/list_controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DesignFileDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        QvResetAppParamCache();
        kelvane::RegisterOpenResources();
    }
    void TearDown() override { QvResetAppParamCache(); }

    SettingsSandbox box;
};

std::vector<int> Ids(const CDesignFileDlg& dialog) {
    std::vector<int> ids;
    for (const CFilterInfo& f : dialog.Filters())
        ids.push_back(f.m_nExtID);
    return ids;
}

TEST_F(DesignFileDlgTest, FiltersAreSortedWithoutRegardToCaseOnlyWhenAsked) {
    const struct {
        int sort;
        std::vector<int> ids;
    } cases[] = {{1, {-1, 11, 12, 0, 65}}, {0, {0, 11, 12, 65, -1}}};
    for (const auto& c : cases) {
        QvSetAppParam(L"OpenDialogSortFilters", c.sort);
        CDesignFileDlg dialog(TRUE, 0, 0);
        EXPECT_EQ(Ids(dialog), c.ids) << c.sort;
        // The text the dialog gets: every pair, NUL-separated, in list order.
        const auto pairs = platform::ParseFilterPairs(dialog.m_ofn.lpstrFilter);
        ASSERT_EQ(pairs.size(), 5u);
        EXPECT_EQ(CString(pairs[0].description.c_str()),
                  dialog.Filters()[0].m_strFilter.Left(dialog.Filters()[0].m_strFilter.Find(L'|')));
    }
    CDesignFileDlg dialog(TRUE, 0, 0);
    EXPECT_EQ(dialog.Filters().back().Context(), 43);
}

TEST_F(DesignFileDlgTest, OkRemembersTheFilterTheBoxAndTheFolder) {
    QvSetAppParam(L"OpenDialogSortFilters", 0);
    CDesignFileDlg dialog(TRUE, 0, 0);
    bool boxShown = false;
    platform::ScopedDialogResponder responder([&](HWND dlg, UINT) {
        boxShown = IsWindowVisible(GetDlgItem(dlg, kelvane::IDC_CHOOSE_TEMPLATE));
        SetDlgItemTextW(dlg, platform::kFileNameEdit, L"/work/signs/logo.eps");
        SendDlgItemMessageW(dlg, platform::kFileTypeCombo, CB_SETCURSEL, 2, 0);
        CheckDlgButton(dlg, kelvane::IDC_CHOOSE_TEMPLATE, BST_CHECKED);
        EndDialog(dlg, IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(boxShown);
    ASSERT_NE(dialog.ChosenFilter(), nullptr);
    EXPECT_EQ(dialog.ChosenFilter()->m_nExtID, 12);
    EXPECT_EQ(QvGetAppParam(L"LastDesignOpenExtension", -5), 12);
    EXPECT_EQ(QvGetAppParam(L"LastDesignOpenChooseTemplate", -5), 1);
    CString folder;
    QvGetAppParam(L"LastDesignOpenDir EPS", folder);
    EXPECT_EQ(folder, CString(L"/work/signs"));
}

TEST_F(DesignFileDlgTest, MustChooseTemplateChecksAndHidesTheBox) {
    const struct {
        int must;
        int remembered;
        bool visible;
        UINT check;
    } cases[] = {
        {1, 0, false, BST_CHECKED}, {0, 1, true, BST_CHECKED}, {0, 0, true, BST_UNCHECKED}};
    for (const auto& c : cases) {
        QvSetAppParam(L"Must Choose Template", c.must);
        QvSetAppParam(L"LastDesignOpenChooseTemplate", c.remembered);
        CDesignFileDlg dialog(TRUE, 0, 0);
        bool visible = !c.visible;
        UINT check = 99;
        platform::ScopedDialogResponder responder([&](HWND dlg, UINT) {
            visible = IsWindowVisible(GetDlgItem(dlg, kelvane::IDC_CHOOSE_TEMPLATE));
            check = IsDlgButtonChecked(dlg, kelvane::IDC_CHOOSE_TEMPLATE);
            EndDialog(dlg, IDCANCEL);
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(visible, c.visible) << c.must << c.remembered;
        EXPECT_EQ(check, c.check) << c.must << c.remembered;
        EXPECT_EQ(dialog.ChosenFilter(), nullptr);
    }
}

} // namespace
