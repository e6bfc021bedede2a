#include "maltrec/import/eps_interpreter.h"

#include "bezier/bezier_item.h"
#include "design/design_page.h"
#include "pivora/framework/percentage_dlg.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"
#include "vector/vector_style_pb.h"

#include "platform/core/archive.h"
#include "platform/core/decimal_parse.h"
#include "platform/core/mem_file.h"
#include "platform/display/display.h"
#include "platform/framework/wnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

const char* kHeader = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n%%EndComments\n"
                      "%%EndSetup\n";

std::unique_ptr<CDesignPage> NewPage() {
    return std::unique_ptr<CDesignPage>(static_cast<CDesignPage*>(CDesignPage::CreateObject()));
}

struct Imported {
    std::unique_ptr<CDesignPage> page = NewPage();
    int result = 0;
    CString reason;
    std::vector<CVectorArticle*> articles;
    std::vector<std::vector<CLpoint>> paths;
};

std::unique_ptr<Imported> Import(const std::string& text,
                                 void (*setup)(CEPSInterpreter&) = nullptr) {
    auto r = std::make_unique<Imported>();
    CEPSInterpreter eps(nullptr, r->page.get(), L"test.eps");
    if (setup)
        setup(eps);
    EXPECT_EQ(1, eps.ReadBytes(std::vector<BYTE>(text.begin(), text.end())));
    r->result = eps.Run();
    r->reason = eps.StopReason();
    CArticleList list;
    r->page->RootArticle()->GetArticleList(&list, nullptr, nullptr);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        auto* a = DynamicDowncast<CVectorArticle>(list.GetNext(pos));
        if (!a || !a->GetItem())
            continue;
        r->articles.push_back(a);
        std::vector<CLpoint> pts;
        auto* v = DynamicDowncast<CVectorItem>(a->GetItem());
        for (int i = 0; i < v->VectCount(); ++i)
            pts.push_back(v->Vect(i).pt);
        r->paths.push_back(pts);
    }
    return r;
}

std::unique_ptr<Imported> Body(const std::string& body) {
    return Import(std::string(kHeader) + body + "\n%%EOF\n");
}

COLORREF StyleColour(CDesignPage& page, int style) {
    auto* pb = static_cast<CVectorStylePB*>(page.FindParam(14));
    return pb ? pb->fnGetVectStyleColour(style) : CVectorStylePB::kNoColour;
}

