#include "maltrec/send_to_cutter.h"

#include "maltrec/cut_output_sheet.h"
#include "maltrec/cutoutput/cut_output_strings.h"
#include "send_fixture.h"

#include "felgrin/cutter_instance.h"
#include "felgrin/dmpl_cutter.h"
#include "felgrin/felgrin_strings.h"
#include "spline/spline_item.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlack = RGB(0, 0, 0);

// Runs a send through the sheet; change() fills in its output page before OK.
int SendWithSheet(CDesignPage* page, int velm, const std::function<void(HWND out)>& change) {
    platform::ScopedDialogResponder r([&](HWND h, UINT) {
        auto* sheet = dynamic_cast<CCutOutputSheet*>(CWnd::FromHandle(h));
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(sheet->SetActivePage(&sheet->m_CutOutPP));
        change(sheet->m_CutOutPP.m_hWnd);
        SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0);
    });
    return g_fnSendDesignToCutter(page, nullptr, velm, 0);
}

void Copies(HWND out, const wchar_t* n) {
    SetDlgItemTextW(out, CCutOutPP::IDC_COPIES, n);
}

int Marks(CDesignPage*, int, StVelmMarkers* out) {
    *out = StVelmMarkers{250000, -12, -13, 5000, 4};
    return 1;
}

std::string Escaped(const std::string& s) {
    std::string out;
    for (char c : s)
        out += c == 0x1B ? std::string("\\x1B") : std::string(1, c);
    return out;
}

TEST_F(SendTest, AutomaticBrevnarSendCutsRedLastAsPerforationAndResetsEveryStyle) {
    QvSetAppParam(L"Cut Brevnar", 1);
    CVectorArticle* red = AddSquare(10000, 10000, 10000, kRed);
    AddSquare(30000, 10000, 10000, kBlack);
    auto* group = new CArticle;
    m_design->RootArticle()->AddChild(group);
    CVectorArticle* nested = AddSquare(50000, 10000, 10000, kRed, group);
    ASSERT_EQ(g_fnSendDesignToCutter(m_design.get(), nullptr, 0, 1), 1);
    // Steps of 0.025 mm, the design's x along the cutter's Y.
    EXPECT_EQ(Escaped(Output()), ";:ER"                                        // the medium re-read
                                 ";:HOA,ECN,U,;:HOA,ECN,U,"                    // output start
                                 ",U,0,1280,D,0,880,400,880,400,1280,0,1280"   // black
                                 ",P6"                                         // perforation tool
                                 ",U,0,480,D,0,80,400,80,400,480,0,480"        // red in the group
                                 ",U,0,2080,D,0,1680,400,1680,400,2080,0,2080" // red
                                 ",P0,e@"); // normal tool back, feed, deselect
    EXPECT_TRUE(m_boxes->Shown().empty());
    for (CArticle* a : {static_cast<CArticle*>(red), group, static_cast<CArticle*>(nested)})
        EXPECT_EQ(a->fnGetValue(CVectorArticle::kLineStyle, -1), 0);
}

TEST_F(SendTest, StartPointsMovedForTheCutComeBackAfterIt) {
    QvSetAppParam(L"Inside first", eStartAlwaysRight); // the start-point mode's key
    FnSendServices().findMarks = nullptr; // the finder clears mark values it does not find
    AddSquare(10000, 10000, 10000, kBlack);
    AddSquare(30000, 10000, 10000, kBlack);
    m_design->RecalcExtents(0);
    const std::vector<BYTE> before = Saved();
    ASSERT_EQ(g_fnSendDesignToCutter(m_design.get(), nullptr, 0, 1), 1);
    // Each square starts at the corner the sorter chose, not at its first point.
    EXPECT_EQ(Escaped(Output()), ";:ER;:HOA,ECN,U,;:HOA,ECN,U,"
                                 ",U,0,80,D,400,80,400,480,0,480,0,80"
                                 ",U,0,880,D,400,880,400,1280,0,1280,0,880"
                                 ",e@");
    EXPECT_EQ(Saved(), before);
}

