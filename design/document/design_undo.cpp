#include "design/document/design_undo.h"

#include "design/design_page.h"
#include "pivora/grid.h"

IMPLEMENT_DYNAMIC(CDesignUndo, CBaseUndo)

void CDesignUndo::DoUndo(CDesignPage* page) {
    if (GetOperation() == kDesignOrigin) {
        const CWindow now = page->Extents();
        const LONG dx = (now.x1 + now.x2) / 2 - (m_Extents.x1 + m_Extents.x2) / 2;
        const LONG dy = (now.y1 + now.y2) / 2 - (m_Extents.y1 + m_Extents.y2) / 2;
        page->Extents(m_Extents);
        if (CGrid* grid = page->Grid())
            grid->SetOrigin(CLpoint(dx, dy));
    } else if (GetOperation() == kDesignSize) {
        page->Extents(m_Extents);
    }
    page->UpdateAllViews(nullptr, CDesignPage::kHintAll);
}

CBaseUndo* CDesignUndo::CreateRedo(CDesignPage* page) {
    auto* redo = new CDesignUndo(page, GetOperation());
    redo->SetExtents(page->Extents());
    return redo;
}
