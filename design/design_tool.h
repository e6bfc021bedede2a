// CDesignTool: what handles the pointer, keys, timers, scrolling, painting, cursor and commands
// of a design view. The page holds one current design tool (and at most one sub tool over it);
// the view calls the current tool's operations with itself as the first argument. The base
// records presses and pointer positions, pans while it holds the capture, collects typed
// numbers, zooms about the pointer on "z"/"Z" and answers a few commands of its own.
#pragma once

#include "pivora/geometry/geometry_types.h"
#include "platform/core/crect.h"
#include "platform/framework/cmd_target.h"
#include "platform/windowing/accelerator.h"
#include "platform/windowing/icon.h"

class CArticle;
class CBaseUndo;
class CCustomCursor;
class CDesignPage;
class CDesignView;
class CJoxDC;
class CScrollBar;
class CStatusBar;
class CSubTool;
class CView;
class CWnd;

// One row of a tool's accelerator overrides: a key with its accelerator flags and the command
// it gives while the tool is current (0 takes the key away).
struct TKeyOverride {
    BYTE fVirt;
    WORD key;
    WORD cmd;
    BYTE matched; // set by OverrideKeyAccelerators; callers give 0
};

class CDesignTool : public CCmdTarget {
    DECLARE_DYNAMIC(CDesignTool)

public:
    // Timers the tools run on their view.
    static constexpr UINT kTimerDragStart = 1000;
    static constexpr UINT kTimerAutoPan = 1001;
    static constexpr UINT kTimerTypedNumber = 1007;
    // Flag bit the view adds to mouse flags when it constrained the point: the exact data
    // point is then the view's, not the conversion of the pixel.
    static constexpr UINT kExactPointFlag = 0x100;
    // Auto-repeat bit of the key flags.
    static constexpr UINT kKeyRepeatFlag = 0x4000;
    // Commands.
    static constexpr UINT ID_STATUS_INFO = 17655;
    static constexpr UINT ID_UNITS_CHANGED = 43332;
    static constexpr UINT ID_TOGGLE_CUSTOM_CURSOR = 43229;
    static constexpr UINT ID_SUB_TOOL_EXIT = 43080;
    static constexpr UINT ID_SELECTION_CHANGED = 43081;
    static constexpr UINT ID_SELECT_TOOL_NOW = 43083;
    // "Move: %+.2fmm %+.2fmm".
    static constexpr UINT IDS_MOVE_PROMPT = 43273;
    // Defaults of the application parameters the base reads.
    static constexpr int kDefaultNumericKeypressTime = 700;
    // Longest wait for a typed number; longer settings are taken as this.
    static constexpr int kMaxNumericKeypressTime = 60000;

    explicit CDesignTool(int autoPanEnabled = 0);
    ~CDesignTool() override;
    CDesignTool(const CDesignTool&) = delete;
    CDesignTool& operator=(const CDesignTool&) = delete;

