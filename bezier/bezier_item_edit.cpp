// Editing of the Bezier item: selection, corner toggling, balancing, deletion, moving the start.
#include "bezier/bezier_item.h"
#include "pivora/geometry/plane_geometry.h"

#include <cmath>
#include <vector>

void CBezierItem::Select(CJoxDC* dc, int i) {
    if (i < 0 || i >= VectCount() || Selected(i))
        return;
    if (IsHandle(i) && NumSelectedPoints() > 0)
        return;
    const int n = VectCount();
    std::vector<int> added;
    if (SelectElement(i))
        added.push_back(i);
    if (IsClosed(0)) {
        const int twin = i == 0 ? n - 1 : i == n - 1 ? 0 : -1;
        if (twin >= 0 && SelectElement(twin))
            added.push_back(twin);
    }
    if (dc) {
        for (int e : added)
            DrawSelectedPoint(dc, e);
    }
}

void CBezierItem::DeselectAllControl(CJoxDC* dc) {
    for (INT_PTR k = m_SelectedElements.GetSize() - 1; k >= 0; --k) {
        const int e = int(m_SelectedElements[k]);
        if (e >= VectCount() || !IsHandle(e))
            continue;
        if (dc)
            DrawSelectedPoint(dc, e);
        DeselectElement(e);
    }
}

void CBezierItem::CurveToggle(bool) {
    const int n = VectCount();
    const bool closed = IsClosed(0) != 0;
    bool changed = false;
    std::vector<UINT> selected(m_SelectedElements.GetData(),
                               m_SelectedElements.GetData() + m_SelectedElements.GetSize());
    for (UINT u : selected) {
        const int i = int(u);
        if (i >= n || IsHandle(i) || (!closed && i == 0))
            continue;
        const int next = closed && i == n - 1 ? 1 : i + 1;
        const int prev = closed && i == 0 ? n - 2 : i - 1;
        if (next >= n || prev < 0 || !IsHandle(next) || !IsHandle(prev))
            continue;
        m_Points[i].flags ^= kBreak;
        changed = true;
        if (m_Points[i].flags == kSmooth)
            BalanceControlPoints(i);
    }
    if (changed)
        InvExtents(1);
}

void CBezierItem::BalanceControlPoints(int a) {
    const int n = VectCount();
    if (a < 0 || a >= n || m_Points[a].flags != kSmooth)
        return;
    const bool closed = IsClosed(0) != 0;
    int prev, next;
    if (a > 0 && a < n - 1) {
        prev = a - 1;
        next = a + 1;
    } else if (a == 0 && closed && n > 2) {
        prev = n - 2;
        next = 1;
    } else {
        return;
    }
    const CDpoint P(m_Points[prev].pt), A(m_Points[a].pt), N(m_Points[next].pt);
    const double r = (length(A, P) + length(A, N)) / 2;
    const double t1 = angle(N, P);
    const double t2 = angle(P, N);
    auto handle = [&](double t) {
        return CSb(kHandle,
                   CLpoint(fnTruncLong(A.x + r * std::cos(t)), fnTruncLong(A.y + r * std::sin(t))));
    };
    Vect(handle(t1), prev);
    Vect(handle(t2), next);
}

void CBezierItem::PointDelete() {
    if (m_SelectedElements.IsEmpty())
        return;
    bool removed = false;
    std::vector<UINT> selected(m_SelectedElements.GetData(),
                               m_SelectedElements.GetData() + m_SelectedElements.GetSize());
    int gone = -1; // a handle in front that went with the anchor after it
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        const int i = int(*it);
        if (i >= VectCount() || i == gone || IsHandle(i))
            continue;
        // The first anchor has no handle before it: only handles on both sides go with it.
        const bool curveAnchor = i > 0 && i < VectCount() - 1 && IsHandle(i + 1) && IsHandle(i - 1);
        if (curveAnchor)
            CVectorItem::PointDelete(i + 1, false);
        CVectorItem::PointDelete(i, false);
        if (curveAnchor) {
            CVectorItem::PointDelete(i - 1, false);
            gone = i - 1;
        }
        removed = true;
    }
    // The path starts and ends on anchors again.
    while (VectCount() > 1 && IsHandle(VectCount() - 1)) {
        DelVect(VectCount() - 1, 1);
        removed = true;
    }
    while (VectCount() > 0 && IsHandle(0)) {
        DelVect(0, 1);
        removed = true;
    }
    if (removed) {
        // Indices of what is left no longer name the same points.
        DeselectAllElements();
        InvExtents(1);
    }
}

int CBezierItem::fnCanMoveItemStart() {
    // A query with nothing selected answers no.
    if (VectCount() <= 3 || !IsClosed(kMoveStartTolerance) || m_SelectedElements.IsEmpty())
        return 0;
    const int s = int(m_SelectedElements[0]);
    return s < VectCount() && !IsHandle(s) ? 1 : 0;
}

void CBezierItem::fnDoMoveItemStart() {
    if (!fnCanMoveItemStart())
        return;
    const int n = VectCount();
    const int s = int(m_SelectedElements[0]);
    CSbArray rotated;
    rotated.SetSize(n);
    int k = 0;
    for (int i = s; i < n; ++i)
        rotated[k++] = m_Points[i];
    for (int i = 1; i <= s && k < n; ++i)
        rotated[k++] = m_Points[i];
    m_Points.Copy(rotated);
    ReindexSelectedElements(s);
    SelectElement(n - 1);
    InvExtents(1);
}
