#include "vector/vector_item.h"

#include "pivora/document/record_fields.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/geometry/arc.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/rec_archive.h"
#include "vector/vector_article.h"

#include <algorithm>

IMPLEMENT_SERIAL(CVectorItem, CItem, 0)

CVectorItem::CVectorItem() {
    InitVectorItem(0);
}

CVectorItem::CVectorItem(int n) {
    InitVectorItem(n);
}

CVectorItem::~CVectorItem() {
    m_SelectedElements.RemoveAll();
}

void CVectorItem::InitVectorItem(int n) {
    m_nDrawLine = 1;
    if (n > 0)
        m_PktArray.SetSize(n);
    m_SelectedElements.RemoveAll();
    m_SelectedElements.SetSize(0, kSelectionGrowBy);
    m_pCompanion = nullptr;
}

CVectorArticle* CVectorItem::GetArticle() const {
    return DynamicDowncast<CVectorArticle>(CItem::GetArticle());
}

void CVectorItem::DrawPkts(CJoxDC* dc, int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, int(m_PktArray.GetSize()));
    // The elements' lines go to the context as runs: one call per run rather than per line.
    constexpr int kRun = 256;
    POINT run[kRun];
    CLpoint pts[CPkt::kMaxPieces];
    int n = 0;
    for (int i = first; i < last; ++i) {
        const int count = m_PktArray.ElementAt(i).DrawPoints(dc, pts);
        if (n + count > kRun) {
            dc->PolylineTo(run, n);
            n = 0;
        }
        for (int k = 0; k < count; ++k)
            run[n++] = POINT{pts[k].x, pts[k].y};
    }
    if (n)
        dc->PolylineTo(run, n);
}

int CVectorItem::SelectedPosition(int element) const {
    for (INT_PTR i = 0; i < m_SelectedElements.GetSize(); ++i) {
        int s = int(m_SelectedElements.GetAt(i));
        if (s == element)
            return int(i);
        if (s > element)
            break;
    }
    return -1;
}

void CVectorItem::ReindexSelectedElements(int n) {
    for (INT_PTR i = 0; i < m_SelectedElements.GetSize(); ++i)
        m_SelectedElements.SetAt(i, UINT(int(m_SelectedElements.GetAt(i)) - n));
}

void CVectorItem::TransformSelectedElements(CMat2d* m) {
    for (INT_PTR i = 0; i < m_SelectedElements.GetSize(); ++i)
        TransformElement(m, int(m_SelectedElements.GetAt(i)), 1);
}

void CVectorItem::ReflectedVect(int i, unsigned value) {
    m_Reflectedness.SetAt(i, value);
}

UINT CVectorItem::ReflectedVect(int i) const {
    // Negative indices are outside the array as much as those past its end.
    if (i < 0 || i >= m_Reflectedness.GetSize())
        return 0;
    return m_Reflectedness.GetAt(i);
}

// Storing ----------------------------------------------------------------------------------------

void CVectorItem::Serialize(CArchive& ar) {
    CItem::Serialize(ar);
    CRecArchive rec(ar);
    if (rec.IsStoring()) {
        rec.StoreField(kRecDrawLine, WORD(m_nDrawLine));
        rec.StoreEndRec();
        return;
    }
    WORD id;
    DWORD len;
    while (rec.LoadFieldID(id, len)) {
        if (id == kRecDrawLine)
            record_fields::LoadFixed(rec, len, m_nDrawLine);
        else
            rec.SkipField(len);
    }
}

void CVectorItem::DoTransform(CMat2d& m) {
    TransformElement(&m, 0, ElementCount());
}

CObject* CVectorItem::CopyObject(CObject* target) {
    CVectorItem* to = target ? DynamicDowncast<CVectorItem>(target) : new CVectorItem;
    if (!to)
        return CItem::CopyObject(target);
    CItem::CopyObject(to);
    if (to != this) {
        to->m_SelectedElements.RemoveAll();
        to->m_SelectedElements.Append(m_SelectedElements);
    }
    return to;
}

CWindow CVectorItem::RecalcExtents() {
    if (m_PktArray.IsEmpty())
        return CWindow::EmptyExtent();
    return RecalcPktExtents();
}

CWindow CVectorItem::RecalcPktExtents() {
    CWindow w = CWindow::EmptyExtent();
    auto add = [&w](const CLpoint& p) {
        w.x1 = std::min(w.x1, p.x);
        w.y1 = std::min(w.y1, p.y);
        w.x2 = std::max(w.x2, p.x);
        w.y2 = std::max(w.y2, p.y);
    };
    const int n = int(m_PktArray.GetSize());
    for (int i = 0; i < n; ++i) {
        CPkt& p = m_PktArray.ElementAt(i);
        if (p.mode & CPkt::kArc) {
            CLpoint lo, hi;
            arc_extents(p.arc, &lo, &hi);
            add(lo);
            add(hi);
        } else {
            add(p.start);
            if (i == n - 1)
                add(p.end);
        }
    }
    return w;
}