TEST_F(SendTest, VelmCopiesAreCutOnceAndRecutAfterTheMarkerBlock) {
    AddSquare(10000, 10000, 10000, kBlack);
    FnSendServices().findMarks = Marks;
    ASSERT_EQ(SendWithSheet(m_design.get(), 1, [](HWND out) { Copies(out, L"3"); }), 1);
    EXPECT_EQ(Escaped(Output()), "\\x1B;@:"
                                 "SET MARKER_X_DIS=10000." // 250 mm
                                 "SET MARKER_Y_DIS=0."     // -0.48 rounds to 0
                                 "SET MARKER_X_SIZE=-1."   // -0.52 rounds to -1
                                 "SET MARKER_Y_SIZE=200."  // 5 mm
                                 "SET MARKER_X_N=4."       //
                                 "LOAD_MARKERS.END."       // reply read here
                                 ";:HOA,ECN,U,"            // end of the block
                                 ";:HOA,ECN,U,,U,0,-23520,D,0,-23920,400,-23920,400,-23520,0,"
                                 "-23520" // the job, once
                                 ",e@"    // feed, deselect
                                 "\\x1B;@:RECUT=2.END.");
}

TEST_F(SendTest, AnAutomaticSendOfAMarkedDesignBecomesAVelmSend) {
    AddSquare(10000, 10000, 10000, kBlack);
    FnSendServices().findMarks = Marks;
    ASSERT_EQ(g_fnSendDesignToCutter(m_design.get(), nullptr, 0, 1), 1);
    EXPECT_EQ(Output().rfind("\x1B;@:SET MARKER_X_DIS=10000.", 0), 0u);
}

TEST_F(SendTest, FeedAfterEachCopyPlacesOneCopyAtATime) {
    AddSquare(10000, 10000, 10000, kBlack);
    ASSERT_EQ(SendWithSheet(m_design.get(), 0, [](HWND out) { Copies(out, L"2"); }), 1);
    EXPECT_EQ(Escaped(Output()), ";:ER;:HOA,ECN,U,"
                                 ";:HOA,ECN,U,,U,0,480,D,0,80,400,80,400,480,0,480,e" // copy 1
                                 ";:HOA,ECN,U,,U,0,480,D,0,80,400,80,400,480,0,480,e" // copy 2
                                 "@");
}

TEST_F(SendTest, AFeedAfterAPerforatedPathPutsTheNormalToolBackForTheNextCopy) {
    QvSetAppParam(L"Cut Brevnar", 1);
    AddSquare(10000, 10000, 10000, kRed);
    AddSquare(30000, 10000, 10000, kBlack);
    ASSERT_EQ(SendWithSheet(m_design.get(), 0, [](HWND out) { Copies(out, L"2"); }), 1);
    EXPECT_EQ(Escaped(Output()), ";:ER;:HOA,ECN,U,"
                                 ";:HOA,ECN,U,,U,0,480,D,0,80,400,80,400,480,0,480" // black
                                 ",P6,U,0,1280,D,0,880,400,880,400,1280,0,1280"     // red
                                 ",P0,e"                                            // feed
                                 ";:HOA,ECN,U,,U,0,480,D,0,80,400,80,400,480,0,480" // copy 2
                                 ",P6,U,0,1280,D,0,880,400,880,400,1280,0,1280,P0,e@");
}

TEST_F(SendTest, ObjectsSeparatelyEachGetAWeedBox) {
    QvSetAppParam(L"Cut objects separate", 1);
    QvSetAppParam(L"Cut Out Weed", 1);
    QvSetAppParam(L"Cut Out WeedAdd Thou", 2000);
    QvSetAppParam(L"Cut Out Feed Options", 1);
    AddSquare(10000, 10000, 10000, kBlack);
    AddSquare(30000, 10000, 10000, kBlack);
    ASSERT_EQ(g_fnSendDesignToCutter(m_design.get(), nullptr, 0, 1), 1);
    EXPECT_EQ(Escaped(Output()), ";:ER;:HOA,ECN,U,;:HOA,ECN,U,"
                                 ",U,80,560,D,80,160,480,160,480,560,80,560"       // first object
                                 ",U,560,640,D,0,640,0,80,U,D,560,80,560,640"      // its weed box
                                 ",U,80,1200,D,80,800,480,800,480,1200,80,1200"    // second
                                 ",U,560,1280,D,0,1280,0,720,U,D,560,720,560,1280" // its box
                                 ",e@");                                           // feed after job
}

