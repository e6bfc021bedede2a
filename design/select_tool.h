// CSelectTool: the design page's default tool. It selects articles by click, band, colour,
// group, keyboard cycling and stepping, shows the selection as dotted outlines with nine
// handles, moves and scales it by dragging handles or the body with an outline echo, nudges it
// by keys, and keeps the selection prompt in the status bar.
#pragma once

#include "design/design_tool.h"
#include "design/prop_tool.h"
#include "design/transform_tool.h"
#include "platform/core/cstring.h"

#include <memory>

class CArticle;
class CDesignPage;
class CItemEcho;
class CJoxClientDC;
class CRgn;
class CSelect;

class CSelectTool : public CDesignTool, public CPropTool, public CTransformTool {
    DECLARE_DYNCREATE(CSelectTool)

public:
    // Property bits that derived tools set.
    static constexpr DWORD kPropNoDelete = 1;
    static constexpr DWORD kPropRightClearsToDefault = 2;
    static constexpr DWORD kPropNoSelectOnPress = 4;
    static constexpr DWORD kPropNoItemSelect = 16;
    static constexpr DWORD kPropNoSelfSelect = 32;

    // Commands.
    static constexpr UINT ID_EDIT_CLEAR = 57632;
    static constexpr UINT ID_SELECT_ALL = 43037;
    static constexpr UINT ID_INVERT_SELECTION = 43275;
    static constexpr UINT ID_NUDGE_UP = 43301;
    static constexpr UINT ID_NUDGE_DOWN = 43302;
    static constexpr UINT ID_NUDGE_LEFT = 43303;
    static constexpr UINT ID_NUDGE_RIGHT = 43304;
    static constexpr UINT ID_NUDGE_DIVIDE = 43305;
    // Arrange commands.
    static constexpr UINT ID_ALIGN_LEFT = 43031;
    static constexpr UINT ID_ALIGN_RIGHT = 43032;
    static constexpr UINT ID_ALIGN_TOP = 43033;
    static constexpr UINT ID_ALIGN_BOTTOM = 43034;
    static constexpr UINT ID_CENTRE_VERTICALLY = 43035;
    static constexpr UINT ID_CENTRE_HORIZONTALLY = 43036;
    static constexpr UINT ID_CENTRE_ON_LAST_X = 43202;
    static constexpr UINT ID_CENTRE_ON_LAST_Y = 43203;
    static constexpr UINT ID_CENTRE_ON_LAST = 43204;
    static constexpr UINT ID_SPACE_HORIZONTALLY = 43025;
    static constexpr UINT ID_SPACE_VERTICALLY = 43026;
    static constexpr UINT ID_SIZE_SAME_WIDTH = 43017;
    static constexpr UINT ID_SIZE_STRETCH_WIDTH = 43018;
    static constexpr UINT ID_SIZE_STRETCH_HEIGHT = 43019;
    static constexpr UINT ID_SIZE_STRETCH_BOTH = 43020;
    static constexpr UINT ID_SIZE_SAME_HEIGHT = 43021;
    static constexpr UINT ID_SIZE_MIN_MAX = 43022;
    static constexpr UINT ID_FLIP_VERTICALLY = 43038;
    static constexpr UINT ID_FLIP_HORIZONTALLY = 43039;
    static constexpr UINT ID_JOIN_HORIZONTALLY = 43044;
    static constexpr UINT ID_JOIN_VERTICALLY = 43045;
    static constexpr UINT ID_COLOUR_FROM_BOX = 43393;
    // Clipboard of articles.
    static constexpr UINT ID_EDIT_COPY = 57634;
    static constexpr UINT ID_EDIT_CUT = 57635;
    static constexpr UINT ID_EDIT_PASTE = 57637;
    static constexpr UINT ID_EDIT_PASTE_BEFORE = 43234;
    static constexpr UINT ID_EDIT_PASTE_AFTER = 43235;
    static constexpr UINT ID_CLIPBOARD_PASTED = 43056;
    static constexpr UINT IDS_CANNOT_OPEN_CLIPBOARD = 43258;
    static constexpr UINT IDS_CANNOT_SET_CLIPBOARD = 43259;
    // The view's ability bit that allows editing.
    static constexpr int kAbilityEdit = 2;
    // Pasted articles land this many pixels inside the design's top-left corner.
    static constexpr int kPasteInset = 5;
    // Paths whose ends lie this close (data units) join with their mirror image.
    static constexpr int kReflectJoinDistance = 100;
    // A path longer than this gives the line of an angled reflection.
    static constexpr double kReflectLineLength = 1000.0;
    // Strings.
    static constexpr UINT IDS_RESIZE_WIDTH = 43276;  // "Width: %.2fmm "
    static constexpr UINT IDS_RESIZE_HEIGHT = 43277; // "Height: %.2fmm "
    static constexpr UINT IDS_RESIZE_CHANGE = 43248; // "(%+.2fmm) "
    static constexpr UINT IDS_AN_OBJECT = 43260;
    static constexpr UINT IDS_OBJECTS = 43261;
    static constexpr UINT IDS_NO_SELECTION = 43314;
    // Cursors.
    static constexpr UINT IDC_SELECT_SELF = 28010;
    static constexpr UINT IDC_SELECT_BAND = 28011;
    static constexpr UINT IDC_SELECT_COLOUR = 28043;
    static constexpr UINT IDC_SELECT_GROUP = 28045;
    // The move dialog.
    static constexpr UINT IDD_MOVE = 28060;
    // Drag timing and echo thinning.
    static constexpr UINT kDragStartMs = 200;
    static constexpr int kEchoElementBudget = 50000;
    static constexpr int kWaitCursorElements = 500;
    // Data values beyond this are outside every design.
    static constexpr int kDataLimit = 99999999;
    static constexpr int kDefaultNudgeFactor = 1000;

