#include "hobrand/sheet_nester.h"

#include "hobrand/media_manager_blk.h"
#include "hobrand/tests/rescanning_nester.h"

#include "pivora/jox_page.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr LONG kMm = 1000;

CWindow Mm(LONG x1, LONG y1, LONG x2, LONG y2) {
    return CWindow(x1 * kMm, y1 * kMm, x2 * kMm, y2 * kMm);
}

// Places one copy as the cutting loop does; the result of the search.
int Place(CSheetNester& s, const CWindow& design, int autoRotate, CTileRepos* placed = nullptr) {
    CTileRepos rec;
    rec.fnSetWindow(design);
    const CTileRepos saved = rec;
    const int r = s.fn_AutoTile(rec, saved, 0, 0, autoRotate, 0);
    if (placed)
        *placed = rec;
    return r;
}

std::vector<CWindow> Free(const CSheetNester& s) {
    return s.fnGetFreeAreas();
}

std::vector<BYTE> Store(CSheetNester& s) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    s.Serialize(ar);
    ar.Close();
    return file.Detach();
}

void Load(CSheetNester& s, const std::vector<BYTE>& bytes) {
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    s.Serialize(ar);
}

void Put32(std::vector<BYTE>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(BYTE(v >> (8 * i)));
}

void PutField(std::vector<BYTE>& b, uint16_t id, std::initializer_list<int32_t> values) {
    b.push_back(BYTE(id));
    b.push_back(BYTE(id >> 8));
    Put32(b, uint32_t(values.size() * 4));
    for (int32_t v : values)
        Put32(b, uint32_t(v));
}

void PutEnd(std::vector<BYTE>& b) {
    b.insert(b.end(), {0xFE, 0xFE, 0, 0, 0, 0});
}

CSheetNester Sheet(LONG w, LONG h, int mode = CSheetNester::kModeBottomLeft) {
    CSheetNester s;
    const CWindow sheet = Mm(0, 0, w, h);
    s.fnSetSheetMode(mode);
    s.fnSetSheetExtents(&sheet);
    return s;
}

TEST(SheetNester, FreshSheetIsEmptyUntilACopyIsPlaced) {
    CSheetNester s = Sheet(1000, 500);
    EXPECT_TRUE(s.fnIsEmptySheet());
    const CWindow sheet = Mm(0, 0, 1000, 500);
    EXPECT_TRUE(s.fnEmpty_page(&sheet));
    EXPECT_EQ(s.fnCheckUtilisation(), 100);
    EXPECT_EQ(Place(s, Mm(0, 0, 100, 50), 0), 1);
    EXPECT_FALSE(s.fnIsEmptySheet());
    EXPECT_LT(s.fnCheckUtilisation(), 100);
}

TEST(SheetNester, TurnsACopyThatOnlyFitsTurned) {
    CSheetNester s = Sheet(120, 400);
    const CWindow design = Mm(0, 0, 300, 100);
    EXPECT_EQ(s.fnTestExtents(&design, 1), 2);
    EXPECT_EQ(s.fnTestExtents(&design, 0), 0);
    EXPECT_TRUE(s.fnIsEmptySheet()); // a test places nothing
    CTileRepos rec;
    EXPECT_EQ(Place(s, Mm(0, 0, 300, 100), 1, &rec), 2);
    EXPECT_EQ(rec.m_bRotated, 1);
    // Bottom-left anchor: the turned copy sits at the sheet's origin.
    EXPECT_EQ(rec.fnGetBounds(), Mm(0, 0, 100, 300));
}

TEST(SheetNester, AScannedDesignIsTriedUnderItsOwnMatrix) {
    CSheetNester s = Sheet(100, 100);
    const CWindow design = Mm(0, 0, 50, 40);
    const CMat2d doubled{CScale(2.0, 2.0)};
    EXPECT_EQ(s.fnTestExtents(&design, 0), 1);
    EXPECT_EQ(s.fnTestScannerExtents(&design, 0, &doubled), 0); // 104 x 86 mm with the gaps
    CSheetNester tall = Sheet(120, 130);
    const CMat2d turned{CAngle(GEO_PI_2)};
    CWindow wide = Mm(0, 0, 110, 40);
    int copies = 1;
    EXPECT_EQ(tall.fnTileScannerExtents(&wide, 0, nullptr, &copies, 0, &turned), 1);
    // Turned by the matrix, 40 x 110 mm: its footprint takes the bottom-left 44 x 116 mm.
    EXPECT_EQ(Free(tall).front(), Mm(44, 0, 120, 130));
}

