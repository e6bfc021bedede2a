// CDesignView: the view of a design page. Every pointer, key, timer, scroll, cursor, idle and
// command message goes first to the page's current tool (the sub tool when there is one, else
// the design tool); the view itself only drags guides out of the rulers, paints in a fixed
// order, zooms and keeps the zoom history, and looks after the context toolbars and the
// dialogs that live with it. Data units are micrometres, y up.
#pragma once

#include "pivora/framework/jox_view.h"
#include "pivora/selection_observer.h"
#include "platform/core/collections.h"

#include <vector>

class CArticle;
class CDesignPage;
class CDesignTool;
class CMenu;
class CRescaleData;
class CSubTool;
class CTavrinDialog;

class CDesignView : public CJoxView, public CSelectionObserver {
    DECLARE_DYNCREATE(CDesignView)

public:
    static constexpr int kContext = 43;
    // Private window messages.
    static constexpr UINT WM_CONTEXT_ACTIVATED = 32769;
    static constexpr UINT WM_CONTEXT_DEACTIVATED = 32770;
    static constexpr UINT WM_RESET_CONTEXT_TOOLBARS = 32772;
    static constexpr UINT WM_REALISE_PALETTE = 32775;
    static constexpr UINT WM_ORIGIN_TO_POINT = 43308;
    // Bits of 32770's wParam.
    static constexpr WPARAM kDeactivateNoContext = 1;
    static constexpr WPARAM kDeactivateNullTool = 2;
    // A second 32772 within this many milliseconds of the last accepted one is ignored.
    static constexpr DWORD kResetGuardMs = 1000;
    // Timers.
    static constexpr UINT_PTR kGuideAutoPanTimer = 1002;
    // Selection notices.
    static constexpr UINT kSelDrawSelection = 128;
    static constexpr UINT kSelTakeFocus = 256;
    static constexpr UINT kSelRefreshProperties = 512;
    static constexpr UINT kSelChanged = 8;
    // Update hints.
    static constexpr LPARAM kHintAll = 0;
    static constexpr LPARAM kHintRect = 1;
    static constexpr LPARAM kHintArticle = 2;
    static constexpr LPARAM kHintSelection = 3;
    static constexpr LPARAM kHintNone = 4;
    static constexpr LPARAM kHintPalette = 5;
    static constexpr LPARAM kHintRulers = 6;
    static constexpr LPARAM kHintPageFrame = 7;
    // Commands of the view.
    static constexpr UINT ID_ZOOM_IN = 43001;
    static constexpr UINT ID_ZOOM_OUT = 43002;
    static constexpr UINT ID_ZOOM_SELECTED = 43003;
    static constexpr UINT ID_ZOOM_FIT = 43004;
    static constexpr UINT ID_RULER = 43006;
    static constexpr UINT ID_SELECT_TOOL = 43046;
    static constexpr UINT ID_ROTATE_TOOL = 43052;
    static constexpr UINT ID_ROTATE_90 = 43053;
    static constexpr UINT ID_REDRAW = 43055;
    static constexpr UINT ID_SET_INSERT_POINT = 43059;
    static constexpr UINT ID_ZOOM_RESIZE = 43061;
    static constexpr UINT ID_AUTO_RESIZE = 43063;
    static constexpr UINT ID_SUB_TOOL_EXIT = 43080;
    static constexpr UINT ID_SELECTION_CHANGED = 43081;
    static constexpr UINT ID_TOOL_CHANGE = 43083;
    static constexpr UINT ID_HIDE_SELECTION = 43172;
    static constexpr UINT ID_SHOW_ALL = 43173;
    static constexpr UINT ID_SHOW_LENGTH = 43186;
    static constexpr UINT ID_ZOOM_100 = 43210;
    static constexpr UINT ID_SCREEN_WIDTH = 43212;
    static constexpr UINT ID_PAN = 43214;
    static constexpr UINT ID_RESCALE_DESIGN = 43221;
    static constexpr UINT ID_PLACEMENT_GROUP = 43222;
    static constexpr UINT ID_LARGE_CROSS_HAIR = 43229;
    static constexpr UINT ID_AUTO_PAN = 43233;
    static constexpr UINT ID_BACKGROUND_ON = 43237;
    static constexpr UINT ID_BACKGROUND_COLOUR = 43238;
    static constexpr UINT ID_STOP_RESCALE = 43313;
    static constexpr UINT ID_UNITS_CHANGED = 43332;
    static constexpr UINT ID_EDIT_OBJECT_GROUPS = 43335;
    static constexpr UINT ID_GLUE = 43349;
    static constexpr UINT ID_UNGLUE = 43350;
    static constexpr UINT ID_GROUP = 43351;
    static constexpr UINT ID_UNGROUP = 43352;
    static constexpr UINT ID_ZOOM_400 = 43367;
    static constexpr UINT ID_ZOOM_200 = 43368;
    static constexpr UINT ID_ZOOM_50 = 43369;
    static constexpr UINT ID_ZOOM_25 = 43370;
    static constexpr UINT ID_ORIGIN_TO_CENTRE = 43379;
    static constexpr UINT ID_EDIT_UNDO = 57643;
    static constexpr UINT ID_EDIT_REDO = 57644;
    static constexpr UINT ID_PANE_EXTENTS = 17656;
    static constexpr UINT ID_PANE_COUNT = 17657;
    static constexpr UINT ID_PANE_INSERT = 59140;
    static constexpr UINT IDS_EXTENTS_FORMAT = 43267;
    // Resources and windows.
    static constexpr UINT IDR_ZOOM_MENU = 28220;
    static constexpr UINT IDR_RIGHT_CLICK_MENU = 28221;
    static constexpr UINT IDS_IDLE_PROMPT = 57345;
    static constexpr UINT IDS_UNDO = 57643;
    static constexpr UINT IDS_REDO = 57644;
    static constexpr UINT kStatusBarId = 59393;
    static constexpr int kCapClipboard = 2;
    // Article properties read by the selection flags.
    static constexpr DWORD kGluedProperty = 1024;
    static constexpr DWORD kHiddenProperty = 64;
    // Margins of local invalidation, in pixels.
    static constexpr int kInvalRectMargin = 7;
    static constexpr int kInvalArticleMargin = 12;

