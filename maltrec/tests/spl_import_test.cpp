#include "maltrec/import/spl_import.h"

#include "maltrec/import/cutter_job_reader.h"
#include "maltrec/tests/import_fixture.h"

#include "felgrin/dmpl_cutter.h"
#include "maltrec/tests/send_fixture.h"
#include "pivora/framework/percentage_dlg.h"
#include "spline/spline_item.h"

#include "platform/framework/dialog_watch.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

class CutterFileImport : public ImportTest {
protected:
    int Import(const std::string& bytes, UINT kind = 0, CArticleList* list = nullptr) {
        CMemFile file(reinterpret_cast<const BYTE*>(bytes.data()), UINT(bytes.size()));
        return FnImportSPLFile(nullptr, m_page.get(), &file, kind, list);
    }
    platform::MessageBoxResponder m_boxes;
};

TEST_F(CutterFileImport, AnImportIsOneUndoStepThatRestoresThePageExactly) {
    struct Case {
        const char* name;
        std::string bytes;
        UINT kind;
    };
    const Case cases[] = {
        {"spool", ";:HOA,ECN,U,0,0,D,400,0,D,400,400", 0},
        {"GnM", "M33\r\nM65\r\nG01X10Y20\r\nG01X30Y20\r\n", 0},
        {"maker's", "FileStart\nU,0,0\nD,400,0,400,400\n", 0},
        {"HP-GL", "IN;SP1;PU0,0;PD400,0,400,400;SP40;PU0,0;PD0,400;", 0},
        {"HP-GL in one group", "IN;SP1;PU0,0;PD400,0;PU;PD0,400;", CImportGroup::kOneGroup},
        {"HP-GL in an auto group", "IN;SP1;PU0,0;PD400,0;PU;PD0,400;", CImportGroup::kAutoGroup},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetPage();
        // The page already holds a design of its own.
        ASSERT_EQ(Import("IN;SP2;PU40,40;PD80,80;"), 1);
        m_page->ClearUndoTransactions();
        m_page->SetLastAutoGroup(3);
        const std::vector<BYTE> before = Stored();

        ASSERT_EQ(Import(c.bytes, c.kind), 1);
        EXPECT_TRUE(EveryPenInStyles());
        const std::vector<BYTE> imported = Stored();

        ASSERT_TRUE(m_page->PerformUndoTransaction());
        EXPECT_EQ(m_page->GetUndoCount(), 0);
        // The auto-group number stays taken, so a name is never given twice.
        if (c.kind == CImportGroup::kAutoGroup)
            m_page->SetLastAutoGroup(3);
        EXPECT_EQ(Stored(), before);
        if (c.kind == CImportGroup::kAutoGroup)
            m_page->SetLastAutoGroup(4);
        ASSERT_TRUE(m_page->PerformRedoTransaction());
        EXPECT_EQ(Stored(), imported);
    }
}

TEST_F(CutterFileImport, SniffInOrder) {
    struct Case {
        std::string head;
        ECutterFileKind kind;
    };
    const Case cases[] = {
        {";:HOA,ECN,U,", ECutterFileKind::eSpool},
        // A DM/PL start without "HOA" or "ECN", as plot extensions write it.
        {";:HAL0EC1U0,0D40,0", ECutterFileKind::eSpool},
        {"\r\n;: H A L0", ECutterFileKind::eSpool},
        {";:", ECutterFileKind::eSpool},
        {";IN;PU0,0;", ECutterFileKind::eHpgl},
        {"@PJL ENTER LANGUAGE", ECutterFileKind::eSpool},
        {"IN;ER;", ECutterFileKind::eSpool}, // HP-GL with "ER" goes to the spool reader
        {"M33\r\nM65", ECutterFileKind::eGnM},
        {"!Ss", ECutterFileKind::eGnM},
        {"xx FileStart", ECutterFileKind::eOquen},
        {"IN;SP1;PU0,0;", ECutterFileKind::eHpgl},
        {"IN;S", ECutterFileKind::eHpgl},                             // a 4-byte file
        {std::string(20, 'x') + "FileStart", ECutterFileKind::eHpgl}, // past the 20 bytes
        {std::string("M3\0\0\0", 5), ECutterFileKind::eHpgl},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.head);
        EXPECT_EQ(FnSniffCutterFile(reinterpret_cast<const uint8_t*>(c.head.data()), c.head.size()),
                  c.kind);
    }
}

