// Tidying of imported designs before they are edited and cut: Bezier circles become spline
// circles, closed paths inside other closed paths are grouped under them or ordered next to
// them, and the members of a group go back to the page's root.
#pragma once

class CArticle;
class CDesignPage;

// Flags of OrderSegment; 0 nests every inside path.
constexpr int kOrderSameColour = 1;   // nest only paths of the container's palette index
constexpr int kOrderInsideBefore = 2; // a path not nested moves in front of its container
constexpr int kOrderInsideBehind = 4; // a path not nested moves behind its container

// Closed Bezier paths of seven points whose width and height differ by at most 1 % become
// spline circles through their points 0 and 3. Nothing happens without a page.
void FnReplaceBezierCircles(CDesignPage* page);
// Each path is moved at most once per pass, so duplicates cannot keep the passes going.
void OrderSegment(CArticle* group, int flags);
// Every child of group, in order, becomes the last child of the page's root; with undo each
// move is recorded as a new article.
void MoveSegmentToRoot(CDesignPage* page, CArticle* group, int undo);
