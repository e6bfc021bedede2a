#include "vector/vector_style_pb.h"

#include "pivora/colour_palette.h"
#include "pivora/document/record_fields.h"
#include "pivora/jox_page.h"
#include "pivora/scope_guard.h"
#include "vector/draw_line_palette.h"
#include "vector/owned_array.h"
#include "vector/vector_article.h"

#include "platform/core/array_archive.h"

#include <algorithm>
#include <cwchar>

IMPLEMENT_SERIAL(CVectorStylePB, CParamBlk, 0)

namespace {

// Palette entries at or beyond this come from damaged files: no palette is grown to hold them.
constexpr int kMaxPaletteEntry = 0x10000;

// The old line table of a page, or null.
CDrawLinePalette* OldLineTable(CJoxPage* page) {
    for (int i = 0; page && i < page->ParamCount(); ++i)
        if (CParamBlk* b = page->GetParam(i); b && b->Id() == CParamBlk::kDrawLinePaletteId)
            if (auto* old = DynamicDowncast<CDrawLinePalette>(b))
                return old;
    return nullptr;
}

} // namespace

CVectorStylePB::CVectorStylePB() : CVectorStylePB(1) {}

CVectorStylePB::CVectorStylePB(int n) : CParamBlk(kVectorStyleId) {
    fnInitialise(n);
}

CVectorStylePB::CVectorStylePB(CJoxPage* page, int n) : CParamBlk(kVectorStyleId) {
    if (CDrawLinePalette* old = OldLineTable(page)) {
        const int k = old->GetSize();
        fnInitialise(k);
        for (int i = 0; i < k; ++i)
            m_Styles.GetAt(i)->fnSetColPalIdx(old->Map2DrawLine(i)->GetColour());
        page->RemoveParam(old);
    } else {
        fnInitialise(n);
    }
    if (page)
        m_pPalette = page->GetColourPalette(true, eColourPaletteDefault);
}

CVectorStylePB::~CVectorStylePB() {
    fnRemoveAll();
}

void CVectorStylePB::fnInitialise(int n) {
    fnRemoveAll();
    for (int i = 0; i < n; ++i)
        m_Styles.Add(new CVectorStyle(i));
    m_bSerialisedIn = 0;
    m_nMinimumSize = 1;
}

void CVectorStylePB::fnRemoveAll() {
    for (INT_PTR i = 0; i < m_Styles.GetSize(); ++i)
        delete m_Styles.GetAt(i);
    m_Styles.RemoveAll();
}

int CVectorStylePB::fnGrowBy(int n) {
    const int old = fnGetSize();
    const int end = std::max(0, old + n);
    if (n > 0) {
        int first = old;
        if (m_pPalette) {
            first = m_pPalette->ColourCount();
            m_pPalette->GrowBy(n);
        }
        for (int k = 0; old + k < end; ++k)
            m_Styles.Add(new CVectorStyle(first + k));
    } else if (n < 0) {
        for (int i = old - 1; i >= end; --i)
            delete m_Styles.GetAt(i);
        m_Styles.SetSize(end);
    }
    return old;
}

int CVectorStylePB::fnAdd(CVectorStyle* style) {
    return int(m_Styles.Add(style));
}

void CVectorStylePB::fnSetAt(int i, CVectorStyle* style) {
    if (i < 0)
        AfxThrowInvalidArgException();
    if (i < fnGetSize()) {
        if (m_Styles.GetAt(i) != style)
            delete m_Styles.GetAt(i);
        m_Styles.SetAt(i, style);
        return;
    }
    while (fnGetSize() < i)
        m_Styles.Add(new CVectorStyle(0));
    m_Styles.Add(style);
}

CVectorStyle* CVectorStylePB::fnMap2VectorStyle(int i) {
    if (i < 0)
        AfxThrowInvalidArgException();
    const int size = fnGetSize();
    // An empty table has no style to fall back on.
    if (size == 0)
        return nullptr;
    if (i >= size)
        i -= size - 1;
    if (i >= size)
        i = 0;
    return m_Styles.GetAt(i);
}