TEST_F(CutterFileImport, SpoolGoldenTexts) {
    struct Case {
        const char* text;
        std::vector<Path> paths;
    };
    const Case cases[] = {
        {";:HOA,ECN,U,U0,0 D400,0 D400,400 U", {{1, {{0, 0}, {10000, 0}, {10000, 10000}}}}},
        // As the cutter driver writes it.
        {";:HOA,ECN,U,U,40,80,D,120,80,120,160", {{1, {{1000, 2000}, {3000, 2000}, {3000, 4000}}}}},
        // Relative moves add to the current point.
        {";:HOA,ECN,U,U,40,40,R,D,40,0,0,40", {{1, {{1000, 1000}, {2000, 1000}, {2000, 2000}}}}},
        // Two strokes; a lone pen-up point is dropped.
        {";:HOA,ECN,U,U,0,0,D,40,0,U,80,80,U,0,40,D,40,40",
         {{1, {{0, 0}, {1000, 0}}}, {1, {{0, 1000}, {1000, 1000}}}}},
        // A knife pen (64 - 248 / 4 = 2) splits the stroke where it changes.
        {";:HOA,ECN,U,U,0,0,D,40,0,PW248,40,40",
         {{1, {{0, 0}, {1000, 0}}}, {2, {{1000, 0}, {1000, 1000}}}}},
        // A quarter arc clockwise about (0, 0) from (1000, 0).
        {";:HOA,ECN,U,U,40,0,D,CA0,0,90", {{1, {{1000, 0}, {707, -707}, {0, -1000}}}}},
        // The feed and deselect that end the cutter driver's jobs draw nothing.
        {";:HOA,ECN,U,U,40,80,D,120,80,e@", {{1, {{1000, 2000}, {3000, 2000}}}}},
        // A feed without feed offsets moves later points along x.
        {";:HOA,ECN,U,F400,U,0,0,D,40,0", {{1, {{10000, 0}, {11000, 0}}}}},
        // Parameters of "V" are skipped, and so are abort lines.
        {";:HOA,ECN,U,V5,U,0,0,D,40,0\nAbort 7,7\nD,80,0", {{1, {{0, 0}, {1000, 0}, {2000, 0}}}}},
        // With an "I" value pens are shifted by four.
        {";:HOA,ECN,U,I1,U,0,0,D,40,0", {{5, {{0, 0}, {1000, 0}}}}},
        // Sniffed by its DM/PL start alone.
        {";:HAL0EC1U0,0 D400,0 D400,400 U", {{1, {{0, 0}, {10000, 0}, {10000, 10000}}}}},
        // Nothing drawn.
        {";:HOA,ECN,U,", {}},
        {";:HOA,ECN,U,U,40,40,U", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ResetPage();
        EXPECT_EQ(Import(c.text), c.paths.empty() ? 0 : 1);
        EXPECT_EQ(Paths(), c.paths);
        EXPECT_TRUE(EveryPenInStyles());
    }
}

TEST_F(CutterFileImport, ConveyorFeedMovesLaterPointsDown) {
    // A feed of 1000 after EP is 200 units of 1/40 mm with the conveyor on.
    ASSERT_EQ(Import(";:HOA,ECN,EP1,F1000,U,0,400,D,40,400"), 1);
    EXPECT_EQ(Paths(), (std::vector<Path>{{1, {{0, 5000}, {1000, 5000}}}}));
}

TEST_F(CutterFileImport, SetCommandResetsThePointUnlessCutOff) {
    ASSERT_EQ(Import(";:HOA,ECN,U,U,40,40,R,SET CUT OFF.,D,40,0"), 1);
    EXPECT_EQ(Paths(), (std::vector<Path>{{1, {{1000, 1000}, {2000, 1000}}}}));
    ResetPage();
    ASSERT_EQ(Import(";:HOA,ECN,U,U,40,40,R,SET CUT ON,D,40,0"), 1);
    EXPECT_EQ(Paths(), (std::vector<Path>{{1, {{1000, 1000}, {1000, 0}}}}));
}

TEST_F(CutterFileImport, LinesAlwaysMoveOn) {
    std::string_view line;
    const std::string text = "\r\nDDD\nUx";
    size_t pos = 0;
    std::vector<std::string> lines;
    while (CCutterJobReader::NextLine(text, pos, line))
        lines.emplace_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"D", "D", "D", "Ux"}));
}

