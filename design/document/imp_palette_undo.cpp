#include "design/imp_palette_undo.h"

#include "design/design_page.h"
#include "pivora/colour_palette.h"
#include "vector/vector_style_pb.h"

IMPLEMENT_DYNAMIC(CImpPaletteUndo, CBaseUndo)

namespace {

void FreeTable(CVectorStylePB* table) {
    if (!table)
        return;
    delete table->fnGetVectStyleColourPalette();
    table->SetColourPalette(nullptr);
    delete table;
}

} // namespace

CImpPaletteUndo::~CImpPaletteUndo() {
    FreeTable(m_pSaved);
}

void CImpPaletteUndo::SetVectorStylePB(CVectorStylePB* saved) {
    if (saved != m_pSaved)
        FreeTable(m_pSaved);
    m_pSaved = saved;
}

CVectorStylePB* CImpPaletteUndo::CopyPageStyles(CJoxPage* page) {
    auto* table = page ? DynamicDowncast<CVectorStylePB>(page->FindParam(CParamBlk::kVectorStyleId))
                       : nullptr;
    if (!table)
        return nullptr;
    CVectorStylePB* copy = table->fnCopy();
    if (CColourPalette* palette = table->fnGetVectStyleColourPalette())
        copy->SetColourPalette(palette->Copy());
    return copy;
}

void CImpPaletteUndo::DoUndo(CDesignPage* page) {
    if (!m_pSaved)
        return;
    auto* table = DynamicDowncast<CVectorStylePB>(page->FindParam(CParamBlk::kVectorStyleId));
    if (!table) {
        page->fnInitParamBlocks();
        table = DynamicDowncast<CVectorStylePB>(page->FindParam(CParamBlk::kVectorStyleId));
        if (!table)
            return;
    }
    table->fnResize(m_pSaved->fnGetSize());
    // The palette as it was, after the resize, which may add colours of its own.
    if (const CColourPalette* saved = m_pSaved->fnGetVectStyleColourPalette())
        if (CColourPalette* palette = table->fnGetVectStyleColourPalette())
            palette->CopyColours(*saved);
    // Style 0 is the page's own and stays as it is.
    for (int i = 1; i < m_pSaved->fnGetSize() && i < table->fnGetSize(); ++i) {
        table->fnMap2VectorStyle(i)->fnSetColPalIdx(
            m_pSaved->fnMap2VectorStyle(i)->fnGetColPalIdx());
        const COLORREF c = m_pSaved->fnGetVectStyleColour(i);
        if (c != CVectorStylePB::kNoColour)
            table->fnSetVectStyleColour(i, c);
    }
    for (POSITION pos = page->GetFirstViewPosition(); pos;)
        if (CView* v = page->GetNextView(pos); v && ::IsWindow(v->m_hWnd))
            v->SendMessage(WM_COMMAND, ID_STYLES_CHANGED, 0);
    page->UpdateAllViews(nullptr, CDesignPage::kHintAll);
}

CBaseUndo* CImpPaletteUndo::CreateRedo(CDesignPage* page) {
    auto* redo = new CImpPaletteUndo;
    redo->SetOperation(GetOperation());
    redo->SetVectorStylePB(CopyPageStyles(page));
    return redo;
}
