#include "maltrec/cut_output_sheet.h"

#include "design/design_page.h"
#include "hobrand/media_manager_blk.h"
#include "pivora/tests/app_settings_fixture.h"
#include "platform/display/display.h"
#include "platform/windowing/message_box.h"
#include "platform/windowing/up_down_control.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Reaches the set-up steps the media manager dialog takes.
class Medium : public CMediaManagerBlk {
public:
    Medium(const CWindow& sheet) {
        CWindow w = sheet;
        __fnSetSheetExtents(&w);
        __fnSetCutterExt(&w);
    }
};

std::wstring Text(HWND h, int id) {
    wchar_t buf[256] = {};
    GetDlgItemTextW(h, id, buf, 255);
    return buf;
}

std::vector<std::wstring> ComboRows(HWND combo) {
    std::vector<std::wstring> rows;
    for (int i = 0; i < int(SendMessageW(combo, CB_GETCOUNT, 0, 0)); ++i) {
        std::wstring s(size_t(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(s.data()));
        s.resize(s.size() - 1);
        rows.push_back(s);
    }
    return rows;
}

class CutOutputSheet : public AppSettingsTest {
protected:
    // Runs the sheet; look() sees it open, then it ends with `end`.
    INT_PTR Run(StOutputSettings& s, const std::function<void(CCutOutputSheet&, HWND)>& look,
                int end = IDOK, bool withPages = true) {
        CCutOutputSheet sheet(withPages ? &m_sheetPage : nullptr, withPages ? &m_design : nullptr,
                              CCutOutputSheet::IDS_OUTPUT_SETUP, &s, nullptr, 0);
        platform::ScopedDialogResponder r([&](HWND h, UINT) {
            look(sheet, h);
            SendDlgItemMessageW(h, end, BM_CLICK, 0, 0);
        });
        return sheet.DoModal();
    }
    void SetUp() override {
        AppSettingsTest::SetUp();
        m_sheetPage.AddParam(new Medium(CWindow(0, 0, 600000, 1000000)));
        auto* a = new CArticle;
        m_design.RootArticle()->AddChild(a);
        m_design.Extents(CWindow(0, 0, 250000, 80000));
    }

    CDesignPage m_sheetPage, m_design;
};

TEST_F(CutOutputSheet, GeneralModeShowsThreePagesWithTheUsualOk) {
    StOutputSettings s(eGeneralMode, 0);
    Run(
        s,
        [](CCutOutputSheet& sheet, HWND h) {
            EXPECT_EQ(sheet.GetPageCount(), 3);
            EXPECT_EQ(sheet.GetActivePage(), &sheet.m_CutOutPP);
            EXPECT_EQ(Text(h, IDOK), L"OK");
            EXPECT_EQ(sheet.GetTitle(), CString(L"Output Setup Details"));
            HWND out = sheet.m_CutOutPP.m_hWnd;
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(out, CCutOutPP::IDC_COPIES)));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(out, CCutOutPP::IDC_TILING)));
            EXPECT_EQ(SendDlgItemMessageW(out, CCutOutPP::IDC_TILE_LIST, CB_GETCOUNT, 0, 0), 0);
            EXPECT_EQ(GetDlgItem(h, ID_APPLY_NOW), nullptr);
            EXPECT_EQ(GetDlgItem(h, IDHELP), nullptr);
        },
        IDOK, false);
}

TEST_F(CutOutputSheet, ASendWithASelectionOpensOnTheSelectionPage) {
    StOutputSettings s(eNormalMode, 1);
    EXPECT_EQ(
        Run(s,
            [](CCutOutputSheet& sheet, HWND h) {
                EXPECT_EQ(sheet.GetPageCount(), 4);
                EXPECT_EQ(Text(h, IDOK), L"Send to cutter");
                HWND sel = sheet.GetActivePage()->m_hWnd;
                ASSERT_EQ(sheet.GetActivePage(), &sheet.m_CutSelectPP);
                EXPECT_TRUE(IsWindowEnabled(GetDlgItem(sel, CCutSelectPP::IDC_SCOPE_SELECTION)));
                EXPECT_FALSE(IsWindowEnabled(GetDlgItem(sel, CCutSelectPP::IDC_CUT_VELM_MARKS)));
                SendDlgItemMessageW(sel, CCutSelectPP::IDC_SCOPE_COLOUR, BM_CLICK, 0, 0);
                ASSERT_TRUE(sheet.SetActivePage(0));
                EXPECT_EQ(Text(sheet.m_CutMedManPP.m_hWnd, CCutMedManPP::IDC_DEVICE_NAME), L"");
            }),
        IDOK);
    EXPECT_EQ(s.m_nCutScope, 2);
}

TEST_F(CutOutputSheet, VelmSendFeedsAfterEachCopyWithTheChoicesOff) {
    StOutputSettings s(eVelmMode, 0);
    s.m_nFeedOption = 1;
    Run(s, [](CCutOutputSheet& sheet, HWND) {
        HWND out = sheet.m_CutOutPP.m_hWnd;
        EXPECT_EQ(IsDlgButtonChecked(out, CCutOutPP::IDC_FEED_AFTER_COPY), 1u);
        for (int id :
             {CCutOutPP::IDC_NO_FEED, CCutOutPP::IDC_FEED_AFTER_JOB, CCutOutPP::IDC_FEED_AFTER_COPY,
              CCutOutPP::IDC_TILE_LIST, CCutOutPP::IDC_WEED_BOX})
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(out, id))) << id;
    });
    EXPECT_EQ(s.m_nFeedOption, 2);
}

