// Hit tests of the guides and snapping to guides, origin and middle lines and the grids.
#include "pivora/framework/jox_client_dc.h"
#include "pivora/framework/jox_view.h"
#include "pivora/grid.h"
#include "pivora/jox_page.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr double kRadiansPerDegree = 0.017453292;
constexpr double kTwoPi = 6.283185307;
constexpr double kHalfPi = 1.570796327;

bool AltDown() {
    return GetAsyncKeyState(VK_MENU) != 0;
}

int64_t Abs(int64_t v) {
    return v < 0 ? -v : v;
}

// Moves p to node on both axes together, or each axis by itself, as the snap field says
// (altTogether: a field of 0 inverted by Alt snaps both together).
int SnapTo(CJoxView* view, CLpoint& p, const CLpoint& node, LONG mode, bool altTogether) {
    if (node.x == p.x && node.y == p.y)
        return 0;
    CPoint dp(p.x, p.y), dn(node.x, node.y);
    if (view) {
        CJoxClientDC dc(view, eClientDocument);
        view->OnPrepareDC(&dc, nullptr);
        dc.LPtoDP(dp);
        dc.LPtoDP(dn);
    }
    const int64_t tolPix = CGrid::GetSnapTolPix(), tolData = CGrid::GetSnapTolData();
    const bool pixX = Abs(int64_t(dp.x) - dn.x) < tolPix, pixY = Abs(int64_t(dp.y) - dn.y) < tolPix;
    const bool dataX = Abs(int64_t(p.x) - node.x) < tolData;
    const bool dataY = Abs(int64_t(p.y) - node.y) < tolData;
    const CLpoint before = p;
    if (mode == 1 || (mode == 0 && altTogether && AltDown())) {
        if ((pixX && pixY) || (dataX && dataY))
            p = node;
    } else {
        if (pixX || dataX)
            p.x = node.x;
        if (pixY || dataY)
            p.y = node.y;
    }
    return p.x != before.x || p.y != before.y;
}

// Snaps each axis to target within the data tolerance, then within the pixel tolerance of
// the positions as they were.
int SnapToLines(CJoxDC* dc, CLpoint& p, const CLpoint& target) {
    CPoint dp(p.x, p.y), dt(target.x, target.y);
    dc->LPtoDP(dp);
    dc->LPtoDP(dt);
    const int64_t tolPix = CGrid::GetSnapTolPix(), tolData = CGrid::GetSnapTolData();
    int changed = 0;
    if (Abs(int64_t(p.x) - target.x) < tolData || Abs(int64_t(dp.x) - dt.x) < tolPix) {
        changed |= p.x != target.x;
        p.x = target.x;
    }
    if (Abs(int64_t(p.y) - target.y) < tolData || Abs(int64_t(dp.y) - dt.y) < tolPix) {
        changed |= p.y != target.y;
        p.y = target.y;
    }
    return changed;
}

} // namespace

bool CGrid::Active(LONG shown, LONG snap) {
    return shown && ((snap != 0) != AltDown());
}

int CGrid::HitGuides(CJoxDC* dc, CPoint p, int kind, int& index) {
    const CList<int, int>& list = *Guides(kind);
    CPoint dp = p;
    dc->LPtoDP(dp);
    const int64_t tolPix = GetSnapTolPix(), tolData = GetSnapTolData();
    const LONG target = kind == kVertical ? p.x : p.y;
    const LONG deviceTarget = kind == kVertical ? dp.x : dp.y;
    int i = 0;
    for (POSITION pos = list.GetHeadPosition(); pos; ++i) {
        const int g = list.GetNext(pos);
        CPoint dg(kind == kVertical ? g : 0, kind == kVertical ? 0 : g);
        dc->LPtoDP(dg);
        const LONG deviceG = kind == kVertical ? dg.x : dg.y;
        if (Abs(int64_t(deviceG) - deviceTarget) >= tolPix && Abs(int64_t(g) - target) >= tolData)
            continue;
        // From the first candidate on, the next guides win while they are strictly nearer.
        int best = i;
        int64_t bestDistance = Abs(int64_t(g) - target);
        for (POSITION next = pos; next;) {
            const int h = list.GetNext(next);
            const int64_t d = Abs(int64_t(h) - target);
            if (d >= bestDistance)
                break;
            ++best;
            bestDistance = d;
        }
        index = best;
        return 1;
    }
    return 0;
}

int CGrid::HitTest(CJoxDC* dc, CPoint p, int& kind, int& index) {
    if (!showGuides || !dc)
        return 0;
    if (kind != -1 && HitGuides(dc, p, kVertical, index)) {
        kind = kVertical;
        return 1;
    }
    if (HitGuides(dc, p, kHorizontal, index)) {
        kind = kHorizontal;
        return 1;
    }
    return 0;
}

