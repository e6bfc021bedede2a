// CShowItemsTool: steps through the articles of one class one at a time for inspection. It hides
// every one but the selection, then shows them in turn (forwards, backwards, to either end or to
// a position), optionally panning to each and optionally leaving the shown ones visible; Delete
// deletes the one on show. Whatever it hid is shown again however the tool ends.
#pragma once

#include "design/select_tool.h"
#include "platform/core/cstring.h"

class CArticle;
class CItem;
class CShowItems;
class CTree;

class CShowItemsTool : public CSelectTool {
    DECLARE_DYNCREATE(CShowItemsTool)

public:
    // Item bits the viewer hides an article with; 0x40 alone tells it hid it.
    static constexpr DWORD kHideBits = 0x48;
    static constexpr DWORD kHiddenBit = 0x40;
    // Margin kept between a panned-to item and the window's edge, in pixels.
    static constexpr int kPanMargin = 8;
    static constexpr int kPanStepPixels = 100;

    CShowItemsTool();
    CShowItemsTool(const CString& title, CRuntimeClass* articleClass);
    ~CShowItemsTool() override;

    void OnShowAutoPan(int on) { m_bAutoPan = on; }
    void OnShowLeaveOn(int on) { m_bLeaveOn = on; }
    void SetRecurse(int on) { m_bRecurse = on; }
    int AutoPanOn() const { return m_bAutoPan; }
    int LeaveOn() const { return m_bLeaveOn; }
    int Position() const { return m_nPos; }
    CItem* CurrentItem() const { return m_pCurrent; }
    const CString& Title() const { return m_strTitle; }
    // The viewer's dialog, made by the first OnInit; owned.
    CShowItems* Dialog() const { return m_pDialog; }

    void OnShowStart(CDesignView* view);
    void OnShowEnd(CDesignView* view);
    int OnShowNext(CDesignView* view);
    int OnShowPrev(CDesignView* view);
    void OnShowChangePos(CDesignView* view, int index);
    void OnShowAll(CDesignView* view);
    void OnShowClear(CDesignView* view);
    void OnShowDelete(CDesignView* view);
    // Hides the selected articles of the class and empties the selection.
    void OnShowHide(CDesignView* view);
    void OnShowItem(CDesignView* view, CItem* item);
    void AutoPan(CDesignView* view, CItem* item);
    // Whether the item shows in the window: its extents meet the client area and, for an item
    // with control points, some line between neighbouring points may cross it.
    bool ItemOnScreen(CDesignView* view, CItem* item);
    // The current item becomes that of the last selected article of the class.
    bool SyncSelection();
    // The items from the first with active data up to and with upTo (all without it).
    int GetItemCount(CDesignView* view, CItem* upTo = nullptr);
    int GetSelectedItemPosition(CDesignView* view);

    // The item walks over the articles of the class that have an item, in design order and,
    // without recurse, only those not inside another of the class. Each makes the item it
    // finds current and moves the position with it; when there is none that way it returns
    // null and leaves both as they were. Next and previous go from the current item. The
    // visible forms pass over items that are not on screen.
    CItem* GetFirstItem(CDesignView* view);
    CItem* GetLastItem(CDesignView* view);
    CItem* GetNextItem(CDesignView* view);
    CItem* GetPrevItem(CDesignView* view);
    CItem* GetFirstVisibleItem(CDesignView* view);
    CItem* GetLastVisibleItem(CDesignView* view);
    CItem* GetNextVisibleItem(CDesignView* view);
    CItem* GetPrevVisibleItem(CDesignView* view);
    static bool IsHidden(CItem* item);

    void OnInit(CDesignView* view, int reason) override;
    void OnExit(CDesignView* view, int reason) override;
    void OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) override;
    // The dialog shows while the viewer's view is active.
    void OnActivate(CDesignView* view, BOOL active, CView* activated, CView* deactivated) override;
    // Selecting an article moves the position and the slider to it.
    void Select(CDesignView* view, CArticle* article, int mode, int keep) override;

private:
    using Walk = CItem* (CShowItemsTool::*)(CDesignView*);

    // The page's root article; the walks stay below it.
    CTree* Root() const;
    // An article of the class with an item.
    bool TakesPart(const CTree* t) const;
    // Without recurse nothing below an article of the class takes part: the walks pass over it.
    bool Prunes(const CTree* t) const;
    // Where a walk from article goes on: article itself, or without recurse the outermost
    // article of the class around it; null when it is not in the page's tree.
    CTree* WalkStart(CArticle* article) const;
    CTree* After(CTree* t) const;
    CTree* Before(CTree* t) const;
    CTree* LastNode() const;
    // The first article that takes part from t on (or back), t included.
    CArticle* FindForward(CTree* t) const;
    CArticle* FindBackward(CTree* t) const;
    CItem* Take(CArticle* article, int position);
    // Walks on with step from item while the items are off screen; null (and nothing moved)
    // when none on screen is left.
    CItem* PassOffScreen(CDesignView* view, CItem* item, Walk step, CItem* keep, int keepPos);
    // One step as next and previous take it; false when there is nothing that way.
    bool StepTo(CDesignView* view, int dir);
    // The item the next step would show, found as that step finds it.
    CItem* Candidate(CDesignView* view, int dir);
    void Hide(CArticle* article);
    void Show(CArticle* article);
    void ShowEverything();
    void SelectCurrent(CDesignView* view);
    void Repaint(CDesignView* view);

    CString m_strTitle;
    int m_nPos = 0;
    CItem* m_pCurrent = nullptr;
    CRuntimeClass* m_pArticleClass = nullptr;
    CShowItems* m_pDialog = nullptr;
    int m_bAutoPan = 0;
    int m_bLeaveOn = 0;
    BYTE m_bFirstInit = 1;
    int m_bRecurse = 0;
};