int CVectorStylePB::fnDeleteStyle(int i) {
    if (i < 0 || i >= fnGetSize())
        return 0;
    delete m_Styles.GetAt(i);
    m_Styles.RemoveAt(i);
    return 1;
}

CVectorStylePB* CVectorStylePB::fnCopy() const {
    auto* copy = new CVectorStylePB(0);
    for (INT_PTR i = 0; i < m_Styles.GetSize(); ++i)
        copy->m_Styles.Add(new CVectorStyle(*m_Styles.GetAt(i)));
    return copy;
}

// Colours ---------------------------------------------------------------------------------------

bool CVectorStylePB::Entry(int i, int& entry) const {
    if (!m_pPalette || i < 0 || i >= fnGetSize())
        return false;
    entry = m_Styles.GetAt(i)->fnGetColPalIdx();
    return entry >= 0 && entry < kMaxPaletteEntry;
}

COLORREF CVectorStylePB::fnGetVectStyleColour(int i) {
    int e;
    return Entry(i, e) ? m_pPalette->GetColour(e) : kNoColour;
}

COLORREF CVectorStylePB::fnGetVectStylePastelCol(int i) {
    int e;
    return Entry(i, e) ? m_pPalette->GetPastelColour(e) : kNoColour;
}

COLORREF CVectorStylePB::fnGetVectStyleShadeCol(int i) {
    int e;
    return Entry(i, e) ? m_pPalette->GetShadeColour(e) : kNoColour;
}

COLORREF CVectorStylePB::fnGetVectStyleGreyCol(int i) {
    int e;
    // The palette has no grey for an entry it does not hold.
    return Entry(i, e) && e < m_pPalette->ColourCount() ? m_pPalette->GetGreyColour(e) : kNoColour;
}

COLORREF CVectorStylePB::fnSetVectStyleColour(int i, COLORREF c) {
    int e;
    if (!Entry(i, e))
        return kNoColour;
    const COLORREF old = fnGetVectStyleColour(i);
    m_pPalette->SetColour(e, c);
    return old;
}

COLORREF CVectorStylePB::fnSetVectStylePastelCol(int i, COLORREF c) {
    int e;
    if (!Entry(i, e))
        return kNoColour;
    const COLORREF old = fnGetVectStylePastelCol(i);
    m_pPalette->SetPastelColour(e, c);
    return old;
}

COLORREF CVectorStylePB::fnSetVectStyleShadeCol(int i, COLORREF c) {
    int e;
    if (!Entry(i, e))
        return kNoColour;
    const COLORREF old = fnGetVectStyleShadeCol(i);
    m_pPalette->SetShadeColour(e, c);
    return old;
}

COLORREF CVectorStylePB::fnSetVectStyleGreyCol(int i, COLORREF c) {
    int e;
    if (!Entry(i, e))
        return kNoColour;
    const COLORREF old = fnGetVectStyleGreyCol(i);
    m_pPalette->SetGreyColour(e, c);
    return old;
}

CVectorStyle* CVectorStylePB::fnNewVectorStyle(COLORREF c, int& index) {
    index = -1;
    if (!m_pPalette)
        return nullptr;
    auto* style = new CVectorStyle(m_pPalette->AddColour(c));
    index = fnAdd(style);
    return style;
}

int CVectorStylePB::fnNewVectorStyle(CVectorStyle*, COLORREF c) {
    int index;
    fnNewVectorStyle(c, index);
    return index;
}

int CVectorStylePB::fnMergeColour(COLORREF c) {
    for (int i = 0; i < fnGetSize(); ++i)
        if (fnGetVectStyleColour(i) == c)
            return i;
    return fnNewVectorStyle(nullptr, c);
}

