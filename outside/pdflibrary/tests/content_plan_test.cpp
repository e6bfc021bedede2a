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

TEST(ContentPlan, CutsOnlyAfterAPathPaintedAtTheOutermostLevel) {
    // Each case: content in which the only safe cut is after "X" (marked by the part texts).
    struct Case {
        const char* content;
        std::vector<std::string> parts;
    } cases[] = {
        {"0 0 m 1 1 l S 2 2 m 3 3 l S", {"0 0 m 1 1 l S", " 2 2 m 3 3 l S"}},
        // Inside saved state, text, marked content or compatibility sections: no cut.
        {"q 0 0 m 1 1 l S Q 2 2 m 3 3 l f", {"q 0 0 m 1 1 l S Q 2 2 m 3 3 l f"}},
        {"BT 0 0 m S ET 0 0 m 1 1 l S 2 2 m b*", {"BT 0 0 m S ET 0 0 m 1 1 l S", " 2 2 m b*"}},
        {"/OC /a BDC 0 0 m S EMC 1 1 m S 2 2 m n", {"/OC /a BDC 0 0 m S EMC 1 1 m S", " 2 2 m n"}},
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
    const std::string content = "1 0 0 1 5 5 cm 0.5 g q 2 0 0 2 0 0 cm 1 0 0 rg Q /G1 gs "
                                "BT 0 0 1 RG ET 0 0 m 1 1 l S 0 1 0 0 k 2 2 m 3 3 l S "
                                "4 4 m 5 5 l S";
    const Planned p = Plan(content, 3);
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.parts.size(), 3u);
    EXPECT_EQ(p.parts[0].preamble, "");
    // In order, those inside q ... Q left out (Q undoes them), those inside text kept.
    EXPECT_EQ(p.parts[1].preamble, "1 0 0 1 5 5 cm\n0.5 g\n/G1 gs\n0 0 1 RG\n");
    EXPECT_EQ(p.parts[2].preamble, "1 0 0 1 5 5 cm\n0.5 g\n/G1 gs\n0 0 1 RG\n0 1 0 0 k\n");
    EXPECT_EQ(p.parts.back().end, content.size());
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
