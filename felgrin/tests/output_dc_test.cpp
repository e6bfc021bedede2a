#include "felgrin/output_dc.h"

#include "cutter_fixture.h"
#include "felgrin/dmpl_cutter.h"
#include "pivora/article.h"
#include "pivora/geometry/plane_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

namespace {

// Stands in for a vector article of the path library: only its type and its line style matter.
class TestVectorArticle : public CArticle {
public:
    int _IsCVectorArticle(bool) const override { return 1; }
};

// One move or cut in data units (origin 1, resolution 25: steps times 25).
struct Move {
    bool down;
    LONG x, y;
    bool operator==(const Move&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Move& m) {
    return o << (m.down ? "D" : "U") << "(" << m.x << "," << m.y << ")";
}

// The pen moves in a DM/PL stream, with anything else ("P6") kept as a marker move.
std::vector<Move> Moves(const std::string& stream, std::vector<std::string>* others = nullptr) {
    std::vector<Move> moves;
    std::stringstream s(stream);
    std::string token;
    bool down = false;
    std::vector<LONG> pending;
    while (std::getline(s, token, ',')) {
        if (token.empty() || token[0] == ';' || token == "HOA" || token == "ECN")
            continue;
        if (token == "U" || token == "D") {
            down = token == "D";
            continue;
        }
        if ((token[0] >= '0' && token[0] <= '9') || token[0] == '-') {
            pending.push_back(std::stol(token));
            if (pending.size() == 2) {
                moves.push_back({down, pending[0] * 25, pending[1] * 25});
                pending.clear();
            }
            continue;
        }
        if (others)
            others->push_back(token);
    }
    return moves;
}

class OutputDC : public CutterTest {
protected:
    void SetUp() override {
        CutterTest::SetUp();
        m_cutter = std::make_unique<CDMPLCutter>();
        m_cutter->SetPortName(L"FILE");
        m_cutter->fnSetOrigin(1);
        m_instance = std::make_unique<CCutterInstance>(m_cutter.get());
        ASSERT_EQ(m_instance->fnStartDoc(), 0);
    }
    std::string Finish() {
        m_instance->fnEndDoc();
        return ReadFile("output.spl");
    }
    std::unique_ptr<CDMPLCutter> m_cutter;
    std::unique_ptr<CCutterInstance> m_instance;
};

TEST_F(OutputDC, ConstructionStartsTheOutputAndDeletionEndsIt) {
    {
        COutputDC dc(m_instance.get(), 0, 1);
        EXPECT_TRUE(m_cutter->InStartEndOutput());
        EXPECT_EQ(dc.fnGetCurrentCutter(), m_cutter.get());
        EXPECT_TRUE(dc.IsPrinting());
        EXPECT_EQ(dc.GetDrawMode(), 64);
        dc.MoveTo(1000, 2000);
        dc.LineTo(3000, 2000);
    }
    EXPECT_FALSE(m_cutter->InStartEndOutput());
    EXPECT_EQ(Finish(), ";:HOA,ECN,U,;:HOA,ECN,U,,U,40,80,D,120,80");
    EXPECT_EQ(ReadFile("CutLog.txt"),
              ";:HOA,ECN,U,\r\n;:HOA,ECN,U,\r\n,U\r\n,40,80\r\n,D\r\n,120,80\r\n");
}

TEST_F(OutputDC, PolylineCutsEverySegmentAndLeavesTheCallersPointsAlone) {
    POINT square[] = {{1000, 1000}, {5000, 1000}, {5000, 5000}, {1000, 5000}, {1000, 1000}};
    POINT copy[5];
    std::copy(square, square + 5, copy);
    {
        COutputDC dc(m_instance.get(), 0, 1);
        CMat2d twice;
        twice = CMat2d(CDpoint(0, 0), 2.0, 2.0, 0.0, CDpoint(0, 0));
        dc.XForm(twice);
        dc.Polyline(square, 5);
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(square[i].x, copy[i].x);
        EXPECT_EQ(square[i].y, copy[i].y);
    }
    std::vector<Move> expected = {{false, 2000, 2000},
                                  {true, 10000, 2000},
                                  {true, 10000, 10000},
                                  {true, 2000, 10000},
                                  {true, 2000, 2000}};
    EXPECT_EQ(Moves(Finish()), expected);
}

TEST_F(OutputDC, StraightControlPolygonIsOneLine) {
    {
        COutputDC dc(m_instance.get(), 0, 1);
        dc.MoveTo(0, 0);
        POINT c[] = {{25000, 0}, {50000, 0}, {100000, 0}};
        dc.PolyBezierTo(c, 3);
    }
    std::vector<Move> expected = {{false, 0, 0}, {true, 100000, 0}};
    EXPECT_EQ(Moves(Finish()), expected);
}

// Distance from a point to a cubic, by dense sampling.
double DistanceToCubic(CDpoint p, const CDpoint c[4]) {
    double best = 1e300;
    for (int i = 0; i <= 20000; ++i) {
        double t = i / 20000.0, u = 1 - t;
        CDpoint q = c[0] * (u * u * u) + c[1] * (3 * u * u * t) + c[2] * (3 * u * t * t) +
                    c[3] * (t * t * t);
        best = std::min(best, length(p, q));
    }
    return best;
}

TEST_F(OutputDC, PolyBezierCutsTheCurveOfEverySegmentNotItsControlPolygon) {
    // Two arches: the control points lie far off the curve.
    POINT pts[] = {{0, 0},      {0, 200000},       {200000, 200000},
                   {200000, 0}, {200000, -200000}, {400000, -200000},
                   {400000, 0}};
    {
        COutputDC dc(m_instance.get(), 0, 1);
        dc.PolyBezier(pts, 7);
    }
    std::vector<Move> moves = Moves(Finish());
    ASSERT_GT(moves.size(), 10u);
    EXPECT_EQ(moves.front(), (Move{false, 0, 0}));
    EXPECT_EQ(moves.back(), (Move{true, 400000, 0}));
    const CDpoint first[4] = {CDpoint(0, 0), CDpoint(0, 200000), CDpoint(200000, 200000),
                              CDpoint(200000, 0)};
    const CDpoint second[4] = {CDpoint(200000, 0), CDpoint(200000, -200000),
                               CDpoint(400000, -200000), CDpoint(400000, 0)};
    bool reachedSecond = false;
    for (const Move& m : moves) {
        CDpoint p(m.x, m.y);
        double d = std::min(DistanceToCubic(p, first), DistanceToCubic(p, second));
        // A step is 25 units and a cutter point rounds up to the next step.
        EXPECT_LT(d, 60.0) << m;
        if (m.x > 250000)
            reachedSecond = true;
    }
    EXPECT_TRUE(reachedSecond);
}

TEST_F(OutputDC, CurveWhoseControlLegsCrossStartsWithTwoPieces) {
    // Legs P0-P1 and P2-P3 cross; with the tolerance of 12 units the curve still needs more.
    {
        COutputDC dc(m_instance.get(), 0, 1);
        dc.MoveTo(0, 0);
        POINT c[] = {{100000, 100000}, {0, 100000}, {100000, 0}};
        dc.PolyBezierTo(c, 3);
    }
    std::vector<Move> moves = Moves(Finish());
    ASSERT_GE(moves.size(), 3u);
    EXPECT_EQ(moves.back(), (Move{true, 100000, 0}));
}

TEST_F(OutputDC, ClippedLinesMoveToWhereTheyReEnter) {
    {
        COutputDC dc(m_instance.get(), 0, 1);
        CWindow clip(0, 0, 10000, 10000);
        dc.fnSetClipArea(clip);
        dc.MoveTo(1000, 1000);
        dc.LineTo(5000, 1000);
        dc.LineTo(20000, 20000); // leaves
        dc.LineTo(30000, 20000); // wholly outside: nothing, but the position moves on
        EXPECT_EQ(dc.fnGetCurrentPosition(), CPoint(30000, 20000));
        dc.LineTo(5000, 5000); // re-enters
    }
    std::vector<Move> moves = Moves(Finish());
    ASSERT_GE(moves.size(), 5u);
    EXPECT_EQ(moves[0], (Move{false, 1000, 1000}));
    EXPECT_EQ(moves[1], (Move{true, 5000, 1000}));
    EXPECT_TRUE(moves[2].down);
    EXPECT_FALSE(moves[3].down); // move to the clipped start
    EXPECT_EQ(moves[4], (Move{true, 5000, 5000}));
}

TEST_F(OutputDC, LineStyleOfEachVectorArticleIsSentBeforeItsFirstMove) {
    TestVectorArticle perforated, plain;
    perforated.fnSaveValue(L".Vector Line Style", 1, 0);
    {
        COutputDC dc(m_instance.get(), 0, 1);
        dc.SetCurrentArticle(&perforated);
        dc.MoveTo(1000, 1000);
        dc.LineTo(5000, 1000);
        dc.SetCurrentArticle(&plain);
        dc.MoveTo(1000, 5000);
        dc.LineTo(5000, 5000);
        EXPECT_EQ(dc.fnGetLineStyle(), 0);
    }
    // The plain article after the perforated one goes back to the normal tool.
    EXPECT_EQ(Finish(), ";:HOA,ECN,U,;:HOA,ECN,U,,P6,U,40,40,D,200,40,P0,U,40,200,D,200,200");
}

TEST_F(OutputDC, AfterACancelNothingMoreIsSent) {
    {
        COutputDC dc(m_instance.get(), 1, 1);
        dc.MoveTo(1000, 1000);
        dc.LineTo(5000, 1000);
        m_cutter->fnGetCancelDlg()->OnCancel();
        dc.LineTo(5000, 5000);
        EXPECT_EQ(dc.GetCurrentStatus(), CUT_ERR_CANCELLED);
        POINT c[] = {{9000, 9000}, {9000, 1000}, {1000, 1000}};
        dc.PolyBezierTo(c, 3);
        dc.Polyline(c, 3);
    }
    EXPECT_EQ(Finish(), ";:HOA,ECN,U,;:HOA,ECN,U,,U,40,40,D,200,40");
    EXPECT_FALSE(m_cutter->CutCancelled()); // the end of the output clears it
}

} // namespace
