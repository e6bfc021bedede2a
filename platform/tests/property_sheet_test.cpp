#include "platform/framework/property_sheet.h"

#include "platform/windowing/edit_control.h"
#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kFirst = 9310, kSecond = 9311;
constexpr int kCheck = 500, kNumber = 501;

void Register() {
    for (auto [id, caption] : {std::pair{kFirst, L"First"}, std::pair{kSecond, L"Second"}})
        platform::RegisterDialogTemplate(
            DialogTemplate{id,
                           WS_CHILD | WS_CAPTION,
                           120,
                           60,
                           caption,
                           L"MS Sans Serif",
                           8,
                           {{kCheck, WC_BUTTON, L"On", BS_AUTOCHECKBOX | WS_TABSTOP, 5, 5, 60, 10},
                            {kNumber, WC_EDIT, L"", WS_TABSTOP, 5, 20, 40, 12}}});
}

struct Page : CPropertyPage {
    explicit Page(UINT id) : CPropertyPage(id) {}
    int m_on = 0, m_number = 0, m_inits = 0, m_oks = 0, m_actives = 0;
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Check(dx, kCheck, m_on);
        DDX_Text(dx, kNumber, m_number);
    }
    BOOL OnInitDialog() override {
        ++m_inits;
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override {
        ++m_actives;
        return CPropertyPage::OnSetActive();
    }
    void OnOK() override { ++m_oks; }
};

struct Sheet : ::testing::Test {
    Sheet() {
        Register();
        sheet.AddPage(&first);
        sheet.AddPage(&second);
    }
    Page first{kFirst}, second{kSecond};
    CPropertySheet sheet{L"Pages", nullptr, 1};
};

HWND PageButton(HWND sheet, int i) {
    return GetDlgItem(sheet, CPropertySheet::kPageButtonFirst + i);
}

TEST_F(Sheet, OpensOnTheStartPageAndOkSavesTheActivePage) {
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    first.m_psp.dwFlags &= ~PSP_HASHELP;
    second.m_psp.dwFlags &= ~PSP_HASHELP;
    platform::ScopedDialogResponder r([&](HWND h, UINT id) {
        EXPECT_EQ(id, CPropertySheet::kSheetTemplateId);
        EXPECT_EQ(sheet.GetActiveIndex(), 1);
        EXPECT_EQ(first.m_hWnd, nullptr); // made when first shown
        EXPECT_EQ(GetDlgItem(h, ID_APPLY_NOW), nullptr);
        EXPECT_EQ(GetDlgItem(h, IDHELP), nullptr);
        CString tab;
        CWnd::FromHandle(PageButton(h, 0))->GetWindowText(tab);
        EXPECT_EQ(tab, L"First");
        SetDlgItemTextW(second.m_hWnd, kNumber, L"12");
        SendMessageW(PageButton(h, 0), BM_CLICK, 0, 0);
        EXPECT_EQ(sheet.GetActivePage(), &first);
        EXPECT_EQ(second.m_number, 12); // saved on leaving
        CheckDlgButton(first.m_hWnd, kCheck, BST_CHECKED);
        SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0);
    });
    ASSERT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(first.m_on, 1);
    EXPECT_EQ(first.m_inits + second.m_inits, 2);
    EXPECT_EQ(first.m_oks + second.m_oks, 2);
}

TEST_F(Sheet, APageThatCannotSaveStaysActiveAndCancelKeepsTheFields) {
    platform::MessageBoxResponder boxes;
    platform::ScopedDialogResponder r([&](HWND h, UINT) {
        EXPECT_NE(GetDlgItem(h, ID_APPLY_NOW), nullptr);
        EXPECT_NE(GetDlgItem(h, IDHELP), nullptr);
        SetDlgItemTextW(second.m_hWnd, kNumber, L"x");
        EXPECT_FALSE(sheet.SetActivePage(0));
        EXPECT_EQ(sheet.GetActiveIndex(), 1);
        EXPECT_EQ(boxes.Shown().size(), 1u);
        SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0); // refused again
        ASSERT_TRUE(IsWindow(h));
        SendDlgItemMessageW(h, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(second.m_number, 0);
    EXPECT_EQ(second.m_oks, 0);
}

TEST_F(Sheet, APageCanBeShownAloneInsideAnyWindow) {
    CPropertySheet host(L"Host");
    Page alone(kFirst);
    alone.m_on = 1;
    platform::ScopedDialogResponder r([&](HWND h, UINT) {
        ASSERT_TRUE(alone.CreatePage(CWnd::FromHandle(h)));
        EXPECT_EQ(GetParent(alone.m_hWnd), h);
        EXPECT_EQ(IsDlgButtonChecked(alone.m_hWnd, kCheck), 1u);
        alone.DestroyWindow();
        EndDialog(h, IDCANCEL);
    });
    host.AddPage(&second);
    EXPECT_EQ(host.DoModal(), IDCANCEL);
}

} // namespace