    CDesignView();
    ~CDesignView() override;

    CDesignPage* GetDocument() const;
    int IsActive() const { return m_bActive; }
    void DownTool(CDesignTool* tool) { m_pDownTool = tool; }
    CDesignTool* DownTool() const { return m_pDownTool; }
    int& Abilities() { return m_nAbilities; }
    const CPoint& ExactDocPoint() const { return m_ptExactDoc; }
    int RightClickMenu() const { return m_nRightClickMenu; }
    int GluedInSelection() const { return m_bGluedInSelection; }
    DWORD ContextToolbarMask() const { return m_dwContextMask; }

    // Tools: the page's sub tool when there is one, else its design tool.
    CDesignTool* GetDesignTool() const;
    CDesignTool* SelectDesignTool(CDesignTool* tool, int now);
    CSubTool* SelectSubTool(CSubTool* tool, int now);
    void SelectNullTool(int now);

    BOOL ReleaseCapture(int keepFlag);
    void NotifyProcessStart();
    void NotifyProcessEnd();
    static int IsCDesignView(const CObject* o);
    static void MarkMenuItemHidden(CMenu* menu, UINT item, int byPosition);
    // Drops every pending WM_KEYDOWN of the window; whether a WM_MOUSEMOVE is pending.
    BOOL RemoveKeyDownMessages();
    void OrthogonalPoint(CPoint& point, const CPoint& reference);
    int ContextMenuID();
    void ShowContextMenu(int menuId, CPoint clientPoint);
    void InvalRect(CWindow* w);

    // Overridables added by the design view.
    virtual void InvalArticle(CArticle* a);
    virtual void DoRefresh(unsigned) {}
    virtual void fnGetReadyPrompt(CString& prompt);
    virtual void SelectDefaultTool(int now);
    virtual void SendSelectionChangedMsg(bool post);
    virtual void OnToolBarCmdMsg(UINT id);
    virtual int Context() { return kContext; }
    virtual BOOL GetViewTitleName(CString& name);
    virtual CObject* GetMFCColourBox() { return nullptr; }
    virtual int RefreshSelectionProperties();
    virtual void SetUpToolbars(bool) {}
    virtual BOOL SetUpToolbar(UINT slot, UINT resource, UINT dockBar, int after);

    // Zoom. Rectangles are data-unit windows.
    void Zoom(const CWindow& r);
    void Zoom(const CRect& client);
    void ZoomOut();
    void ZoomSelected();
    void ZoomResize(int recalc, unsigned flags);
    void ZoomAllData(int withPage);
    void ZoomFirst();
    static void ApplyMarginAroundZoom(CWindow& r);
    void CheckZoomViews(CJoxDC* dc);
    void fnZoomToScale(double factor);
    // Screen width in hundredths of a millimetre and in pixels; zeros are filled in from the
    // monitor.
    static void ScreenWidths(int32_t& hundredthsMm, int32_t& pixels);

