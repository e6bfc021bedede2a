#include "design/simulate_sort_props_dlg.h"

#include "design/tests/tool_fixture.h"
#include "platform/windowing/up_down_control.h"

#include <functional>
#include <string>

namespace {

using D = CSimulateSortPropsDlg;

class SimulateSortPropsDlgTest : public ToolHost {
protected:
    // Runs the dialog; act sees it open and ends it.
    INT_PTR Run(D& dlg, const std::function<void(HWND)>& act) {
        platform::ScopedDialogResponder r([&](HWND h, UINT id) {
            EXPECT_EQ(id, D::IDD);
            act(h);
        });
        return dlg.DoModal();
    }
    static std::wstring Text(HWND h, int id) {
        wchar_t buf[64] = {};
        GetDlgItemTextW(h, id, buf, 64);
        return buf;
    }
    static void Click(HWND h, int id) { SendDlgItemMessageW(h, id, BM_CLICK, 0, 0); }
};

TEST_F(SimulateSortPropsDlgTest, DeviationTextThatIsNoDistanceCountsAsZero) {
    struct Case {
        const wchar_t* text;
        double value;
    };
    for (const Case& k : {Case{L"1.5", 1.5}, Case{L" 0.39", 0.39}, Case{L"-3", 0}, Case{L"abc", 0},
                          Case{L"", 0}, Case{L"1e400", 0}, Case{L"nan", 0}, Case{L"99999999", 0}}) {
        SCOPED_TRACE(std::wstring(k.text).size());
        EXPECT_DOUBLE_EQ(D::ParseDeviation(k.text), k.value);
    }
    EXPECT_EQ(D::ToMicrometres(0.39, true), 9906);
    EXPECT_EQ(D::ToMicrometres(10.0, false), 10000);
}

TEST_F(SimulateSortPropsDlgTest, StoredValuesOpenTheDialogAndOkWritesThemBack) {
    struct Case {
        const char* name;
        int order, maxDev, inches;
        int wantOrderButton;
        const wchar_t* text;
        const wchar_t* unit;
        int storedOrder, storedDev;
    };
    const Case cases[] = {
        {"defaults", -1, -1, 0, D::IDC_ORDER_LEAST_MOVEMENT, L"10.00", L"(mm)", 2, 10000},
        {"a hidden order is kept", 1, 5000, 0, D::IDC_ORDER_CLOSEST, L"5.00", L"(mm)", 1, 5000},
        {"an order out of range", 7, -5, 0, D::IDC_ORDER_LEAST_MOVEMENT, L"10.00", L"(mm)", 2,
         10000},
        {"a huge deviation", 0, 2000000000, 0, D::IDC_ORDER_DESIGN, L"10.00", L"(mm)", 0, 10000},
        {"inches", -1, 10000, 1, D::IDC_ORDER_LEAST_MOVEMENT, L"0.39", L"(in)", 2, 9906},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        for (const wchar_t* key : {L"Order mode sim", L"Max dev sim"})
            QvSetAppParam(key, -99);
        if (k.order != -1)
            QvSetAppParam(L"Order mode sim", k.order);
        if (k.maxDev != -1)
            QvSetAppParam(L"Max dev sim", k.maxDev);
        QvSetAppParam(L"Display Inches", k.inches);
        D dlg(page, nullptr);
        EXPECT_EQ(Run(dlg,
                      [&](HWND h) {
                          EXPECT_EQ(IsDlgButtonChecked(h, k.wantOrderButton), UINT(BST_CHECKED));
                          EXPECT_EQ(Text(h, D::IDC_MAX_DEVIATION), k.text);
                          EXPECT_EQ(Text(h, D::IDC_MAX_DEVIATION_UNIT), k.unit);
                          EXPECT_FALSE(IsWindowVisible(GetDlgItem(h, D::IDC_ORDER_CLOSEST)));
                          EXPECT_FALSE(IsWindowVisible(GetDlgItem(h, D::IDC_MAX_DEVIATION)));
                          Click(h, IDOK);
                      }),
                  IDOK);
        EXPECT_EQ(QvGetAppParam(L"Order mode sim", -1), k.storedOrder);
        EXPECT_EQ(QvGetAppParam(L"Max dev sim", -1), k.storedDev);
        EXPECT_EQ(dlg.m_nMaxDeviation, k.storedDev);
    }
    QvSetAppParam(L"Display Inches", 0);
}

TEST_F(SimulateSortPropsDlgTest, WithoutASelectionOnlyTheDesignIsOffered) {
    QvSetAppParam(L"Selection mode sim", 1);
    D dlg(page, nullptr);
    Run(dlg, [&](HWND h) {
        EXPECT_EQ(IsDlgButtonChecked(h, D::IDC_SCOPE_DESIGN), UINT(BST_CHECKED));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, D::IDC_SCOPE_SELECTION)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, D::IDC_SCOPE_COLOUR)));
        Click(h, IDCANCEL);
    });
    EXPECT_EQ(QvGetAppParam(L"Selection mode sim", -1), 1); // Cancel writes nothing
}

TEST_F(SimulateSortPropsDlgTest, TheOrderAndTheArrowsRewriteTheDeviation) {
    D dlg(page, nullptr);
    Run(dlg, [&](HWND h) {
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(h, D::IDC_MAX_DEVIATION)));
        SetDlgItemTextW(h, D::IDC_MAX_DEVIATION, L"-2");
        Click(h, D::IDC_ORDER_DESIGN);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, D::IDC_MAX_DEVIATION)));
        EXPECT_EQ(Text(h, D::IDC_MAX_DEVIATION), L"0.00");
        Click(h, D::IDC_ORDER_LEAST_MOVEMENT);
        NMUPDOWN n{};
        n.hdr.hwndFrom = GetDlgItem(h, D::IDC_MAX_DEVIATION_SPIN);
        n.hdr.idFrom = UINT_PTR(D::IDC_MAX_DEVIATION_SPIN);
        n.hdr.code = UDN_DELTAPOS;
        n.iDelta = -1; // the up arrow
        for (int i = 0; i < 3; ++i)
            SendMessageW(h, WM_NOTIFY, WPARAM(D::IDC_MAX_DEVIATION_SPIN), LPARAM(&n));
        EXPECT_EQ(Text(h, D::IDC_MAX_DEVIATION), L"0.30");
        n.iDelta = 5;
        SendMessageW(h, WM_NOTIFY, WPARAM(D::IDC_MAX_DEVIATION_SPIN), LPARAM(&n));
        EXPECT_EQ(Text(h, D::IDC_MAX_DEVIATION), L"0.00");
        SetDlgItemTextW(h, D::IDC_MAX_DEVIATION, L"1.25");
        Click(h, IDOK);
    });
    EXPECT_EQ(QvGetAppParam(L"Max dev sim", -1), 1250);
}

} // namespace