TEST(SheetNester, FootprintsBySpacingPitchAndSheetKind) {
    struct Case {
        const char* name;
        int vinyl, pitchX, pitchY, mode;
        LONG sx, sy;
        CWindow expected;
    };
    const CWindow design(10000, 20000, 30000, 25000);
    const Case cases[] = {
        {"bare", 0, 0, 0, CSheetNester::kFootBare, 4000, 6000, design},
        {"placed", 0, 0, 0, 1, 4000, 6000, CWindow(10000, 20000, 34000, 31000)},
        {"turned swaps the gaps", 0, 0, 0, 2, 4000, 6000, CWindow(10000, 20000, 36000, 29000)},
        {"vinyl adds to the left", 1, 0, 0, 1, 4000, 6000, CWindow(6000, 20000, 30000, 31000)},
        {"small gaps rise to 4", 0, 0, 0, 1, 0, 2, CWindow(10000, 20000, 30004, 25004)},
        {"vinyl keeps a gap of 0", 1, 0, 0, 1, 0, 0, design},
        {"pitch x fixes the width", 0, 5000, 0, 1, 5000, 6000, CWindow(10000, 20000, 15000, 31000)},
        {"pitch y fixes the height", 0, 0, 7000, 1, 4000, 7000,
         CWindow(10000, 20000, 34000, 27000)},
    };
    for (const Case& c : cases) {
        CSheetNester s;
        s.fnSetSheetVinyl(c.vinyl);
        s.fnSetSpace(CLpoint(c.sx, c.sy), c.pitchX, c.pitchY);
        CTileRepos rec;
        rec.fnSetWindow(design);
        EXPECT_EQ(s.fnGetTransArea(rec, c.mode), c.expected) << c.name;
    }
}

TEST(SheetNester, PitchGivesEveryCopyTheSameWidth) {
    CSheetNester s = Sheet(100, 100);
    s.fnSetSpace(CLpoint(5000, 6000), 5000, 0);
    CTileRepos a, b;
    Place(s, Mm(0, 0, 3, 10), 1, &a);
    Place(s, Mm(0, 0, 1, 10), 1, &b);
    EXPECT_EQ(a.fnGetBounds().x1, 0);
    EXPECT_EQ(b.fnGetBounds().x1, 5000);
}

TEST(SheetNester, SpacingDropsOnlyForANarrowGap) {
    struct Case {
        LONG designWidth;
        int spacingX;
    } const cases[] = {{995, 0}, {990, 4000}, {1000, 4000}, {1005, 4000}, {991, 0}};
    for (const Case& c : cases) {
        CSheetNester s = Sheet(1000, 500);
        const CWindow design = Mm(0, 0, c.designWidth, 10);
        s.fnChangeSpacingToFit(&design);
        EXPECT_EQ(s.fnGetSpace().x, c.spacingX) << c.designWidth;
    }
}

TEST(SheetNester, FitWasteIsComputedIn64Bits) {
    CSheetNester s;
    s.fnSetSheetMode(0x40);
    // Nothing fits: the whole 100 x 100 mm area is waste, beyond 32 bits in square micrometres.
    EXPECT_EQ(s.__fnGetFitWaste(100000, 100000, 150000, 150000, 3), 10000000000LL);
    // Two columns of one 60 mm copy in a 130 x 70 mm area.
    EXPECT_EQ(s.__fnGetFitWaste(130000, 70000, 60000, 60000, 2),
              (130000LL - 120000) * 70000 / 5 + (70000LL - 60000) * 2 * 60000);
}

TEST(SheetNester, SheetWithoutAreaAndZeroCopySizeDoNotDivideByZero) {
    CSheetNester s;
    EXPECT_EQ(s.fnCheckUtilisation(), 0);
    s.fnSetSheetMode(CSheetNester::kAlternate | CSheetNester::kModeBottomLeft);
    EXPECT_EQ(s.__fnAnchorType(Mm(0, 10, 50, 50), CWindow(), true), 1);
    s.fnSetSheetMode(CSheetNester::kAlternate | 0x24);
    EXPECT_EQ(s.__fnAnchorType(Mm(10, 0, 50, 50), CWindow(), true), 0);
}

