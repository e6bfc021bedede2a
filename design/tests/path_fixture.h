// Paths for the cutting tests: curve items made by run-time class name (the design library does
// not link the curve libraries), as vector articles on a design page.
#pragma once

#include "design/tests/page_fixture.h"
#include "vector/vector_article.h"

#include <vector>

class PathTest : public PageTest {
protected:
    void SetUp() override;
    // A path through pts as corners, closed by repeating the first point when closed is set;
    // appended to parent (the active root when null).
    CVectorArticle* AddPath(const std::vector<CLpoint>& pts, bool closed,
                            CArticle* parent = nullptr);
    // A closed square path starting at its lower-left corner, counter-clockwise.
    CVectorArticle* AddSquare(LONG x, LONG y, LONG side, CArticle* parent = nullptr);
    CVectorArticle* AddRect(LONG x1, LONG y1, LONG x2, LONG y2, CArticle* parent = nullptr);
    CArticle* AddGroup(CArticle* parent = nullptr);
    void SetColour(CVectorArticle* a, COLORREF rgb);
};
