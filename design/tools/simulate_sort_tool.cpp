#include "design/simulate_sort_tool.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "pivora/article.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/select.h"
#include "platform/framework/cmd_ui.h"
#include "vector/vector_item.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CSimulateSortTool, CSelectTool)

namespace {

// Commands of the shell (files, windows, help) sit from here up, the edit commands among them.
constexpr UINT kFirstShellCommand = 0xE100;
constexpr UINT kFirstEditCommand = 0xE120, kLastEditCommand = 0xE12F;

} // namespace

CSimulateSortTool::CSimulateSortTool(CDesignView* view, CSimulateSortDlg* player)
    : m_pView(view), m_pPlayer(player) {}

bool CSimulateSortTool::IsViewingCommand(UINT id) {
    using V = CDesignView;
    switch (id) {
    case V::ID_ZOOM_IN:
    case V::ID_ZOOM_OUT:
    case V::ID_ZOOM_SELECTED:
    case V::ID_ZOOM_FIT:
    case V::ID_RULER:
    case V::ID_REDRAW:
    case V::ID_ZOOM_RESIZE:
    case V::ID_SUB_TOOL_EXIT:
    // Closing the player ends the playback by selecting another tool.
    case V::ID_SELECT_TOOL:
    case V::ID_TOOL_CHANGE:
    case V::ID_SELECTION_CHANGED:
    case V::ID_SHOW_LENGTH:
    case V::ID_ZOOM_100:
    case V::ID_PAN:
    case V::ID_LARGE_CROSS_HAIR:
    case V::ID_AUTO_PAN:
    case V::ID_STOP_RESCALE:
    case V::ID_UNITS_CHANGED:
    case V::ID_ZOOM_400:
    case V::ID_ZOOM_200:
    case V::ID_ZOOM_50:
    case V::ID_ZOOM_25:
    case V::ID_PANE_EXTENTS:
    case V::ID_PANE_COUNT:
    case ID_STATUS_INFO:
        return true;
    default:
        return id >= kFirstShellCommand && (id < kFirstEditCommand || id > kLastEditCommand);
    }
}

BOOL CSimulateSortTool::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    if (code != CN_COMMAND && code != CN_UPDATE_COMMAND_UI)
        return FALSE;
    if (IsViewingCommand(id))
        return CDesignTool::OnCmdMsg(id, code, extra, handlerInfo);
    // Anything that edits would free articles the playback still lists.
    if (IsQuery(handlerInfo))
        return TRUE;
    if (code == CN_UPDATE_COMMAND_UI)
        if (CCmdUI* ui = UpdateUI(code, extra))
            ui->Enable(FALSE);
    return TRUE;
}

void CSimulateSortTool::DeselectAll() {
    if (m_pView)
        Select(m_pView, nullptr, CSelect::kSelectArticle, 0);
}

void CSimulateSortTool::ForgetCurrent() {
    m_nCount = 0;
    m_nPos = 0;
    m_pCurrent = nullptr;
    m_nCurrentStart = 0;
}

void CSimulateSortTool::OnInit(CDesignView* view, int) {
    CSelectTool::OnInit(view, 0);
    m_pView = view;
    DeselectAll();
    m_Sorted.clear();
    m_StartPoints.clear();
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (page && page->GetSortedOutput()) {
        CArticleList* list = page->GetSortedOutput();
        for (POSITION pos = list->GetHeadPosition(); pos;)
            m_Sorted.push_back(list->GetNext(pos));
        if (CList<int, int&>* starts = page->GetSortedOutputStartPoints())
            for (POSITION pos = starts->GetHeadPosition(); pos;)
                m_StartPoints.push_back(starts->GetNext(pos));
    }
    // A start point missing from its list is the path's first point.
    m_StartPoints.resize(m_Sorted.size(), 0);
    ForgetCurrent();
    if (!m_Sorted.empty()) {
        m_nCount = int(m_Sorted.size());
        m_pCurrent = m_Sorted.front();
        m_nCurrentStart = m_StartPoints.front();
    }
    if (view && ::IsWindow(view->GetSafeHwnd())) {
        view->Invalidate(TRUE);
        view->UpdateWindow();
    }
}

