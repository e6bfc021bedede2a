#include "hobrand/media_manager_blk.h"

#include "hobrand/hobrand_strings.h"

#include "felgrin/cutter_instance.h"
#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "felgrin/output_dc.h"
#include "pivora/jox_page.h"
#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// Reaches the protected set-up steps the dialog's binding would take.
class Block : public CMediaManagerBlk {
public:
    using CMediaManagerBlk::__fnAddSheet;
    using CMediaManagerBlk::__fnSetDevice;
    using CMediaManagerBlk::__fnSetSheetExtents;
    using CMediaManagerBlk::__fnSetSheetMode;
    using CMediaManagerBlk::__fnSetSpace;
    using CMediaManagerBlk::__fnWontFit;
    using CMediaManagerBlk::CMediaManagerBlk;
};

std::vector<BYTE> Store(CMediaManagerBlk& b) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    b.Serialize(ar);
    ar.Close();
    return file.Detach();
}

void Load(CMediaManagerBlk& b, const std::vector<BYTE>& bytes) {
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    b.Serialize(ar);
}

// A block with two sheets, the first holding one copy, as after a send of a sheet and a half.
void Fill(Block& b) {
    CWindow sheet(0, 0, 600000, 400000);
    b.__fnSetSheetMode(CSheetNester::kModeBottomLeft);
    b.__fnSetSpace();
    b.__fnSetSheetExtents(&sheet);
    b.__fnAddSheet(1);
    b.__fnAddSheet(1);
    CWindow design(0, 0, 100000, 50000);
    ASSERT_EQ(b.fnTestExtents(&design, 0), 1);
    CTileRepos rec;
    rec.fnSetWindow(design);
    ASSERT_EQ(b.fnGetSheet(0)->fn_AutoTile(rec, rec, 0, 0, 0, 0), 1);
}

TEST(MediaManagerBlk, ConstructionDefaults) {
    CMediaManagerBlk b(CString(L"ManagerName"));
    EXPECT_EQ(b.Id(), 12);
    EXPECT_EQ(b.fnGetCutter(), nullptr);
    EXPECT_EQ(b.fnGetSpace(), CLpoint());
    EXPECT_EQ(b.fnGetSheetCount(), 0);
    EXPECT_TRUE(b.fnIsNewSheet());
    CString port(L"x");
    EXPECT_EQ(b.fnGetPortName(port), 0);
    EXPECT_TRUE(port.IsEmpty());
}

TEST(MediaManagerBlk, CutterOperationsWithoutACutterAnswerNoDevice) {
    CMediaManagerBlk b;
    CWindow w(0, 0, 10, 10);
    EXPECT_EQ(b.fnDeselectCutter(), CMediaManagerBlk::kNoDevice);
    EXPECT_EQ(b.fnRecut(2), CMediaManagerBlk::kNoDevice);
    EXPECT_EQ(b.fnPreload(&w), CMediaManagerBlk::kNoDevice);
    b.fnStartOutput(1);
    EXPECT_EQ(b.GetOutputDC(), nullptr);
    b.fnPageStart(0); // no cutter: the sheet is made, nothing is sent
    EXPECT_EQ(b.fnGetSheetCount(), 1);
}

TEST(MediaManagerBlk, SheetsTakeTheBlockSettingsAndTooBigIsSeen) {
    Block b;
    Fill(b);
    ASSERT_EQ(b.fnGetSheetCount(), 2);
    EXPECT_EQ(b.fnGetSheet(1)->fnGetSpace(), CLpoint(2000, 2000));
    EXPECT_EQ(b.fnGetSheet(1)->__fnGetMediaManager(), &b);
    EXPECT_EQ(b.fnGetSheet(1)->fnGetTileMode(), 0x41);
    EXPECT_TRUE(b.fnIsNewSheet()); // the newest sheet is still empty
    EXPECT_LT(b.fnCheckUtlisation(), 100);
    CWindow wide(0, 0, 600001, 10), fits(0, 0, 600000, 400000);
    EXPECT_EQ(b.__fnWontFit(&wide), 1);
    EXPECT_EQ(b.__fnWontFit(&fits), 0);
}

