// CShowItemsTool: steps through the articles of one class one at a time for inspection. It hides
// every one but the selection, then shows them in turn (forwards, backwards, to either end or to
// a position), optionally panning to each and optionally leaving the shown ones visible; Delete
// deletes the one on show. Whatever it hid is shown again however the tool ends.
#pragma once

#include "design/select_tool.h"
#include "platform/core/cstring.h"

#include <vector>

class CArticle;
class CItem;
class CShowItems;

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
    bool ItemOnScreen(CDesignView* view, CItem* item);
    bool SyncSelection();
    int GetItemCount(CDesignView* view, CItem* upTo = nullptr);
    int GetSelectedItemPosition(CDesignView* view);
    static bool IsHidden(CItem* item);

    void OnInit(CDesignView* view, int reason) override;
    void OnExit(CDesignView* view, int reason) override;
    void OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) override;
    // The dialog shows while the viewer's view is active.
    void OnActivate(CDesignView* view, BOOL active, CView* activated, CView* deactivated) override;
    // Selecting an article moves the position and the slider to it.
    void Select(CDesignView* view, CArticle* article, int mode, int keep) override;

private:
    // The articles that take part, in design order (outermost only without recurse).
    std::vector<CArticle*> Candidates() const;
    // The index among the candidates of the current item, -1 without one.
    int CurrentIndex(const std::vector<CArticle*>& list) const;
    // The candidate after (or before) from, on screen unless auto pan; -1 when none.
    int Step(CDesignView* view, const std::vector<CArticle*>& list, int from, int dir);
    // One step as next and previous take it; false when there is nothing that way.
    bool StepTo(CDesignView* view, int dir);
    bool StepTo(CDesignView* view, const std::vector<CArticle*>& list, int dir);
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