TEST_F(CutterFileImport, MakersFileEntries) {
    struct Case {
        const char* text;
        std::vector<Path> paths;
    };
    const Case cases[] = {
        {"FileStart\r\nU,1.0,2.0\r\nD,3.0,2.0,3.0,4.5\r\n",
         {{1, {{1000, 2000}, {3000, 2000}, {3000, 4500}}}}},
        // Each "P" entry ends its line; a new line takes pen + 1 (the first one continues the
        // stroke the move started).
        {"FileStart\r\nU,0,0\r\nD,P1,10,0P2,10,10\r\n",
         {{1, {{0, 0}, {10000, 0}}}, {3, {{10000, 0}, {10000, 10000}}}}},
        // "LE," and "FR(" lines hold no points.
        {"FileStart\r\nU,0,0\r\nLE,5,5\r\nFR(1,1)\r\nD,1,0\r\n", {{1, {{0, 0}, {1000, 0}}}}},
        {"FileStart\r\nnothing here\r\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ResetPage();
        EXPECT_EQ(Import(c.text), c.paths.empty() ? 0 : 1);
        EXPECT_EQ(Paths(), c.paths);
    }
}

// Cancel in the progress dialog stops the reading after the line being read: what was read
// stays as one undo step, and with nothing read the page is as it was.
TEST_F(CutterFileImport, CancelKeepsWhatWasRead) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<Path> paths;
    };
    const Path first{1, {{0, 0}, {1000, 0}, {1000, 1000}}};
    const Case cases[] = {
        // A knife pen up to the cancel, with no stroke: the style table grown for it goes back.
        {"spool, nothing drawn yet", ";:HOA,ECN,u,U,0,0,D,40,0,40,40", {}},
        {"spool, after the first stroke", "@d,40,0,40,40\nU,0,0,D,0,40", {first}},
        {"maker's file", "FileStart\r\nU,0,0\r\nD,1,0\r\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetPage();
        const std::vector<BYTE> before = Stored();
        int dialogs = 0;
        {
            platform::ScopedDialogWatch watch([&](CDialog* dlg) {
                dialogs += DynamicDowncast<CPercentageDlg>(dlg) != nullptr;
                dlg->PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            });
            EXPECT_EQ(Import(c.bytes), c.paths.empty() ? 0 : 1);
        }
        EXPECT_EQ(dialogs, 1);
        EXPECT_EQ(Paths(), c.paths);
        EXPECT_EQ(m_page->UndoTransactionNames().GetSize(), c.paths.empty() ? 0 : 1);
        if (!c.paths.empty()) {
            ASSERT_TRUE(m_page->PerformUndoTransaction());
        }
        EXPECT_EQ(Stored(), before);
    }
    // Without the dialog nothing can stop the reading.
    ResetPage();
    int dialogs = 0;
    CCutterJobReader::SetProgressShown(false);
    {
        platform::ScopedDialogWatch watch([&](CDialog*) { ++dialogs; });
        EXPECT_EQ(Import(cases[1].bytes), 1);
    }
    CCutterJobReader::SetProgressShown(true);
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(Paths(), (std::vector<Path>{first, {1, {{0, 0}, {0, 1000}}}}));
}

TEST_F(CutterFileImport, HpglThroughTheSniffAndPanelHeader) {
    ASSERT_EQ(Import("IN;SP1;PU0,0;PD400,0,400,400;"), 1);
    EXPECT_EQ(Paths(), (std::vector<Path>{{1, {{0, 0}, {10000, 0}, {10000, 10000}}}}));

    ResetPage();
    const std::string panel = std::string(kPanelHeaderBytes, 'H') + "IN;SP2;PU0,0;PD40,0;";
    CMemFile file(reinterpret_cast<const BYTE*>(panel.data()), UINT(panel.size()));
    ASSERT_EQ(FnImportPNLFile(nullptr, m_page.get(), &file), 1);
    EXPECT_EQ(Paths(), (std::vector<Path>{{2, {{0, 0}, {1000, 0}}}}));

    ResetPage();
    CMemFile shortFile(reinterpret_cast<const BYTE*>(panel.data()), 100);
    EXPECT_EQ(FnImportPNLFile(nullptr, m_page.get(), &shortFile), 0);
}

