// CMFCToolBarButton: one button of a toolbar as an object of its own class: command, image,
// style, visibility and text. A toolbar copies buttons through their run-time class, so a
// button class of a deliverable (a drop-down button, a colour button) keeps its behaviour on
// any toolbar it is put on.
#pragma once

#include "platform/core/crect.h"
#include "platform/core/cstring.h"
#include "platform/core/object.h"

class CWnd;

// Button styles and states.
constexpr UINT TBBS_BUTTON = 0x0000;
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr UINT TBBS_CHECKBOX = 0x0002;
constexpr UINT TBBS_CHECKED = 0x0100;
constexpr UINT TBBS_PRESSED = 0x0200;
constexpr UINT TBBS_DISABLED = 0x0400;
constexpr UINT TBBS_INDETERMINATE = 0x1000;

class CMFCToolBarButton : public CObject {
    DECLARE_DYNCREATE(CMFCToolBarButton)

public:
    CMFCToolBarButton() = default;
    CMFCToolBarButton(UINT id, UINT style = TBBS_BUTTON) : m_nID(id), m_nStyle(style) {}
    CMFCToolBarButton(const CMFCToolBarButton&) = default;
    CMFCToolBarButton& operator=(const CMFCToolBarButton&) = default;
    ~CMFCToolBarButton() override;

    BOOL IsVisible() const { return m_bVisible; }
    void SetVisible(BOOL visible) { m_bVisible = visible; }
    // Left out by the layout (no room on the bar).
    BOOL IsHidden() const { return m_bHiddenByLayout; }
    bool IsSeparator() const { return m_nStyle == TBBS_SEPARATOR; }
    int GetImage() const { return m_iImage; }
    void SetImage(int image) { m_iImage = image; }
    // The toolbar (or other window) the button is on.
    CWnd* GetParentWnd() const { return m_pWndParent; }

    // Takes over what src shows and does; place and parent stay.
    virtual void CopyFrom(const CMFCToolBarButton& src);
    // A new button of this one's class, a copy of it; the caller owns it.
    CMFCToolBarButton* Clone() const;
    // Whether a saved customisation may keep the button.
    virtual BOOL CanBeStored() const { return TRUE; }
    // The button was put on parent.
    virtual void OnChangeParentWnd(CWnd* parent) { m_pWndParent = parent; }
    // The width the layout gives the button; a button hosting a window wants its own.
    virtual int GetLayoutWidth(int standard) const { return standard; }
    // The height the button's row needs for it; a hosted window may need more.
    virtual int GetLayoutHeight(int standard) const { return standard; }
    // The layout has placed the button (m_rect): a hosted window follows.
    virtual void OnMove() {}

    UINT m_nID = 0;
    UINT m_nStyle = TBBS_BUTTON;
    int m_iImage = -1;
    CString m_strText;
    BOOL m_bVisible = TRUE;
    BOOL m_bHiddenByLayout = FALSE;
    CRect m_rect; // place on the bar, set by the layout

protected:
    CWnd* m_pWndParent = nullptr;
};