TEST_F(CutOutputSheet, TilesOfTheDesignAndTheChoiceOfOne) {
    StOutputSettings s(eNormalMode, 0);
    Run(s, [](CCutOutputSheet& sheet, HWND) {
        HWND out = sheet.m_CutOutPP.m_hWnd;
        SendDlgItemMessageW(out, CCutOutPP::IDC_TILING, BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(out, CCutOutPP::IDC_TILE_LIST)));
        SetDlgItemTextW(out, CCutOutPP::IDC_OVERLAP, L"10.0");
        SetDlgItemTextW(out, CCutOutPP::IDC_TILE_HEIGHT, L"80.0");
        SetDlgItemTextW(out, CCutOutPP::IDC_TILE_WIDTH, L"100.0");
        HWND list = GetDlgItem(out, CCutOutPP::IDC_TILE_LIST);
        EXPECT_EQ(ComboRows(list), (std::vector<std::wstring>{L"ALL", L"1", L"2", L"3"}));
        SendMessageW(list, CB_SETCURSEL, 2, 0);
        // A spin click: 0.1 mm more overlap, and the list is counted again.
        platform::ClickUpDown(GetDlgItem(out, CCutOutPP::IDC_OVERLAP_SPIN), true);
        EXPECT_EQ(Text(out, CCutOutPP::IDC_OVERLAP), L"10.1");
        EXPECT_EQ(ComboRows(list).size(), 4u);
        // Tile size and overlap 0, as without a media manager: tiles cannot advance, only
        // "ALL" is left.
        SetDlgItemTextW(out, CCutOutPP::IDC_OVERLAP, L"0.0");
        SetDlgItemTextW(out, CCutOutPP::IDC_TILE_WIDTH, L"0.0");
        platform::ClickUpDown(GetDlgItem(out, CCutOutPP::IDC_OVERLAP_SPIN), false);
        EXPECT_EQ(ComboRows(list), std::vector<std::wstring>{L"ALL"});
        SetDlgItemTextW(out, CCutOutPP::IDC_OVERLAP, L"10.0");
        SetDlgItemTextW(out, CCutOutPP::IDC_TILE_WIDTH, L"100.0");
        SendMessageW(list, CB_SETCURSEL, 3, 0);
    });
    EXPECT_EQ(s.m_bTiling, 1);
    EXPECT_EQ(s.m_nTileOverlap, 10000);
    EXPECT_EQ(s.m_nTileWidth, 100000);
    EXPECT_EQ(s.m_nTileHeight, 80000);
    EXPECT_EQ(s.m_nTileToCut, 3);
}

TEST_F(CutOutputSheet, InchDisplayShowsInchesAndReadsThemBack) {
    StoreInt(L"Display Inches", 1);
    QvResetAppParamCache();
    StOutputSettings s(eNormalMode, 0);
    s.m_nWeedMargin = 2000;
    Run(s, [](CCutOutputSheet& sheet, HWND) {
        HWND out = sheet.m_CutOutPP.m_hWnd;
        EXPECT_EQ(Text(out, CCutOutPP::IDC_WEED_SIZE), L"0.08");
        EXPECT_EQ(Text(out, CCutOutPP::IDC_WEED_UNIT), L"(in)");
        SetDlgItemTextW(out, CCutOutPP::IDC_WEED_SIZE, L"0.50");
    });
    EXPECT_EQ(s.m_nWeedMargin, 12700);
}

TEST_F(CutOutputSheet, CopiesBeyond10000AreRefused) {
    platform::MessageBoxResponder boxes;
    StOutputSettings s(eNormalMode, 0);
    EXPECT_EQ(Run(
                  s,
                  [](CCutOutputSheet& sheet, HWND h) {
                      HWND out = sheet.m_CutOutPP.m_hWnd;
                      SetDlgItemTextW(out, CCutOutPP::IDC_COPIES, L"10001");
                      SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0);
                      EXPECT_TRUE(IsWindow(h)); // refused, still open
                  },
                  IDCANCEL),
              IDCANCEL);
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

TEST_F(CutOutputSheet, SortingHidesTheClosestChoicesAndShowsAStoredBottomAsUnchanged) {
    StOutputSettings s(eNormalMode, 0);
    s.m_nStartPointMode = eStartAlwaysBottom;
    s.m_nOrderMode = eOrderClosestItem;
    Run(s, [](CCutOutputSheet& sheet, HWND) {
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_CutSortingPP));
        HWND sort = sheet.m_CutSortingPP.m_hWnd;
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(sort, CCutSortingPP::IDC_ORDER_CLOSEST)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(sort, CCutSortingPP::IDC_START_CLOSEST)));
        EXPECT_EQ(IsDlgButtonChecked(sort, CCutSortingPP::IDC_START_UNCHANGED), 1u);
        SendDlgItemMessageW(sort, CCutSortingPP::IDC_ORDER_LEAST_MOVEMENT, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(s.m_nStartPointMode, eStartUnchanged);
    EXPECT_EQ(s.m_nOrderMode, eOrderLeastMovement);
}

// For a person to look at: the output page of a send with tiling on.
TEST_F(CutOutputSheet, ScreenshotOfTheOutputPage) {
    int argc = 1;
    char name[] = "cut_output_sheet_test";
    char* argv[] = {name, nullptr};
    if (!platform::display::Start(argc, argv))
        GTEST_SKIP() << "no display";
    StOutputSettings s(eNormalMode, 0);
    s.m_bTiling = 1;
    bool saved = false;
    Run(
        s,
        [&](CCutOutputSheet&, HWND h) {
            platform::display::Flush();
            saved = platform::display::SaveScreenshot(h, std::string(TEST_BINARY_DIR) +
                                                             "/cut_output_sheet.png");
        },
        IDCANCEL);
    platform::display::Stop();
    EXPECT_TRUE(saved);
}

} // namespace