TEST_F(CutterFileImport, BadInputEndsWithSoundArticles) {
    const std::string inputs[] = {
        "",
        "\x01",
        std::string("\0\0\0\0\0\0", 6),
        "IN;PU0,0;PD", // truncated
        std::string(5000, '\xff'),
        ";:HOA,ECN,U,D,99999999999999999999999,99999999999999999999,U",
        ";:HOA,ECN,U,U,0,0,D,CA0,0,1e308",
        // Pens set on the current article (shifted, knife) stay inside the style table.
        ";:HOA,ECN,U,I1,U,0,0,D,40,0,U",
        ";:HOA,ECN,U,U,0,0,D,40,0,BX u,40,40",
        ";:HOA,ECN,EP1,R,F99999999999999999999,U,0,0,D,40,0",
    };
    for (const std::string& in : inputs) {
        SCOPED_TRACE(in.substr(0, 40));
        ResetPage();
        Import(in);
        EXPECT_TRUE(EveryPenInStyles());
    }
}

TEST_F(CutterFileImport, RoundTripThroughTheCutterDriver) {
    CDMPLCutter c;
    c.SetPortName(L"file");
    c.fnSetOrigin(1);
    ASSERT_EQ(c.StartDocW(), 0);
    c.StartPage();
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    const std::vector<std::vector<POINT>> paths = {
        {{1000, 2000}, {3000, 2000}, {3000, 4000}},
        {{5000, 5000}, {7500, 5025}, {10000, 10000}, {5000, 5000}},
    };
    for (const auto& p : paths) {
        POINT start = p[0];
        ASSERT_EQ(c.PolyMoveTo(&start, 1), 0);
        std::vector<POINT> rest(p.begin() + 1, p.end());
        ASSERT_EQ(c.PolyLineTo(rest.data(), int(rest.size())), 0);
    }
    c.ReturnToZero();
    c.EndOutput();
    c.EndPage();
    c.EndDoc();
    std::ifstream in(m_box.Path("home") + "/output.spl", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    ASSERT_FALSE(bytes.str().empty());
    ASSERT_EQ(Import(bytes.str()), 1);
    const auto back = Paths();
    ASSERT_EQ(back.size(), paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        ASSERT_EQ(back[i].points.size(), paths[i].size());
        for (size_t k = 0; k < paths[i].size(); ++k) {
            EXPECT_NEAR(back[i].points[k].x, paths[i][k].x, 25);
            EXPECT_NEAR(back[i].points[k].y, paths[i][k].y, 25);
        }
    }
    ExpectSavedTwiceIdentical();
}

using Polyline = std::vector<CDpoint>;

// The path of a curve item of arcs and lines through its elements, the arcs cut into pieces far
// shorter than a cutter step; a path of cubics along the cubics themselves.
Polyline Sampled(CSplineItem* item) {
    Polyline out;
    item->MakePktArray(CBezier::kMaxLevel);
    for (int i = 0; i < int(item->Pkt()->GetSize()); ++i) {
        CPkt e = item->Pkt(i);
        if (out.empty())
            out.push_back(CDpoint(e.start));
        if (e.mode == CPkt::kArc) {
            const CArc& a = e.Arc();
            const int n = std::max(2, int(std::fabs(a.angDiff()) * a.r / 50.0));
            for (int k = 1; k < n; ++k)
                out.push_back(a.locus(a.a0 + a.angDiff() * k / n));
        }
        out.push_back(CDpoint(e.end));
    }
    bool cubic = false;
    for (int i = 0; i < int(item->Bezier()->GetSize()); ++i)
        cubic = cubic || item->Bezier(i).type == CBezier::kCubic;
    if (!cubic)
        return out;
    out.clear();
    for (int i = 0; i < int(item->Bezier()->GetSize()); ++i) {
        CBezier b = item->Bezier(i);
        POINT pts[100];
        b.GetPoints(pts, b.type == CBezier::kCubic ? 100 : 2);
        for (int k = 0; k < (b.type == CBezier::kCubic ? 100 : 2); ++k)
            out.push_back(CDpoint(pts[k].x, pts[k].y));
    }
    return out;
}

double Distance(const CDpoint& p, const Polyline& line) {
    double best = 1e300;
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const CDpoint a = line[i], b = line[i + 1];
        const double dx = b.x - a.x, dy = b.y - a.y, len = dx * dx + dy * dy;
        const double t =
            len > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len, 0.0, 1.0) : 0.0;
        best = std::min(best, std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy));
    }
    return best;
}

struct ImportedPage : std::unique_ptr<CDesignPage> {
    ImportedPage()
        : std::unique_ptr<CDesignPage>(static_cast<CDesignPage*>(CDesignPage::CreateObject())) {
        get()->fnInitParamBlocks();
    }
};

