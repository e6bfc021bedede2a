#include "platform/core/crect.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

static std::ostream& operator<<(std::ostream& os, const RECT& r) {
    return os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

TEST(CPointSizeTest, ArithmeticKeepsPointsAndSizesApart) {
    CPoint a(10, 20), b(3, 4);
    CSize d = a - b; // the difference of two points is a size
    EXPECT_EQ(d, CSize(7, 16));
    EXPECT_EQ(b + d, a);
    EXPECT_EQ(a - d, b);
    EXPECT_EQ(a + b, CPoint(13, 24));
    EXPECT_EQ(-a, CPoint(-10, -20));
    CPoint c = a;
    c += CSize(1, 1);
    c -= CPoint(2, 2);
    c.Offset(1, 1);
    EXPECT_EQ(c, a);
    EXPECT_EQ(CSize(2, 3) + CSize(4, 5), CSize(6, 8));
    EXPECT_EQ(-CSize(2, 3), CSize(-2, -3));
    EXPECT_NE(CSize(2, 3), CSize(3, 2));
}

TEST(CPointSizeTest, PackedPointsAreSignedSixteenBitHalves) {
    struct Case {
        DWORD_PTR packed;
        int x, y;
    };
    const Case cases[] = {
        {0x00000000, 0, 0},       {0x00140010, 16, 20},        {0xFFFFFFFF, -1, -1},
        {0x8000FFFE, -2, -32768}, {0x7FFF8000, -32768, 32767},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPoint(c.packed), CPoint(c.x, c.y)) << std::hex << c.packed;
}

TEST(CRectTest, MeasuresAndReportsItsCorners) {
    CRect r(10, 20, 40, 60);
    EXPECT_EQ(r.Width(), 30);
    EXPECT_EQ(r.Height(), 40);
    EXPECT_EQ(r.Size(), CSize(30, 40));
    EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
    EXPECT_EQ(r.BottomRight(), CPoint(40, 60));
    EXPECT_EQ(r.CenterPoint(), CPoint(25, 40));
    EXPECT_EQ(CRect(CPoint(10, 20), CSize(30, 40)), r);
    EXPECT_EQ(CRect(CPoint(10, 20), CPoint(40, 60)), r);
    // Near the limits of LONG the centre must still lie inside.
    CRect huge(INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX);
    EXPECT_EQ(huge.CenterPoint(), CPoint(INT_MAX - 5, INT_MAX - 5));
    CRect wide(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(wide.CenterPoint(), CPoint(0, 0));
}

TEST(CRectTest, NormalizeSwapsInvertedEdges) {
    struct Case {
        CRect in, out;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {0, 0, 10, 10}},   {{10, 0, 0, 10}, {0, 0, 10, 10}},
        {{0, 10, 10, 0}, {0, 0, 10, 10}},   {{10, 10, 0, 0}, {0, 0, 10, 10}},
        {{-5, 3, -5, -3}, {-5, -3, -5, 3}},
    };
    for (const Case& c : cases) {
        CRect r = c.in;
        r.NormalizeRect();
        EXPECT_EQ(r, c.out) << c.in;
    }
}

TEST(CRectTest, EmptyMeansNoAreaAndNullMeansAllZero) {
    struct Case {
        CRect r;
        bool empty, null;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, true, true},       {{0, 0, 1, 1}, false, false},
        {{5, 5, 5, 9}, true, false},      {{5, 5, 9, 5}, true, false},
        {{10, 0, 0, 10}, true, false},    {{0, 10, 10, 0}, true, false},
        {{-3, -3, -1, -1}, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.r.IsRectEmpty(), c.empty) << c.r;
        EXPECT_EQ(c.r.IsRectNull(), c.null) << c.r;
    }
    CRect r(1, 2, 3, 4);
    r.SetRectEmpty();
    EXPECT_TRUE(r.IsRectNull());
}

