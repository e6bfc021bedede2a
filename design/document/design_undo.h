// CDesignUndo: the page extents resized (21001) or the design origin moved (21002).
#pragma once
#include "design/base_undo.h"
#include "pivora/geometry/geometry_types.h"

class CJoxPage;

class CDesignUndo : public CBaseUndo {
    DECLARE_DYNAMIC(CDesignUndo)
public:
    explicit CDesignUndo(CJoxPage* page, int operation = kDesignSize)
        : CBaseUndo(operation), m_pPage(page) {}
    void SetExtents(const CWindow& w) { m_Extents = w; }
    const CWindow& GetExtents() const { return m_Extents; }
    void DoUndo(CDesignPage* page) override;
    CBaseUndo* CreateRedo(CDesignPage* page) override;

private:
    CJoxPage* m_pPage = nullptr;
    CWindow m_Extents;
};