class CurveRoundTrip : public SendTest {
protected:
    CVectorArticle* AddPath(std::initializer_list<std::pair<DWORD, CLpoint>> points) {
        auto* s = new CSplineItem;
        for (const auto& [mode, p] : points)
            s->Vect(CSb(mode, p));
        return Add(s);
    }
    CVectorArticle* Add(CSplineItem* s) {
        s->MakeCurves();
        auto* a = new CVectorArticle;
        a->Item(s);
        m_design->RootArticle()->AddChild(a);
        int style = 0;
        a->SetLineColour(RGB(0, 0, 0), style);
        a->InvExtents(1);
        return a;
    }
};

// A design of curves cut through the file port reads back as the same paths: every point read
// lies within a cutter step of the design's path, and every point of the design's path within a
// step of what was read.
TEST_F(CurveRoundTrip, CutCurvesReadBackWithinOneCutterStep) {
    constexpr DWORD B = CSplineItem::kBreak, S = CSplineItem::kSmooth;
    const std::vector<CVectorArticle*> design = {
        Add(CSplineItem::CreateEllipse(CRect(20000, 20000, 60000, 50000), 1)),
        AddPath(
            {{B, {70000, 20000}}, {S, {80000, 40000}}, {S, {95000, 25000}}, {B, {110000, 45000}}}),
        AddPath({{B, {20000, 70000}}, {S, {35000, 85000}}, {B, {50000, 70000}}}),
    };
    ASSERT_EQ(g_fnSendDesignToCutter(m_design.get(), nullptr, 0, 1), 1);
    const std::string spool = Output();
    ImportedPage page;
    CMemFile file(reinterpret_cast<const BYTE*>(spool.data()), UINT(spool.size()));
    ASSERT_EQ(FnImportSPLFile(nullptr, page.get(), &file, 0, nullptr), 1);
    std::vector<Polyline> cut;
    CWindow cutBox = CWindow::EmptyExtent();
    CArticleList list;
    page->RootArticle()->GetArticleList(&list, nullptr, nullptr);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        auto* s = DynamicDowncast<CSplineItem>(list.GetNext(pos)->GetItem());
        if (!s)
            continue;
        cut.emplace_back();
        for (int i = 0; i < s->VectCount(); ++i) {
            cut.back().push_back(CDpoint(s->Vect(i).pt));
            cutBox.fnIncludePoint(s->Vect(i).pt);
        }
    }
    ASSERT_EQ(design.size(), cut.size());
    std::vector<Polyline> drawn;
    CWindow drawnBox = CWindow::EmptyExtent();
    for (CVectorArticle* a : design) {
        drawn.push_back(Sampled(static_cast<CSplineItem*>(a->GetItem())));
        for (const CDpoint& p : drawn.back())
            drawnBox.fnIncludePoint(CLpoint(long(std::lround(p.x)), long(std::lround(p.y))));
    }
    // The cutter's X runs along the design's y, its Y against the design's x, from the corner
    // of the design; the boxes place it to within a step on each axis.
    for (Polyline& line : drawn)
        for (CDpoint& p : line)
            p = CDpoint(p.y - drawnBox.y1 + cutBox.x1, drawnBox.x1 - p.x + cutBox.y2);
    // Paths are cut in an order of their own, each from a start of its own: each design path
    // is matched with the cut path nearest to it.
    auto apart = [](const Polyline& a, const Polyline& b, const CDpoint& shift) {
        double far = 0;
        for (CDpoint p : a)
            far = std::max(far, Distance(CDpoint(p.x + shift.x, p.y + shift.y), b));
        for (CDpoint p : b)
            far = std::max(far, Distance(CDpoint(p.x - shift.x, p.y - shift.y), a));
        return far;
    };
    std::vector<size_t> match(drawn.size());
    for (size_t k = 0; k < drawn.size(); ++k) {
        double best = 1e300;
        for (size_t m = 0; m < cut.size(); ++m)
            if (const double d = apart(cut[m], drawn[k], CDpoint(0, 0)); d < best) {
                best = d;
                match[k] = m;
            }
    }
    // Within a cutter step, after the best placement within a step.
    constexpr double kStep = 25.0;
    double worst = 1e300;
    for (double dx = -kStep; dx <= kStep; dx += kStep / 2)
        for (double dy = -kStep; dy <= kStep; dy += kStep / 2) {
            double far = 0;
            for (size_t k = 0; k < drawn.size(); ++k)
                far = std::max(far, apart(cut[match[k]], drawn[k], CDpoint(dx, dy)));
            worst = std::min(worst, far);
        }
    EXPECT_LE(worst, kStep);
}

} // namespace
