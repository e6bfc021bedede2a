// Device-space points, sizes and rectangles (y pointing down). A rectangle holds the points with
// left <= x < right and top <= y < bottom: a point on the right or bottom edge is outside.
#pragma once

#include "platform/core/types.h"

#include <algorithm>

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}
    CSize(int x, int y) : SIZE{x, y} {}
    CSize(const SIZE& s) : SIZE(s) {}
    CSize(POINT p) : SIZE{p.x, p.y} {}
    bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(const SIZE& s) const { return !(*this == s); }
    void operator+=(SIZE s) { cx += s.cx, cy += s.cy; }
    void operator-=(SIZE s) { cx -= s.cx, cy -= s.cy; }
    CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
};

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int initX, int initY) : POINT{initX, initY} {}
    CPoint(const POINT& p) : POINT(p) {}
    CPoint(SIZE s) : POINT{s.cx, s.cy} {}
    // Low word x, high word y, both signed 16-bit (as packed in mouse messages).
    explicit CPoint(DWORD_PTR packed)
        : POINT{int16_t(packed & 0xFFFF), int16_t((packed >> 16) & 0xFFFF)} {}
    void Offset(int dx, int dy) { x += dx, y += dy; }
    void Offset(POINT p) { Offset(p.x, p.y); }
    void Offset(SIZE s) { Offset(s.cx, s.cy); }
    void SetPoint(int nx, int ny) { x = nx, y = ny; }
    bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
    bool operator!=(const POINT& p) const { return !(*this == p); }
    void operator+=(SIZE s) { x += s.cx, y += s.cy; }
    void operator-=(SIZE s) { x -= s.cx, y -= s.cy; }
    void operator+=(POINT p) { x += p.x, y += p.y; }
    void operator-=(POINT p) { x -= p.x, y -= p.y; }
    CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
    CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
    // The difference of two points is a size.
    CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
    CPoint operator-() const { return CPoint(-x, -y); }
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    CRect(POINT p, SIZE s) : RECT{p.x, p.y, p.x + s.cx, p.y + s.cy} {}
    CRect(POINT topLeft, POINT bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    // Summed in 64 bits: coordinates near the limits of LONG must not overflow.
    CPoint CenterPoint() const {
        return CPoint(int((int64_t(left) + right) / 2), int((int64_t(top) + bottom) / 2));
    }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    // Empty: no area (width or height zero or negative).
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(POINT p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }

    void SetRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(LPCRECT r) { *this = *r; }
    bool EqualRect(LPCRECT r) const { return *this == *r; }
    void NormalizeRect() {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }
    void InflateRect(int dx, int dy) { left -= dx, top -= dy, right += dx, bottom += dy; }
    void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
    void InflateRect(int l, int t, int r, int b) { left -= l, top -= t, right += r, bottom += b; }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(SIZE s) { InflateRect(-s.cx, -s.cy); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void OffsetRect(int dx, int dy) { left += dx, right += dx, top += dy, bottom += dy; }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
    void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }

    // Intersection of two rectangles; an empty result is set to all zeros and returns false.
    bool IntersectRect(LPCRECT a, LPCRECT b) {
        left = std::max(a->left, b->left);
        top = std::max(a->top, b->top);
        right = std::min(a->right, b->right);
        bottom = std::min(a->bottom, b->bottom);
        if (IsRectEmpty() || CRect(*a).IsRectEmpty() || CRect(*b).IsRectEmpty()) {
            SetRectEmpty();
            return false;
        }
        return true;
    }
    // Smallest rectangle holding both; empty inputs are ignored.
    bool UnionRect(LPCRECT a, LPCRECT b) {
        bool ea = CRect(*a).IsRectEmpty(), eb = CRect(*b).IsRectEmpty();
        if (ea && eb) {
            SetRectEmpty();
            return false;
        }
        if (ea) {
            *this = *b;
            return true;
        }
        if (eb) {
            *this = *a;
            return true;
        }
        SetRect(std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                std::max(a->bottom, b->bottom));
        return true;
    }

    bool operator==(const RECT& r) const {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }
    bool operator!=(const RECT& r) const { return !(*this == r); }
    void operator&=(const RECT& r) { IntersectRect(this, &r); }
    void operator|=(const RECT& r) { UnionRect(this, &r); }
    CRect operator&(const RECT& r) const {
        CRect out;
        out.IntersectRect(this, &r);
        return out;
    }
    CRect operator|(const RECT& r) const {
        CRect out;
        out.UnionRect(this, &r);
        return out;
    }
    void operator+=(POINT p) { OffsetRect(p); }
    void operator+=(SIZE s) { OffsetRect(s); }
    void operator-=(SIZE s) { OffsetRect(-s.cx, -s.cy); }
    CRect operator+(SIZE s) const {
        CRect r(*this);
        r.OffsetRect(s);
        return r;
    }
    CRect operator-(SIZE s) const {
        CRect r(*this);
        r.OffsetRect(-s.cx, -s.cy);
        return r;
    }
    void operator-=(POINT p) { OffsetRect(-p.x, -p.y); }
    CRect operator+(POINT p) const {
        CRect r(*this);
        r.OffsetRect(p);
        return r;
    }
    CRect operator-(POINT p) const {
        CRect r(*this);
        r.OffsetRect(-p.x, -p.y);
        return r;
    }
};