TEST(EpsTokenizer, SplitsLinesAsTheBodyReaderDoes) {
    struct Case {
        const char* line;
        std::vector<std::string> tokens;
    } cases[] = {
        {"(a b c) 10 20 m", {"10", "20", "m"}},
        {"[1 0 0 1 5 5] concat", {"1", "0", "0", "1", "5", "5", "concat"}},
        {"/p { 1 2 moveto", {"/p"}},
        {"abc(x) 5", {"5"}},
        {"10 20 m % 30 40 l", {"10", "20", "m"}},
        {"1 2\t3", {"1", "2", "3"}},
        {"a[b]c", {"abc"}},
        {"(nested (x) y) S", {"S"}},
        {"ab[c d]e]", {"abc", "de"}},
        {"[ ] [x", {"x"}},
        {"q[r(s) t", {"t"}},
        {"u]%v", {"u"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.tokens, CEPSInterpreter::TokenizeLine(c.line)) << c.line;
}

TEST(EpsTokenizer, NumberRuleIsDecimalOnly) {
    struct Case {
        const char* token;
        bool number;
        float value;
        bool outOfRange;
    } cases[] = {
        {"0", true, 0.0f, false},     {"0.0", true, 0.0f, false},    {"-0", true, 0.0f, false},
        {"12.5", true, 12.5f, false}, {"-3", true, -3.0f, false},    {".5", true, 0.5f, false},
        {"1e2", true, 100.0f, false}, {"12abc", true, 12.0f, false}, {"0x", false, 0.0f, false},
        {"0x10", false, 0.0f, false}, {"inf", false, 0.0f, false},   {"nan", false, 0.0f, false},
        {"-inf", false, 0.0f, false}, {"m", false, 0.0f, false},     {"1e999", true, 0.0f, true},
        {"1e39", true, 0.0f, true},
    };
    for (const Case& c : cases) {
        float v = -1.0f;
        bool bad = false;
        EXPECT_EQ(c.number, CEPSInterpreter::ParseNumber(c.token, v, bad)) << c.token;
        EXPECT_EQ(c.outOfRange, bad) << c.token;
        if (c.number && !c.outOfRange) {
            EXPECT_FLOAT_EQ(c.value, v) << c.token;
        }
    }
}

// The body reader's first form, character by character, kept to check the plain-line cutter
// against: strings and procedures skipped with their depth, brackets dropped inside a token.
std::vector<std::string> ReferenceTokens(std::string_view line) {
    std::vector<std::string> out;
    std::string token;
    bool inToken = false;
    int depth = 0;
    auto flush = [&] {
        if (inToken && !token.empty())
            out.push_back(token);
        inToken = false;
        token.clear();
    };
    size_t i = 0;
    for (; i < line.size(); ++i) {
        const char ch = line[i];
        if (depth > 0) {
            depth += (ch == '(' || ch == '{') ? 1 : (ch == ')' || ch == '}') ? -1 : 0;
            continue;
        }
        if (ch == '(' || ch == '{') {
            ++depth;
            inToken = false;
            token.clear();
        } else if (ch == '\0' || ch == '%') {
            break;
        } else if (ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f') {
            flush();
        } else if (ch != '[' && ch != ']') {
            token.push_back(ch);
            inToken = true;
        } else {
            inToken = true;
        }
    }
    if (depth == 0)
        flush();
    return out;
}

// The number rule as the general decimal reader gives it, kept to check the quick reading of
// plain decimals against.
bool ReferenceNumber(std::string_view token, float& value, bool& outOfRange) {
    outOfRange = false;
    value = 0.0f;
    double v = 0.0;
    size_t used = 0;
    switch (platform::ParseDecimalPrefix(token, v, used)) {
    case platform::DecimalParse::None:
        return false;
    case platform::DecimalParse::OutOfRange:
        outOfRange = true;
        return true;
    case platform::DecimalParse::Ok:
        break;
    }
    if (v == 0.0 && used != token.size())
        return false;
    if (std::fabs(v) > double(std::numeric_limits<float>::max())) {
        outOfRange = true;
        return true;
    }
    value = float(v);
    return true;
}

TEST(EpsTokenizer, NumbersReadAsTheGeneralDecimalReaderReadsThem) {
    // Plain decimals of every length around the exact limits (2^53, 22 decimals, 19 digits),
    // with signs, leading zeros, exponents and trailing characters: the same verdict and the
    // same bits.
    std::mt19937 rng(11);
    auto digits = [&](int n) {
        std::string d;
        for (int i = 0; i < n; ++i)
            d.push_back(char('0' + rng() % 10));
        return d;
    };
    std::vector<std::string> tokens = {"9007199254740992",
                                       "9007199254740993",
                                       "0.9007199254740993",
                                       "1.0000000000000000000000",
                                       "1.00000000000000000000000",
                                       "0000000000000000000001",
                                       "-0",
                                       "-0.0x",
                                       "0.",
                                       "5.",
                                       ".5.5",
                                       "1..2",
                                       "+.",
                                       "-",
                                       "12-3",
                                       "3.4028235e38",
                                       "340282350000000000000000000000000000000",
                                       "1e-46",
                                       "7.006e-46"};
    const char* signs[] = {"", "-", "+"};
    const char* tails[] = {"", "x", "e", "e5", "E-3", ".", "abc", "0x1"};
    for (int k = 0; k < 20000; ++k) {
        std::string t = signs[rng() % 3];
        const int whole = int(rng() % 21), frac = int(rng() % 25);
        t += digits(whole);
        if (rng() % 4 != 0)
            t += "." + digits(frac);
        t += tails[rng() % 8];
        tokens.push_back(t);
    }
    for (const std::string& t : tokens) {
        float expected = 0.0f, got = 0.0f;
        bool expectedBad = false, gotBad = false;
        const bool isNumber = ReferenceNumber(t, expected, expectedBad);
        ASSERT_EQ(isNumber, CEPSInterpreter::ParseNumber(t, got, gotBad)) << t;
        ASSERT_EQ(expectedBad, gotBad) << t;
        ASSERT_EQ(std::bit_cast<uint32_t>(expected), std::bit_cast<uint32_t>(got)) << t;
    }
}

TEST(EpsTokenizer, PlainAndMixedLinesAreCutAsCharacterByCharacter) {
    std::mt19937 rng(5);
    const std::string pieces[] = {"10",
                                  "-2.5",
                                  "m",
                                  "XA",
                                  " ",
                                  "  ",
                                  "\t",
                                  "\f",
                                  "\r",
                                  "(",
                                  ")",
                                  "{",
                                  "}",
                                  "[",
                                  "]",
                                  "%",
                                  std::string(1, '\0'),
                                  "\v",
                                  "/p",
                                  "ab"};
    for (int k = 0; k < 20000; ++k) {
        std::string line;
        const int n = int(rng() % 14);
        for (int i = 0; i < n; ++i)
            line += pieces[rng() % std::size(pieces)];
        ASSERT_EQ(ReferenceTokens(line), CEPSInterpreter::TokenizeLine(line)) << line;
    }
}

TEST(EpsKeywords, TablesHoldEveryRowAndAreCaseSensitive) {
    EXPECT_EQ(76u, CEPSInterpreter::KeywordTable().size());
    EXPECT_EQ(12u, CEPSInterpreter::PdfKeywordTable().size());
    int f = -1, F = -1;
    for (const auto& k : CEPSInterpreter::KeywordTable()) {
        if (std::string(k.text) == "f")
            f = k.action;
        if (std::string(k.text) == "F")
            F = k.action;
    }
    EXPECT_EQ(CEPSInterpreter::kFillCloseEnd, f);
    EXPECT_EQ(CEPSInterpreter::kFillEnd, F);
}

TEST(EpsRun, SniffingAndHeaderResults) {
    struct Case {
        const char* text;
        int result;
        int type;
    } cases[] = {
        {"%!PS-Adobe-3.0\n%%EndComments\n", 0, CEPSInterpreter::kTypePostScript},
        {"%!PS-Adobe-3.0 EPSF-3.0\n%%EndComments\n", 0, CEPSInterpreter::kTypeEPS},
        {"%PDF-1.4\n", -2, CEPSInterpreter::kTypePDF},
        {"hello\n", -1, CEPSInterpreter::kTypeUnknown},
        {"", -1, CEPSInterpreter::kTypeUnknown},
        {"%!PS-Adobe-3.0\n%%Title: x\n", -1, CEPSInterpreter::kTypePostScript},
        // A DOS-binary header before the PostScript section.
        {"\xC5\xD0\xD3\xC6\x1E\x00\x00\x00 %!PS-Adobe-3.0 EPSF-3.0\n%%EndComments\n", 0,
         CEPSInterpreter::kTypeEPS},
    };
    for (const Case& c : cases) {
        auto page = NewPage();
        CEPSInterpreter eps(nullptr, page.get(), L"x.eps");
        const std::string s = c.text[0] == '\xC5' ? std::string(c.text, 48) : std::string(c.text);
        eps.ReadBytes(std::vector<BYTE>(s.begin(), s.end()));
        EXPECT_EQ(c.result, eps.Run()) << c.text;
        EXPECT_EQ(c.type, eps.FileType()) << c.text;
    }
}

TEST(EpsRun, CreatorIsReadFromTheHeader) {
    struct Case {
        const char* creator;
        int id;
    } cases[] = {{"Adobe Illustrator(R) 8.0", 0},
                 {"CorelDRAW", 1},
                 {"Quick PDF Library 9", 2},
                 {"Serif Affinity", 3},
                 {"PDF library stand-in", 4}};
    for (const Case& c : cases) {
        auto page = NewPage();
        CEPSInterpreter eps(nullptr, page.get(), L"x.eps");
        const std::string s =
            std::string("%!PS-Adobe-3.0\n%%Creator: ") + c.creator + "\n%%EndComments\n";
        eps.ReadBytes(std::vector<BYTE>(s.begin(), s.end()));
        EXPECT_EQ(0, eps.Run());
        EXPECT_EQ(c.id, eps.Creator()) << c.creator;
    }
}

TEST(EpsPaths, LineStrokedGivesOneArticleInPaletteColourZero) {
    auto r = Body("0 0 m 100 0 l S");
    ASSERT_EQ(0, r->result);
    ASSERT_EQ(1u, r->paths.size());
    EXPECT_EQ((std::vector<CLpoint>{{0, 0}, {35277, 0}}), r->paths[0]);
    EXPECT_EQ(0, r->articles[0]->PaletteIndex());
    EXPECT_EQ(1, r->articles[0]->fnGetValue(CVectorArticle::kLineThickness, 0));
    EXPECT_EQ(1, r->articles[0]->fnGetValue(L".Vector Line Thickness PT", 0));
    EXPECT_EQ(0x000000u, StyleColour(*r->page, 0));
    EXPECT_EQ(0x0000FFu, StyleColour(*r->page, 1));
}

TEST(EpsPaths, UnpaintedPathIsDropped) {
    EXPECT_TRUE(Body("0 0 m 100 0 l n")->paths.empty());
    EXPECT_TRUE(Body("0 0 m 100 0 l 0 0 10 10 re clip n")->paths.empty());
}

TEST(EpsPaths, GoldenPointsOfSmallFixtures) {
    struct Case {
        const char* body;
        std::vector<std::vector<CLpoint>> paths;
    } cases[] = {
        // Shifted to the origin: the low corner of everything lands on (0, 0).
        {"10 10 m 20 10 l 20 20 l s", {{{0, 0}, {3528, 0}, {3528, 3528}, {0, 0}}}},
        {"0 0 10 10 re f", {{{0, 0}, {3527, 0}, {3527, 3527}, {0, 3527}, {0, 0}}}},
        // Scale by 2 then translate.
        {"2 2 scale 0 0 m 10 0 l S", {{{0, 0}, {7055, 0}}}},
        // Segments of 0.005 or less and points closer than 5 units are dropped.
        {"0 0 m 0.004 0 l 100 0 l 100.01 0 l S", {{{0, 0}, {35277, 0}}}},
        // A current point pushed back as operands.
        {"5 5 m currentpoint pop pop 10 0 m 20 0 l S", {{{0, 0}, {3528, 0}}}},
    };
    for (const Case& c : cases) {
        auto r = Body(c.body);
        EXPECT_EQ(0, r->result) << c.body;
        EXPECT_EQ(c.paths, r->paths) << c.body;
    }
}

TEST(EpsPaths, CurvesAreFlattenedAndJoinWithoutDuplicates) {
    auto r = Body("0 0 m 0 10 10 10 10 0 c 10 -10 20 -10 20 0 c S");
    ASSERT_EQ(1u, r->paths.size());
    // The current point, then start, six samples and end of the first curve; the second curve
    // skips its first point, which the first one ended on.
    EXPECT_EQ(16u, r->paths[0].size());
    for (size_t i = 2; i < r->paths[0].size(); ++i)
        EXPECT_FALSE(r->paths[0][i].x == r->paths[0][i - 1].x &&
                     r->paths[0][i].y == r->paths[0][i - 1].y);
}

// A curve brings the points a curve item of its four points makes into a spline: its ends and
// the six samples between, at any size and place.
TEST(EpsPaths, CurvePointsAreThoseOfTheCurveItemSpline) {
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> u(-3000.0, 3000.0);
    auto data = [](double v) { return LONG(std::trunc(v * CEPSInterpreter::kPointsToData)); };
    for (int k = 0; k < 20; ++k) {
        double c[8];
        // Rounded to the digits written, so the expected points start from the same operands.
        for (double& v : c) {
            char digits[32];
            std::snprintf(digits, sizeof digits, "%.3f", k % 2 ? u(rng) : u(rng) / 1000);
            v = std::strtod(digits, nullptr);
        }
        char body[256];
        std::snprintf(body, sizeof body, "%.3f %.3f m %.3f %.3f %.3f %.3f %.3f %.3f c S", c[0],
                      c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
        auto r = Body(body);
        ASSERT_EQ(1u, r->paths.size()) << body;
        CBezierItem item;
        for (int i = 0; i < 4; ++i) {
            const float x = float(c[2 * i]), y = float(c[2 * i + 1]);
            item.Vect(
                CSb(i % 3 ? CBezierItem::kHandle : CSplineItem::kBreak, CLpoint(data(x), data(y))));
        }
        const std::unique_ptr<CSplineItem> spline(CreateSplineItem(&item));
        ASSERT_TRUE(spline);
        const std::vector<CLpoint>& got = r->paths[0];
        // The current point comes first; the shift to the origin moves every point alike.
        ASSERT_EQ(size_t(spline->VectCount()) + 1, got.size()) << body;
        auto* made = DynamicDowncast<CVectorItem>(r->articles[0]->GetItem());
        const CLpoint p0 = spline->Vect(0).pt;
        for (int i = 0; i < spline->VectCount(); ++i) {
            const CLpoint want = spline->Vect(i).pt;
            EXPECT_EQ(spline->Vect(i).flags, made->Vect(i + 1).flags) << body;
            EXPECT_EQ(int64_t(want.x) - p0.x, int64_t(got[size_t(i) + 1].x) - got[1].x) << body;
            EXPECT_EQ(int64_t(want.y) - p0.y, int64_t(got[size_t(i) + 1].y) - got[1].y) << body;
        }
    }
}

// Within one data unit: a fit of moved points truncates its control points on the other side
// of a unit now and then.
bool Near(const CLpoint& a, const CLpoint& b) {
    return std::llabs(int64_t(a.x) - b.x) <= 1 && std::llabs(int64_t(a.y) - b.y) <= 1;
}

TEST(EpsPaths, TheShiftBringsTheOutermostCurvesToTheOrigin) {
    // The leftmost and lowest ink is a curve's bulge, between its ends and short of its control
    // points, with paths inside the page before and after it: the page starts exactly there.
    auto r = Body("300 300 m 320 310 l S\n"
                  "100 40 m 0 60 0 60 100 80 c S\n"
                  "200 300 m 250 300 l S\n"
                  "400 20 m 420 -20 460 -20 480 20 c S\n"
                  "150 150 m 160 170 170 170 180 150 c S");
    ASSERT_EQ(5u, r->articles.size());
    const CWindow page = r->page->RootArticle()->Extents(0);
    EXPECT_EQ(0, page.x1);
    EXPECT_EQ(0, page.y1);
    EXPECT_EQ(0, r->articles[1]->Extents(0).x1);
    EXPECT_EQ(0, r->articles[3]->Extents(0).y1);
    for (int i : {1, 3}) {
        auto* s = static_cast<CSplineItem*>(r->articles[size_t(i)]->GetItem());
        LONG lowest = INT32_MAX;
        for (int k = 0; k < s->VectCount(); ++k)
            lowest = std::min(lowest, i == 1 ? s->Vect(k).pt.x : s->Vect(k).pt.y);
        EXPECT_GT(lowest, 0) << i; // the ends and samples lie inside
    }
}

TEST(EpsPaths, ShiftedPathsMatchAFreshFitOfTheirPoints) {
    // Curves far from the origin, on both sides of it, closed and open, after a path the page
    // already held (which the shift moves too).
    const char* bodies[] = {
        "-3000 -2000 translate 1.7 1.3 scale 0 0 m 0 10 10 10 10 0 c 10 -10 20 -10 20 0 c S "
        "5.5 5.5 m 40.3 7.1 l 33.3 60.6 37.7 -12.9 5.5 5.5 c f",
        "2500.25 1800.75 translate 0 0 m 3.3 0 3.3 9.9 0 9.9 c -3.3 9.9 -3.3 0 0 0 c S "
        "10 10 m 30 10 l 30 30 l 10 30 l h S 0 0 m 50 0 100 50 100 100 c S",
    };
    auto page = NewPage();
    page->fnInitParamBlocks();
    for (const char* body : bodies) {
        CEPSInterpreter eps(nullptr, page.get(), L"test.eps");
        const std::string text = std::string(kHeader) + body + "\n%%EOF\n";
        ASSERT_EQ(1, eps.ReadBytes(std::vector<BYTE>(text.begin(), text.end())));
        ASSERT_EQ(0, eps.Run()) << body;
    }
    CArticleList list;
    page->RootArticle()->GetArticleList(&list, nullptr, nullptr);
    int checked = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        auto* item = DynamicDowncast<CSplineItem>(list.GetNext(pos)->GetItem());
        if (!item)
            continue;
        ++checked;
        CSplineItem fresh;
        fresh.Vect()->Copy(*item->Vect());
        fresh.MakeCurves();
        fresh.MakePktArray(4);
        ASSERT_EQ(fresh.Bezier()->GetSize(), item->Bezier()->GetSize());
        for (INT_PTR i = 0; i < fresh.Bezier()->GetSize(); ++i) {
            const CBezier a = item->Bezier(int(i)), b = fresh.Bezier(int(i));
            EXPECT_EQ(b.type, a.type) << i;
            EXPECT_EQ(b.start, a.start) << i;
            EXPECT_EQ(b.end, a.end) << i;
            EXPECT_TRUE(Near(b.control1, a.control1) && Near(b.control2, a.control2)) << i;
        }
        ASSERT_EQ(fresh.Pkt()->GetSize(), item->Pkt()->GetSize());
        for (int i = 0; i < int(fresh.Pkt()->GetSize()); ++i) {
            const CPkt a = item->Pkt(i), b = fresh.Pkt(i);
            EXPECT_EQ(b.mode, a.mode) << i;
            EXPECT_TRUE(Near(b.start, a.start) && Near(b.mid, a.mid) && Near(b.end, a.end)) << i;
        }
        const CWindow a = item->Extents(), b = fresh.Extents();
        EXPECT_TRUE(Near({a.x1, a.y1}, {b.x1, b.y1}) && Near({a.x2, a.y2}, {b.x2, b.y2}));
    }
    EXPECT_EQ(5, checked);
}

TEST(EpsColours, ColourRuleAndPaintMarking) {
    struct Case {
        const char* body;
        COLORREF colour;
    } cases[] = {
        {"1 1 1 XA 0 0 m 10 0 l S", 0xEBEBEB},
        {"0.5 G 0 0 m 10 0 l S", 0x808080},
        {"0 0 0 g 1 0 0 XA 0 0 m 10 0 l 10 10 l B", 0x0000FF},
        {"0 1 0 Xa 0 0 10 10 re f", 0x000000},
        {"0 0 1 0 k 0 0 m 10 0 l 10 10 l f", 0x00FFFF},
        {"0 1 1 0 0.5 X 0 0 m 10 0 l S", 0x0000FF},
        {"0 0 1 setrgbcolor 0 0 m 10 0 l S", 0xFF0000},
        {"0 1 0 create_rgb_color set_outline 0 0 m 10 0 l S", 0x00FF00},
    };
    for (const Case& c : cases) {
        auto r = Body(c.body);
        ASSERT_EQ(1u, r->articles.size()) << c.body;
        EXPECT_EQ(c.colour, StyleColour(*r->page, r->articles[0]->PaletteIndex())) << c.body;
    }
}

TEST(EpsColours, PaletteIndicesFollowFirstUse) {
    auto r = Body("0 1 0 XA 0 0 m 10 0 l S 1 0 0 XA 0 5 m 10 5 l S 0 1 0 XA 0 9 m 10 9 l S");
    ASSERT_EQ(3u, r->articles.size());
    EXPECT_EQ(2, r->articles[0]->PaletteIndex());
    EXPECT_EQ(1, r->articles[1]->PaletteIndex());
    EXPECT_EQ(2, r->articles[2]->PaletteIndex());
}

// A full table gives later colours the nearest entry, the same one each time they come back.
TEST(EpsColours, PastTheTableLaterColoursTakeTheNearestEntry) {
    std::string body;
    char line[96];
    auto path = [&](int r, int g, int b) {
        std::snprintf(line, sizeof line, "%.4f %.4f %.4f XA 0 0 m 10 0 l S\n", r / 255.0, g / 255.0,
                      b / 255.0);
        body += line;
    };
    for (int i = 0; i < CEPSInterpreter::kColourSlots; ++i)
        path(8 * (i % 32), 8 * (i / 32), 0);
    path(24, 16, 200); // nearest to (24, 16, 0)
    path(40, 8, 180);  // nearest to (40, 8, 0)
    path(24, 16, 200);
    // Halfway between two entries: the first of them (black is entry 0, (8, 0, 0) entry 2,
    // (16, 0, 0) entry 3).
    path(4, 0, 0);
    path(12, 0, 0);
    auto r = Body(body);
    ASSERT_EQ(size_t(CEPSInterpreter::kColourSlots) + 5, r->articles.size());
    EXPECT_EQ(0, r->articles[r->articles.size() - 2]->PaletteIndex());
    EXPECT_EQ(2, r->articles[r->articles.size() - 1]->PaletteIndex());
    r->articles.resize(r->articles.size() - 2);
    const size_t n = r->articles.size();
    const int near1 = r->articles[3 + 2 * 32]->PaletteIndex();
    const int near2 = r->articles[5 + 1 * 32]->PaletteIndex();
    EXPECT_NE(near1, near2);
    EXPECT_EQ(near1, r->articles[n - 3]->PaletteIndex());
    EXPECT_EQ(near2, r->articles[n - 2]->PaletteIndex());
    EXPECT_EQ(near1, r->articles[n - 1]->PaletteIndex());
}

TEST(EpsColours, ASecondRunOfOneInterpreterBuildsItsOwnTable) {
    auto page = NewPage();
    page->fnInitParamBlocks();
    CEPSInterpreter eps(nullptr, page.get(), L"test.eps");
    eps.SetProgressShown(false);
    const std::string text = std::string(kHeader) + "0 0 1 XA 0 0 m 10 0 l S\n%%EOF\n";
    ASSERT_EQ(1, eps.ReadBytes(std::vector<BYTE>(text.begin(), text.end())));
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(0, eps.Run());
        ASSERT_EQ(3, eps.ColourCount()) << run;
        EXPECT_EQ(0xFF0000u, eps.Colour(2)) << run;
    }
    CArticle* last = nullptr;
    for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
        last = static_cast<CArticle*>(t);
    ASSERT_NE(nullptr, DynamicDowncast<CVectorArticle>(last));
    const int pen = static_cast<CVectorArticle*>(last)->PaletteIndex();
    EXPECT_EQ(2, pen);
    EXPECT_EQ(0xFF0000u, StyleColour(*page, pen));
}

TEST(EpsState, SaveRestoreAndGroups) {
    auto page = NewPage();
    CEPSInterpreter eps(nullptr, page.get(), L"x.eps");
    const std::string s = std::string(kHeader) + "q 2 0 0 2 0 0 cm Q Q U U *U\n";
    eps.ReadBytes(std::vector<BYTE>(s.begin(), s.end()));
    EXPECT_EQ(0, eps.Run());
    EXPECT_EQ(CMat2d(), eps.CTM());

    auto r = Body("u 0 0 m 10 0 l S U U 0 5 m 10 5 l S");
    ASSERT_EQ(2u, r->articles.size());
    EXPECT_TRUE(static_cast<CArticle*>(r->articles[0]->GetParent())->GetProperty(0x400));
    EXPECT_EQ(r->page->RootArticle(), r->articles[1]->GetParent());
}

TEST(EpsState, QuickPdfCreatorGroupsCompoundPathsAndReadsPdfOperators) {
    const std::string text = "%!PS-Adobe-3.0\n%%Creator: Quick PDF Library\n%%EndComments\n"
                             "junk\n%%DebenuPDFLibrary-End\n"
                             "0 0 m 10 0 l 0 5 m 10 5 l s n\n0 9 m 10 9 l h s\n%%EOF\n";
    auto r = Import(text);
    ASSERT_EQ(0, r->result);
    ASSERT_EQ(3u, r->articles.size());
    EXPECT_TRUE(static_cast<CArticle*>(r->articles[0]->GetParent())->GetProperty(0x400));
    EXPECT_EQ(r->articles[0]->GetParent(), r->articles[1]->GetParent());
    // "s" only marked the last path stroked; the end of the run paints it, closed by "h".
    EXPECT_EQ(3u, r->paths[2].size());
}

TEST(EpsRun, PageSetupAndSetupSectionsAreSkipped) {
    const std::string text = "%!PS-Adobe-3.0\n%%EndComments\n0 0 m 50 0 l S\n%%EndSetup\n"
                             "%%BeginPageSetup\n0 0 m 99 0 l S\n%%EndPageSetup\n"
                             "0 0 m 10 0 l S\n%%Trailer\n0 0 m 70 0 l S\n";
    auto r = Import(text);
    ASSERT_EQ(1u, r->paths.size());
    EXPECT_EQ(3527, r->paths[0][1].x);
}

TEST(EpsRun, WithoutASetupTheDrawingStartsWhereTheHeaderEnds) {
    const char* kNoSetup =
        "%!PS-Adobe-3.0 EPSF-3.0\n%%Creator: a plotting program\n%%EndComments\n";
    struct Case {
        const char* name;
        std::string rest;
        std::vector<std::vector<CLpoint>> paths;
    } cases[] = {
        {"plain operators", "0 0 m 100 0 l S\n", {{{0, 0}, {35277, 0}}}},
        // The prolog only defines: one-operator procedures name that operator ("s" is a
        // plain stroke here, not close and stroke), relative operators are known.
        {"the file's own names",
         "%%BeginProlog\n/M {moveto} bind def /V {rlineto} bind def\n/s {stroke} bind def\n"
         "/n {newpath} def\n0 0 m 99 0 l S\n%%EndProlog\nn 0 0 M 100 0 V 0 100 V s\n",
         {{{0, 0}, {35277, 0}, {35277, 35277}}}},
        // A name the file gives a procedure of its own is no operator any more.
        {"procedures of its own",
         "/C {4 1 roll pop curveto} def\n0 0 m 1 2 3 4 5 6 7 C 100 0 l S\n",
         {{{0, 0}, {35277, 0}}}},
        // The inside of a procedure written over lines is not run.
        {"procedures over lines",
         "/header {\n0 0 m 50 50 l S\n} def\n0 0 m 100 0 l S\n",
         {{{0, 0}, {35277, 0}}}},
        {"relative curves", "10 10 moveto 0 0 0 100 100 100 rcurveto stroke\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = Import(std::string(kNoSetup) + c.rest + "%%EOF\n");
        EXPECT_EQ(0, r->result);
        if (c.paths.empty()) {
            // The start, then the curve's ends and six points between.
            ASSERT_EQ(1u, r->paths.size());
            EXPECT_EQ(9u, r->paths[0].size());
        } else {
            EXPECT_EQ(c.paths, r->paths);
        }
    }
}

TEST(EpsRun, WhatCannotBeFollowedSaysWhy) {
    struct Case {
        const char* name;
        std::string text;
        int result;
        const wchar_t* reason;
    } cases[] = {
        // A procedure that moves the drawing would put it elsewhere and at another size.
        {"placed by a procedure",
         "%!PS-Adobe-3.0\n%%EndComments\n/tr {translate} def\n/header {\n1 -1 scale\n} def\n"
         "header 0 0 m 10 0 l S\n",
         -1,
         L"The file places its drawing through procedures of its own, which cannot be imported."},
        {"drawn by procedures",
         "%!PS-Adobe-3.0\n%%EndComments\n/P {moveto lineto stroke} def\n0 0 10 0 P\n", 0,
         L"The file draws through procedures of its own, which cannot be imported."},
        {"compressed",
         "%!PS-Adobe-3.0\n%%EndComments\ncurrentfile /ASCII85Decode filter cvx exec\nJ/lc@ji~>\n",
         0, L"The drawing is stored compressed, which cannot be imported."},
        {"nothing drawn", std::string(kHeader) + "(text) show\n", 0,
         L"The file holds no paths that can be imported."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = Import(c.text);
        EXPECT_EQ(c.result, r->result);
        EXPECT_TRUE(r->paths.empty());
        EXPECT_EQ(CString(c.reason), r->reason) << r->reason.ToUtf8();
    }
}

TEST(EpsRun, FilesOfRealWritersWithoutASetup) {
    struct Case {
        const char* file;
        int result;
        size_t paths;
        const wchar_t* reason;
    } cases[] = {
        // Its drawing sits in procedures of its prolog (the page's scale among them).
        {"fig2dev.eps", -1, 0,
         L"The file places its drawing through procedures of its own, which cannot be imported."},
        // Its own short operators ("C", "v", "b") are not the vocabulary's.
        {"potrace_compact.eps", 0, 0,
         L"The file draws through procedures of its own, which cannot be imported."},
        {"potrace.eps", 0, 2, L""},
        {"gnuplot.eps", 0, 1, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        FILE* f = std::fopen((std::string(TEST_DATA_DIR) + "/" + c.file).c_str(), "rb");
        ASSERT_NE(f, nullptr);
        std::string text;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            text.append(buffer, n);
        std::fclose(f);
        auto r = Import(text);
        EXPECT_EQ(c.result, r->result);
        EXPECT_EQ(c.paths, r->paths.size());
        EXPECT_EQ(CString(c.reason), r->reason) << r->reason.ToUtf8();
    }
}

TEST(EpsPaths, AClipPathIsNeverCutNorJoinsTheNextPath) {
    struct Case {
        const char* name;
        const char* body;
        std::vector<std::vector<CLpoint>> paths;
    } cases[] = {
        // The drawing program's clip, and the page's clip rectangle of a converted PDF.
        {"W n", "0 0 m 100 0 l 100 100 l h W n 0 0 m 10 0 l S", {{{0, 0}, {3527, 0}}}},
        {"re W n", "-10 -10 2500 2500 re W n 0 0 m 10 0 l S", {{{0, 0}, {3527, 0}}}},
        // A clip of two sub-paths: neither is painted with the next shape.
        {"clip",
         "0 0 m 50 0 l 50 50 l closepath 60 60 m 90 60 l closepath clip 0 0 m 10 0 l stroke n",
         {{{0, 0}, {3527, 0}}}},
        // A path painted before it became the clip was drawn: it stays, its clip part goes.
        {"painted, then clip", "0 0 m 10 0 l stroke 50 50 m 90 90 l clip n", {{{0, 0}, {3527, 0}}}},
        // A rectangle after a path is a sub-path of its own, not joined by a diagonal.
        {"rectangle after a path",
         "0 0 m 10 0 l 50 50 10 10 re S",
         {{{0, 0}, {3527, 0}},
          {{17638, 17638}, {21166, 17638}, {21166, 21166}, {17638, 21166}, {17638, 17638}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = Body(c.body);
        EXPECT_EQ(0, r->result);
        EXPECT_EQ(c.paths, r->paths);
    }
}

TEST(EpsRun, LongLinesKeepEveryCharacter) {
    std::string body;
    for (int i = 0; i < 40; ++i)
        body += "0 0 m 100 0 l S ";
    body += "0 0 m 10 0 l 10 10 l S";
    ASSERT_GT(body.size(), 300u);
    auto r = Body(body);
    EXPECT_EQ(0, r->result);
    EXPECT_EQ(41u, r->paths.size());
}

TEST(EpsRun, FaultsEndTheRunAndKeepWhatWasMade) {
    struct Case {
        const char* body;
        int result;
        size_t articles;
    } cases[] = {
        {"0 0 m 10 0 l S 10 m", -1, 1},
        {"0 0 m 10 0 l S 1e999 0 m", -1, 1},
        {"0 0 m 10 0 l S 1e30 1e30 scale 0 0 m 1e9 0 l S", -1, 1},
    };
    for (const Case& c : cases) {
        auto r = Body(c.body);
        EXPECT_EQ(c.result, r->result) << c.body;
        EXPECT_EQ(c.articles, r->articles.size()) << c.body;
        EXPECT_FALSE(r->reason.IsEmpty()) << c.body;
    }
}

TEST(EpsRun, HostileNestingStaysBounded) {
    std::string deep;
    for (int i = 0; i < 2000; ++i)
        deep += "q ";
    EXPECT_EQ(-1, Body(deep)->result);

    std::string groups;
    for (int i = 0; i < 200; ++i)
        groups += "u ";
    groups += "0 0 m 10 0 l S";
    for (int i = 0; i < 200; ++i)
        groups += " U";
    groups += " 0 5 m 10 5 l S";
    auto r = Body(groups);
    ASSERT_EQ(2u, r->articles.size());
    int depth = 0;
    for (CTree* t = r->articles[0]->GetParent(); t; t = t->GetParent())
        ++depth;
    EXPECT_LE(depth, CEPSInterpreter::kMaxGroupDepth + 1);
    EXPECT_EQ(r->page->RootArticle(), r->articles[1]->GetParent());

    std::string operands;
    for (int i = 0; i < 5000; ++i)
        operands += "1 ";
    operands += "0 0 m 10 0 l S";
    EXPECT_EQ(1u, Body(operands)->articles.size());
}

TEST(EpsRun, TheOperandStackKeepsTheNewestOperands) {
    // 0 .. 1029 pushed: the six oldest are dropped. 511 moves take the newest two by two down
    // to 8 9, the line goes to 6 7, and the next move finds nothing left.
    std::string body;
    for (int i = 0; i < 1030; ++i)
        body += std::to_string(i) + " ";
    for (int i = 0; i < 511; ++i)
        body += "m ";
    body += "l S m";
    auto r = Body(body);
    EXPECT_EQ(-1, r->result);
    ASSERT_EQ(1u, r->paths.size());
    auto unit = [](double v) { return LONG(v * CEPSInterpreter::kPointsToData); };
    const std::vector<CLpoint> expected = {CLpoint(unit(8) - unit(6), unit(9) - unit(7)),
                                           CLpoint(0, 0)};
    EXPECT_EQ(expected, r->paths[0]);
}

TEST(EpsRun, CancelAndBackstopsStopTheRun) {
    auto cancelled = Import(std::string(kHeader) + "0 0 m 10 0 l S\n",
                            [](CEPSInterpreter& e) { e.SetCancelCheck([] { return true; }); });
    EXPECT_EQ(-3, cancelled->result);

    std::string many;
    for (int i = 0; i < 100; ++i)
        many += "0 0 m 10 0 l S\n";
    auto budget =
        Import(std::string(kHeader) + many, [](CEPSInterpreter& e) { e.SetPointBudget(20); });
    EXPECT_EQ(-3, budget->result);
    EXPECT_FALSE(budget->reason.IsEmpty());

    static double now = 0.0;
    now = 0.0;
    std::string lines;
    for (int i = 0; i < 5000; ++i)
        lines += "% noise\n";
    auto timed = Import(std::string(kHeader) + lines,
                        [](CEPSInterpreter& e) { e.SetTimeLimit(1.0, [] { return now += 1.0; }); });
    EXPECT_EQ(-3, timed->result);
    EXPECT_FALSE(timed->reason.IsEmpty());
}

TEST(EpsRun, LoopsAreReadOnceAsNoise) {
    auto r = Body("/f { f } def f { 0 0 m 10 0 l S } loop 0 0 m 10 0 l S");
    EXPECT_EQ(0, r->result);
    EXPECT_EQ(1u, r->articles.size());
}

} // namespace

namespace {

std::vector<BYTE> StorePage(CDesignPage& page) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    page.Serialize(ar);
    ar.Close();
    return file.Detach();
}

TEST(EpsRun, AnImportIsOneUndoStepThatRestoresThePageExactly) {
    auto page = NewPage();
    page->fnInitParamBlocks();
    auto run = [&](const std::string& body) {
        CEPSInterpreter eps(nullptr, page.get(), L"test.eps");
        const std::string text = std::string(kHeader) + body + "\n%%EOF\n";
        EXPECT_EQ(1, eps.ReadBytes(std::vector<BYTE>(text.begin(), text.end())));
        return eps.Run();
    };
    // The page holds a design; the new artwork lies left of it, so the shift to the origin
    // moves the old articles too.
    ASSERT_EQ(0, run("0 0 m 10 0 l S"));
    page->ClearUndoTransactions();
    const std::vector<BYTE> before = StorePage(*page);
    ASSERT_EQ(0, run("0 1 0 XA -20 -10 m 0 -10 l S u 0 0 m 0 10 10 10 10 0 c S 5 5 m 5 9 l S U"));
    const std::vector<BYTE> imported = StorePage(*page);
    ASSERT_NE(before, imported);

    ASSERT_TRUE(page->PerformUndoTransaction());
    EXPECT_EQ(0, page->GetUndoCount());
    EXPECT_EQ(before, StorePage(*page));
    ASSERT_TRUE(page->PerformRedoTransaction());
    EXPECT_EQ(imported, StorePage(*page));
}

std::string ManyLines(int paths) {
    std::string text = kHeader;
    for (int i = 0; i < paths; ++i)
        text += "0 0 m " + std::to_string(10 + i) + " 0 l S\n";
    return text + "%%EOF\n";
}

int ProgressPos(CPercentageDlg& dlg) {
    return int(SendDlgItemMessageW(dlg.m_hWnd, CPercentageDlg::IDC_PROGRESS, PBM_GETPOS, 0, 0));
}

CString Readout(CPercentageDlg& dlg) {
    CString text;
    dlg.GetDlgItemText(CPercentageDlg::IDC_READOUT_0, text);
    return text;
}

// Reading and executing each show a progress dialog over the disabled main window; Cancel in
// either stops the run, and the page holds one undo step of what was made, or none.
TEST(EpsProgress, EachPhaseShowsItsDialogAndItsCancelLeavesOneUndoStepOrNone) {
    platform::ResetMessageQueue();
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"main", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600),
                              nullptr, 0));
    AfxSetMainWnd(&main);
    const std::string text = ManyLines(300);
    const std::wstring reading = CEPSInterpreter::kReadingFile;
    const std::wstring executing = CEPSInterpreter::kCreatingVectorData;
    struct Case {
        const wchar_t* cancelIn;
        int result;
        std::set<std::wstring> readouts;
    } cases[] = {
        {nullptr, CEPSInterpreter::kRunOk, {reading, executing}},
        {reading.c_str(), CEPSInterpreter::kRunCancelled, {reading}},
        {executing.c_str(), CEPSInterpreter::kRunCancelled, {reading, executing}},
    };
    for (const Case& c : cases) {
        const std::wstring name = c.cancelIn ? c.cancelIn : L"no cancel";
        auto page = NewPage();
        page->fnInitParamBlocks();
        const std::vector<BYTE> before = StorePage(*page);
        CEPSInterpreter eps(nullptr, page.get(), L"test.eps");
        std::set<std::wstring> readouts;
        int lastPos = -1;
        bool clicked = false;
        eps.SetCancelCheck([&] {
            CPercentageDlg* dlg = eps.ProgressDialog();
            if (!dlg)
                return false;
            EXPECT_TRUE(dlg->IsWindowVisible());
            EXPECT_FALSE(main.IsWindowEnabled());
            const CString shown = Readout(*dlg);
            if (shown != L"!")
                readouts.insert(shown.GetString());
            const int pos = ProgressPos(*dlg);
            EXPECT_LE(0, pos);
            EXPECT_GE(100, pos);
            if (c.cancelIn && !clicked && shown == c.cancelIn && pos >= 50) {
                SendDlgItemMessageW(dlg->m_hWnd, IDCANCEL, BM_CLICK, 0, 0);
                clicked = true;
            }
            lastPos = pos;
            return false;
        });
        ASSERT_EQ(1, eps.ReadBytes(std::vector<BYTE>(text.begin(), text.end())));
        EXPECT_EQ(c.result, eps.Run()) << name;
        EXPECT_EQ(c.readouts, readouts) << name;
        EXPECT_EQ(nullptr, eps.ProgressDialog());
        EXPECT_TRUE(main.IsWindowEnabled()) << name;
        if (!c.cancelIn) {
            EXPECT_LT(95, lastPos);
            ASSERT_TRUE(page->PerformUndoTransaction());
            EXPECT_EQ(0, page->GetUndoCount());
            EXPECT_EQ(before, StorePage(*page));
            continue;
        }
        EXPECT_TRUE(clicked) << name;
        EXPECT_EQ(CString(L"Cancelled."), eps.StopReason());
        CArticleList list;
        page->RootArticle()->GetArticleList(&list, nullptr, nullptr);
        if (name == reading) {
            EXPECT_EQ(0, page->GetUndoCount());
            EXPECT_EQ(0, list.GetCount());
            EXPECT_EQ(before, StorePage(*page));
            continue;
        }
        // About half of the paths were made: they stay, as one step that undo takes back whole.
        EXPECT_LT(100, list.GetCount());
        EXPECT_GT(250, list.GetCount());
        ASSERT_TRUE(page->PerformUndoTransaction());
        EXPECT_EQ(0, page->GetUndoCount());
        EXPECT_EQ(before, StorePage(*page));
    }
    AfxSetMainWnd(nullptr);
}

// For a person to look at: the dialog while the paths are made.
TEST(EpsProgress, ScreenshotOfTheDialog) {
    int argc = 1;
    char name[] = "eps_interpreter_test";
    char* argv[] = {name, nullptr};
    if (!platform::display::Start(argc, argv))
        GTEST_SKIP() << "no display";
    {
        auto page = NewPage();
        CEPSInterpreter eps(nullptr, page.get(), L"test.eps");
        const std::string text = ManyLines(300);
        bool saved = false;
        eps.SetCancelCheck([&] {
            CPercentageDlg* dlg = eps.ProgressDialog();
            if (saved || !dlg || Readout(*dlg) != CEPSInterpreter::kCreatingVectorData ||
                ProgressPos(*dlg) < 40)
                return false;
            platform::display::Flush();
            saved = platform::display::SaveScreenshot(dlg->m_hWnd, std::string(TEST_BINARY_DIR) +
                                                                       "/eps_import_progress.png");
            return false;
        });
        ASSERT_EQ(1, eps.ReadBytes(std::vector<BYTE>(text.begin(), text.end())));
        EXPECT_EQ(0, eps.Run());
        EXPECT_TRUE(saved);
    }
    platform::display::Stop();
}

TEST(EpsRoundTrip, ImportedDesignStoresTheSameAfterReload) {
    auto r = Body("u 0 1 0 XA 0 0 m 0 10 10 10 10 0 c S U 0.5 g 0 0 20 20 re F");
    ASSERT_EQ(2u, r->articles.size());
    const std::vector<BYTE> first = StorePage(*r->page);
    auto again = NewPage();
    {
        CMemFile file(first.data(), UINT(first.size()));
        CArchive ar(&file, CArchive::load);
        again->Serialize(ar);
    }
    EXPECT_EQ(first, StorePage(*again));
    auto* pb = static_cast<CVectorStylePB*>(again->FindParam(14));
    ASSERT_NE(nullptr, pb);
    EXPECT_EQ(3, pb->fnGetSize());
    EXPECT_EQ(0x00FF00u, pb->fnGetVectStyleColour(2));
}

} // namespace