TEST(MediaManagerBlk, RoundTripKeepsSheetsAndBindsNoStaleCutter) {
    Block b(CString(L"ManagerName"));
    Fill(b);
    {
        platform::MessageBoxResponder quiet;
        b.__fnSetDevice(CString(L"Plotter Gone"));
    }
    EXPECT_EQ(b.fnGetCutter(), nullptr);
    const std::vector<BYTE> bytes = Store(b);

    platform::MessageBoxResponder responder;
    CMediaManagerBlk back;
    Load(back, bytes);
    EXPECT_EQ(back.fnGetCutter(), nullptr); // not installed: nothing bound, nothing asked
    EXPECT_TRUE(responder.Shown().empty());
    CString device;
    back.fnDeviceName(device);
    EXPECT_EQ(device, CString(L"Plotter Gone"));
    ASSERT_EQ(back.fnGetSheetCount(), 2);
    EXPECT_EQ(back.fnSheetCountMismatch(), 0);
    EXPECT_EQ(back.fnGetSheet(0)->__fnGetMediaManager(), &back);
    EXPECT_EQ(back.fnGetSheet(0)->fnGetFreeAreas(), b.fnGetSheet(0)->fnGetFreeAreas());
    CWindow w;
    back.fnGetSheetExtents(&w);
    EXPECT_EQ(w, CWindow(0, 0, 600000, 400000));
    EXPECT_EQ(back.fnGetSpace(), CLpoint(2000, 2000));
    EXPECT_EQ(Store(back), bytes);
}

// Little-endian golden bytes, written out field by field.
struct Golden {
    std::vector<BYTE> b;
    Golden& u16(uint16_t v) {
        b.insert(b.end(), {BYTE(v), BYTE(v >> 8)});
        return *this;
    }
    Golden& i32(int32_t v) {
        for (int k = 0; k < 4; ++k)
            b.push_back(BYTE(uint32_t(v) >> (8 * k)));
        return *this;
    }
    Golden& field(uint16_t id, int32_t length) { return u16(id).i32(length); }
    // x1, y2, x2, y1: left, top, right, bottom.
    Golden& rect(int32_t x1, int32_t y2, int32_t x2, int32_t y1) {
        return i32(x1).i32(y2).i32(x2).i32(y1);
    }
    // A wide string: the Unicode mark, then its length and UTF-16LE characters.
    Golden& str(const std::wstring& s) {
        b.insert(b.end(), {0xFF, 0xFE, 0xFF, BYTE(s.size())});
        for (wchar_t c : s)
            u16(uint16_t(c));
        return *this;
    }
    Golden& ascii(const char* s) {
        for (; *s; ++s)
            b.push_back(BYTE(*s));
        return *this;
    }
    Golden& end() { return u16(0xFEFE).i32(0); }
};

TEST(MediaManagerBlk, GoldenBytesOfABlockWithTwoSheets) {
    Block b(CString(L"ManagerName"));
    Fill(b);
    Golden g;
    // The parameter block's own group: id 12 and its name.
    g.field(0, 2).u16(12).field(1, 18).str(L"Default").end();
    // The sheet array: its count, then each sheet by its class, the first naming it.
    g.u16(2).u16(0xFFFF).u16(0).u16(12).ascii("CSheetNester");
    // The first sheet holds one 100 x 50 mm copy (2 mm gaps) at its bottom-left corner: free
    // are the strip to its right and the strip above it, by y1.
    g.field(0, 16).rect(0, 400000, 600000, 0);
    g.field(2, 4).i32(0x41).field(3, 8).i32(2000).i32(2000).field(5, 8).i32(0).i32(0);
    g.field(4, 2).u16(1);
    g.field(1, 36).i32(2).rect(102000, 400000, 600000, 0).rect(0, 400000, 102000, 52000).end();
    g.u16(0x8001); // the class seen before
    g.field(0, 16).rect(0, 400000, 600000, 0);
    g.field(2, 4).i32(0x41).field(3, 8).i32(2000).i32(2000).field(5, 8).i32(0).i32(0);
    g.field(4, 2).u16(1);
    g.field(1, 20).i32(1).rect(0, 400000, 600000, 0).end();
    // The block's group: sheet and cutter extents, spacing, tile mode, sheet count, names.
    g.field(0, 16).rect(0, 400000, 600000, 0).field(1, 16).rect(0, 0, 0, 0);
    g.field(2, 8).i32(2000).i32(2000).field(3, 4).i32(0x41).field(4, 2).u16(2);
    g.field(9, 26).str(L"ManagerName").field(10, 4).str(L"").end();
    EXPECT_EQ(Store(b), g.b);
}

