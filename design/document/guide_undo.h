// CGuideUndo: a guide line of the page grid moved (11001), deleted (11002) or added (11003).
#pragma once
#include "design/base_undo.h"

class CGuideUndo : public CBaseUndo {
    DECLARE_DYNAMIC(CGuideUndo)
public:
    CGuideUndo(int operation, int direction) : CBaseUndo(operation), m_nDirection(direction) {}
    void SetGuideIndex(int index) { m_nIndex = index; }
    void SetGuidePos(int pos) { m_nPos = pos; }
    void DoUndo(CDesignPage* page) override;
    CBaseUndo* CreateRedo(CDesignPage* page) override;

private:
    int m_nDirection = -1;
    int m_nIndex = -1;
    int m_nPos = 0;
};