int CVectorStylePB::fnMergeVectorStyle(CVectorStylePB* other, int i) {
    if (!other || i < 0)
        return -1;
    CVectorStyle* style = other->fnMap2VectorStyle(i);
    if (!style)
        return -1;
    int mapped = 0;
    while (other->m_Styles.GetAt(mapped) != style)
        ++mapped;
    return fnMergeColour(other->fnGetVectStyleColour(mapped));
}

int CVectorStylePB::fnFindNearestEntry(COLORREF c, int& distance) {
    distance = kFarColour;
    int result = -1;
    for (int i = 0; i < fnGetSize(); ++i) {
        int e;
        if (!Entry(i, e))
            continue;
        const COLORREF s = m_pPalette->GetColour(e);
        const int dr = int(GetRValue(c)) - int(GetRValue(s));
        const int dg = int(GetGValue(c)) - int(GetGValue(s));
        const int db = int(GetBValue(c)) - int(GetBValue(s));
        const int d = dr * dr + dg * dg + db * db;
        if (d < distance) {
            distance = d;
            result = i;
        }
    }
    return result;
}

// Use and run-time flags --------------------------------------------------------------------------

int CVectorStylePB::fnColourUsed(int style, CArticleList& articles) {
    for (POSITION pos = articles.GetHeadPosition(); pos;) {
        CArticle* a = articles.GetNext(pos);
        if (IsCVectorArticle(a, false) && static_cast<CVectorArticle*>(a)->PaletteIndex() == style)
            return 1;
    }
    return 0;
}

int CVectorStylePB::fnFindUnusedEntry(CJoxPage* page) {
    if (!page)
        return 0;
    CArticleList articles;
    if (CArticle* root = page->RootArticle())
        root->GetArticleList(&articles, static_cast<const CRuntimeClass*>(nullptr));
    // One pass over the articles instead of one per style.
    CArray<int, int> used;
    for (POSITION pos = articles.GetHeadPosition(); pos;)
        CVectorArticle::CalcColourUsage(articles.GetNext(pos), &used);
    for (int i = 1; i < fnGetSize(); ++i)
        if (!fnGetRTFlag(i, CVectorStyle::kRTFlagReserved) && (i >= used.GetSize() || !used[i]))
            return i;
    return -1;
}

void CVectorStylePB::fnSetRTFlag(int i, int mask) {
    if (i >= 0 && i < fnGetSize())
        m_Styles.GetAt(i)->fnSetRTFlags(m_Styles.GetAt(i)->fnGetRTFlags() | mask);
}

int CVectorStylePB::fnGetRTFlag(int i, int mask) {
    if (i < 0 || i >= fnGetSize())
        return 0;
    return m_Styles.GetAt(i)->fnGetRTFlags() & mask;
}

void CVectorStylePB::fnClrAllRTFlags() {
    for (INT_PTR i = 0; i < m_Styles.GetSize(); ++i)
        m_Styles.GetAt(i)->fnSetRTFlags(0);
}

void CVectorStylePB::fnRemoveUnusedStyles(CArray<long, long>* use) {
    if (!use)
        return;
    for (int i = fnGetSize() - 1; i >= 0; --i) {
        if (i >= use->GetSize() || use->GetAt(i) != -1)
            continue;
        const int e = m_Styles.GetAt(i)->fnGetColPalIdx();
        if (m_pPalette && e >= 0 && e < m_pPalette->ColourCount())
            m_pPalette->RemoveAt(e);
        fnDeleteStyle(i);
    }
}

void CVectorStylePB::RemoveUnassignedStyles() {
    CArray<long, long> use;
    use.SetSize(fnGetSize());
    fnRemoveUnusedStyles(&use);
}

