#include "maltrec/cutoutput/cut_output_rules.h"

#include <gtest/gtest.h>

TEST(CutOutputRules, LengthsInMillimetresAndInches) {
    struct Case {
        int32_t value;
        int inch;
        const wchar_t* shown;
    } const cases[] = {
        {2000, 0, L"2.0"},
        {-1250, 0, L"-1.2"},
        {25400, 1, L"1.00"},
        {2000, 1, L"0.08"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FnFormatLength(c.value, c.inch), CString(c.shown)) << c.value;

    struct Parse {
        const wchar_t* text;
        int inch;
        int32_t value;
    } const parses[] = {
        {L"100.0", 0, 100000}, {L"0.08", 1, 2032},      {L"1.2345", 0, 1234},
        {L"x", 0, 0},          {L"1e30", 0, INT32_MAX}, {L"nan", 0, 0},
    };
    for (const Parse& p : parses)
        EXPECT_EQ(FnParseLength(p.text, p.inch), p.value) << static_cast<const wchar_t*>(p.text);
    EXPECT_EQ(FnLengthStep(0), 100);
    EXPECT_EQ(FnLengthStep(1), 254);
}

TEST(CutOutputRules, TileWindowSitsAgainstTheRightAndBottomEdges) {
    const CWindow sheet(0, 0, 600000, 1000000);
    EXPECT_EQ(FnTileWindow(sheet, 100000, 80000, 10000), CWindow(480000, 0, 600000, 100000));
    // Larger than the sheet: the sheet less its top millimetre.
    EXPECT_EQ(FnTileWindow(sheet, 700000, 2000000, 0), CWindow(0, 0, 600000, 999000));
}

TEST(CutOutputRules, TilesCountAsTheLoopStepsAndNeverDivideByZero) {
    struct Case {
        int64_t length, window;
        int32_t overlap;
        int64_t tiles;
    } const cases[] = {
        {250000, 120000, 10000, 3}, // columns at 0, 110 and 220 mm
        {80000, 100000, 10000, 1},
        {250000, 120500, 10000, 3}, // the window counts in whole millimetres
        {100000, 10000, 10000, 0},  // window no wider than the overlap
        {100000, 0, 0, 0},          // tile and overlap 0, as without a media manager
        {100000, 5000, 10000, 0},
        {int64_t(1) << 33, 2000, 1000, 8589935}, // huge extents stay in 64 bits
    };
    for (const Case& c : cases)
        EXPECT_EQ(FnTilesAlong(c.length, FnTileAdvance(c.window, c.overlap)), c.tiles)
            << c.length << " " << c.window << " " << c.overlap;
}

TEST(CutOutputRules, TileListHoldsAllAndTheNumbers) {
    EXPECT_EQ(FnTileList(3), (std::vector<CString>{L"ALL", L"1", L"2", L"3"}));
    EXPECT_EQ(FnTileList(0), std::vector<CString>{L"ALL"});
    EXPECT_EQ(FnTileList(-4), std::vector<CString>{L"ALL"});
}

TEST(CutOutputRules, PageEnablesByMode) {
    StOutputSettings general(eGeneralMode, 0), normal(eNormalMode, 0), selected(eNormalMode, 1),
        velm(eVelmMode, 1);
    struct Case {
        const StOutputSettings* s;
        bool selection, velmMarks, eachObject, copies, tiling, feeds, velmSheet, rotate;
    } const cases[] = {
        {&general, true, true, true, false, false, true, true, true},
        {&normal, false, false, true, true, true, true, false, true},
        {&selected, true, false, true, true, true, true, false, true},
        {&velm, true, true, false, true, false, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.s->m_eMode * 10 + c.s->ItemsSelected());
        const StSelectEnables sel = FnSelectPageEnables(*c.s);
        EXPECT_EQ(sel.currentSelection, c.selection);
        EXPECT_EQ(sel.colourSelection, c.selection);
        EXPECT_EQ(sel.velmMarks, c.velmMarks);
        EXPECT_EQ(sel.eachObject, c.eachObject);
        const StOutputEnables out = FnOutputPageEnables(*c.s);
        EXPECT_EQ(out.copies, c.copies);
        EXPECT_EQ(out.tiling, c.tiling);
        EXPECT_EQ(out.feedChoices, c.feeds);
        EXPECT_EQ(out.velmSheetMode, c.velmSheet);
        EXPECT_EQ(out.autoRotate, c.rotate);
        EXPECT_EQ(out.preload, c.rotate);
        EXPECT_FALSE(out.tileFields); // tiling is off
    }
}

TEST(CutOutputRules, OutputPageCoercions) {
    StOutputSettings s(eNormalMode, 0);
    s.m_nFeedOption = 0;
    s.m_bCutOffAfterFeed = 1;
    s.m_bWeedBox = s.m_bTiling = 1;
    FnOutputPageCoerce(s);
    EXPECT_EQ(s.m_bCutOffAfterFeed, 0);
    EXPECT_EQ(s.m_nFeedOption, 0);
    EXPECT_EQ(s.m_bTiling, 0);
    EXPECT_TRUE(FnOutputPageEnables(s).weedSize);
    EXPECT_FALSE(FnOutputPageEnables(s).cutOffAfterFeed);

    s.m_bBrevnar = 1;
    FnOutputPageCoerce(s);
    EXPECT_EQ(s.m_nFeedOption, 2);
    StOutputSettings velm(eVelmMode, 0);
    velm.m_nFeedOption = 1;
    FnOutputPageCoerce(velm);
    EXPECT_EQ(velm.m_nFeedOption, 2);
}

TEST(CutOutputRules, SortingShowsOnlyTheModesItOffers) {
    struct Case {
        int32_t order, start, orderShown, startShown;
    } const cases[] = {{0, 0, 0, 0}, {1, 1, 0, 0}, {2, 2, 2, 2}, {3, 3, 0, 0}, {-1, 7, 0, 0}};
    for (const Case& c : cases) {
        StOutputSettings s(eNormalMode, 0);
        s.m_nOrderMode = c.order;
        s.m_nStartPointMode = c.start;
        FnSortingPageCoerce(s);
        EXPECT_EQ(s.m_nOrderMode, c.orderShown);
        EXPECT_EQ(s.m_nStartPointMode, c.startShown);
    }
}