TEST(SheetNester, AnchorCornersByMode) {
    struct Case {
        int mode;
        CWindow area;
        int type;
    } const cases[] = {
        {0x41, Mm(0, 0, 10, 10), 1},
        {0x42, Mm(0, 0, 10, 10), 3},
        {0x81, Mm(0, 0, 10, 10), 0},
        {0x82, Mm(0, 0, 10, 10), 2},
        {0x14, Mm(0, 0, 10, 10), 2},
        {0x04, Mm(0, 0, 10, 10), 0},
        {0x28, Mm(0, 0, 10, 10), 1},
        {0x08, Mm(0, 0, 10, 10), 3},
        // Alternating by row: y1 of 10 mm over a 10 mm copy is row 1 (odd).
        {0x441, Mm(0, 10, 50, 50), 3},
        {0x441, Mm(0, 20, 50, 50), 1},
        {0x442, Mm(0, 10, 50, 50), 1},
        {0x424, Mm(10, 0, 50, 50), 1},
    };
    for (const Case& c : cases) {
        CSheetNester s;
        s.fnSetSheetMode(c.mode);
        EXPECT_EQ(s.__fnAnchorType(c.area, Mm(0, 0, 10, 10), true), c.type) << std::hex << c.mode;
    }
}

TEST(SheetNester, GoldenFreeListsAfterPlacements) {
    struct Case {
        int mode;
        std::vector<CWindow> free;
    };
    const Case cases[] = {
        {0x41,
         {CWindow(612000, 0, 1000000, 56000), CWindow(404000, 56000, 1000000, 500000),
          CWindow(0, 112000, 404000, 500000)}},
        {0x42,
         {CWindow(0, 0, 388000, 56000), CWindow(0, 56000, 596000, 500000),
          CWindow(596000, 112000, 1000000, 500000)}},
        // The second row alternates to the bottom-right corner.
        {0x441,
         {CWindow(612000, 0, 1000000, 56000), CWindow(0, 56000, 596000, 500000),
          CWindow(596000, 112000, 1000000, 500000)}},
        // Trimming drops the first row's leftover below the new copy.
        {0x141, {CWindow(404000, 56000, 1000000, 500000), CWindow(0, 112000, 404000, 500000)}},
    };
    for (const Case& c : cases) {
        CSheetNester s = Sheet(1000, 500, c.mode);
        // 104, 204 and 304 mm footprints fill the first row; the fourth opens the second.
        for (int k = 0; k < 4; ++k)
            ASSERT_EQ(Place(s, Mm(0, 0, 100 + 100 * k, 50), 0), 1);
        EXPECT_EQ(Free(s), c.free) << std::hex << c.mode;
    }
}

TEST(SheetNester, FillsASheetAndStops) {
    CSheetNester s = Sheet(1000, 500);
    int placed = 0;
    while (placed < 1000 && Place(s, Mm(0, 0, 96, 44), 0))
        ++placed;
    // 100 x 50 mm footprints: ten across, ten up.
    EXPECT_EQ(placed, 100);
    EXPECT_EQ(s.fnCheckUtilisation(), 0);
}

TEST(SheetNester, AsManyAsFitPlacesThemAllAndSaysHowMany) {
    struct Case {
        int request, left, result, placed;
        const wchar_t* message;
    } const cases[] = {
        {0, 0, 1, 7, L"7 copies fitted on this page.\n\n(Close this form to finish the cut)"},
        {CSheetNester::kAsManyAsFit, 0, 1, 7,
         L"7 copies fitted on this page.\n\n(Close this form to finish the cut)"},
        {3, 0, 1, 3, nullptr},
        {9, 2, 0, 7, nullptr},
    };
    for (const Case& c : cases) {
        platform::MessageBoxResponder responder;
        CSheetNester s = Sheet(700, 50);
        CWindow design = Mm(0, 0, 96, 44); // 100 x 50 mm footprints: seven across
        int copies = c.request;
        EXPECT_EQ(s.fnTileExtents(&design, 0, nullptr, &copies, 0), c.result) << c.request;
        EXPECT_EQ(copies, c.left) << c.request;
        EXPECT_EQ(s.fnCheckUtilisation(), (7 - c.placed) * 100 / 7) << c.request;
        if (c.message) {
            ASSERT_EQ(responder.Shown().size(), 1u);
            EXPECT_EQ(responder.Shown()[0].stringId, 14042u);
            EXPECT_EQ(responder.Shown()[0].text, c.message);
        } else {
            EXPECT_TRUE(responder.Shown().empty());
        }
    }
}

