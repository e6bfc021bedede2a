#include "spline/point_list_item.h"

#include "spline/sb_array_archive.h"

#include "pivora/rec_archive.h"

IMPLEMENT_DYNAMIC(CPointListItem, CVectorItem)

CPointListItem::CPointListItem(int n) {
    InitPoints(n);
}

CPointListItem::~CPointListItem() = default;

void CPointListItem::InitPoints(int n) {
    if (n > 0)
        m_Points.SetSize(n);
}

void CPointListItem::Serialize(CArchive& ar) {
    CVectorItem::Serialize(ar);
    CRecArchive rec(ar);
    if (rec.IsStoring()) {
        StoreSbField(rec, kRecPoints, m_Points);
        rec.StoreEndRec();
        return;
    }
    WORD id;
    DWORD len;
    while (rec.LoadFieldID(id, len)) {
        if (id == kRecPoints) {
            LoadSbField(rec, len, m_Points);
            OnPointsLoaded();
        } else {
            rec.SkipField(len);
        }
    }
}

int CPointListItem::IsEmpty() {
    return m_Points.IsEmpty() ? 1 : 0;
}

int CPointListItem::VectCount() {
    return int(m_Points.GetSize());
}

CSb* CPointListItem::VectPtr(int i) {
    return &m_Points.ElementAt(i);
}

void CPointListItem::Vect(CSb p, int i) {
    m_Points.SetAt(i, p);
}

void CPointListItem::Vect(CSb p) {
    m_Points.Add(p);
}

CSb CPointListItem::Vect(int i) {
    return m_Points.GetAt(i);
}

CSbArray* CPointListItem::Vect() {
    return &m_Points;
}

void CPointListItem::DelVect(int first, int count) {
    m_Points.RemoveAt(first, count);
}

void CPointListItem::DelVect() {
    m_Points.RemoveAll();
}

int CPointListItem::ElementCount() {
    return int(m_Points.GetSize());
}

CLpoint CPointListItem::GetElementPos(int i) {
    return m_Points.GetAt(i).pt;
}

int CPointListItem::ElementData(int i, unsigned char** data, int& size) {
    CSb* p = VectPtr(i);
    size = int(sizeof(CSb));
    if (data)
        *data = reinterpret_cast<unsigned char*>(p);
    return 1;
}

void CPointListItem::DrawSelectedPoints(CJoxDC* dc) {
    const int n = VectCount();
    const bool closed = IsClosed(0) != 0;
    for (INT_PTR k = 0; k < m_SelectedElements.GetSize(); ++k) {
        const int e = int(m_SelectedElements[k]);
        if (closed && e == n - 1)
            continue;
        DrawSelectedPoint(dc, e);
    }
}