    // The tool's operations, in their slot order.
    virtual void SetDocument(CDesignPage* page);
    virtual void OnActivate(CDesignView* view, BOOL active, CView* activated, CView* deactivated);
    virtual void OnInit(CDesignView* view, int reason);
    virtual void OnExit(CDesignView* view, int reason);
    virtual BOOL OnPaint(CDesignView* view);
    virtual void OnDraw(CDesignView* view, CJoxDC* dc);
    virtual void OnDraw(CDesignView* view, CJoxDC* dc, CArticle* article, int flag);
    virtual void OnLButtonDown(CDesignView* view, UINT flags, const CPoint& point);
    virtual void OnLButtonUp(CDesignView* view, UINT flags, const CPoint& point);
    virtual void OnLButtonDblClk(CDesignView* view, UINT flags, const CPoint& point);
    virtual void OnMButtonDown(CDesignView* view, UINT flags, const CPoint& point);
    virtual void OnMButtonUp(CDesignView* view, UINT flags, const CPoint& point);
    virtual void OnMButtonDblClk(CDesignView* view, UINT flags, const CPoint& point);
    virtual void OnRButtonDown(CDesignView* view, UINT flags, const CPoint& point);
    virtual void OnRButtonUp(CDesignView* view, UINT flags, const CPoint& point);
    virtual void OnRButtonDblClk(CDesignView* view, UINT flags, const CPoint& point);
    virtual void OnMouseMove(CDesignView* view, UINT flags, const CPoint& point);
    virtual BOOL OnSetCursor(CDesignView* view, CWnd* wnd, UINT hitTest, UINT message);
    virtual void OnTimer(CDesignView* view, UINT id);
    virtual void OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags);
    virtual void OnKeyUp(CDesignView* view, UINT key, UINT repeat, UINT flags);
    virtual void OnChar(CDesignView* view, UINT ch, UINT repeat, UINT flags);
    virtual void OnTypedNumber(CDesignView* view, int number);
    virtual LRESULT OnIdleUpdateCmdUI(CDesignView* view, WPARAM wp, LPARAM lp);
    virtual int ContextMenuID(CDesignView* view);
    virtual void DisplayPrompt(CDesignView* view);
    virtual void OnScroll(CDesignView* view, bool vertical, UINT code, UINT pos, CScrollBar* bar);
    virtual void OnZoom(CDesignView* view, bool zoomIn);
    virtual void OnSubToolExit(CDesignView* view, CSubTool* subTool);
    virtual BOOL OnNotify(UINT code);
    virtual BOOL SetToolColour(CDesignView* view, int colour);
    virtual void OnUndoComplete(CBaseUndo* record);
    virtual void vfnSetCursor(CCustomCursor* cursor);
    virtual void vfnEnableCursor(CDesignView* view, BOOL enable);
    virtual BOOL fnGetCaretPos(CPoint& caret, CPoint& other);
    virtual bool AffectsCombo(UINT id) const;
    virtual void DrawSelection(CDesignView* view, bool show);

    // Commands: 17655 (update), 43332 and 43229.
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;

    CDesignPage* GetDocument() const { return m_pDocument; }
    void SetViewForLastMessage(CDesignView* view) { m_pViewForLastMessage = view; }
    CDesignView* GetViewForLastMessage() const { return m_pViewForLastMessage; }
    void fnSetDestructionMsg(UINT id) { m_nDestructionMsg = id; }
    int DynamicDrawingAllowed() const { return m_bDynamicDrawingAllowed; }
    HACCEL GetDefaultAccelerator() const { return m_hAccelTable; }
    CCustomCursor* GetCustomCursor() const { return m_pCustomCursor; }
    HICON GetCursor() const { return m_hCursor; }
    int NumericKeypressTime() const { return m_nNumericKeypressTime; }
    const CPoint& DownPoint() const { return m_ptDown; }
    const CPoint& LastPoint() const { return m_ptLast; }

    // Whether tool (this one for null) is the current sub tool, or the current design tool, of
    // the view's page.
    BOOL IsSubTool(CDesignView* view, const CDesignTool* tool = nullptr) const;
    BOOL IsDesignTool(CDesignView* view, const CDesignTool* tool = nullptr) const;

    void SetCursor(HICON cursor);
    static CStatusBar* GetStatusBar();
    // "Move: ..." with the travel since the press, into status pane 1.
    void DisplayMove();
    // Builds the tool's accelerator table from the frame's with the rows applied; nothing
    // when the tool already has one.
    void OverrideKeyAccelerators(CDesignView* view, TKeyOverride* rows, int count);
    void DestroyKeyAccelerators();

protected:
    // The data point for a mouse message: the view's exact point under kExactPointFlag.
    CLpoint DataPoint(CDesignView* view, UINT flags, const CPoint& point) const;
    // Kills the timers the tool set on its view and forgets the pan and typed-number state.
    void KillToolTimers(CDesignView* view);
    // The software cursor: drawn at a client point, drawn again where it was, large cross-hair
    // option toggled.
    void DrawCustomCursor(CDesignView* view, const CPoint& client);
    void RedrawCustomCursor(CDesignView* view, CJoxDC* dc);
    void ToggleCustomCursor(CDesignView* view);

    CPoint m_ptDown{0, 0};
    CPoint m_ptLast{0, 0};
    CLpoint m_lpDown{0, 0};
    CLpoint m_lpCurrent{0, 0};
    CDesignPage* m_pDocument = nullptr;
    CDesignView* m_pViewForLastMessage = nullptr;
    UINT m_nDestructionMsg = 0;
    HICON m_hCursor = nullptr;
    CCustomCursor* m_pCustomCursor = nullptr;
    int m_bAutoPanEnabled = 0;
    int m_bAutoPanning = 0;
    CPoint m_ptPan{0, 0};
    UINT m_nPanFlags = 0;
    BYTE m_bDynamicDrawingAllowed = 1;
    BYTE m_bCaptureOnPress = 1;
    HACCEL m_hAccelTable = nullptr;
    int m_nNumericKeypressTime = kDefaultNumericKeypressTime;
    int m_nTypedNumber = 0;
    // The view whose timers this tool set, so they can be killed when it leaves.
    CDesignView* m_pTimerView = nullptr;
};