int CVectorStylePB::SyncWithColPal() {
    CJoxPage* page = GetDocument();
    if (!page)
        return 0;
    if (m_pPalette) {
        int largest = -1;
        for (int i = 0; i < page->ParamCount(); ++i)
            if (auto* t = DynamicDowncast<CVectorStylePB>(page->GetParam(i)))
                for (int s = 0; s < t->fnGetSize(); ++s)
                    largest = std::max(largest, t->m_Styles.GetAt(s)->fnGetColPalIdx());
        if (largest >= m_pPalette->ColourCount() && largest < kMaxPaletteEntry)
            m_pPalette->Resize(largest + 1);
    }
    const int self = page->FindParam(this);
    for (int i = self + 1; self >= 0 && i < page->ParamCount(); ++i)
        if (CParamBlk* b = page->GetParam(i); b && b->Id() == kVectorStyleId)
            return 0;
    if (!m_pPalette)
        return 0;
    // Each style keeps its colour: the colour moves to entry i with the style, and every
    // other style that drew with entry i follows it to entry p.
    int changed = 0;
    for (int i = 0; i < fnGetSize(); ++i) {
        CVectorStyle* style = m_Styles.GetAt(i);
        const int p = style->fnGetColPalIdx();
        if (p == i)
            continue;
        if (p < 0 || p >= m_pPalette->ColourCount() || i >= m_pPalette->ColourCount())
            continue;
        m_pPalette->Swap(i, p);
        for (int s = 0; s < fnGetSize(); ++s) {
            CVectorStyle* other = m_Styles.GetAt(s);
            if (other == style)
                continue;
            if (other->fnGetColPalIdx() == i)
                other->fnSetColPalIdx(p);
            else if (other->fnGetColPalIdx() == p)
                other->fnSetColPalIdx(i);
        }
        style->fnSetColPalIdx(i);
        changed = 1;
    }
    return changed;
}

// Storing -----------------------------------------------------------------------------------------

void CVectorStylePB::Serialize(CArchive& ar) {
    CParamBlk::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        const DWORD pos = rec.StartStore(WORD(kRecStyles));
        StoreObArray(ar, m_Styles);
        rec.EndStore(pos);
        rec.StoreEndRec();
        return;
    }
    fnRemoveAll();
    WORD id;
    DWORD len;
    while (rec.LoadFieldID(id, len)) {
        if (id != kRecStyles) {
            rec.SkipField(len);
            continue;
        }
        CVectorStyleArray loaded;
        CScopeGuard onFailure([&] {
            for (INT_PTR i = 0; i < loaded.GetSize(); ++i)
                delete loaded.GetAt(i);
        });
        record_fields::LoadSized(
            rec, len, [&] { LoadOwnedArray(ar, loaded, [] { return new CVectorStyle(0); }); });
        onFailure.Dismiss();
        fnRemoveAll();
        m_Styles.Append(loaded);
    }
    m_bSerialisedIn = 1;
}

void CVectorStylePB::PostSerializeLoad(CJoxPage* page) {
    CParamBlk::PostSerializeLoad(page);
    if (!m_pPalette && page)
        m_pPalette = page->GetColourPalette(false, eColourPaletteDefault);
}

// Colour texts ------------------------------------------------------------------------------------

int FnExtractRGBValues(CString& text, int n, COLORREF& c) {
    const wchar_t letters[3] = {L'R', L'G', L'B'};
    int values[3];
    for (int k = 0; k < 3; ++k) {
        int from = 0, at = -1;
        for (int seen = 0; seen <= n; ++seen) {
            at = text.Find(letters[k], from);
            if (at < 0)
                return 0;
            from = at + 1;
        }
        // A channel outside 0..255 would spill into the next one.
        if (n < 0 || std::swscanf(text.GetString() + at + 1, L"%d", &values[k]) != 1 ||
            values[k] < 0 || values[k] > 255)
            return 0;
    }
    c = COLORREF(values[0]) | COLORREF(values[1]) << 8 | COLORREF(values[2]) << 16;
    return 1;
}
