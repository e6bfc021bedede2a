#include "hobrand/tests/rescanning_nester.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

int64_t Width(const CWindow& w) {
    return int64_t(w.x2) - w.x1;
}
int64_t Height(const CWindow& w) {
    return int64_t(w.y2) - w.y1;
}

bool OddQuotient(LONG v, int64_t d) {
    return d != 0 && (int64_t(v) / d) % 2 != 0;
}

bool Within1(int64_t a, int64_t b) {
    return a - b <= 1 && b - a <= 1;
}

} // namespace

CRescanningNester::CRescanningNester(const CWindow& sheet, const Settings& settings)
    : m_sheet(sheet), m_s(settings) {
    m_free.push_back(sheet);
}

void CRescanningNester::Assign(const std::vector<CWindow>& free) {
    m_free.assign(free.begin(), free.end());
}

void CRescanningNester::Spacing(LONG& dx, LONG& dy) const {
    dx = m_s.spacingX;
    dy = m_s.spacingY;
    if (!m_s.vinyl && !m_s.biteFeed) {
        dx = std::max<LONG>(dx, 4);
        dy = std::max<LONG>(dy, 4);
    }
}

CWindow CRescanningNester::fnGetTransArea(const CTileRepos& rec, int mode) const {
    CWindow f = rec.fnGetBounds();
    if (mode == 0)
        return f;
    LONG dx, dy;
    Spacing(dx, dy);
    if (mode == 2)
        std::swap(dx, dy);
    if (m_s.vinyl)
        f.x1 -= dx;
    else
        f.x2 += dx;
    f.y2 += dy;
    if (m_s.pitchX) {
        if (m_s.vinyl)
            f.x1 = f.x2 - dx;
        else
            f.x2 = f.x1 + dx;
    }
    if (m_s.pitchY)
        f.y2 = f.y1 + dy;
    return f;
}

int64_t CRescanningNester::FitWaste(int64_t w, int64_t h, int64_t a, int64_t b, int64_t n) const {
    if (a == 0)
        a = 1;
    if (b == 0)
        b = 1;
    if (m_s.mode & 3) {
        std::swap(w, h);
        std::swap(a, b);
    }
    if (h < a || w < b)
        return w * h;
    const int64_t g = std::min(h / a, n);
    int64_t l = n / std::max<int64_t>(g, 1);
    if (b * l > w)
        l = w / b;
    const int64_t strip = n < g * l ? 0 : (w - b * l) * h / 5;
    return strip + (h - a * g) * std::max<int64_t>(l, 1) * b;
}

int CRescanningNester::AnchorType(const CWindow& area, const CWindow& foot, bool alternate) const {
    const int m = m_s.mode;
    if (alternate && (m & 0x400)) {
        const int64_t h = Height(foot), w = Width(foot);
        if ((m & 1) && (m & 0x40))
            return OddQuotient(area.y1, h) ? 3 : 1;
        if ((m & 1) && (m & 0x80))
            return OddQuotient(area.y2, h) ? 0 : 2;
        if ((m & 2) && (m & 0x40))
            return OddQuotient(area.y1, h) ? 1 : 3;
        if ((m & 2) && (m & 0x80))
            return OddQuotient(area.y2, h) ? 2 : 0;
        if ((m & 4) && (m & 0x20))
            return OddQuotient(area.x1, w) ? 1 : 0;
        if ((m & 4) && (m & 0x10))
            return OddQuotient(area.x2, w) ? 2 : 3;
        if ((m & 8) && (m & 0x20))
            return OddQuotient(area.x1, w) ? 0 : 1;
        if ((m & 8) && (m & 0x10))
            return OddQuotient(area.x2, w) ? 3 : 2;
    }
    if (m & 4)
        return (m & 0x10) ? 2 : 0;
    if (m & 8)
        return (m & 0x20) ? 1 : 3;
    if (m & 1)
        return (m & 0x80) ? 0 : 1;
    if (m & 2)
        return (m & 0x40) ? 3 : 2;
    return 0;
}

void CRescanningNester::Anchor(CTileRepos& rec, const CWindow& area, int type) const {
    const CWindow f = fnGetTransArea(rec, 1);
    const bool right = type == 2 || type == 3;
    const bool top = type == 0 || type == 2;
    rec.fnTranslate(right ? area.x2 - f.x2 : area.x1 - f.x1, top ? area.y2 - f.y2 : area.y1 - f.y1);
}

