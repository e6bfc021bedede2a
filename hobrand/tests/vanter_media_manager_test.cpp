#include "hobrand/vanter_media_manager.h"

#include "hobrand/choose_cutter.h"
#include "hobrand/tests/sheet_fixture.h"

#include "felgrin/base_cutter.h"
#include "felgrin/cutter_utils.h"
#include "platform/system/port_devices.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/edit_control.h"
#include "platform/windowing/list_controls.h"
#include "qvutils/host_services.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::wstring Text(HWND dialog, int id) {
    wchar_t buffer[256] = {};
    GetDlgItemTextW(dialog, id, buffer, 256);
    return buffer;
}

class VanterMediaManager : public SheetTest {
protected:
    void TearDown() override {
        platform::ResetPortDevicePaths();
        SheetTest::TearDown();
    }
    // Runs the dialog; `act` sees each dialog shown (by template) and closes it.
    INT_PTR Run(CVanterMediaManager& dlg, std::function<void(HWND, UINT)> act) {
        platform::ScopedDialogResponder r([&](HWND h, UINT id) {
            m_templates.push_back(id);
            act(h, id);
        });
        return dlg.DoModal();
    }
    static void Press(HWND dialog, int button) {
        SendDlgItemMessageW(dialog, button, BM_CLICK, 0, 0);
    }
    std::vector<UINT> m_templates;
};

TEST(VanterMediaManagerTitle, CutAtTheFirstStopAndKeptShort) {
    const std::wstring longName(200, L'x');
    struct Case {
        const wchar_t* name;
        const wchar_t* port;
        std::wstring title;
    } const cases[] = {
        {L"Plotter#2", L"COM1", L"Plotter on COM1"},
        {L"Shop Cutter", L"FILE", L"Shop Cutter on FILE"},
        {L"Wide/Roll", L"USB1", L"Wide on USB1"},
        {L"A;B%C", L"LPT1", L"A on LPT1"},
        {L"Back\\slash", L"COM2", L"Back on COM2"},
        {longName.c_str(), L"COM1", std::wstring(127, L'x')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(CVanterMediaManager::fnManagerTitle(c.name, c.port).GetString()),
                  c.title)
            << c.name;
}

TEST_F(VanterMediaManager, OneCutterIsTakenWithoutAskingAndItsMediumShown) {
    Install(L"Plotter#2");
    for (int inches : {0, 1}) {
        qvhost::SetAppParam(L"Display Inches", inches);
        CVanterMediaManager dlg(nullptr, 0, 0);
        std::wstring width, length, unit, title;
        BOOL enabled = TRUE;
        EXPECT_EQ(Run(dlg,
                      [&](HWND h, UINT) {
                          width = Text(h, IDC_MEDIA_WIDTH);
                          length = Text(h, IDC_MEDIA_LENGTH);
                          unit = Text(h, IDC_MEDIA_WIDTH_UNIT);
                          title = Text(h, IDC_MANAGER_TITLE);
                          enabled = IsWindowEnabled(GetDlgItem(h, IDC_MEDIA_WIDTH));
                          Press(h, IDOK);
                      }),
                  IDOK);
        EXPECT_EQ(m_templates, std::vector<UINT>{IDD_VANTER_MEDIA_MANAGER}); // no choice asked
        m_templates.clear();
        // The driver's medium of 2000 x 50000.1 mm.
        EXPECT_EQ(dlg.m_wExtents, CWindow(0, 0, 2000000, 50000100));
        EXPECT_EQ(dlg.m_nWidth, 20000);
        EXPECT_EQ(dlg.m_nLength, 500001);
        EXPECT_EQ(width, inches ? L"78.7" : L"2000.0");
        EXPECT_EQ(length, inches ? L"1968.5" : L"50000.1");
        EXPECT_EQ(unit, inches ? L"(in)" : L"(mm)");
        EXPECT_FALSE(enabled);
        EXPECT_EQ(title, L"Plotter on FILE");
        EXPECT_EQ(dlg.m_strTitle, CString(L"Plotter on FILE"));
        EXPECT_EQ(dlg.m_strCutterName, CString(L"Plotter#2"));
    }
}

TEST_F(VanterMediaManager, WithSeveralCuttersTheOperatorChoosesStartingAtThePreferredOne) {
    Install(L"Shop Cutter");
    CCutterUtils::SetPreferedCutter(Install(L"Wide Cutter"));
    Install(L"Spare");
    CVanterMediaManager dlg(nullptr, 1, 0);
    std::vector<std::wstring> listed;
    int startedAt = -1;
    EXPECT_EQ(Run(dlg,
                  [&](HWND h, UINT id) {
                      ASSERT_EQ(id, IDD_CHOOSE_CUTTER);
                      HWND list = GetDlgItem(h, IDC_CHOOSE_CUTTER_LIST);
                      for (int i = 0; i < int(SendMessageW(list, LB_GETCOUNT, 0, 0)); ++i) {
                          std::wstring s(size_t(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, 0);
                          SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data()));
                          s.resize(s.size() - 1);
                          listed.push_back(s);
                      }
                      startedAt = int(SendMessageW(list, LB_GETCURSEL, 0, 0));
                      platform::ChooseListItem(list, 2);
                      Press(h, IDOK);
                  }),
              IDOK); // automatic: OK without being shown
    EXPECT_EQ(listed, (std::vector<std::wstring>{L"Shop Cutter", L"Wide Cutter", L"Spare"}));
    EXPECT_EQ(startedAt, 1);
    EXPECT_EQ(dlg.m_strTitle, CString(L"Spare on FILE"));

    // Cancelling the choice keeps the preferred cutter.
    CVanterMediaManager kept(nullptr, 1, 0);
    Run(kept, [](HWND h, UINT) { Press(h, IDCANCEL); });
    EXPECT_EQ(kept.m_strCutterName, CString(L"Wide Cutter"));
}

TEST_F(VanterMediaManager, MarksFoundTakeTheCuttersMaximumMedium) {
    CBaseCutter* c = Install(L"Plotter");
    c->fnSetMaxWidth(1200000);
    c->fnSetMaxHeight(3000000);
    CVanterMediaManager dlg(nullptr, 1, 1);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_wExtents, CWindow(0, 0, 1200000, 3000000));
    EXPECT_EQ(dlg.m_strWidth, CString(L"1200.0"));
}

TEST_F(VanterMediaManager, APortThatDoesNotOpenEndsWithCancel) {
    platform::SetPortDevicePath(L"COM9", m_box->Path("no-such-tty"));
    Install(L"Plotter", L"COM9");
    CVanterMediaManager dlg(nullptr, 1, 0);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_nInquiryResult, CVanterMediaManager::kPortFailed);
    EXPECT_EQ(dlg.m_strTitle, CString(L"Plotter on COM9"));
}

TEST_F(VanterMediaManager, ATypedSizeBeyondTheMediumIsCutBackAndTold) {
    Install(L"Plotter");
    CVanterMediaManager dlg(nullptr, 0, 0);
    std::wstring shown;
    Run(dlg, [&](HWND h, UINT) {
        HWND width = GetDlgItem(h, IDC_MEDIA_WIDTH);
        EnableWindow(width, TRUE);
        SetDlgItemTextW(h, IDC_MEDIA_WIDTH, L"2500");
        SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_MEDIA_WIDTH, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(width));
        shown = Text(h, IDC_MEDIA_WIDTH);
        Press(h, IDOK);
    });
    EXPECT_EQ(dlg.m_nWidth, 20000);
    EXPECT_EQ(shown, L"2000.0");
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Specified width too wide for cutter"});
}

} // namespace
