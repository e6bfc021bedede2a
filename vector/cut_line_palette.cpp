#include "vector/cut_line_palette.h"

#include "pivora/document/record_fields.h"
#include "pivora/jox_page.h"
#include "pivora/scope_guard.h"
#include "vector/draw_line_palette.h"
#include "vector/owned_array.h"

#include "platform/core/array_archive.h"

#include <algorithm>

IMPLEMENT_SERIAL(CCutLinePalette, CParamBlk, 0)

CCutLinePalette::CCutLinePalette(int n) : CParamBlk(kCutLinePaletteId) {
    fnInitCutLinePalette(n);
}

CCutLinePalette::CCutLinePalette(CJoxPage* page, int n) : CParamBlk(kCutLinePaletteId) {
    CDrawLinePalette* old = nullptr;
    for (int i = 0; page && i < page->ParamCount() && !old; ++i)
        if (CParamBlk* b = page->GetParam(i); b && b->Id() == kDrawLinePaletteId)
            old = DynamicDowncast<CDrawLinePalette>(b);
    if (!old) {
        fnInitCutLinePalette(n);
        return;
    }
    const int k = old->GetSize();
    fnInitCutLinePalette(k);
    for (int i = 0; i < k; ++i)
        m_Lines.GetAt(i)->fnSetColour(old->Map2DrawLine(i)->GetColour());
    page->RemoveParam(old);
}

CCutLinePalette::~CCutLinePalette() {
    fnInitCutLinePalette(-1);
}

void CCutLinePalette::fnInitCutLinePalette(int n) {
    for (INT_PTR i = 0; i < m_Lines.GetSize(); ++i)
        delete m_Lines.GetAt(i);
    m_Lines.RemoveAll();
    for (int i = 0; i < n; ++i)
        m_Lines.Add(new CCutLine(i));
}

int CCutLinePalette::fnGrowBy(int n) {
    const int old = fnGetSize();
    const int end = std::max(0, old + n);
    for (int i = old; i < end; ++i)
        m_Lines.Add(new CCutLine(i));
    for (int i = old - 1; i >= end; --i)
        delete m_Lines.GetAt(i);
    if (end < old)
        m_Lines.SetSize(end);
    return old;
}

void CCutLinePalette::fnSetCutLine(int i, CCutLine* line) {
    if (i < 0)
        AfxThrowInvalidArgException();
    if (i < fnGetSize()) {
        if (m_Lines.GetAt(i) != line)
            delete m_Lines.GetAt(i);
        m_Lines.SetAt(i, line);
        return;
    }
    while (fnGetSize() < i)
        m_Lines.Add(new CCutLine);
    m_Lines.Add(line);
}

CCutLine* CCutLinePalette::fnMap2CutLine(int i) {
    if (i < 0)
        AfxThrowInvalidArgException();
    const int count = fnGetSize();
    if (i >= count)
        i -= count - 1;
    if (i >= count)
        i = 1;
    return m_Lines.GetAt(i);
}

CString CCutLinePalette::fnGetCutLineName(int i) const {
    if (i < 0 || i >= fnGetSize())
        return CString();
    return m_Lines.GetAt(i)->fnGetName();
}

void CCutLinePalette::fnSetCutLineName(const CString& name, int i) {
    if (i >= 0 && i < fnGetSize())
        m_Lines.GetAt(i)->fnSetName(name);
}

void CCutLinePalette::fnGetEffects(CStringArray& out, int withMaterial) const {
    for (INT_PTR i = 0; i < m_Lines.GetSize(); ++i) {
        CString effect, material;
        m_Lines.GetAt(i)->fnGetEffectAndMaterial(effect, material);
        if (withMaterial)
            effect += L"\t" + material;
        out.Add(effect);
    }
}

CCutLinePalette* CCutLinePalette::fnCopy() const {
    auto* copy = new CCutLinePalette(0);
    for (INT_PTR i = 0; i < m_Lines.GetSize(); ++i)
        copy->m_Lines.Add(new CCutLine(*m_Lines.GetAt(i)));
    return copy;
}

void CCutLinePalette::Serialize(CArchive& ar) {
    CParamBlk::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        const DWORD pos = rec.StartStore(WORD(kRecLines));
        StoreObArray(ar, m_Lines);
        rec.EndStore(pos);
        rec.StoreEndRec();
        return;
    }
    fnInitCutLinePalette(-1);
    WORD id;
    DWORD len;
    while (rec.LoadFieldID(id, len)) {
        if (id != kRecLines) {
            rec.SkipField(len);
            continue;
        }
        CCutLineArray loaded;
        CScopeGuard onFailure([&] {
            for (INT_PTR i = 0; i < loaded.GetSize(); ++i)
                delete loaded.GetAt(i);
        });
        record_fields::LoadSized(rec, len,
                                 [&] { LoadOwnedArray(ar, loaded, [] { return new CCutLine; }); });
        onFailure.Dismiss();
        fnInitCutLinePalette(-1);
        m_Lines.Append(loaded);
    }
}
