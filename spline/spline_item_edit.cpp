// The point-level editing hooks of the spline item and the load fix-up.
#include "pivora/geometry/mat2d.h"
#include "spline/spline_item.h"

#include <vector>

void CSplineItem::CurveToggle(int i, bool refresh) {
    VectPtr(i)->flags ^= kBreak;
    if (refresh) {
        InvExtents(1);
        MakeCurves();
    }
}

void CSplineItem::CurveToggle(bool) {
    // A copy: the toggles must not see the selection change under them.
    std::vector<UINT> selected(m_SelectedElements.GetData(),
                               m_SelectedElements.GetData() + m_SelectedElements.GetSize());
    for (size_t k = 0; k < selected.size(); ++k)
        CurveToggle(int(selected[k]), k + 1 == selected.size());
}

void CSplineItem::PointDelete() {
    if (m_SelectedElements.IsEmpty())
        return;
    for (INT_PTR k = m_SelectedElements.GetSize() - 1; k >= 0; --k) {
        const int e = int(m_SelectedElements[k]);
        if (e < VectCount())
            DeleteElement(e, 1);
    }
    DeselectAllElements();
    InvExtents(1);
    MakeCurves();
}

int CSplineItem::DeleteElement(int i, int count) {
    DelVect(i, count);
    return 1;
}

int CSplineItem::InsertElement(int at, void* points, int count) {
    if (count > 0 && !points)
        return 0;
    const CSb* block = static_cast<const CSb*>(points);
    for (int k = 0; k < count; ++k) {
        CSb p = block[k];
        if (at < 0)
            m_Points.Add(p);
        else
            m_Points.InsertAt(at + k, p);
    }
    MakeCurves();
    return 1;
}

int CSplineItem::TransformElement(CMat2d* m, int first, int count) {
    DelPkt();
    if (!m)
        return 1;
    for (int k = 0; k < count; ++k) {
        CSb* p = VectPtr(first + k);
        p->pt = *m * p->pt;
    }
    return 1;
}

int CSplineItem::fnCanMoveItemStart() {
    return VectCount() > 3 && IsClosed(kMoveStartTolerance) ? 1 : 0;
}

void CSplineItem::fnDoMoveItemStart() {
    // A query of a path with nothing selected answers nothing rather than reading an index
    // that is not there.
    if (!fnCanMoveItemStart() || m_SelectedElements.IsEmpty())
        return;
    const int n = VectCount();
    const int s = int(m_SelectedElements[0]);
    if (s <= 0 || s >= n - 1)
        return;
    // Points s .. n-1, then 1 .. s: the old closing point goes and s closes the path.
    CSbArray rotated;
    rotated.SetSize(n);
    int k = 0;
    for (int i = s; i < n; ++i)
        rotated[k++] = m_Points[i];
    for (int i = 1; i <= s; ++i)
        rotated[k++] = m_Points[i];
    m_Points.Copy(rotated);
    MakeCurves();
    MakePktArray(kCopyLevel);
    ReindexSelectedElements(s);
    SelectElement(n - 1);
}

void CSplineItem::FixOldDesigns() {
    const int n = VectCount();
    auto flags = [&](int i) -> DWORD& { return m_Points[i].flags; };
    if (n > 2 && flags(0) == kSmooth && flags(1) == kSmooth && flags(2) == kBreak)
        flags(0) = kBreak;
    if (n > 1 && flags(0) == kSmooth && flags(1) == kBreak)
        flags(0) = kBreak;
    if (n > 2 && flags(n - 1) == kSmooth && flags(n - 2) == kSmooth && flags(n - 3) == kBreak)
        flags(n - 1) = kBreak;
    if (n > 1 && flags(n - 1) == kSmooth && flags(n - 2) == kBreak)
        flags(n - 1) = kBreak;
    if (IsClosed(0)) {
        flags(0) = kBreak;
        flags(n - 1) = kBreak;
    }
}