TEST(CRectTest, PointsOnTheRightOrBottomEdgeAreOutside) {
    const CRect r(10, 20, 30, 40);
    struct Case {
        int x, y;
        bool inside;
    };
    const Case cases[] = {
        {10, 20, true},  {29, 39, true},  {20, 30, true},    {10, 39, true}, {29, 20, true},
        {30, 30, false}, {20, 40, false}, {30, 40, false},   {9, 30, false}, {20, 19, false},
        {30, 20, false}, {10, 40, false}, {-20, -30, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(r.PtInRect(CPoint(c.x, c.y)), c.inside) << c.x << "," << c.y;
    EXPECT_FALSE(CRect(30, 40, 10, 20).PtInRect(CPoint(20, 30))); // inverted holds nothing
    EXPECT_FALSE(CRect(5, 5, 5, 5).PtInRect(CPoint(5, 5)));
}

TEST(CRectTest, IntersectionIsEmptyAndZeroWhenNothingOverlaps) {
    struct Case {
        const char* name;
        CRect a, b, out;
        bool overlaps;
    };
    const Case cases[] = {
        {"overlap", {0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}, true},
        {"contained", {0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}, true},
        {"same", {1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}, true},
        {"touching right edge", {0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 0, 0}, false},
        {"touching bottom edge", {0, 0, 10, 10}, {0, 10, 10, 20}, {0, 0, 0, 0}, false},
        {"disjoint", {0, 0, 10, 10}, {20, 20, 30, 30}, {0, 0, 0, 0}, false},
        {"first empty", {5, 5, 5, 5}, {0, 0, 10, 10}, {0, 0, 0, 0}, false},
        {"second empty", {0, 0, 10, 10}, {3, 3, 3, 8}, {0, 0, 0, 0}, false},
        {"both empty", {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, false},
        {"inverted", {10, 10, 0, 0}, {0, 0, 10, 10}, {0, 0, 0, 0}, false},
        {"negative", {-10, -10, 0, 0}, {-5, -20, 5, -5}, {-5, -10, 0, -5}, true},
    };
    for (const Case& c : cases) {
        CRect out(7, 7, 7, 7);
        EXPECT_EQ(out.IntersectRect(&c.a, &c.b), c.overlaps) << c.name;
        EXPECT_EQ(out, c.out) << c.name;
        EXPECT_EQ(c.a & c.b, c.out) << c.name;
        EXPECT_EQ(c.b & c.a, c.out) << c.name << " (swapped)";
        CRect inPlace = c.a; // the result written over an input
        inPlace &= c.b;
        EXPECT_EQ(inPlace, c.out) << c.name << " (in place)";
        CRect second = c.b;
        EXPECT_EQ(second.IntersectRect(&c.a, &second), c.overlaps) << c.name;
        EXPECT_EQ(second, c.out) << c.name << " (in place, second)";
    }
}

TEST(CRectTest, UnionIgnoresEmptyInputs) {
    struct Case {
        const char* name;
        CRect a, b, out;
        bool any;
    };
    const Case cases[] = {
        {"overlap", {0, 0, 10, 10}, {5, 5, 15, 15}, {0, 0, 15, 15}, true},
        {"disjoint", {0, 0, 1, 1}, {8, 9, 10, 10}, {0, 0, 10, 10}, true},
        {"contained", {0, 0, 10, 10}, {2, 3, 4, 5}, {0, 0, 10, 10}, true},
        {"first empty far away", {100, 100, 100, 200}, {0, 0, 10, 10}, {0, 0, 10, 10}, true},
        {"second empty far away", {0, 0, 10, 10}, {-50, -50, -60, -40}, {0, 0, 10, 10}, true},
        {"both empty", {1, 1, 1, 1}, {5, 5, 2, 2}, {0, 0, 0, 0}, false},
        {"negative", {-10, -10, -5, -5}, {5, 5, 10, 10}, {-10, -10, 10, 10}, true},
    };
    for (const Case& c : cases) {
        CRect out(7, 7, 7, 7);
        EXPECT_EQ(out.UnionRect(&c.a, &c.b), c.any) << c.name;
        EXPECT_EQ(out, c.out) << c.name;
        EXPECT_EQ(c.a | c.b, c.out) << c.name;
        EXPECT_EQ(c.b | c.a, c.out) << c.name << " (swapped)";
        CRect inPlace = c.a;
        inPlace |= c.b;
        EXPECT_EQ(inPlace, c.out) << c.name << " (in place)";
    }
}

TEST(CRectTest, OffsetInflateDeflateAndMove) {
    CRect r(10, 20, 30, 40);
    r.OffsetRect(5, -5);
    EXPECT_EQ(r, CRect(15, 15, 35, 35));
    r.OffsetRect(CPoint(-5, 5));
    r.OffsetRect(CSize(1, 1));
    EXPECT_EQ(r, CRect(11, 21, 31, 41));
    r.InflateRect(1, 1);
    EXPECT_EQ(r, CRect(10, 20, 32, 42));
    r.DeflateRect(CSize(1, 2));
    EXPECT_EQ(r, CRect(11, 22, 31, 40));
    r.InflateRect(1, 2, 3, 4);
    EXPECT_EQ(r, CRect(10, 20, 34, 44));
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(r, CRect(11, 22, 31, 40));
    r.InflateRect(CSize(-10, -9)); // a negative inflate may invert the rectangle
    EXPECT_EQ(r, CRect(21, 31, 21, 31));
    EXPECT_TRUE(r.IsRectEmpty());

    CRect m(10, 20, 30, 40);
    m.MoveToXY(-5, 7);
    EXPECT_EQ(m, CRect(-5, 7, 15, 27));
    EXPECT_EQ(m.Size(), CSize(20, 20));
    EXPECT_EQ(m + CPoint(5, -7), CRect(0, 0, 20, 20));
    EXPECT_EQ(m - CPoint(5, -7), CRect(-10, 14, 10, 34));
    EXPECT_EQ(m + CSize(5, -7), CRect(0, 0, 20, 20));
    EXPECT_EQ(m - CSize(5, -7), CRect(-10, 14, 10, 34));
    m += CPoint(1, 1);
    m -= CSize(1, 1);
    m += CSize(2, 0);
    m -= CPoint(2, 0);
    EXPECT_EQ(m, CRect(-5, 7, 15, 27));
    EXPECT_TRUE(m.EqualRect(CRect(-5, 7, 15, 27)));
}
