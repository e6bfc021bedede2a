// Shared by the drawing benchmarks: a vector path of straight elements between its control
// points, so the figures measure the framework rather than curve fitting.
#pragma once

#include "vector/vector_item.h"

#include <vector>

namespace bench {

class CStraightPathItem : public CVectorItem {
public:
    CStraightPathItem() = default;
    explicit CStraightPathItem(const std::vector<CLpoint>& pts) {
        m_Points.SetSize(INT_PTR(pts.size()));
        for (size_t i = 0; i < pts.size(); ++i)
            m_Points.ElementAt(INT_PTR(i)) = CSb(0, pts[i]);
        MakePktArray(1);
    }
    int VectCount() override { return int(m_Points.GetSize()); }
    CSb* VectPtr(int i) override { return &m_Points.ElementAt(i); }
    CSb Vect(int i) override { return m_Points.GetAt(i); }
    CSbArray* Vect() override { return &m_Points; }
    int ElementCount() override { return VectCount(); }
    CLpoint GetElementPos(int i) override { return m_Points.GetAt(i).pt; }
    int IsClosed(int) override {
        const INT_PTR n = m_Points.GetSize();
        return n > 2 && m_Points.GetAt(0).pt == m_Points.GetAt(n - 1).pt;
    }
    void MakeCurves() override {}
    void MakePktArray(int) override {
        const INT_PTR n = m_Points.GetSize();
        m_PktArray.SetSize(n > 1 ? n - 1 : 0);
        for (INT_PTR i = 1; i < n; ++i) {
            CPkt& p = m_PktArray.ElementAt(i - 1);
            p.mode = 0;
            p.start = m_Points.GetAt(i - 1).pt;
            p.end = m_Points.GetAt(i).pt;
            p.mid = p.start;
        }
        InvExtents(1);
    }

protected:
    CSbArray m_Points;
};

} // namespace bench