TEST(MediaManagerBlk, TravelsInADesignFileWithItsSheets) {
    std::unique_ptr<CJoxPage> page(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
    auto* b = new Block(CString(L"ManagerName"));
    Fill(*b);
    page->AddParam(b);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        page->Serialize(ar);
        ar.Close();
    }
    std::vector<BYTE> bytes = file.Detach();
    // Kept as the design fuzz target's seed when asked for.
    if (const char* seed = std::getenv("KELVANE_WRITE_SEED")) {
        FILE* f = std::fopen(seed, "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    std::unique_ptr<CJoxPage> back(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
    CMemFile in(bytes.data(), UINT(bytes.size()));
    CArchive ar(&in, CArchive::load);
    back->Serialize(ar);
    auto* loaded = dynamic_cast<CMediaManagerBlk*>(back->FindParam(CParamBlk::kMediaManagerId));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->fnGetSheetCount(), 2);
    EXPECT_EQ(loaded->fnGetCutter(), nullptr);
}

// A fresh block on a 700 x 50 mm medium: seven 96 x 44 mm copies fit on a sheet.
std::unique_ptr<Block> Medium() {
    auto b = std::make_unique<Block>(CString(L"ManagerName"));
    CWindow sheet(0, 0, 700000, 50000);
    b->__fnSetSheetMode(CSheetNester::kModeBottomLeft);
    b->__fnSetSpace();
    b->__fnSetSheetExtents(&sheet);
    return b;
}

TEST(MediaManagerBlk, CopiesThatDoNotFitAskToGoOnOnTheClearedSheet) {
    struct Case {
        int answer, result, sheetsFree;
    } const cases[] = {{IDYES, 1, 74},
                       {IDNO, 0, 9}}; // 98 x 46 mm footprints of a 700 x 50 mm sheet
    for (const Case& c : cases) {
        auto b = Medium();
        platform::MessageBoxResponder responder;
        responder.Answer(14038, c.answer);
        CWindow design(0, 0, 96000, 44000);
        EXPECT_EQ(b->fnPlaceDataOntoSheets(0, nullptr, &design, 9, 0), c.result);
        ASSERT_EQ(responder.Shown().size(), 1u);
        EXPECT_EQ(responder.Shown()[0].text,
                  L"Not all copies fit on this page\n2 remain uncut of 9 requested\nContinue on a "
                  L"new page.");
        EXPECT_EQ(b->fnGetSheetCount(), 1); // the one sheet is reused
        EXPECT_EQ(b->fnCheckUtlisation(), c.sheetsFree);
        EXPECT_EQ(b->fnIsBusy(), 0);
    }
}

TEST(MediaManagerBlk, AsManyAsFitSucceedsOnceACopyIsPlaced) {
    struct Case {
        LONG width;
        int result;
    } const cases[] = {{96000, 1}, {800000, 0}};
    for (const Case& c : cases) {
        auto b = Medium();
        platform::MessageBoxResponder responder;
        CWindow design(0, 0, c.width, 44000);
        EXPECT_EQ(b->fnPlaceDataOntoSheets(0, nullptr, &design, 0, 0), c.result) << c.width;
        ASSERT_EQ(responder.Shown().size(), 1u);
        EXPECT_EQ(responder.Shown()[0].stringId, c.result ? IDS_COPIES_FITTED : 0u);
    }
}

TEST(MediaManagerBlk, ADesignLargerThanTheSheetStopsWithTheSizes) {
    auto b = Medium();
    platform::MessageBoxResponder responder;
    CWindow design(0, 0, 800000, 10000);
    EXPECT_EQ(b->fnPlaceDataOntoSheets(0, nullptr, &design, 1, 0), 0);
    ASSERT_EQ(responder.Shown().size(), 1u);
    EXPECT_EQ(responder.Shown()[0].text, L"Design too big for cutting area!\nDesign size: "
                                         L"[800.0,10.0]\nMaterial size: [700.0,50.0]");
}

TEST(MediaManagerBlk, DesignsAtTheEndsOfTheCoordinateRangeArePlacedOrRefusedWithoutWrapping) {
    struct Case {
        const char* name;
        CWindow design;
        int result;
    } const cases[] = {
        {"small, at the top end",
         CWindow(INT32_MAX - 10000, INT32_MAX - 10000, INT32_MAX, INT32_MAX), 1},
        {"small, at the bottom end",
         CWindow(INT32_MIN, INT32_MIN, INT32_MIN + 10000, INT32_MIN + 10000), 1},
        {"the whole range", CWindow(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), 0},
    };
    for (const Case& c : cases) {
        for (int autoRotate : {0, 1}) {
            auto b = Medium();
            platform::MessageBoxResponder responder;
            CWindow design = c.design;
            EXPECT_EQ(b->fnPlaceDataOntoSheets(0, nullptr, &design, 1, autoRotate), c.result)
                << c.name;
            if (c.result) {
                // The copy lands on the sheet (700 x 50 mm), not where a wrapped sum would put
                // it.
                const std::vector<CWindow> free = b->fnGetSheet(0)->fnGetFreeAreas();
                EXPECT_FALSE(free.empty()) << c.name;
                for (const CWindow& w : free)
                    EXPECT_TRUE(w.x1 >= 0 && w.x2 <= 700000 && w.y1 >= 0 && w.y2 <= 50000)
                        << c.name;
                EXPECT_TRUE(responder.Shown().empty()) << c.name;
            } else {
                ASSERT_EQ(responder.Shown().size(), 1u) << c.name;
                EXPECT_EQ(responder.Shown()[0].text.rfind(L"Design too big for cutting area!", 0),
                          0u)
                    << c.name;
            }
        }
    }
}

TEST(MediaManagerBlk, WithoutACutterFeedsAndMediumInquiriesDoNothing) {
    auto b = Medium();
    platform::MessageBoxResponder responder;
    b->fnFeedExtra(5000); // no cutter, no output: nothing to reset
    EXPECT_EQ(b->fnCutExtChanged(), 0);
    EXPECT_TRUE(responder.Shown().empty());
}

TEST(MediaManagerBlk, DamagedGroupLoadsSoundValues) {
    Block b;
    Fill(b);
    std::vector<BYTE> bytes = Store(b);
    // The group is the tail: find the sheet-count field (id 4, length 2) and claim 7 sheets.
    bool patched = false;
    for (size_t i = 0; i + 8 <= bytes.size(); ++i) {
        if (bytes[i] == 4 && bytes[i + 1] == 0 && bytes[i + 2] == 2 && bytes[i + 3] == 0 &&
            bytes[i + 4] == 0 && bytes[i + 5] == 0 && bytes[i + 6] == 2 && bytes[i + 7] == 0) {
            bytes[i + 6] = 7;
            patched = true;
        }
    }
    ASSERT_TRUE(patched);
    CMediaManagerBlk back;
    Load(back, bytes);
    EXPECT_EQ(back.fnGetSheetCount(), 2); // the stored sheets, not the count
    EXPECT_EQ(back.fnSheetCountMismatch(), 1);

    bytes.resize(bytes.size() - 12);
    CMediaManagerBlk cut;
    EXPECT_THROW(Load(cut, bytes), CArchiveException);
}

TEST(MediaManagerBlk, ANullSheetReferenceIsDroppedOnLoad) {
    Block b;
    Fill(b);
    std::vector<BYTE> bytes = Store(b);
    Golden group;
    group.field(0, 2).u16(12).field(1, 18).str(L"Default").end();
    const size_t at = group.b.size();
    ASSERT_EQ(bytes[at], 2);
    // Three sheets claimed, the first a null reference.
    bytes[at] = 3;
    bytes.insert(bytes.begin() + at + 2, {0, 0});
    CMediaManagerBlk back;
    Load(back, bytes);
    ASSERT_EQ(back.fnGetSheetCount(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_NE(back.fnGetSheet(i), nullptr);
    EXPECT_EQ(back.fnSheetCountMismatch(), 0);
}

TEST(MediaManagerBlk, ABlockWhoseCutterWasDeletedAnswersNoDeviceAndClosesClean) {
    CBaseCutter* c = CCutterUtils::CreateCutter(0);
    ASSERT_NE(c, nullptr);
    c->fnSetName(CString(L"Plotter"));
    c->SetPortName(CString(L"FILE:"));
    ASSERT_EQ(CCutterUtils::AddCutterToArray(c), 1);
    platform::MessageBoxResponder responder;
    auto b = std::make_unique<Block>(CString(L"ManagerName"));
    ASSERT_EQ(b->__fnSetDevice(CString(L"Plotter")), 1);
    CString port;
    EXPECT_GT(b->fnGetPortName(port), 0);
    b->fnPageStart(1);
    FelgrinUtils::QuitCutterDriver(); // deletes the cutter under the bound instance
    ASSERT_NE(b->fnGetCutter(), nullptr);
    EXPECT_EQ(b->fnGetCutter()->fnGetCutter(), nullptr);
    EXPECT_EQ(b->fnGetPortName(port), 0);
    EXPECT_EQ(b->fnDeselectCutter(), CMediaManagerBlk::kNoDevice);
    EXPECT_EQ(b->fnRecut(1), CMediaManagerBlk::kNoDevice);
    CWindow w(0, 0, 10, 10);
    EXPECT_EQ(b->fnPreload(&w), CMediaManagerBlk::kNoDevice);
    b->fnStartOutput(1);
    b->fnEndOutput();
    b.reset(); // page end, feed and document end all meet an orphaned instance
    EXPECT_TRUE(responder.Shown().empty());
}

} // namespace

#include "hobrand/media_manager_setup.h"
#include "hobrand/tests/sheet_fixture.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

namespace {

// A 10 x 10 mm square of corner points.
std::unique_ptr<CArticle> Square() {
    auto a = std::make_unique<CVectorArticle>();
    auto* s = new CSplineItem;
    for (const CLpoint& p : {CLpoint(0, 0), CLpoint(10000, 0), CLpoint(10000, 10000),
                             CLpoint(0, 10000), CLpoint(0, 0)})
        s->Vect(CSb(CSplineItem::kBreak, p));
    s->MakeCurves();
    a->Item(s);
    a->InvExtents(1);
    return a;
}

class SheetOnFile : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        AddSheetTemplate();
        CBaseCutter* c = Install(L"Plotter");
        c->fnSetMaxWidth(50000); // a 50 x 40 mm medium
        c->fnSetMaxHeight(40000);
    }
};

// The send loop's steps on a bound block: output started, copies placed, fed, deselected,
// output ended; the sheet document closed after.
int Send(CMediaManagerBlk* b, CArticle* design, int copies) {
    CWindow extents = design->Extents(0);
    b->fnStartOutput(1);
    const int placed = b->fnPlaceDataOntoSheets(0, design, &extents, copies, 0);
    b->fnFeedExtra(0);
    b->fnDeselectCutter();
    b->fnEndOutput();
    return placed;
}

TEST_F(SheetOnFile, ThreeCopiesGoOutRightToLeftEachPreloadedThenFedAndDeselected) {
    CMediaManagerBlk* b = g_fnMedManSetup(0, 0, 1);
    ASSERT_NE(b, nullptr);
    auto design = Square();
    EXPECT_EQ(Send(b, design.get(), 3), 1);
    EXPECT_EQ(g_fnDeleteAllMedMan(), 1);
    // Steps of 25 um; a DM/PL cutter anchors copies bottom-right with the 2 mm gap on their
    // left, so the 12 mm footprints go 40-50, 28-38 and 16-26 mm across. Each copy is
    // preloaded (its 10 mm height, "EW 401", then a feed) before it is cut.
    EXPECT_EQ(ReadHomeFile("output.spl"), ";:HOA,ECN,U,"             // output start
                                          ";:HOA,ECN,U,,EW 401,e,"   // first preload
                                          ";:HOA,ECN,U,,U,1600,0,D," // first copy
                                          "2000,0,2000,400,1600,400,1600,0,"
                                          "EW 401,e,;:HOA,ECN,U,,U,1120,0,D,"
                                          "1520,0,1520,400,1120,400,1120,0,"
                                          "EW 401,e,;:HOA,ECN,U,,U,640,0,D,"
                                          "1040,0,1040,400,640,400,640,0,"
                                          "e@"); // fed past the work, deselected
    // Closing the sheet asks whether to feed to the end of the jobs (answered no).
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Move Origin to end of Jobs?"});
}

TEST_F(SheetOnFile, CopiesBeyondTheSheetAskAndYesGoesOnAfterAFeed) {
    CMediaManagerBlk* b = g_fnMedManSetup(0, 0, 1);
    ASSERT_NE(b, nullptr);
    m_boxes->Answer(IDS_NOT_ALL_COPIES_FIT, IDYES);
    auto design = Square();
    EXPECT_EQ(Send(b, design.get(), 14), 1);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{
                           L"Not all copies fit on this page\n2 remain uncut of 14 requested\n"
                           L"Continue on a new page."});
    const std::string bytes = ReadHomeFile("output.spl");
    size_t cuts = 0;
    for (size_t at = bytes.find(",D,"); at != std::string::npos; at = bytes.find(",D,", at + 1))
        ++cuts;
    EXPECT_EQ(cuts, 14u);
    // Twelve fit, four across and three up; after the twelfth the page ends with a feed and
    // the cleared sheet starts again at its first place.
    EXPECT_NE(bytes.find("160,960,e;:HOA,ECN,U,,EW 401,e,;:HOA,ECN,U,,U,1600,0,D,"),
              std::string::npos)
        << bytes;
    EXPECT_EQ(b->fnGetSheetCount(), 1);
}

