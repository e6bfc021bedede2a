// CTooltipManager: how the application's tooltips look, per kind of tooltip (one bit each:
// plain windows, toolbar buttons, tabs ...). The display draws every tooltip it shows with the
// look of its kind. Colours are 0x00BBGGRR; kUseSystemColour leaves the display's own.
#pragma once

#include "platform/core/object.h"
#include "platform/core/types.h"

#include <array>

constexpr UINT AFX_TOOLTIP_TYPE_DEFAULT = 0x0001;
constexpr UINT AFX_TOOLTIP_TYPE_TOOLBAR = 0x0002;
constexpr UINT AFX_TOOLTIP_TYPE_TAB = 0x0004;
constexpr UINT AFX_TOOLTIP_TYPE_ALL = 0xFFFF;

struct CToolTipLook {
    static constexpr COLORREF kUseSystemColour = 0xFFFFFFFFu;

    BOOL m_bBoldLabel = TRUE;
    BOOL m_bDrawDescription = TRUE;
    BOOL m_bDrawIcon = TRUE;
    BOOL m_bRoundedCorners = FALSE;
    BOOL m_bDrawSeparator = FALSE;
    BOOL m_bVisualManagerTheme = FALSE;
    COLORREF m_clrFill = kUseSystemColour;
    // The fill runs from m_clrFill at the top to this colour at the bottom.
    COLORREF m_clrFillGradient = kUseSystemColour;
    COLORREF m_clrText = kUseSystemColour;
    COLORREF m_clrBorder = kUseSystemColour;

    bool operator==(const CToolTipLook&) const = default;
};

class CTooltipManager : public CObject {
    DECLARE_DYNAMIC(CTooltipManager)

public:
    static constexpr int kKinds = 16;

    // Gives every kind in the mask the look (null: the default look again).
    void SetTooltipParams(UINT types, const CToolTipLook* look);
    // The look of one kind (the lowest bit of type counts); the default look for none.
    const CToolTipLook& GetTooltipParams(UINT type) const;
    // The same, but null for a kind that was never given a look (the display keeps its own).
    const CToolTipLook* FindTooltipParams(UINT type) const;
    // Counts the changes, so that the display re-applies a look only after one.
    unsigned Revision() const { return m_nRevision; }

private:
    std::array<CToolTipLook, kKinds> m_looks{};
    UINT m_nSet = 0; // kinds given a look
    unsigned m_nRevision = 0;
};

// The application's manager; null until the application made one (CWinAppEx).
CTooltipManager* AfxGetTooltipManager();
