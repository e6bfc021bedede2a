// CPointListItem: what the spline item and the Bezier item share. Both keep their shape as one
// list of 12-byte control points, stored as field 0 of their record after the vector item's part,
// and mark selected points one marker each. How a point's marker looks and what follows from
// freshly loaded points is each kind's own.
#pragma once

#include "vector/vector_item.h"

class CPointListItem : public CVectorItem {
    DECLARE_DYNAMIC(CPointListItem)
public:
    // Record id of the group: the control points.
    static constexpr WORD kRecPoints = 0;

    ~CPointListItem() override;

    // Overrides of CItem.
    void Serialize(CArchive& ar) override;

    // Overrides of CVectorItem.
    using CVectorItem::Vect;
    int IsEmpty() override;
    int VectCount() override;
    CSb* VectPtr(int i) override;
    void Vect(CSb p, int i) override;
    void Vect(CSb p) override;
    CSb Vect(int i) override;
    CSbArray* Vect() override;
    void DelVect(int first, int count) override;
    void DelVect() override;
    int ElementCount() override;
    CLpoint GetElementPos(int i) override;
    int ElementData(int i, unsigned char** data, int& size) override;
    // One marker per selected point; a closed path's last point is its first and is not marked
    // twice.
    void DrawSelectedPoints(CJoxDC* dc) override;

    // The XOR marker of point i; nothing for an index out of range.
    virtual void DrawSelectedPoint(CJoxDC* dc, int i) = 0;

protected:
    // n > 0 zero points; otherwise none.
    explicit CPointListItem(int n);
    void InitPoints(int n);
    // Called after each points field read from an archive.
    virtual void OnPointsLoaded() = 0;

    CSbArray m_Points;
};