TEST(SheetNester, EachCopyGoesUnderTheSheetRootWithItsFootprintOutline) {
    std::unique_ptr<CJoxPage> page(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
    auto* block = new CMediaManagerBlk(CString(L"ManagerName"));
    page->AddParam(block);
    CSheetNester s = Sheet(700, 50);
    s.fnSetMediaMan(block);
    s.fnSetRootID(page->RootArticle()->GetID());
    CArticle design;
    CWindow w = Mm(0, 0, 96, 44);
    int copies = 2;
    EXPECT_EQ(s.fnTileExtents(&w, 0, &design, &copies, 0), 1);
    std::vector<CArticle*> children;
    for (CTree* c = page->RootArticle()->GetFirstChild(); c; c = c->GetRsibling())
        children.push_back(static_cast<CArticle*>(c));
    ASSERT_EQ(children.size(), 4u); // copy, outline, copy, outline
    auto* outline = dynamic_cast<CVectorArticle*>(children[3]);
    ASSERT_NE(outline, nullptr);
    auto* path = dynamic_cast<CSplineItem*>(outline->GetItem());
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->DrawLine(), 1);
    // The second copy's 100 x 50 mm footprint, from its top-left corner round and back.
    const CLpoint corners[] = {
        {100000, 50000}, {100000, 0}, {200000, 0}, {200000, 50000}, {100000, 50000}};
    ASSERT_EQ(path->VectCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(path->Vect(i).pt, corners[i]) << i;
        EXPECT_EQ(path->Vect(i).flags, CSplineItem::kBreak) << i;
    }
}

TEST(SheetNester, RecordGroupGoldenBytesAndRoundTrip) {
    CSheetNester s = Sheet(2, 1);
    s.fnSetSpace(CLpoint(1, 2), 3, 4);
    s.fnSetSheetMode(0x42);
    std::vector<BYTE> expected;
    PutField(expected, 0, {0, 1000, 2000, 0});
    PutField(expected, 2, {0x42});
    PutField(expected, 3, {1, 2});
    PutField(expected, 5, {3, 4});
    expected.insert(expected.end(), {4, 0, 2, 0, 0, 0, 1, 0});
    PutField(expected, 1, {1, 0, 1000, 2000, 0});
    PutEnd(expected);
    EXPECT_EQ(Store(s), expected);

    CSheetNester back;
    Load(back, expected);
    EXPECT_EQ(back.fnGetSheetExtents(), Mm(0, 0, 2, 1));
    EXPECT_EQ(back.fnGetTileMode(), 0x42);
    EXPECT_EQ(back.fnGetSpace(), CLpoint(1, 2));
    EXPECT_EQ(Free(back), Free(s));
    EXPECT_EQ(Store(back), expected);
}

TEST(SheetNester, DamagedGroupsLoadSoundValues) {
    // Inverted sheet, unknown mode bits, negative spacing, a free count beyond its field and
    // areas that are inverted or off the sheet.
    std::vector<BYTE> bytes;
    PutField(bytes, 0, {0, 0, 1000, 500}); // y2 below y1
    PutField(bytes, 2, {0x7041});
    PutField(bytes, 3, {-5, 7});
    PutEnd(bytes);
    CSheetNester s;
    Load(s, bytes);
    EXPECT_EQ(s.fnGetSheetExtents(), CWindow());
    EXPECT_EQ(s.fnGetTileMode(), 0x41);
    EXPECT_EQ(s.fnGetSpace(), CLpoint(4000, 7));
    EXPECT_EQ(Free(s), std::vector<CWindow>{CWindow()});

    bytes.clear();
    PutField(bytes, 0, {0, 1000, 1000, 0});
    PutField(bytes, 1, {1000000, 0, 500, 500, 0, 0, 2000, 2000, 0, 10, 0, 0, 5});
    PutEnd(bytes);
    Load(s, bytes);
    EXPECT_EQ(s.fnGetSheetExtents(), CWindow(0, 0, 1000, 1000));
    EXPECT_EQ(Free(s), std::vector<CWindow>{CWindow(0, 0, 500, 500)});

    // A group cut short raises the archive exception.
    bytes.resize(bytes.size() - 10);
    EXPECT_THROW(Load(s, bytes), CArchiveException);
}

