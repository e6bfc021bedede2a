// CImpPaletteUndo: the page's line-style table and colour palette as they were before an
// import merged its colours in.
#pragma once
#include "design/base_undo.h"
#include "platform/core/types.h"

class CJoxPage;
class CVectorStylePB;

class CImpPaletteUndo : public CBaseUndo {
    DECLARE_DYNAMIC(CImpPaletteUndo)
public:
    // Sent to every view of the page once its styles changed.
    static constexpr UINT ID_STYLES_CHANGED = 43056;

    CImpPaletteUndo() = default;
    ~CImpPaletteUndo() override;
    // Takes the table and the palette bound to it.
    void SetVectorStylePB(CVectorStylePB* saved);
    const CVectorStylePB* GetVectorStylePB() const { return m_pSaved; }
    // A copy of the page's style table bound to a copy of its palette; null when the page
    // has no table.
    static CVectorStylePB* CopyPageStyles(CJoxPage* page);

    void DoUndo(CDesignPage* page) override;
    CBaseUndo* CreateRedo(CDesignPage* page) override;

private:
    CVectorStylePB* m_pSaved = nullptr;
};