void CSimulateSortTool::OnExit(CDesignView* view, int reason) {
    CSelectTool::OnExit(view, reason);
    if (view)
        Select(view, nullptr, CSelect::kSelectArticle, 0);
    if (view && ::IsWindow(view->GetSafeHwnd())) {
        view->Invalidate(TRUE);
        view->UpdateWindow();
    }
}

bool CSimulateSortTool::OnItsView(CDesignView* view) {
    if (view == m_pView)
        return true;
    OnInit(view, 0);
    return false;
}

void CSimulateSortTool::MakeCurrent(int index) {
    CArticle* previous = m_pCurrent;
    const int previousStart = m_nCurrentStart;
    m_nPos = index;
    m_pCurrent = m_Sorted[size_t(index)];
    m_nCurrentStart = m_StartPoints[size_t(index)];
    Redraw(previous, previousStart, m_pCurrent, m_nCurrentStart);
}

void CSimulateSortTool::OnShowStart(CDesignView* view) {
    OnItsView(view);
    DeselectAll();
    m_nPos = 0;
    if (m_Sorted.empty()) {
        ForgetCurrent();
        return;
    }
    m_nCount = int(m_Sorted.size());
    MakeCurrent(0);
}

void CSimulateSortTool::OnShowEnd(CDesignView* view) {
    OnItsView(view);
    DeselectAll();
    if (m_Sorted.empty()) {
        ForgetCurrent();
        return;
    }
    m_nCount = int(m_Sorted.size());
    MakeCurrent(m_nCount - 1);
}

int CSimulateSortTool::OnShowNext(CDesignView* view) {
    if (!OnItsView(view))
        return 0;
    if (m_Sorted.empty() || m_nPos + 1 >= m_nCount)
        return 0;
    DeselectAll();
    MakeCurrent(m_nPos + 1);
    return 1;
}

int CSimulateSortTool::OnShowPrev(CDesignView* view) {
    if (!OnItsView(view))
        return 0;
    if (m_nPos <= 0)
        return 0;
    if (m_Sorted.empty()) {
        ForgetCurrent();
        return 1;
    }
    DeselectAll();
    MakeCurrent(std::min(m_nPos - 1, int(m_Sorted.size()) - 1));
    return 1;
}

void CSimulateSortTool::OnShowChangePos(CDesignView* view, int index) {
    if (!OnItsView(view))
        return;
    if (index < 0 || index >= m_nCount || m_Sorted.empty())
        return;
    DeselectAll();
    MakeCurrent(index);
}

void CSimulateSortTool::Redraw(CArticle* previous, int previousStart, CArticle* next,
                               int nextStart) {
    const bool other = previous && previous != next;
    if (other)
        DrawStartPoint(previous, previousStart, false);
    if (m_pView && next)
        Select(m_pView, next, CSelect::kSelectArticle, 0);
    if (other)
        RedrawArticle(previous);
    RedrawArticle(next);
    DrawStartPoint(next, nextStart, true);
}

void CSimulateSortTool::RedrawArticle(CArticle* article) {
    if (!article || !m_pView || !::IsWindow(m_pView->GetSafeHwnd()))
        return;
    const CWindow w = article->Extents(0);
    if (w.x2 < w.x1 || w.y2 < w.y1)
        return;
    CRect area(w.x1, w.y2, w.x2, w.y1);
    {
        CJoxClientDC dc(m_pView, eClientDocument);
        m_pView->OnPrepareDC(&dc);
        dc.LPtoDP(static_cast<RECT*>(&area));
    }
    // Drawn over the selection's XOR outline the article would hide it, and the outline's
    // removal would then cut into the drawing: the view paints the article's place instead,
    // outline, handles and dot as a paint has them.
    Repaint(area, kFeedbackMargin);
}

void CSimulateSortTool::Repaint(CRect area, int margin) {
    area.NormalizeRect();
    area.InflateRect(margin, margin);
    m_pView->InvalidateRect(&area, TRUE);
    m_pView->UpdateWindow();
}

