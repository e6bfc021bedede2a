#include "maltrec/curve_utils.h"

#include "bezier/bezier_item.h"
#include "design/design_page.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kRed = 2, kBlue = 3;

CVectorArticle* AddPath(CArticle* parent, CVectorItem* item, int palette, const wchar_t* name) {
    auto* a = new CVectorArticle;
    a->SetPaletteIndex(palette);
    a->SetName(name);
    a->Item(item);
    parent->AddChild(a);
    a->InvExtents(1);
    return a;
}

CSplineItem* Square(int x1, int y1, int x2, int y2) {
    auto* s = new CSplineItem;
    for (CLpoint p :
         {CLpoint(x1, y1), CLpoint(x2, y1), CLpoint(x2, y2), CLpoint(x1, y2), CLpoint(x1, y1)})
        s->Vect(CSb(CSplineItem::kBreak, p));
    s->MakeCurves();
    return s;
}

CSplineItem* Circle(int x1, int y1, int x2, int y2) {
    CSplineItem* s = CSplineItem::CreateEllipse(CRect(x1, y1, x2, y2), 1);
    s->MakeCurves();
    return s;
}

// Two cubic halves through the leftmost and rightmost points: seven points, closed. The
// handles at 4/3 of the half height put the curve's top and bottom at cy +- ry exactly.
CBezierItem* BezierEllipse(int cx, int cy, int rx, int ry) {
    auto* b = new CBezierItem;
    const int k = ry * 4 / 3;
    const CSb pts[] = {
        {CBezierItem::kSmooth, CLpoint(cx - rx, cy)},
        {CBezierItem::kHandle, CLpoint(cx - rx, cy + k)},
        {CBezierItem::kHandle, CLpoint(cx + rx, cy + k)},
        {CBezierItem::kSmooth, CLpoint(cx + rx, cy)},
        {CBezierItem::kHandle, CLpoint(cx + rx, cy - k)},
        {CBezierItem::kHandle, CLpoint(cx - rx, cy - k)},
        {CBezierItem::kSmooth, CLpoint(cx - rx, cy)},
    };
    for (const CSb& p : pts)
        b->Vect(p);
    return b;
}

std::vector<std::wstring> Names(CArticle* parent) {
    std::vector<std::wstring> out;
    for (CTree* t = parent->GetFirstChild(); t; t = t->GetRsibling())
        out.push_back(static_cast<const wchar_t*>(static_cast<CArticle*>(t)->GetName()));
    return out;
}

class CurveUtils : public ::testing::Test {
protected:
    CArticle* Root() { return m_page.RootArticle(); }
    CDesignPage m_page;
};

} // namespace

TEST_F(CurveUtils, RoundBezierPathsBecomeSplineCircles) {
    struct Case {
        int rx, ry;
        bool replaced;
    } cases[] = {
        {25000, 25000, true},  // 50 mm circle
        {25000, 24500, false}, // 50 x 49 mm: 2 % apart
        {0, 0, false},         // one point seven times: no size
    };
    for (const Case& c : cases) {
        CArticle* a = AddPath(Root(), BezierEllipse(50000, 50000, c.rx, c.ry), kRed, L"c");
        a->GetItem()->InvExtents(1);
        FnReplaceBezierCircles(&m_page);
        SCOPED_TRACE(c.ry);
        ASSERT_EQ(IsCSplineItem(a->GetItem()) != 0, c.replaced);
        if (c.replaced) {
            auto* s = static_cast<CSplineItem*>(a->GetItem());
            ASSERT_EQ(s->VectCount(), 3);
            EXPECT_EQ(s->Vect(0), CSb(CSplineItem::kBreak, CLpoint(25000, 50000)));
            EXPECT_EQ(s->Vect(1), CSb(CSplineItem::kSmooth, CLpoint(75000, 50000)));
            EXPECT_EQ(s->Vect(2), s->Vect(0));
            const CWindow e = s->Extents();
            EXPECT_NEAR(e.y2 - e.y1, 50000, 100);
            EXPECT_NEAR(e.x2 - e.x1, 50000, 100);
        }
        m_page.DeleteArticle(a, 0, 0);
    }
    FnReplaceBezierCircles(nullptr);
}

TEST_F(CurveUtils, OrderSegmentNestsInsidePathsByFlags) {
    struct Case {
        int flags;
        std::vector<std::wstring> root, square;
    } cases[] = {
        {0, {L"square"}, {L"red", L"blue"}},
        {kOrderSameColour, {L"square", L"blue"}, {L"red"}},
        {kOrderSameColour | kOrderInsideBefore, {L"blue", L"square"}, {L"red"}},
        {kOrderSameColour | kOrderInsideBehind, {L"square", L"blue"}, {L"red"}},
        {kOrderInsideBefore, {L"red", L"blue", L"square"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        CArticle group;
        CArticle* square = AddPath(&group, Square(0, 0, 100000, 100000), kRed, L"square");
        AddPath(&group, Circle(10000, 10000, 40000, 40000), kRed, L"red");
        AddPath(&group, Circle(50000, 50000, 90000, 90000), kBlue, L"blue");
        OrderSegment(&group, c.flags);
        EXPECT_EQ(Names(&group), c.root);
        EXPECT_EQ(Names(square), c.square);
    }
}

TEST_F(CurveUtils, NestedPathsTakeTheContainersColourAndPen) {
    CArticle group;
    CArticle* square = AddPath(&group, Square(0, 0, 100000, 100000), kRed, L"square");
    static_cast<CSplineItem*>(square->GetItem())->DrawLine(7);
    auto* inner = AddPath(&group, Circle(10000, 10000, 40000, 40000), kBlue, L"in");
    OrderSegment(&group, 0);
    EXPECT_EQ(inner->GetParent(), square);
    EXPECT_EQ(inner->PaletteIndex(), kRed);
    EXPECT_EQ(inner->GetItem()->DrawLine(), 7);
}

TEST_F(CurveUtils, BehindPassEndsWithDuplicatesAndNestedRings) {
    // Imports often hold a path twice; rings inside rings put every path inside another.
    CArticle group;
    AddPath(&group, Circle(30000, 30000, 70000, 70000), kBlue, L"c");
    AddPath(&group, Square(20000, 20000, 80000, 80000), kBlue, L"b");
    AddPath(&group, Square(20000, 20000, 80000, 80000), kBlue, L"b2");
    AddPath(&group, Square(0, 0, 100000, 100000), kRed, L"a");
    AddPath(&group, Square(0, 0, 100000, 100000), kRed, L"a2");
    OrderSegment(&group, kOrderSameColour | kOrderInsideBefore | kOrderInsideBehind);
    EXPECT_EQ(Names(&group), (std::vector<std::wstring>{L"b2", L"a", L"b", L"a2", L"c"}));
}

TEST_F(CurveUtils, MoveSegmentToRootKeepsOrderAndRecordsUndo) {
    auto* group = new CArticle;
    Root()->AddChild(group);
    AddPath(Root(), Square(0, 0, 1000, 1000), kRed, L"first");
    AddPath(group, Square(0, 0, 1000, 1000), kRed, L"x");
    AddPath(group, Square(0, 0, 1000, 1000), kRed, L"y");
    group->SetName(L"g");
    MoveSegmentToRoot(&m_page, group, 1);
    EXPECT_EQ(Names(Root()), (std::vector<std::wstring>{L"g", L"first", L"x", L"y"}));
    EXPECT_EQ(m_page.GetUndoCount(), 2);
    MoveSegmentToRoot(&m_page, Root(), 1); // the root into itself: nothing
    EXPECT_EQ(Names(Root()).size(), 4u);
}