int CRescanningNester::BestFit(const CWindow& foot, const CWindow& area, int copiesLeft) const {
    if (m_s.pitchX || m_s.pitchY)
        return 1;
    LONG dx, dy;
    Spacing(dx, dy);
    const int64_t fw = Width(foot), fh = Height(foot);
    const int64_t aw = Width(area), ah = Height(area);
    const int64_t turnedH = fw + dy - dx, turnedW = fh + dx - dy;
    if (turnedW > aw || turnedH > ah)
        return 1;
    const int64_t asIs = FitWaste(aw, ah, fh, fw, copiesLeft);
    const int64_t turned = FitWaste(aw, ah, turnedH, turnedW, copiesLeft);
    return turned > asIs;
}

int CRescanningNester::Fit(CTileRepos& rec, const CWindow& area, int copiesLeft, int keep,
                           int autoRotate, bool alternate) const {
    const CWindow f = fnGetTransArea(rec, 1);
    const int64_t aw = Width(area), ah = Height(area);
    if (Width(f) <= aw && Height(f) <= ah &&
        (keep || !autoRotate || BestFit(f, area, copiesLeft))) {
        Anchor(rec, area, AnchorType(area, f, alternate));
        return 1;
    }
    if (!autoRotate || m_s.pitchX || m_s.pitchY)
        return 0;
    const CWindow t = fnGetTransArea(rec, 2);
    if (Height(t) > aw || Width(t) > ah)
        return 0;
    rec.fnRotateQuarter();
    Anchor(rec, area, AnchorType(area, fnGetTransArea(rec, 1), alternate));
    return 2;
}

int CRescanningNester::CheckSingle(CTileRepos& rec, int copiesLeft, Area area, int keep,
                                   int autoRotate, int test) {
    const CWindow a = *area;
    const CWindow f = fnGetTransArea(rec, 1);
    const int64_t aw = Width(a), ah = Height(a);
    if (!keep && aw < Width(f) && ah < Height(f)) {
        const CWindow t = fnGetTransArea(rec, 2);
        if (!autoRotate || (aw < Height(t) && ah < Width(t)))
            return -1;
    }
    const int r = Fit(rec, a, copiesLeft, keep, autoRotate, true);
    if (r && !test) {
        const CWindow placed = fnGetTransArea(rec, 1);
        Split(placed, a);
        if (m_s.mode & 0x100)
            Trim(placed, area);
    }
    return r;
}

int CRescanningNester::CheckJoined(CTileRepos& rec, int copiesLeft, Area area, int keep,
                                   int autoRotate, int test) {
    const CWindow a = *area;
    for (Area n = std::next(area); n != m_free.end(); ++n) {
        const CWindow nb = *n;
        CWindow u = a;
        const bool yWithin = nb.y1 <= a.y1 && a.y2 <= nb.y2;
        const bool yOverlap = std::max(a.y1, nb.y1) < std::min(a.y2, nb.y2);
        const bool xWithin = nb.x1 <= a.x1 && a.x2 <= nb.x2;
        const bool xOverlap = std::max(a.x1, nb.x1) < std::min(a.x2, nb.x2);
        if ((nb.x1 == a.x2 || nb.x2 == a.x1) && (yWithin || yOverlap)) {
            if (nb.x1 == a.x2)
                u.x2 = nb.x2;
            else
                u.x1 = nb.x1;
            if (!yWithin)
                u.y1 = std::max(a.y1, nb.y1), u.y2 = std::min(a.y2, nb.y2);
        } else if ((nb.y1 == a.y2 || nb.y2 == a.y1) && (xWithin || xOverlap)) {
            if (nb.y1 == a.y2)
                u.y2 = nb.y2;
            else
                u.y1 = nb.y1;
            if (!xWithin)
                u.x1 = std::max(a.x1, nb.x1), u.x2 = std::min(a.x2, nb.x2);
        } else {
            continue;
        }
        const int r = Fit(rec, u, copiesLeft, keep, autoRotate, false);
        if (!r)
            continue;
        if (!test) {
            const CWindow placed = fnGetTransArea(rec, 1);
            Split(placed, u);
            Split(u, a);
            Split(u, nb);
            m_free.erase(n);
            if (m_s.mode & 0x100)
                Trim(placed, area);
        }
        return r;
    }
    return 0;
}

int CRescanningNester::fn_AutoTile(CTileRepos& rec, const CTileRepos& saved, int copiesLeft,
                                   int keep, int autoRotate, int test) {
    for (Area it = m_free.begin(); it != m_free.end(); ++it) {
        int r = CheckSingle(rec, copiesLeft, it, keep, autoRotate, test);
        if (r == 0) {
            rec = saved;
            r = CheckJoined(rec, copiesLeft, it, keep, autoRotate, test);
        }
        if (r <= 0)
            continue;
        if (!test) {
            m_free.erase(it);
            MergeAll();
        }
        return r;
    }
    return 0;
}