int CGrid::HitTest(CJoxView* view, CPoint p, int& kind, int& index) {
    if (!view || !view->Ruler() || !showGuides)
        return 0;
    CJoxClientDC dc(view, eClientDocument);
    view->OnPrepareDC(&dc, nullptr);
    CPoint data = p;
    dc.DPtoLP(data);
    const CSize band = view->GetRulerSize();
    if (kind != -1 && p.y > 0 && p.y < band.cy && HitGuides(&dc, data, kVertical, index)) {
        kind = kVertical;
        return 1;
    }
    if (p.x > 0 && p.x < band.cx && HitGuides(&dc, data, kHorizontal, index)) {
        kind = kHorizontal;
        return 1;
    }
    return 0;
}

int CGrid::HitTestOrigin(CJoxDC* dc, CLpoint& p) {
    return dc ? SnapToLines(dc, p, CLpoint(0, 0)) : 0;
}

int CGrid::HitTestMiddle(CJoxDC* dc, CJoxView* view, CLpoint& p) {
    CJoxPage* page = view ? view->GetDocument() : nullptr;
    if (!dc || !page)
        return 0;
    return SnapToLines(dc, p, page->Extents().fnCentre());
}

int CGrid::SnapGuides(CJoxView* view, CLpoint& p) {
    if (!Active(showGuides, guideSnap) || !view)
        return 0;
    CJoxClientDC dc(view, eClientDocument);
    view->OnPrepareDC(&dc, nullptr);
    if (showOriginLines && HitTestOrigin(&dc, p))
        return 1;
    if (showMiddleLines && HitTestMiddle(&dc, view, p))
        return 1;
    int kind = 0, index = 0;
    if (!HitTest(&dc, CPoint(p.x, p.y), kind, index))
        return 0;
    int pos = 0;
    GetGridLinePos(pos, kind, index);
    if (kind == kVertical) {
        p.x = pos;
        kind = -1;
        if (HitTest(&dc, CPoint(p.x, p.y), kind, index) && GetGridLinePos(pos, kHorizontal, index))
            p.y = pos;
    } else {
        p.y = pos;
    }
    return 1;
}

int CGrid::SnapRectGrid(CJoxView* view, CLpoint& p) {
    if (!Active(showRect, rectSnap) || rectSpacingX <= 0 || rectSpacingY <= 0)
        return 0;
    auto nodeOf = [](int64_t v, int64_t origin, int64_t s) {
        const int64_t o = origin % s;
        const int64_t h = v < 0 ? -(s / 2) : s / 2;
        return o + ((v + h - o) / s) * s;
    };
    const int64_t nx = nodeOf(p.x, rectOriginX, rectSpacingX);
    const int64_t ny = nodeOf(p.y, rectOriginY, rectSpacingY);
    if (nx < INT32_MIN || nx > INT32_MAX || ny < INT32_MIN || ny > INT32_MAX)
        return 0;
    return SnapTo(view, p, CLpoint(LONG(nx), LONG(ny)), rectSnap, true);
}

int CGrid::SnapPolarGrid(CJoxView* view, CLpoint& p) {
    const double step = double(polarAngleStep) * kRadiansPerDegree;
    if (!Active(showPolar, polarSnap) || polarRadiusStep <= 0 || !(step > 0) ||
        !std::isfinite(step))
        return 0;
    const double dx = double(p.x) - polarCentreX, dy = double(p.y) - polarCentreY;
    int64_t r = int64_t(std::trunc(std::hypot(dx, dy))) + polarRadiusStep / 2;
    r = (r / polarRadiusStep) * polarRadiusStep;
    // The drawn spokes run from +y clockwise: snap to them, not to directions from +x.
    double theta = kHalfPi - std::atan2(dy, dx);
    theta = std::fmod(theta, kTwoPi);
    if (theta < 0)
        theta += kTwoPi;
    double snapped = step * std::trunc((step / 2 + theta) / step);
    if (snapped >= kTwoPi) {
        // Past the last spoke drawn: the nearer of it and the first one.
        const double last = step * std::floor((kTwoPi - 1e-9) / step);
        snapped = (kTwoPi - theta) < (theta - last) ? 0.0 : last;
    }
    const double nx = std::trunc(r * std::sin(snapped)) + polarCentreX;
    const double ny = std::trunc(r * std::cos(snapped)) + polarCentreY;
    if (nx < INT32_MIN || nx > INT32_MAX || ny < INT32_MIN || ny > INT32_MAX)
        return 0;
    return SnapTo(view, p, CLpoint(LONG(nx), LONG(ny)), polarSnap, false);
}

int CGrid::Snap(CJoxView* view, CLpoint& p) {
    return SnapGuides(view, p) || SnapRectGrid(view, p) || SnapPolarGrid(view, p);
}

int CGrid::Snap(CJoxView* view, CPoint& p) {
    CLpoint l(p.x, p.y);
    int snapped = Snap(view, l);
    p = CPoint(l.x, l.y);
    return snapped;
}