// Hooks and neutral answers ---------------------------------------------------------------------

void CVectorItem::DrawPoint(CJoxDC*, int, int, int) {}
void CVectorItem::OnDrawPoints(CJoxView*, CJoxDC*) {}
void CVectorItem::DrawSelectedPoints(CJoxDC*) {}

void CVectorItem::SelectAll() {
    const int n = VectCount();
    for (int i = 0; i < n; ++i)
        SelectElement(i);
}

void CVectorItem::DeselectAll(CJoxDC* dc) {
    DrawSelectedPoints(dc);
    DeselectAllElements();
}

void CVectorItem::CurveToggle(int, bool) {}
void CVectorItem::CurveToggle(bool) {}

void CVectorItem::PointDelete(int element, bool update) {
    DeselectElement(element);
    DelVect(element, 1);
    if (update) {
        InvExtents(1);
        MakeCurves();
    }
}

void CVectorItem::PointDelete() {}

int CVectorItem::IsEmpty() {
    return 1;
}
int CVectorItem::IsClosed(int) {
    return 0;
}
int CVectorItem::IsClosedCurve(int) {
    return 0;
}
void CVectorItem::MakeCurves() {}
int CVectorItem::ConvertArcs(int) {
    return 0;
}
int CVectorItem::ConvertLines(int, int) {
    return 0;
}

int CVectorItem::InsideOf(CVectorItem* other) {
    if (!other)
        return 0;
    CWindow e = Extents();
    CWindow o = other->Extents();
    return o.x1 < e.x1 && o.y1 < e.y1 && e.x2 < o.x2 && e.y2 < o.y2 ? 1 : 0;
}

void CVectorItem::DrawLine(int number) {
    m_nDrawLine = WORD(number & 0xFFFF);
}

int CVectorItem::DrawLine() const {
    return m_nDrawLine;
}

int CVectorItem::VectCount() {
    return 0;
}
CSb* CVectorItem::VectPtr(int) {
    return nullptr;
}
void CVectorItem::Vect(CSb, int) {}
void CVectorItem::Vect(CSb) {}
CSb CVectorItem::Vect(int) {
    return CSb();
}
CSbArray* CVectorItem::Vect() {
    return nullptr;
}
void CVectorItem::DelVect(int, int) {}
void CVectorItem::DelVect() {}

CDb CVectorItem::VectDb(int i) {
    CSb p = Vect(i);
    return CDb(WORD(p.flags), p.pt, p.pt);
}

CPkt* CVectorItem::PktPtr(int i) {
    return &m_PktArray.ElementAt(i);
}

void CVectorItem::Pkt(CPkt p, int i) {
    CPkt& to = m_PktArray.ElementAt(i);
    to.mode = p.mode;
    to.arc = p.arc;
    to.start = p.start;
    to.mid = p.mid;
    to.end = p.end;
}

void CVectorItem::Pkt(CPkt p) {
    m_PktArray.Add(p);
}

CPkt CVectorItem::Pkt(int i) {
    return m_PktArray.GetAt(i);
}

CPktArray* CVectorItem::Pkt() {
    return &m_PktArray;
}

void CVectorItem::DelPkt(int first, int count) {
    m_PktArray.RemoveAt(first, count);
}

void CVectorItem::DelPkt() {
    m_PktArray.RemoveAll();
}

void CVectorItem::Select(CJoxDC*, int) {}

bool CVectorItem::Selected(int element) {
    return SelectedPosition(element) >= 0;
}

void CVectorItem::MakePktArray(CDWordArray*, int level) {
    MakePktArray(level);
}

void CVectorItem::MakePktArray(int) {}

void CVectorItem::EnsurePkts(int level) {
    if (m_PktArray.IsEmpty())
        MakePktArray(level);
}

void CVectorItem::OpenUp(int element, int n) {
    CSbArray* points = Vect();
    if (!points || n <= 0)
        return;
    CSb copy = points->GetAt(element);
    points->InsertAt(element, copy, n);
}

int CVectorItem::GetDpkt(int i, CDpkt& d) {
    if (i < 0 || i >= m_PktArray.GetSize())
        return 0;
    const CPkt& p = m_PktArray.GetAt(i);
    d.flags = (p.mode & CPkt::kArc) ? CDpkt::kFirstArc : 0;
    d.arcs[0] = p.arc;
    d.start1 = p.start;
    d.mid1 = p.mid;
    d.end1 = p.end;
    return 1;
}

void CVectorItem::FixOldDesigns() {}

void CVectorItem::BuildHitVectorList(CVectorItemList* list) {
    if (list && !m_SelectedElements.IsEmpty())
        list->AddTail(this);
}

void CVectorItem::UpdateViews(CJoxView*, long) {}

// Selection ---------------------------------------------------------------------------------------

