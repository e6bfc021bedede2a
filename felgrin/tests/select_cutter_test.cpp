#include "felgrin/select_cutter.h"

#include "cutter_fixture.h"
#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "platform/display/display.h"
#include "qvutils/host_services.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class SelectCutter : public CutterTest {
protected:
    void TearDown() override {
        FelgrinUtils::QuitCutterDriver();
        CutterTest::TearDown();
    }
    void Install(std::initializer_list<const wchar_t*> names) {
        for (const wchar_t* n : names) {
            CBaseCutter* c = CCutterUtils::CreateCutter(CUTTER_TYPE_DMPL);
            ASSERT_NE(c, nullptr);
            c->fnSetName(n);
            ASSERT_EQ(CCutterUtils::AddCutterToArray(c), 1);
        }
    }
    // Opens the dialog; `act` sees it (with its list's entries) and closes it.
    INT_PTR Run(CSelectCutter& dlg, std::function<void(HWND list)> act) {
        platform::ScopedDialogResponder r([&](HWND h, UINT) {
            HWND list = GetDlgItem(h, IDC_CUTTER_LIST);
            m_shown.clear();
            for (int i = 0; i < int(SendMessageW(list, LB_GETCOUNT, 0, 0)); ++i) {
                std::wstring s(size_t(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
                SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data()));
                s.resize(s.size() - 1);
                m_shown.push_back(s);
            }
            act(list);
        });
        return dlg.DoModal();
    }
    static void Press(HWND list, int button) {
        SendDlgItemMessageW(GetParent(list), button, BM_CLICK, 0, 0);
    }
    std::vector<std::wstring> m_shown;
};

TEST_F(SelectCutter, ListsTheInstalledCuttersButTheOmittedOne) {
    Install({L"Shop Cutter", L"Wide Cutter", L"Spare"});
    CSelectCutter dlg;
    CString omit = L"Wide Cutter";
    dlg.fnSetOmitCutterName(omit);
    EXPECT_EQ(Run(dlg,
                  [](HWND list) {
                      platform::ChooseListItem(list, 1);
                      Press(list, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(m_shown, (std::vector<std::wstring>{L"Shop Cutter", L"Spare"}));
    EXPECT_EQ(dlg.m_strSelectedName, L"Spare");
    EXPECT_EQ(dlg.m_nChosenIndex, 2); // its place in the table, not in the list

    CSelectCutter other;
    CString lower = L"spare"; // the name must match exactly
    other.fnSetOmitCutterName(lower);
    Run(other, [](HWND list) { Press(list, IDCANCEL); });
    EXPECT_EQ(m_shown.size(), 3u);
    EXPECT_EQ(other.m_nChosenIndex, -1);
}

TEST_F(SelectCutter, WithTheOnlyCutterOmittedOkChoosesNothing) {
    Install({L"Shop Cutter"});
    CSelectCutter dlg;
    CString omit = L"Shop Cutter";
    dlg.fnSetOmitCutterName(omit);
    EXPECT_EQ(Run(dlg, [](HWND list) { Press(list, IDOK); }), IDOK);
    EXPECT_TRUE(m_shown.empty());
    EXPECT_EQ(dlg.m_nChosenIndex, -1);
    EXPECT_TRUE(dlg.m_strSelectedName.IsEmpty());
}

TEST_F(SelectCutter, ADoubleClickChooses) {
    Install({L"Shop Cutter", L"Wide Cutter"});
    CSelectCutter dlg;
    EXPECT_EQ(Run(dlg, [](HWND list) { platform::DoubleClickListItem(list, 1); }), IDOK);
    EXPECT_EQ(dlg.m_nChosenIndex, 1);
    EXPECT_EQ(dlg.m_strSelectedName, L"Wide Cutter");
    CString saved;
    EXPECT_TRUE(qvhost::GetAppParam(L"Dialog Position 18603", saved)); // OK's own work
}

// For a person to look at: the list as the display shows it.
TEST_F(SelectCutter, ScreenshotOfTheDialog) {
    int argc = 1;
    char name[] = "select_cutter_test";
    char* argv[] = {name, nullptr};
    if (!platform::display::Start(argc, argv))
        GTEST_SKIP() << "no display";
    Install({L"Shop Cutter", L"Wide Cutter", L"Spare"});
    CSelectCutter dlg;
    bool saved = false;
    Run(dlg, [&](HWND list) {
        platform::ChooseListItem(list, 1);
        platform::display::Flush();
        saved = platform::display::SaveScreenshot(GetParent(list), std::string(TEST_BINARY_DIR) +
                                                                       "/select_cutter.png");
        Press(list, IDCANCEL);
    });
    platform::display::Stop();
    EXPECT_TRUE(saved);
}

} // namespace
