#include "design/document/guide_undo.h"

#include "design/design_page.h"
#include "pivora/grid.h"

IMPLEMENT_DYNAMIC(CGuideUndo, CBaseUndo)

namespace {

void InvalidateGuides(CDesignPage* page, CGrid* grid, int kind) {
    const int n = grid->GridLineCount(kind);
    page->ForEachJoxView([&](CJoxView* v) {
        for (int i = 0; i < n; ++i)
            grid->InvalidateGridLine(v, kind, i);
    });
}

void InvalidateGuide(CDesignPage* page, CGrid* grid, int kind, int index) {
    page->ForEachJoxView([&](CJoxView* v) { grid->InvalidateGridLine(v, kind, index); });
}

} // namespace

void CGuideUndo::DoUndo(CDesignPage* page) {
    CGrid* grid = page->Grid();
    if (!grid)
        return;
    switch (GetOperation()) {
    case kTransform: {
        int pos = 0;
        if (!grid->GetGridLinePos(pos, m_nDirection, m_nIndex))
            return;
        InvalidateGuide(page, grid, m_nDirection, m_nIndex);
        grid->SetGridLinePos(m_nPos, m_nDirection, m_nIndex);
        InvalidateGuide(page, grid, m_nDirection, m_nIndex);
        break;
    }
    case kDeleted:
        grid->AddGridLinePos(m_nPos, m_nDirection);
        InvalidateGuides(page, grid, m_nDirection);
        break;
    case kReordered:
        if (grid->GridLineCount(m_nDirection) <= 0)
            return;
        InvalidateGuides(page, grid, m_nDirection);
        grid->DeleteGridLine(m_nDirection, -1);
        break;
    default:
        return;
    }
    page->ForEachJoxView([](CJoxView* v) { v->UpdateWindow(); });
}

CBaseUndo* CGuideUndo::CreateRedo(CDesignPage* page) {
    int op = GetOperation();
    int pos = m_nPos;
    if (op == kTransform) {
        if (CGrid* grid = page->Grid())
            grid->GetGridLinePos(pos, m_nDirection, m_nIndex);
    } else if (op == kDeleted) {
        op = kReordered;
    } else if (op == kReordered) {
        op = kDeleted;
    }
    auto* redo = new CGuideUndo(op, m_nDirection);
    redo->SetGuideIndex(m_nIndex);
    redo->SetGuidePos(pos);
    return redo;
}