TEST_F(SendTest, TilingCutsColumnsAt0And110And220mmAndKeepsTheSpacing) {
    AddSquare(0, 0, 250000, kBlack);
    const CLpoint spacing = m_medium->fnGetSpace();
    ASSERT_EQ(SendWithSheet(m_design.get(), 0,
                            [](HWND out) {
                                SendDlgItemMessageW(out, CCutOutPP::IDC_TILING, BM_CLICK, 0, 0);
                                SetDlgItemTextW(out, CCutOutPP::IDC_OVERLAP, L"10.0");
                                SetDlgItemTextW(out, CCutOutPP::IDC_TILE_WIDTH, L"100.0");
                                SetDlgItemTextW(out, CCutOutPP::IDC_TILE_HEIGHT, L"300.0");
                            }),
              1);
    // Each tile is clipped 50 data units (2 steps) past its window of 120 mm (4800 steps).
    EXPECT_EQ(Escaped(Output()), ";:ER;:HOA,ECN,U,"
                                 ";:HOA,ECN,U,,U,0,4800,D,0,-2,U,10000,-2,D,10000,4800,0,4800,e"
                                 ";:HOA,ECN,U,,U,0,4802,D,0,-2,U,10000,-2,D,10000,4802,e"
                                 ";:HOA,ECN,U,,U,0,4802,D,0,3600,10000,3600,10000,4802,e"
                                 "@");
    EXPECT_EQ(m_medium->fnGetSpace(), spacing);
}

TEST_F(SendTest, TilesThatCannotAdvanceAreRefusedBeforeTheOutput) {
    AddSquare(0, 0, 50000, kBlack);
    EXPECT_EQ(SendWithSheet(m_design.get(), 0,
                            [](HWND out) {
                                SendDlgItemMessageW(out, CCutOutPP::IDC_TILING, BM_CLICK, 0, 0);
                                SetDlgItemTextW(out, CCutOutPP::IDC_OVERLAP, L"0.0");
                                SetDlgItemTextW(out, CCutOutPP::IDC_TILE_WIDTH, L"0.0");
                                SetDlgItemTextW(out, CCutOutPP::IDC_TILE_HEIGHT, L"0.0");
                            }),
              0);
    ASSERT_EQ(m_boxes->Shown().size(), 1u);
    EXPECT_EQ(m_boxes->Shown()[0].stringId, IDS_TILES_CANNOT_ADVANCE);
    EXPECT_EQ(Output().find(",D"), std::string::npos);
}

TEST_F(SendTest, DesignsFromFilesWithOddPathsAreCutWithoutHarm) {
    // A one-point path, an article without an item, a group without children and a path
    // reaching the far corners of the data range.
    auto* dot = new CSplineItem;
    dot->Vect(CSb(CSplineItem::kBreak, CLpoint(5000, 5000)));
    auto* a = new CVectorArticle;
    a->Item(dot);
    m_design->RootArticle()->AddChild(a);
    m_design->RootArticle()->AddChild(new CVectorArticle);
    m_design->RootArticle()->AddChild(new CArticle);
    AddSquare(-99999999, -99999999, 199999998, kBlack);
    QvSetAppParam(L"Cut Out Weed", 1);
    QvSetAppParam(L"Cut Out WeedAdd Thou", 2000000000);
    FnSendServices().findMarks = nullptr; // the finder's own marks are its business
    m_design->RecalcExtents(0);
    const std::vector<BYTE> before = Saved();
    g_fnSendDesignToCutter(m_design.get(), nullptr, 0, 1);
    EXPECT_EQ(Saved(), before);
    ASSERT_EQ(m_boxes->Shown().size(), 1u); // 4,200 m with its weed box: too big, and said so
    EXPECT_EQ(m_boxes->Shown()[0].text.rfind(L"Design too big for cutting area!", 0), 0u);
}

TEST_F(SendTest, ADesignAtTheEndsOfTheCoordinateRangeIsCutAsTheSameDesignNearTheOrigin) {
    FnSendServices().findMarks = nullptr;
    AddSquare(10000, 10000, 10000, kBlack);
    ASSERT_EQ(g_fnSendDesignToCutter(m_design.get(), nullptr, 0, 1), 1);
    const std::string nearOrigin = Output();
    for (const CLpoint corner :
         {CLpoint(INT32_MAX - 10000, INT32_MAX - 10000), CLpoint(INT32_MIN, INT32_MIN)}) {
        // A fresh cutter, medium and design for each.
        TearDown();
        SetUp();
        FnSendServices().findMarks = nullptr;
        AddSquare(corner.x, corner.y, 10000, kBlack);
        ASSERT_EQ(g_fnSendDesignToCutter(m_design.get(), nullptr, 0, 1), 1);
        EXPECT_EQ(Output(), nearOrigin) << corner.x;
        EXPECT_TRUE(m_boxes->Shown().empty());
    }
}