TEST_F(SheetOnFile, AFailedOutputIsNoSuccessOnTheFirstPageOrALaterOne) {
    CMediaManagerBlk* b = g_fnMedManSetup(0, 0, 1);
    ASSERT_NE(b, nullptr);
    auto design = Square();
    CWindow extents = design->Extents(0);
    b->fnStartOutput(1);
    // Twelve copies fill the sheet; then the cutter stops taking bytes.
    EXPECT_EQ(b->fnPlaceDataOntoSheets(0, design.get(), &extents, 12, 0), 1);
    b->GetOutputDC()->SetCurrentStatus(-7);
    m_boxes->Answer(IDS_DATA_TOO_BIG_NEW_PAGE, IDYES);
    EXPECT_EQ(b->fnPlaceDataOntoSheets(0, design.get(), &extents, 2, 0), 0);
    EXPECT_EQ(b->fnIsBusy(), 0);
    b->fnEndOutput();

    CMediaManagerBlk* fresh = g_fnMedManSetup(1, 0, 1);
    ASSERT_NE(fresh, nullptr);
    fresh->fnStartOutput(1);
    fresh->GetOutputDC()->SetCurrentStatus(-7);
    EXPECT_EQ(fresh->fnPlaceDataOntoSheets(0, design.get(), &extents, 3, 0), 0);
    fresh->fnEndOutput();
}

