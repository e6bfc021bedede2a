// CCustomToolBar: the program's toolbar: bound to one design view (whose commands its buttons
// act on) and to a context mask (the document contexts it belongs to; 0xFFFFFFFF for all).
// The toolbar registry keeps every instance in its slots.
#pragma once

#include "pivora/framework/jox_toolbar.h"

class CJoxView;

class CCustomToolBar : public CJoxToolbar {
    DECLARE_SERIAL(CCustomToolBar)

public:
    static constexpr DWORD kAllContexts = 0xFFFFFFFF;
    static constexpr int kMinRowHeight = 22;
    // To the bound view: rebuild the toolbar's special buttons.
    static constexpr UINT WM_RESET_CONTEXT_TOOLBARS = 32772;
    // To the main window, with the screen point: open the toolbar on/off menu.
    static constexpr UINT WM_TOOLBAR_MENU = 40013;

    CCustomToolBar() = default;
    ~CCustomToolBar() override = default;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT id = AFX_IDW_TOOLBAR) override;
    // Creates the window, then loads the buttons of the toolbar resource.
    virtual BOOL Create(CWnd* parent, DWORD style, UINT id, UINT resourceId);
    virtual void SetView(CJoxView* view);
    // Unbinds only when view is the bound one.
    void UnsetView(CJoxView* view);
    CJoxView* GetView() const;

    BOOL IsCreated() const { return m_bCreated && ::IsWindow(m_hWnd); }
    DWORD GetContextMask() const { return m_dwContextMask; }
    void AddContextMask(DWORD mask) { m_dwContextMask |= mask; }
    const CRect& GetDefaultFloatRect() const { return m_rectDefaultFloat; }
    void SetDefaultFloatRect(const CRect& rect) { m_rectDefaultFloat = rect; }

    // Where a floated toolbar goes: two button sizes inside the active view of the main
    // window's active frame (its window when it has no view), in screen coordinates.
    CRect DefaultFloatRect() const;

    BOOL AllowShowOnList() const override;
    int GetRowHeight() const override;
    BOOL RestoreOriginalstate() override;
    BOOL OnBeforeFloat(CRect& rect, int method) override;
    void AdjustLocations() override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

    // The application parameter "Tool Bar Button Style", read once for the program's life.
    static int fnGetButtonStyle();
    // The view the toolbar list menus work for.
    static void SetCustomisedView(CJoxView* view) { s_pCustView = view; }
    static CJoxView* s_pCustView;

protected:
    BOOL m_bCreated = FALSE;
    DWORD m_dwContextMask = 0;
    CJoxView* m_pView = nullptr;
    // The view's window: the view is only reached while this window exists.
    HWND m_hViewWnd = nullptr;
    CRect m_rectDefaultFloat;
};