TEST_F(SendTest, ANetworkCutterReceivesTheSameJob) {
    CLoopbackCutter cutter;
    auto* dmpl = dynamic_cast<CDMPLCutter*>(m_medium->fnGetCutter()->fnGetCutter());
    ASSERT_NE(dmpl, nullptr);
    dmpl->SetPortName(CString(L"127.0.0.1"));
    dmpl->fnSetNetworkService(std::to_string(cutter.Port()));
    dmpl->fnSetTcpTimeouts(100, 200, 0);
    m_medium->Reopen();
    AddSquare(10000, 10000, 10000, kBlack);
    ASSERT_EQ(g_fnSendDesignToCutter(m_design.get(), nullptr, 0, 1), 1);
    m_sheetPage.reset();                // the sheet document closes: the cutter's document ends
    EXPECT_EQ(cutter.Received(), ";:ER" // the medium asked for
                                 ";:HOA,ECN,U,;:HOA,ECN,U,"                  // output start
                                 ",U,0,480,D,0,80,400,80,400,480,0,480,e@"); // the path, feed
    EXPECT_TRUE(m_boxes->Shown().empty());
}

TEST_F(SendTest, WithoutAMediaManagerNothingIsSent) {
    FnSendServices() = StSendServices(); // the real set-up, whose dialog is cancelled
    AddSquare(0, 0, 50000, kBlack);
    m_design->RecalcExtents(0);
    const std::vector<BYTE> before = Saved();
    platform::ScopedDialogResponder cancel([](HWND h, UINT) { EndDialog(h, IDCANCEL); });
    EXPECT_EQ(g_fnSendDesignToCutter(m_design.get(), nullptr, 0, 0), 0);
    EXPECT_EQ(Output().find(",D"), std::string::npos);
    EXPECT_EQ(Saved(), before);
}

TEST_F(SendTest, DesignSizeToCutterTakesTheMediumsExtents) {
    m_design->ResetDeviceExtents();
    g_fnSetDesignSizeToCutter(m_design.get(), nullptr);
    ASSERT_TRUE(m_design->DeviceExtentsKnown());
    CWindow cutter;
    m_medium->fnGetCutterExt(&cutter);
    EXPECT_EQ(m_design->DeviceExtents(), cutter);
    FnSendServices().medManSetup = nullptr; // no media manager: the page keeps its extents
    m_design->ResetDeviceExtents();
    g_fnSetDesignSizeToCutter(m_design.get(), nullptr);
    EXPECT_FALSE(m_design->DeviceExtentsKnown());
}

TEST_F(SendTest, AVelmSendWithoutMarksStops) {
    AddSquare(0, 0, 50000, kBlack);
    EXPECT_EQ(g_fnSendDesignToCutter(m_design.get(), nullptr, 1, 0), 0);
    ASSERT_EQ(m_boxes->Shown().size(), 1u);
    EXPECT_EQ(m_boxes->Shown()[0].stringId, IDS_VELM_MARKERS_NOT_FOUND);
}

TEST_F(SendTest, AStoppedSendLeavesTheSavedDesignByteIdentical) {
    QvSetAppParam(L"Cut Brevnar", 1);
    AddSquare(10000, 10000, 10000, kRed);
    auto* group = new CArticle;
    m_design->RootArticle()->AddChild(group);
    AddSquare(50000, 10000, 10000, kRed, group);
    m_design->RecalcExtents(0); // the send's first step, kept by design
    const std::vector<BYTE> before = Saved();
    struct Case {
        UINT message;
        const wchar_t* copies;
        bool badMedium;
    } const cases[] = {{IDS_NO_DATA_TO_CUT, L"0", false}, {IDS_MEDIA_SIZE_FAILED, L"1", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        if (c.badMedium) {
            CWindow none(0, 0, 0, 0); // what a cutter without a medium reports
            m_medium->fnGetCutter()->fnSetExtents(&none);
        }
        m_boxes.reset();
        m_boxes = std::make_unique<platform::MessageBoxResponder>();
        EXPECT_EQ(SendWithSheet(m_design.get(), 0, [&](HWND out) { Copies(out, c.copies); }), 0);
        bool told = false;
        for (const auto& m : m_boxes->Shown())
            told = told || m.stringId == c.message;
        EXPECT_TRUE(told);
        EXPECT_EQ(Saved(), before);
    }
}

} // namespace
