// CSimulateSortTool: plays back the page's sorted output one article at a time, highlighting
// it and marking its start point with a red dot. What the playback moves off (a dot, a
// highlight) is painted again by the view, so the drawing is left as a paint shows it. While it
// runs the design cannot change: the tool takes every command and key that would edit, so the
// borrowed article list stays valid.
#pragma once

#include "design/select_tool.h"

#include <vector>

class CArticle;
class CSimulateSortDlg;

class CSimulateSortTool : public CSelectTool {
    DECLARE_DYNCREATE(CSimulateSortTool)

public:
    // Radius of the start dot in device pixels, and the pixels round it repainted with it; the
    // pixels round an article repainted with it (its selection's handles).
    static constexpr int kDotRadius = 5;
    static constexpr int kDotMargin = 2;
    static constexpr int kFeedbackMargin = 8;
    static constexpr COLORREF kDotColour = 0x0000FF; // red

    CSimulateSortTool() : CSimulateSortTool(nullptr, nullptr) {}
    CSimulateSortTool(CDesignView* view, CSimulateSortDlg* player);

    int GetRange() const { return m_nCount - 1; }
    int GetPos() const { return m_nPos; }
    CArticle* CurrentArticle() const { return m_pCurrent; }
    int CurrentStartPoint() const { return m_nCurrentStart; }
    CSimulateSortDlg* Player() const { return m_pPlayer; }

    void OnShowStart(CDesignView* view);
    void OnShowEnd(CDesignView* view);
    int OnShowNext(CDesignView* view);
    int OnShowPrev(CDesignView* view);
    void OnShowChangePos(CDesignView* view, int index);
    void Redraw(CArticle* previous, int previousStart, CArticle* next, int nextStart);
    void RedrawArticle(CArticle* article);
    void DrawStartPoint(CArticle* article, int index, bool on);

    void OnInit(CDesignView* view, int reason) override;
    void OnExit(CDesignView* view, int reason) override;
    void OnDraw(CDesignView* view, CJoxDC* dc) override;
    using CDesignTool::OnDraw;
    // Presses neither select nor drag: playback only looks.
    void OnLButtonDown(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnLButtonUp(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnLButtonDblClk(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnMButtonDown(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnMButtonUp(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnRButtonDown(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnRButtonUp(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnMouseMove(CDesignView* view, UINT flags, const CPoint& point) override;
    BOOL OnSetCursor(CDesignView* view, CWnd* wnd, UINT hitTest, UINT message) override;
    void OnTimer(CDesignView* view, UINT id) override;
    void OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(CDesignView* view, UINT key, UINT repeat, UINT flags) override;
    void OnTypedNumber(CDesignView* view, int number) override;
    int ContextMenuID(CDesignView* view) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;

    // Whether a command may run during playback: viewing, never editing.
    static bool IsViewingCommand(UINT id);

private:
    // Whether the step may go on: a step on another view starts again there.
    bool OnItsView(CDesignView* view);
    void DeselectAll();
    // Makes entry index current (redrawing); index must be in range.
    void MakeCurrent(int index);
    void ForgetCurrent();
    // The dot's box round the start point, in data units; false when there is no start.
    static bool DotAt(CJoxDC* dc, CArticle* article, int index, CRect& box);
    void DrawDot(CJoxDC* dc, CArticle* article, int index, COLORREF colour);
    // Paints the client area at once, grown by margin pixels.
    void Repaint(CRect area, int margin);

    CDesignView* m_pView = nullptr;
    CSimulateSortDlg* m_pPlayer = nullptr;
    // Copies of the page's lists, taken at OnInit: a path listed twice is two steps.
    std::vector<CArticle*> m_Sorted;
    std::vector<int> m_StartPoints;
    int m_nCount = 0;
    int m_nPos = 0;
    CArticle* m_pCurrent = nullptr;
    int m_nCurrentStart = 0;
};