int CVectorItem::NumSelectedPoints() {
    const int n = int(m_SelectedElements.GetSize());
    if (n > 1 && IsClosed(0) && m_SelectedElements.GetAt(0) == 0 &&
        int(m_SelectedElements.GetAt(n - 1)) == ElementCount() - 1)
        return n - 1;
    return n;
}

int CVectorItem::SelectElement(int element) {
    const UINT key = UINT(element);
    const UINT* first = m_SelectedElements.GetData();
    const INT_PTR n = m_SelectedElements.GetSize();
    // The selection is kept in ascending order of the signed index.
    const UINT* at = first ? std::lower_bound(first, first + n, key,
                                              [](UINT a, UINT b) { return int(a) < int(b); })
                           : nullptr;
    INT_PTR pos = at ? at - first : 0;
    if (pos < n && m_SelectedElements.GetAt(pos) == key)
        return 0;
    m_SelectedElements.InsertAt(pos, key);
    return 1;
}

int CVectorItem::DeselectElement(int element) {
    int pos = SelectedPosition(element);
    if (pos < 0)
        return 0;
    m_SelectedElements.RemoveAt(pos);
    return 1;
}

int CVectorItem::DeselectElements(int first, int last) {
    if (last == -1)
        last = VectCount() - 1;
    int removed = 0;
    for (INT_PTR i = m_SelectedElements.GetSize() - 1; i >= 0; --i) {
        int s = int(m_SelectedElements.GetAt(i));
        if (s >= first && s <= last) {
            m_SelectedElements.RemoveAt(i);
            ++removed;
        }
    }
    return removed == last - first + 1 ? 1 : 0;
}

int CVectorItem::DeselectAllElements() {
    if (m_SelectedElements.IsEmpty())
        return 0;
    m_SelectedElements.RemoveAll();
    m_SelectedElements.SetSize(0, kSelectionGrowBy);
    return 1;
}

const CUIntArray& CVectorItem::SelectedElements() const {
    return m_SelectedElements;
}

int CVectorItem::SelectNeighbouringElement(unsigned direction) {
    const INT_PTR count = m_SelectedElements.GetSize();
    const int n = VectCount();
    // Without points there is no neighbour: a stale selection is left as it is.
    if (count == 0 || n <= 0)
        return -1;
    int target;
    if (direction == kNeighbourBack1 || direction == kNeighbourBack2) {
        target = int(m_SelectedElements.GetAt(0)) - 1;
        if (target < 0 || target >= n)
            target = n - 1;
    } else if (direction == kNeighbourForward1 || direction == kNeighbourForward2) {
        target = int(m_SelectedElements.GetAt(count - 1)) + 1;
        if (target >= n || target < 0)
            target = 0;
    } else {
        return -1;
    }
    DeselectAllElements();
    SelectElement(target);
    return target;
}

// Elements ----------------------------------------------------------------------------------------

int CVectorItem::ElementCount() {
    return 0;
}
CLpoint CVectorItem::GetElementPos(int) {
    return CLpoint(0, 0);
}
int CVectorItem::DeleteElement(int, int) {
    return 0;
}
int CVectorItem::InsertElement(int, void*, int) {
    return 0;
}
int CVectorItem::TransformElement(CMat2d*, int, int) {
    return 0;
}

int CVectorItem::ElementStr(int i, CString& out) {
    out.Format(L"%d", i);
    return 0;
}

int CVectorItem::ElementData(int, unsigned char**, int&) {
    return 0;
}
int CVectorItem::ElementOnScreen(CRect, CPoint, CPoint) {
    return 0;
}
int CVectorItem::NumSections() {
    return 1;
}

void CVectorItem::Bolden(int) {}

int CVectorItem::GetDefaultToolId() {
    return kDefaultToolId;
}

int CVectorItem::fnCanInsertXformLines() {
    CVectorArticle* a = GetArticle();
    return a ? a->fnCanInsertXformLines() : 1;
}

int CVectorItem::fnCanInsertXformArcs() {
    CVectorArticle* a = GetArticle();
    return a ? a->fnCanInsertXformArcs() : 1;
}

int CVectorItem::fnCanMoveItemStart() {
    return 0;
}
void CVectorItem::fnDoMoveItemStart() {}
int CVectorItem::ApplySimpleFilter(int, int, unsigned) {
    return 0;
}
void CVectorItem::fnCheckStability() {}
void CVectorItem::fnReverse() {}

// Free functions ----------------------------------------------------------------------------------

int IsCVectorItem(const CObject* o) {
    return o && o->IsKindOf(RUNTIME_CLASS(CVectorItem)) ? 1 : 0;
}

namespace {
constexpr int kMaxScreenThickness = 5;
int g_screenThickness = -1;
} // namespace

int FnGetScreenVectorThickness(void* reset) {
    if (reset == reinterpret_cast<void*>(-1)) {
        g_screenThickness = -1;
        return 0;
    }
    if (g_screenThickness < 0)
        g_screenThickness = std::max(0, QvGetSetAppParam(L"Screen Vector Thickness", 0));
    return std::min(g_screenThickness, kMaxScreenThickness);
}
