#include "vector_fixtures.h"

#include "pivora/geometry/mat2d.h"
#include "pivora/rec_archive.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"

#include <algorithm>

IMPLEMENT_SERIAL(CPolyTestItem, CVectorItem, 0)

CPolyTestItem::CPolyTestItem(std::initializer_list<CLpoint> points, DWORD flags)
    : CPolyTestItem(std::vector<CLpoint>(points), flags) {}

CPolyTestItem::CPolyTestItem(const std::vector<CLpoint>& points, DWORD flags) {
    for (const CLpoint& p : points) {
        CSb sb(flags, p);
        m_Points.Add(sb);
    }
    MakePktArray(1);
}

int CPolyTestItem::IsClosed(int) {
    const INT_PTR n = m_Points.GetSize();
    return n > 2 && m_Points.GetAt(0).pt == m_Points.GetAt(n - 1).pt ? 1 : 0;
}

void CPolyTestItem::MakePktArray(int) {
    ++m_nBuilds;
    m_PktArray.RemoveAll();
    for (INT_PTR i = 1; i < m_Points.GetSize(); ++i) {
        CPkt p;
        p.start = m_Points.GetAt(i - 1).pt;
        p.end = m_Points.GetAt(i).pt;
        p.mid = CLpoint(LONG((int64_t(p.start.x) + p.end.x) / 2),
                        LONG((int64_t(p.start.y) + p.end.y) / 2));
        m_PktArray.Add(p);
    }
    InvExtents(1);
}

int CPolyTestItem::TransformElement(CMat2d* m, int first, int count) {
    for (int i = first; i < first + count && i < m_Points.GetSize(); ++i)
        m_Points.ElementAt(i) = *m * m_Points.GetAt(i);
    MakePktArray(1);
    return 1;
}

CObject* CPolyTestItem::CopyObject(CObject* target) {
    auto* to = target ? DynamicDowncast<CPolyTestItem>(target) : new CPolyTestItem;
    CVectorItem::CopyObject(to);
    to->m_Points.Copy(m_Points);
    to->MakePktArray(1);
    return to;
}

void CPolyTestItem::Serialize(CArchive& ar) {
    CVectorItem::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        DWORD pos = rec.StartStore(0);
        ar.WriteCount(DWORD_PTR(m_Points.GetSize()));
        for (INT_PTR i = 0; i < m_Points.GetSize(); ++i) {
            const CSb& p = m_Points.GetAt(i);
            ar << uint32_t(p.flags) << int32_t(p.pt.x) << int32_t(p.pt.y);
        }
        rec.EndStore(pos);
        rec.StoreEndRec();
        return;
    }
    WORD id;
    DWORD len;
    while (rec.LoadFieldID(id, len)) {
        if (id != 0) {
            rec.SkipField(len);
            continue;
        }
        DWORD_PTR n = ar.ReadCount(12);
        m_Points.RemoveAll();
        for (DWORD_PTR i = 0; i < n; ++i) {
            uint32_t f;
            int32_t x, y;
            ar >> f >> x >> y;
            CSb p(f, CLpoint(x, y));
            m_Points.Add(p);
        }
    }
    MakePktArray(1);
}

std::unique_ptr<CJoxPage> NewPage() {
    return std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
}

CVectorArticle* AddPath(CJoxPage& page, std::initializer_list<CLpoint> points, int style) {
    auto* a = new CVectorArticle;
    a->Item(new CPolyTestItem(points));
    a->SetPaletteIndex(style);
    page.RootArticle()->AddChild(a);
    a->InvExtents(1);
    return a;
}

CPolyTestItem* Square(LONG x, LONG y, LONG s) {
    return new CPolyTestItem({{x, y}, {x + s, y}, {x + s, y + s}, {x, y + s}, {x, y}});
}

std::vector<BYTE> StoreObject(const CObject* obj) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar.WriteObject(obj);
    ar.Close();
    return file.Detach();
}

std::vector<BYTE> StorePage(CJoxPage& page) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    page.Serialize(ar);
    ar.Close();
    return file.Detach();
}

void LoadPage(CJoxPage& page, const std::vector<BYTE>& bytes) {
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    page.Serialize(ar);
}

bool EndsWith(const std::vector<BYTE>& bytes, const std::vector<BYTE>& tail) {
    return bytes.size() >= tail.size() &&
           std::equal(tail.begin(), tail.end(), bytes.end() - std::ptrdiff_t(tail.size()));
}