    // Applies a checked rescale (CalculateNewExtents passed): the selected entries, or the
    // whole design with its page size, as one transaction; notify redraws and marks the page.
    void DesignRescale(CRescaleData& data, bool notify);
    // Command 43221: the Rescale dialog, applied on OK.
    void OnRescaleDesign();
    // Command 43212: the Screen Properties dialog, with the monitor's values in grey.
    void OnScreenWidth();
    INT_PTR ZoomHistoryCount() const { return INT_PTR(m_ZoomHistory.size()); }

    // Modeless dialogs that live with the view.
    void fnAddModelessDlg(CTavrinDialog* dlg);
    CTavrinDialog* fnFindModelessDlg(UINT dialogId);
    int fnRemoveModelessDialog(CTavrinDialog* dlg, int destroy);
    void fnShowAllModelessDialogs(int show);
    void fnDeleteAllModelessDialogs();

    // Command-UI handlers for derived views.
    static void OnUpdateProhibitedItem(CCmdUI* ui);
    static void OnUpdateDisabledItem(CCmdUI* ui);
    static void OnUpdateUncheckedItem(CCmdUI* ui);

    // Guides dragged from the rulers: 1 when the message was taken.
    int OnLButtonDownGrid(UINT flags, CPoint point);
    int OnMouseMoveGuide(UINT flags, CPoint point);
    int OnLButtonUpGuide(UINT flags, CPoint point);
    int OnRButtonDownGuide(UINT flags, CPoint point);
    int OnRButtonUpGuide(UINT flags, CPoint point);
    int OnTimerGuide(UINT_PTR id);
    int GuideDragging() const { return m_bGuideDrag; }
    int GuideKind() const { return m_nGuideKind; }
    int GuideIndex() const { return m_nGuideIndex; }
    int GuideAutoPanOn() const { return m_bAutoPanTimer; }
    LRESULT OnOriginToPoint(WPARAM x, LPARAM y);

    // The framework's parts.
    void OnInitialUpdate() override;
    void OnActivateView(BOOL activate, CView* activated, CView* deactivated) override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void OnDraw(CDC*) override {}
    using CJoxView::OnDraw;
    void OnPaint() override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void UpdateSelection(UINT code, void* data) override;

protected:
    // The copy of the whole drawing to the clipboard as a metafile picture.
    void OnSaveMetafile();
    void fnOnStartComposition();

    // Context toolbars and the palette.
    LRESULT OnContextActivated();
    LRESULT OnContextDeactivated(WPARAM flags);
    LRESULT OnResetContextToolbars();
    LRESULT OnRealisePalette(WPARAM wp);

    // The view's own commands; TRUE when the id is one of them.
    BOOL OnViewCommand(UINT id, int code, void* extra, void* handlerInfo);

    std::vector<CWindow> m_ZoomHistory;
    int m_bActive = 0;
    int m_bFirstPaint = 1;
    bool m_bReCapture = false;
    CDesignTool* m_pDownTool = nullptr;
    int m_bGuideDrag = 0;
    int m_nGuideKind = 0;
    int m_nGuideIndex = -1;
    CPoint m_ptGuide{0, 0};
    int m_bAutoPanTimer = 0;
    CPoint m_ptLastPointer{0, 0};
    UINT m_nLastPointerFlags = 0;
    int m_nAbilities = 0;
    int m_nRightClickMenu = 0;
    int m_bGluedInSelection = 0;
    int m_bGroupedInSelection = 0;
    std::vector<CTavrinDialog*> m_ModelessDialogs;
    CPoint m_ptExactDoc{0, 0};
    CString m_strUndoPrompt;
    CString m_strRedoPrompt;
    DWORD m_dwContextMask = 0;
    // Nesting of the messages being handled.
    int m_nRouteDepth = 0;

private:
    // Routing of one window message to the tool; TRUE when handled.
    BOOL RouteMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void ZoomToFit(const CWindow& w, int flag);
    void EchoGuide();
    // Ends a drag without a change; next is 0, or kGuideCancelled to wait for the right button.
    void CancelGuideDrag(int next);
    static constexpr int kGuideDragging = 1;
    static constexpr int kGuideCancelled = 2;
    void ScrollLine(UINT msg, UINT code);
    int PageExtentsLimit(const CWindow& r) const;
};
