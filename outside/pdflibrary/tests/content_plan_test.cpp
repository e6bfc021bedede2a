// Where a page's content is cut for reading in parts, and what each part replays first.
#include "../helper/content_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Planned {
    bool ok = false;
    std::vector<ContentPart> parts;
};

Planned Plan(const std::string& content, int parts) {
    Planned p;
    p.ok = PlanContentParts(content, parts, [&](ContentPart&& part) { p.parts.push_back(part); });
    return p;
}

// The text of each part.
std::vector<std::string> Texts(const std::string& content, const Planned& p) {
    std::vector<std::string> texts;
    for (const ContentPart& part : p.parts)
        texts.push_back(content.substr(part.begin, part.end - part.begin));
    return texts;
}

} // namespace

TEST(ContentPlan, CutsOnlyWhereNoPathTextOrCompatibilitySectionIsOpen) {
    // Each case: content in which the only safe cut is after "X" (marked by the part texts).
    struct Case {
        const char* content;
        std::vector<std::string> parts;
    } cases[] = {
        {"0 0 m 1 1 l S 2 2 m 3 3 l S", {"0 0 m 1 1 l S", " 2 2 m 3 3 l S"}},
        // Inside a saved state, or after one given back, unless a path is open at any level
        // (Q brings back the path of its q).
        {"q 0 0 m 1 1 l S Q 2 2 m 3 3 l f", {"q 0 0 m 1 1 l S", " Q 2 2 m 3 3 l f"}},
        {"q q 0 0 m 1 1 S Q Q 2 2 m 3 3 l f", {"q q 0 0 m 1 1 S Q", " Q 2 2 m 3 3 l f"}},
        {"0 0 m q 1 1 l S Q 2 2 l f", {"0 0 m q 1 1 l S Q 2 2 l f"}},
        {"0 0 5 5 re q S Q f 1 1 m S", {"0 0 5 5 re q S Q f", " 1 1 m S"}},
        // Inside text or compatibility sections: no cut.
        {"BT 0 0 m S ET 0 0 m 1 1 l S 2 2 m b*", {"BT 0 0 m S ET 0 0 m 1 1 l S", " 2 2 m b*"}},
        // Marked content does not keep a cut out (it is opened again, see below).
        {"/OC /a BDC 0 0 m S 1 1 m S 2 2 m S EMC", {"/OC /a BDC 0 0 m S 1 1 m S", " 2 2 m S EMC"}},
        {"BX 0 0 m S EX 1 1 m S 2 2 m S", {"BX 0 0 m S EX 1 1 m S", " 2 2 m S"}},
        // Operators inside strings, arrays, dictionaries and comments are not operators.
        {"(a ) S \\( S) Tj [ (x) S ] 0 d <</S S>> pop % S\n0 0 m S 1 1 m S",
         {"(a ) S \\( S) Tj [ (x) S ] 0 d <</S S>> pop % S\n0 0 m S", " 1 1 m S"}},
        // A number ends where a letter starts an operator.
        {"0 0 m 1 1 l 2S 3 3 m 4 4 l f*", {"0 0 m 1 1 l 2S", " 3 3 m 4 4 l f*"}},
    };
    for (const Case& c : cases) {
        const Planned p = Plan(c.content, 2);
        if (c.parts.size() == 1) {
            EXPECT_FALSE(p.ok) << c.content;
            continue;
        }
        ASSERT_TRUE(p.ok) << c.content;
        EXPECT_EQ(Texts(c.content, p), c.parts) << c.content;
    }
}

TEST(ContentPlan, APartReplaysTheOutermostStateBeforeIt) {
    // The path opened before q keeps the Q from being a cut: the one cut is after "8 8 l S".
    const std::string content = "1 0 0 1 5 5 cm 0.5 g 9 9 m q 2 0 0 2 0 0 cm 1 0 0 rg Q /G1 gs "
                                "BT 0 0 1 RG ET 8 8 l S 0 1 0 0 k 2 2 m 3 3 l S";
    const Planned p = Plan(content, 2);
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.parts.size(), 2u);
    EXPECT_EQ(p.parts[0].preamble, "");
    EXPECT_EQ(content.substr(p.parts[1].begin), " 0 1 0 0 k 2 2 m 3 3 l S");
    // In order, those inside q ... Q left out (Q undoes them), those inside text kept.
    EXPECT_EQ(p.parts[1].preamble, "1 0 0 1 5 5 cm\n0.5 g\n/G1 gs\n0 0 1 RG\n");

    // Marked content open at the cut is opened again, closed ones not.
    const std::string marked = "/Tag BMC EMC 1 0 0 1 5 5 cm /OC /L1 BDC /P <</MCID 3>> BDC "
                               "0 0 m S 0.2 g 1 1 m S EMC 2 2 m S EMC";
    const Planned m = Plan(marked, 2);
    ASSERT_TRUE(m.ok);
    ASSERT_EQ(m.parts.size(), 2u);
    EXPECT_EQ(marked.substr(m.parts[1].begin), " 0.2 g 1 1 m S EMC 2 2 m S EMC");
    EXPECT_EQ(m.parts[1].preamble, "1 0 0 1 5 5 cm\n");
    EXPECT_EQ(m.parts[1].marks, "/OC /L1 BDC\n/P <</MCID 3>> BDC\n");
    EXPECT_EQ(m.parts[0].marks, "");

    // Inside saved states: each open level's own state after its q, outermost first.
    const std::string nested = "0.1 g q 1 0 0 1 5 5 cm q 0.9 g 0 0 m S Q 0.5 G 1 1 m S "
                               "2 2 m S 3 3 m S Q";
    const Planned q = Plan(nested, 2);
    ASSERT_TRUE(q.ok);
    ASSERT_EQ(q.parts.size(), 2u);
    EXPECT_EQ(nested.substr(q.parts[1].begin), " Q 0.5 G 1 1 m S 2 2 m S 3 3 m S Q");
    EXPECT_EQ(q.parts[1].preamble, "0.1 g\nq\n1 0 0 1 5 5 cm\nq\n0.9 g\n");
}

TEST(ContentPlan, ContentThatCannotBeCutSafelyIsReadWhole) {
    for (const char* content : {
             "0 0 m S BI /W 1 /H 1 ID x EI 1 1 m S", // inline image data
             "0 0 m S Q 1 1 m S",                    // unmatched Q
             "0 0 m S (unclosed 1 1 m S",            // damaged string
             "0 0 m S [ 1 1 m S",                    // unclosed array
             "0 0 m 1 1 l",                          // nothing painted
         })
        EXPECT_FALSE(Plan(content, 2).ok) << content;
}