TEST_F(SheetOnFile, ALoadedBlockBindsTheInstalledCutterByItsName) {
    Block b(CString(L"ManagerName"));
    ASSERT_EQ(b.__fnSetDevice(CString(L"Plotter")), 1);
    const std::vector<BYTE> bytes = Store(b);
    CMediaManagerBlk back;
    Load(back, bytes);
    ASSERT_NE(back.fnGetCutter(), nullptr);
    CString port;
    back.fnGetPortName(port);
    EXPECT_EQ(port, CString(L"FILE"));
}

TEST_F(SheetOnFile, ADesignLargerThanTheSheetSendsNoCopy) {
    CMediaManagerBlk* b = g_fnMedManSetup(0, 0, 1);
    ASSERT_NE(b, nullptr);
    auto design = Square();
    design->DoTransform(*std::make_unique<CMat2d>(CScale(6.0, 1.0)), 1);
    EXPECT_EQ(Send(b, design.get(), 1), 0);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"Design too big for cutting area!\nDesign size: "
                                                 L"[60.0,10.0]\nMaterial size: [50.0,40.0]"});
    // Nothing was placed, so the feed past the work has nowhere to go.
    EXPECT_EQ(ReadHomeFile("output.spl"), ";:HOA,ECN,U,@");
}

} // namespace