void CRescanningNester::Trim(const CWindow& f, Area keepArea) {
    const int m = m_s.mode;
    for (Area it = m_free.begin(); it != m_free.end();) {
        const CWindow old = *it;
        bool keep = true, stop = false;
        if (m & 0x20) {
            keep = old.x2 > f.x1;
            if (keep)
                it->x1 = std::max(old.x1, f.x1);
            stop = old.x1 > f.x1;
        } else if (m & 0x10) {
            keep = old.x1 < f.x2;
            if (keep)
                it->x2 = std::min(old.x2, f.x2);
            stop = old.x2 < f.x2;
        } else if (m & 0x40) {
            keep = old.y2 > f.y1;
            if (keep)
                it->y1 = std::max(old.y1, f.y1);
            stop = old.y1 > f.y1;
        } else if (m & 0x80) {
            keep = old.y1 < f.y2;
            if (keep)
                it->y2 = std::min(old.y2, f.y2);
            stop = old.y2 < f.y2;
        } else {
            return;
        }
        if (!keep && it != keepArea)
            it = m_free.erase(it);
        else
            ++it;
        if (stop)
            break;
    }
}

void CRescanningNester::Split(const CWindow& p, const CWindow& a) {
    const CWindow parts[4] = {
        CWindow(a.x1, a.y1, p.x1, a.y2),
        CWindow(std::max(a.x1, p.x1), a.y1, std::min(a.x2, p.x2), p.y1),
        CWindow(std::max(a.x1, p.x1), p.y2, std::min(a.x2, p.x2), a.y2),
        CWindow(p.x2, a.y1, a.x2, a.y2),
    };
    for (const CWindow& w : parts)
        if (Width(w) > 1 && Height(w) > 1)
            Insert(w);
}

bool CRescanningNester::Precedes(const CWindow& a, const CWindow& b) const {
    const int m = m_s.mode;
    const auto tieY2 = [&] {
        if (m & 8)
            return a.y2 < b.y2;
        if (m & 4)
            return a.y2 > b.y2;
        return false;
    };
    const auto tieX2 = [&] {
        if (m & 2)
            return a.x2 > b.x2;
        if (m & 1)
            return a.x2 < b.x2;
        return false;
    };
    if (m & 0x20)
        return a.x1 < b.x1 || (a.x1 == b.x1 && tieY2());
    if (m & 0x10)
        return a.x2 > b.x2 || (a.x2 == b.x2 && tieY2());
    if (m & 0x40)
        return a.y1 < b.y1 || (a.y1 == b.y1 && tieX2());
    if (m & 0x80)
        return a.y2 > b.y2 || (a.y2 == b.y2 && tieX2());
    return false;
}

void CRescanningNester::Insert(const CWindow& w) {
    for (Area it = m_free.begin(); it != m_free.end(); ++it) {
        if (Precedes(w, *it)) {
            m_free.insert(it, w);
            return;
        }
    }
    m_free.push_back(w);
}

bool CRescanningNester::MergeOk(const CWindow& c, const CWindow& o) const {
    const int64_t cw = Width(c), ch = Height(c), ow = Width(o), oh = Height(o);
    const bool alike = (cw > ch && ow > oh) || (cw < ch && ow < oh);
    const int64_t cMin = std::min(cw, ch), oMin = std::min(ow, oh);
    return alike ? cMin >= oMin : cMin > oMin;
}

void CRescanningNester::MergeAll() {
    size_t budget = 1024 + 16 * m_free.size();
    while (budget-- > 0 && MergeOnce()) {
    }
}

bool CRescanningNester::MergeOnce() {
    for (Area i = m_free.begin(); i != m_free.end(); ++i) {
        for (Area j = m_free.begin(); j != m_free.end(); ++j) {
            if (i == j)
                continue;
            const CWindow& a = *i;
            const CWindow& b = *j;
            CWindow u;
            const bool yInside = b.y1 <= a.y1 && a.y2 <= b.y2;
            const bool xInside = b.x1 <= a.x1 && a.x2 <= b.x2;
            if (yInside && Within1(b.x1, a.x2))
                u = CWindow(a.x1, a.y1, b.x2, a.y2);
            else if (yInside && Within1(a.x1, b.x2))
                u = CWindow(b.x1, a.y1, a.x2, a.y2);
            else if (xInside && Within1(b.y1, a.y2))
                u = CWindow(a.x1, a.y1, a.x2, b.y2);
            else if (xInside && Within1(a.y1, b.y2))
                u = CWindow(a.x1, b.y1, a.x2, a.y2);
            else
                continue;
            if (!MergeOk(u, b))
                continue;
            const CWindow other = b;
            m_free.erase(j);
            m_free.erase(i);
            Split(u, other);
            Insert(u);
            return true;
        }
    }
    return false;
}