bool CSimulateSortTool::DotAt(CJoxDC* dc, CArticle* article, int index, CRect& box) {
    auto* item = DynamicDowncast<CVectorItem>(article ? article->GetItem() : nullptr);
    // One-point paths and articles without a path have no start to mark.
    if (!dc || !item || index < 0 || index >= item->ElementCount() || item->ElementCount() < 2)
        return false;
    const CLpoint at = item->GetElementPos(index);
    CSize radius(kDotRadius, kDotRadius);
    dc->DPtoLP(&radius);
    const LONG rx = std::abs(radius.cx), ry = std::abs(radius.cy);
    box = CRect(at.x - rx, at.y - ry, at.x + rx, at.y + ry);
    return true;
}

void CSimulateSortTool::DrawDot(CJoxDC* dc, CArticle* article, int index, COLORREF colour) {
    CRect box;
    if (!DotAt(dc, article, index, box))
        return;
    CPen pen(PS_SOLID, 1, colour);
    CBrush brush(colour);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    const int oldBk = dc->SetBkMode(TRANSPARENT);
    const int oldRop = dc->SetROP2(R2_COPYPEN);
    dc->Ellipse(box.left, box.top, box.right, box.bottom);
    dc->SetROP2(oldRop);
    dc->SetBkMode(oldBk);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

void CSimulateSortTool::DrawStartPoint(CArticle* article, int index, bool on) {
    if (!article || !m_pView || !::IsWindow(m_pView->GetSafeHwnd()))
        return;
    CRect covered;
    {
        CJoxClientDC dc(m_pView, eClientDocument);
        m_pView->OnPrepareDC(&dc);
        if (on) {
            DrawDot(&dc, article, index, kDotColour);
            return;
        }
        if (!DotAt(&dc, article, index, covered))
            return;
        dc.LPtoDP(static_cast<RECT*>(&covered));
    }
    // Wiping the dot with a colour would take the drawing under it along: the view paints the
    // place again instead.
    Repaint(covered, kDotMargin);
}

void CSimulateSortTool::OnDraw(CDesignView* view, CJoxDC* dc) {
    CSelectTool::OnDraw(view, dc);
    // A paint wipes the dot with the rest: it goes back on.
    if (view == m_pView)
        DrawDot(dc, m_pCurrent, m_nCurrentStart, kDotColour);
}

void CSimulateSortTool::OnLButtonDown(CDesignView*, UINT, const CPoint&) {}
void CSimulateSortTool::OnLButtonUp(CDesignView*, UINT, const CPoint&) {}
void CSimulateSortTool::OnLButtonDblClk(CDesignView*, UINT, const CPoint&) {}
void CSimulateSortTool::OnMButtonDown(CDesignView*, UINT, const CPoint&) {}
void CSimulateSortTool::OnMButtonUp(CDesignView*, UINT, const CPoint&) {}
void CSimulateSortTool::OnRButtonDown(CDesignView*, UINT, const CPoint&) {}
void CSimulateSortTool::OnRButtonUp(CDesignView*, UINT, const CPoint&) {}

void CSimulateSortTool::OnMouseMove(CDesignView* view, UINT flags, const CPoint& point) {
    CDesignTool::OnMouseMove(view, flags, point);
}

BOOL CSimulateSortTool::OnSetCursor(CDesignView* view, CWnd* wnd, UINT hitTest, UINT message) {
    return CDesignTool::OnSetCursor(view, wnd, hitTest, message);
}

void CSimulateSortTool::OnTimer(CDesignView* view, UINT id) {
    CDesignTool::OnTimer(view, id);
}

void CSimulateSortTool::OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) {
    // Ctrl+L (auto pan) only; nudges, deletes, guides and typed numbers edit.
    if (key == 'L')
        CDesignTool::OnKeyDown(view, key, repeat, flags);
}

void CSimulateSortTool::OnKeyUp(CDesignView*, UINT, UINT, UINT) {}
void CSimulateSortTool::OnTypedNumber(CDesignView*, int) {}

int CSimulateSortTool::ContextMenuID(CDesignView*) {
    return 0;
}