    CSelectTool();
    ~CSelectTool() override;

    // Operations added after the base tool's, in slot order.
    virtual void StopEcho(CDesignView* view);
    virtual void SetTransform(CDesignView* view, CPoint client, UINT flags);
    virtual void DoTransform(CDesignView* view);
    virtual void SelectColour(CDesignView* view, UINT flags, CArticle* article);
    virtual void SelectGroup(CDesignView* view, UINT flags, CArticle* article);
    virtual void Select(CDesignView* view, CArticle* article, int mode, int keep);
    virtual void Deselect(CDesignView* view, CArticle* article, int mode);
    virtual void RecalcExtents(CDesignView* view);
    virtual BOOL CanNudgeSelection(CDesignView* view, int warn);
    virtual BOOL CanReflectSelection(CDesignView* view, int warn);
    virtual BOOL CanMoveSelection(CDesignView* view);

    // Overrides.
    CPoint GetHandleCentre(CDesignView* view, HandleType handle) override;
    void OnActivate(CDesignView* view, BOOL active, CView* activated, CView* deactivated) override;
    void OnInit(CDesignView* view, int reason) override;
    void OnExit(CDesignView* view, int reason) override;
    void OnDraw(CDesignView* view, CJoxDC* dc) override;
    using CDesignTool::OnDraw;
    void OnLButtonDown(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnLButtonUp(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnLButtonDblClk(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnMButtonDown(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnMButtonUp(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnMButtonDblClk(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnRButtonDown(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnRButtonUp(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnRButtonDblClk(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnMouseMove(CDesignView* view, UINT flags, const CPoint& point) override;
    BOOL OnSetCursor(CDesignView* view, CWnd* wnd, UINT hitTest, UINT message) override;
    void OnTimer(CDesignView* view, UINT id) override;
    void OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(CDesignView* view, UINT key, UINT repeat, UINT flags) override;
    void OnTypedNumber(CDesignView* view, int number) override;
    LRESULT OnIdleUpdateCmdUI(CDesignView* view, WPARAM wp, LPARAM lp) override;
    int ContextMenuID(CDesignView* view) override;
    void DisplayPrompt(CDesignView* view) override;
    void OnScroll(CDesignView* view, bool vertical, UINT code, UINT pos, CScrollBar* bar) override;
    BOOL SetToolColour(CDesignView* view, int colour) override;
    void DrawSelection(CDesignView* view, bool recalc) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;

    // Selection.
    void _Select(CDesignView* view, CArticle* article, int mode);
    void SelectWithinRect(CDesignView* view, CRect band, int mode, int unused);
    void SelectWithinRegion(CDesignView* view, CRgn* region, int mode, int unused);
    BOOL ObjectWithinRgn(CDesignView* view, CArticle* article, CRgn* region);
    void OnSelectAll();
    void OnInvertSelection();
    void OnEditClear();
    void fnMoveSelection(CDesignView* view, int direction);
    int NumSelected(CDesignView* view);
    void OnSelect(CDesignView* view, CSelect* entry);
    void OnSelectProcess(CDesignView* view, bool recalc);
    void SelectionChanged(CDesignView* view, const char* label);
    void CreatePrompt(CDesignView* view);
    void OnSelectionChanged();
    const CString& Prompt() const { return m_strPrompt; }
    int ReferenceHint() const { return m_nReferenceHint; }
    int BandMode() const { return m_bBandMode; }
    CItemEcho* Echo() const { return m_pEcho; }

    // Drags, nudges and the move.
    void StartEcho(CDesignView* view, int keyDisplay);
    void NudgeSelection(CDesignView* view, UINT key);
    // Moves the selection by (x, y) data units, or its low corner to (x, y) with absolute, as
    // one transaction; values beyond the data range are held at its edge.
    void MoveSelectionBy(CDesignView* view, double x, double y, bool absolute);
    // "M": the Move dialog; its millimetres (inches) become data units for MoveSelectionBy.
    void RunMoveDialog(CDesignView* view);
    static constexpr double kDataUnitsPerMm = 1000.0;
    static constexpr double kDataUnitsPerInch = 25400.0;
    void RepeatTransform(CDesignView* view);
    void DisplayResize();
    // Arrange commands; each is one transaction.
    void OnAlign(UINT id);
    void OnCenter(UINT id);
    void OnCenterLast(UINT id);
    void OnSpace(UINT id);
    void OnSize(UINT id);
    void OnFlip(UINT id);
    void OnAlignCat(UINT id);
    void OnReOrder(UINT id);
    void OnReflect(UINT id);
    void ReflectSelection(CDesignView* view, UINT id);
    // The articles' private clipboard format ("Tavrin_1.0").
    static UINT ClipboardFormat();
    // Whether data reads whole as a clipboard stream of articles; what it read is dropped.
    static bool CanReadArticleStream(const BYTE* data, size_t size, CDesignPage* page);
    void OnEditCopy();
    void OnEditCut();
    // 0 at the design's corner, 1 before the last selected article, 2 after it.
    void OnEditPasteMode(int mode);
    // FALSE, with the design unchanged, when the clipboard or its stream cannot be read.
    BOOL PasteNative(CDesignView* view, int mode, CArticle* reference);
    static void ApplyTransformToSelectedObj(CDesignPage* page, const CSelect* entry, CMat2d& m);
    // Moves article to after its run of right siblings below display level 51; TRUE when it
    // moved.
    static BOOL FnReOrderDisplay(CDesignPage* page, CArticle* article);

    // The last point and flags SetTransform saw, shared by every select tool.
    static void ForgetLastTransformPoint();

protected:
    // Feedback drawing shares one client context per command: a scope keeps it open.
    struct FeedbackScope {
        explicit FeedbackScope(CSelectTool& t) : tool(t) { ++tool.m_nFeedbackScopes; }
        ~FeedbackScope();
        CSelectTool& tool;
    };
    CJoxDC* FeedbackDC(CDesignView* view);
    // One entry's outline in XOR, while the selection is shown.
    void XorEntry(CDesignView* view, CSelect* entry);
    void HideHandles(CDesignView* view);
    void ShowHandles(CDesignView* view);
    void DrawBand(CDesignView* view, const CLpoint& from, const CLpoint& to);
    void EraseBand(CDesignView* view);
    // The echo and the transformed extents outline, in XOR.
    void DrawEcho(CDesignView* view);
    void EndKeyDisplay(CDesignView* view);
    void CancelDrag(CDesignView* view);
    void RefreshCursor(CDesignView* view);
    CArticle* TopLevel(CDesignView* view, CArticle* a);
    void TabToNextHit(CDesignView* view);
    void OnPressAt(CDesignView* view, UINT flags, const CPoint& point, bool middle);
    void OnReleaseAt(CDesignView* view, UINT flags, const CPoint& point);
    void StartKeyDisplay(CDesignView* view);
    CArticle* ArticleByID(CDesignView* view, LONG id);
    // Routes the arrange commands and their update; FALSE for other ids.
    BOOL OnArrangeCmdMsg(UINT id, int code, void* extra, void* handlerInfo, BOOL& handled);
    BOOL OnClipboardCmdMsg(UINT id, int code, void* extra, void* handlerInfo, BOOL& handled);

    int m_nReferenceHint = 0;
    int m_nBand[4] = {0, 0, 0, 0};
    int m_bBandMode = 0;
    int m_bKeyDisplay = 0;
    CItemEcho* m_pEcho = nullptr;
    int m_nEchoSize = 0;
    CString m_strPrompt;
    // Keys read at the press (Shift, Ctrl, "S", "N", "G", "Q", Alt), its mouse flags, and
    // whether it came from the middle button.
    UINT m_nPressKeys = 0;
    UINT m_nPressFlags = 0;
    bool m_bMiddlePress = false;
    // The article the press hit (by identifier: it may go before it is used) and its place in
    // the page's hit list.
    LONG m_nPressArticleID = 0;
    int m_nHitIndex = -1;
    // Whether the echo of the last drag existed when it ended.
    bool m_bHadEcho = false;
    // The top-level article the last Tab step selected.
    LONG m_nTabArticleID = 0;
    // Whether the selection outlines are on the screen, and the handles with the extents they
    // were drawn at.
    bool m_bShown = false;
    bool m_bHandlesShown = false;
    CWindow m_HandlesAt;
    // Whether a band rectangle is on the screen, and where (client pixels).
    bool m_bBandShown = false;
    CRect m_BandShownAt;
    std::unique_ptr<CJoxClientDC> m_pFeedbackDC;
    CDesignView* m_pFeedbackView = nullptr;
    int m_nFeedbackScopes = 0;
};