// A sheet with these settings and exactly this free list, as a design file would bring it.
void LoadSheet(CSheetNester& s, const CWindow& sheet, const CRescanningNester::Settings& k,
               const std::vector<CWindow>& free) {
    std::vector<BYTE> b;
    PutField(b, CSheetNester::kRecExtents, {sheet.x1, sheet.y2, sheet.x2, sheet.y1});
    PutField(b, CSheetNester::kRecTileMode, {k.mode});
    PutField(b, CSheetNester::kRecSpacing, {k.spacingX, k.spacingY});
    PutField(b, CSheetNester::kRecPitch, {k.pitchX, k.pitchY});
    std::vector<BYTE> areas;
    Put32(areas, uint32_t(free.size()));
    for (const CWindow& w : free)
        for (LONG v : {w.x1, w.y2, w.x2, w.y1})
            Put32(areas, uint32_t(v));
    b.insert(b.end(), {BYTE(CSheetNester::kRecFreeAreas), 0});
    Put32(b, uint32_t(areas.size()));
    b.insert(b.end(), areas.begin(), areas.end());
    PutEnd(b);
    Load(s, b);
    s.fnSetSheetVinyl(k.vinyl);
    s.fnSetBiteFeed(k.biteFeed);
}

// Random jobs on random sheets in every tile mode: the indexed nester must give the rescanning
// list's result, record, free list and record bytes after every placement, trial and test.
TEST(SheetNester, PlacesExactlyAsTheRescanningListOnRandomJobs) {
    std::mt19937 rng(2701);
    const auto pick = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    const auto chance = [&](int percent) { return pick(1, 100) <= percent; };
    for (int round = 0; round < 160; ++round) {
        CRescanningNester::Settings k;
        k.mode = pick(0, 0xF) | (pick(0, 0xF) << 4) | (chance(25) ? 0x100 : 0) |
                 (chance(30) ? 0x400 : 0);
        if (chance(30))
            k.mode = chance(50) ? 0x41 : 0x42;
        k.spacingX = chance(20) ? pick(0, 5) : pick(0, 8) * 1000;
        k.spacingY = chance(20) ? pick(0, 5) : pick(0, 8) * 1000;
        k.pitchX = chance(10) ? 1 : 0;
        k.pitchY = chance(10) ? 1 : 0;
        k.vinyl = chance(15);
        k.biteFeed = chance(10);
        const LONG x0 = pick(-50, 50) * kMm, y0 = pick(-50, 50) * kMm;
        const CWindow sheet(x0, y0, x0 + pick(100, 1500) * kMm, y0 + pick(100, 1500) * kMm);
        CRescanningNester ref(sheet, k);
        std::vector<CWindow> start{sheet};
        if (chance(20)) {
            // A list from a file: any areas of the sheet in any order, overlaps and all.
            start.clear();
            for (int n = pick(1, 30); n > 0; --n) {
                const LONG ax = pick(0, int(sheet.x2 - sheet.x1) / kMm - 1) * kMm + sheet.x1;
                const LONG ay = pick(0, int(sheet.y2 - sheet.y1) / kMm - 1) * kMm + sheet.y1;
                start.emplace_back(ax, ay, std::min(sheet.x2, ax + pick(1, 400) * kMm),
                                   std::min(sheet.y2, ay + pick(1, 400) * kMm));
            }
        }
        ref.Assign(start);
        CSheetNester s;
        LoadSheet(s, sheet, k, start);
        ASSERT_EQ(Free(s), ref.Free()) << round;
        const int jobs = pick(20, 160);
        const int small = pick(5, 200), large = pick(small, 500);
        for (int job = 0; job < jobs; ++job) {
            if (job == jobs / 2 && chance(30)) {
                // Copies of a sheet go on alike.
                CSheetNester copy = s;
                s = copy;
            }
            const CWindow design(0, 0, pick(small, large) * kMm + pick(0, 999),
                                 pick(small, large) * kMm / 2 + pick(0, 999));
            const int copiesLeft = pick(0, 30), keep = chance(10), autoRotate = chance(50);
            const int test = chance(10);
            CTileRepos a, b;
            a.fnSetWindow(design);
            b.fnSetWindow(design);
            const CTileRepos sa = a, sb = b;
            const int ra = s.fn_AutoTile(a, sa, copiesLeft, keep, autoRotate, test);
            const int rb = ref.fn_AutoTile(b, sb, copiesLeft, keep, autoRotate, test);
            ASSERT_EQ(ra, rb) << round << " job " << job << " mode " << std::hex << k.mode;
            ASSERT_EQ(a.fnGetBounds(), b.fnGetBounds()) << round << " job " << job;
            ASSERT_EQ(a.m_bRotated, b.m_bRotated) << round << " job " << job;
            ASSERT_EQ(a.m_mat, b.m_mat) << round << " job " << job;
            ASSERT_EQ(Free(s), ref.Free())
                << round << " job " << job << " mode " << std::hex << k.mode;
        }
        CSheetNester expected;
        LoadSheet(expected, sheet, k, ref.Free());
        EXPECT_EQ(Store(s), Store(expected)) << round;
    }
}

} // namespace
