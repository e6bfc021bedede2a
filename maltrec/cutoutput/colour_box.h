// CColourBox: the owner-drawn list of a design's line colours, one row per style of the page's
// style table whose colour is in the palette ("Col %d  " with a swatch), the selection's colour
// marked. Hosted by a toolbar button (or a property of a property grid, which no caller uses).
#pragma once

#include "platform/framework/combo_box.h"
#include "platform/windowing/owner_draw.h"

class CDesignPage;
class CDesignView;
class CJoxView;
class CMFCPropertyGridProperty;
class CMFCToolBarColourBox;

class CColourBox : public CComboBox {
    DECLARE_DYNAMIC(CColourBox)
public:
    // Posted to the combo's own window on Enter.
    static constexpr UINT ID_COLOUR_LIST = 34006;
    // Posted to the view when a colour is picked: the view applies it.
    static constexpr UINT ID_APPLY_COLOUR = 34086;
    static constexpr int kRowHeightLarge = 23;
    static constexpr int kRowHeight = 15;

    CColourBox() = default;

    void Init(CDesignView* view, CMFCToolBarColourBox* button, CMFCPropertyGridProperty* property);
    void SetView(CDesignView* view, int refill);
    CDesignView* GetView() const { return m_pView; }
    void ResetListFromVectorStylePB(CMFCPropertyGridProperty* property);
    void CheckReset();
    // The selection's style index, or -1 (no vector article selected, or several colours).
    int SetSelectedStatus();
    int GetSelectedColour();
    int VectorsSelected();
    static COLORREF GetColourRef(CDesignView* view, int style);
    // "Col %d  " with style + 1; empty for a negative style.
    static CString GetPaletteValue(int style);

    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnSelchange();

private:
    CDesignPage* Page() const;
    int RowCount() const;

    CDesignView* m_pView = nullptr;
    CMFCToolBarColourBox* m_pButton = nullptr;
    CMFCPropertyGridProperty* m_pProperty = nullptr;
};
