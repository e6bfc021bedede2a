// The select tool's pointer: presses that select or start a band or a drag, moves, releases,
// the right button, double clicks, the cursor and scrolling.
#include "design/design_page.h"
#include "design/design_view.h"
#include "design/item_echo.h"
#include "design/select_tool.h"
#include "design/tools/select_keys.h"
#include "pivora/framework/app_params.h"
#include "pivora/select.h"
#include "platform/windowing/cursor.h"
#include "qvutils/qv_utils.h"

using namespace select_keys;

namespace {

void SetResourceCursor(UINT id) {
    ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(id)));
}

bool Holds(CDesignView* view) {
    return view && CWnd::GetCapture() == view;
}

} // namespace

CArticle* CSelectTool::ArticleByID(CDesignView* view, LONG id) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    CArticle* root = page ? page->RootArticle() : nullptr;
    return root && id ? root->FindID(id) : nullptr;
}

void CSelectTool::OnLButtonDown(CDesignView* view, UINT flags, const CPoint& point) {
    OnPressAt(view, flags, point, false);
}

void CSelectTool::OnMButtonDown(CDesignView* view, UINT flags, const CPoint& point) {
    OnPressAt(view, flags | MK_SHIFT, point, true);
}

void CSelectTool::OnPressAt(CDesignView* view, UINT flags, const CPoint& point, bool middle) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || m_bKeyDisplay || Holds(view))
        return;
    FeedbackScope scope(*this);
    m_nPressKeys = Read(flags);
    m_nPressFlags = flags;
    m_bMiddlePress = middle;
    const bool shift = m_nPressKeys & kShift;
    const int keep = shift ? 1 : 0;
    view->KillTimer(kTimerDragStart);

    if (NumSelected(view) > 0) {
        RecalcExtents(view);
        if (const HandleType h = HitTestHandles(view, point); h != eHandleNone) {
            m_HitHandle = h;
            SetHandleCursor(QvGetStopRescaleOn() ? eHandleCentre : h, 0);
            CDesignTool::OnLButtonDown(view, flags, point);
            StartEcho(view, 0);
            return;
        }
    }

    CArticle* article = page->ArticleAt(view, point);
    m_nPressArticleID = article ? article->GetID() : 0;
    m_nHitIndex = -1;
    {
        int i = 0;
        const CArticleList& hits = page->HitList();
        for (POSITION pos = hits.GetHeadPosition(); pos; ++i)
            if (hits.GetNext(pos) == article)
                m_nHitIndex = i;
    }

    if (!fnGetProperty(kPropNoSelectOnPress)) {
        if (m_bBandMode || (m_nPressKeys & kAlt) ||
            !CArticle::IsArticleValidForSelection(article)) {
            Select(view, nullptr, 0, keep);
            m_bBandMode = 1;
            CDesignTool::OnLButtonDown(view, flags, point);
            DrawBand(view, m_lpDown, m_lpDown);
            return;
        }
        const bool items = (m_nPressKeys & kCtrl) && !fnGetProperty(kPropNoItemSelect);
        if (!items) {
            if ((m_nPressKeys & kSelf) && !fnGetProperty(kPropNoSelfSelect)) {
                Select(view, article, CSelect::kSelectArticle, keep);
            } else if (m_nPressKeys & kColour) {
                SelectColour(view, flags, TopLevel(view, article));
            } else if (!(m_nPressKeys & kGroup)) {
                const BOOL moved = shift ? FALSE : FnReOrderDisplay(page, article);
                Select(view, TopLevel(view, article), CSelect::kSelectArticle, keep);
                if (moved)
                    page->UpdateAllViews(nullptr, CDesignPage::kHintAll);
            } else {
                SelectGroup(view, flags, TopLevel(view, article));
            }
        } else if (article->GetItem()) {
            Select(view, article, CSelect::kSelectItem, keep);
        }
    }

    CDesignTool::OnLButtonDown(view, flags, point);
    if (Holds(view))
        ::ReleaseCapture();
    if (NumSelected(view) > 0)
        view->SetTimer(kTimerDragStart, kDragStartMs);
}

void CSelectTool::OnTimer(CDesignView* view, UINT id) {
    if (id != kTimerDragStart) {
        CDesignTool::OnTimer(view, id);
        return;
    }
    if (!view)
        return;
    view->KillTimer(kTimerDragStart);
    // Only a button still held after the wait drags; a quick click only selects.
    if (!Held(m_bMiddlePress ? VK_MBUTTON : VK_LBUTTON) || NumSelected(view) == 0 || m_pEcho ||
        m_bKeyDisplay)
        return;
    FeedbackScope scope(*this);
    m_bBandMode = 0;
    m_HitHandle = eHandleBody;
    SetHandleCursor(eHandleBody, 0);
    const CPoint press = m_ptDown;
    CDesignTool::OnLButtonDown(view, m_nPressFlags, press);
    StartEcho(view, 0);
}

void CSelectTool::OnMouseMove(CDesignView* view, UINT flags, const CPoint& point) {
    if (!view || m_bKeyDisplay)
        return;
    FeedbackScope scope(*this);
    if (m_bBandMode && Holds(view)) {
        CDesignTool::OnMouseMove(view, flags, point);
        if (DynamicDrawingAllowed())
            DrawBand(view, m_lpDown, m_lpCurrent);
    } else if (m_pEcho && Holds(view)) {
        if (view->RemoveKeyDownMessages())
            return;
        DrawEcho(view);
        CDesignTool::OnMouseMove(view, flags, point);
        SetTransform(view, point, flags);
        DrawEcho(view);
    } else {
        CDesignTool::OnMouseMove(view, flags, point);
    }
    DisplayPrompt(view);
}

void CSelectTool::OnLButtonUp(CDesignView* view, UINT flags, const CPoint& point) {
    if (!m_bMiddlePress)
        OnReleaseAt(view, flags, point);
}

void CSelectTool::OnMButtonUp(CDesignView* view, UINT flags, const CPoint& point) {
    if (m_bMiddlePress)
        OnReleaseAt(view, flags | MK_SHIFT, point);
}

void CSelectTool::OnReleaseAt(CDesignView* view, UINT flags, const CPoint& point) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || m_bKeyDisplay)
        return;
    FeedbackScope scope(*this);
    view->KillTimer(kTimerDragStart);
    if (m_bBandMode && Holds(view)) {
        EraseBand(view);
        const bool items = (m_nPressKeys & kCtrl) && !fnGetProperty(kPropNoItemSelect);
        CRect band(m_lpDown.x, m_lpDown.y, m_lpCurrent.x, m_lpCurrent.y);
        m_bBandMode = 0;
        CDesignTool::OnLButtonUp(view, flags, point);
        SelectWithinRect(view, band, items ? CSelect::kSelectItem : CSelect::kSelectArticle, 1);
    } else if (m_pEcho && Holds(view)) {
        StopEcho(view);
        CDesignTool::OnLButtonUp(view, flags, point);
        m_HitHandle = eHandleNone;
        const int warnSize = QvGetAppParam(L"Selector Height Warning Size", 0);
        CString warning;
        if (m_bHadEcho && warnSize > 0 && QvGetAppParam(L"Selector Height Warning", warning)) {
            RecalcExtents(view);
            if (int64_t(m_Extents.y2) - m_Extents.y1 < warnSize)
                AfxMessageBox(warning);
        }
    } else {
        m_bBandMode = 0;
        CDesignTool::OnLButtonUp(view, flags, point);
    }
    m_bMiddlePress = false;
    view->SendMessage(WM_SETCURSOR, WPARAM(view->GetSafeHwnd()), MAKELPARAM(HTCLIENT, 0));
}

void CSelectTool::OnLButtonDblClk(CDesignView* view, UINT flags, const CPoint&) {
    if (!view || m_bKeyDisplay)
        return;
    CArticle* article = ArticleByID(view, m_nPressArticleID);
    if (!CArticle::IsArticleValidForSelection(article))
        return;
    const UINT keys = Read(flags);
    const bool self = (keys & kSelf) && !fnGetProperty(kPropNoSelfSelect);
    const bool items = (keys & kCtrl) && !fnGetProperty(kPropNoItemSelect);
    if (!(keys & kShift)) {
        CArticle* target = ((keys & kCtrl) || self) ? article : TopLevel(view, article);
        if (const int id = target ? target->GetDefaultToolId() : 0)
            view->PostMessage(WM_COMMAND, WPARAM(id), 0);
    } else if (!items) {
        Deselect(view, self ? article : TopLevel(view, article), 0);
    } else if (article->GetItem()) {
        Deselect(view, article, CSelect::kSelectItem);
    }
}

void CSelectTool::OnMButtonDblClk(CDesignView*, UINT, const CPoint&) {}

void CSelectTool::OnRButtonDown(CDesignView* view, UINT, const CPoint&) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || m_bKeyDisplay)
        return;
    FeedbackScope scope(*this);
    view->KillTimer(kTimerDragStart);
    if (!Holds(view)) {
        const bool had = NumSelected(view) > 0;
        const bool shown = m_bShown;
        DrawSelection(view, false);
        page->ChangeObjectSelection(eClearSelection);
        DrawSelection(view, shown);
        if (had)
            SelectionChanged(view, "Clear");
        if (fnGetProperty(kPropRightClearsToDefault))
            view->SelectDefaultTool(0);
    } else if (m_bBandMode) {
        EraseBand(view);
        m_bBandMode = 0;
        ::ReleaseCapture();
    } else if (m_pEcho) {
        CancelDrag(view);
    }
    view->SendMessage(WM_SETCURSOR, WPARAM(view->GetSafeHwnd()), MAKELPARAM(HTCLIENT, 0));
}

void CSelectTool::OnRButtonUp(CDesignView*, UINT, const CPoint&) {}
void CSelectTool::OnRButtonDblClk(CDesignView*, UINT, const CPoint&) {}

void CSelectTool::CancelDrag(CDesignView* view) {
    FeedbackScope scope(*this);
    DrawEcho(view);
    delete m_pEcho;
    m_pEcho = nullptr;
    m_HitHandle = eHandleNone;
    m_Transform = CMat2d();
    DrawSelection(view, true);
    if (Holds(view))
        ::ReleaseCapture();
    if (m_bAutoPanning && view)
        view->KillTimer(kTimerAutoPan);
    m_bAutoPanning = 0;
}

void CSelectTool::EraseBand(CDesignView* view) {
    if (!m_bBandShown)
        return;
    FeedbackScope scope(*this);
    if (CJoxDC* dc = FeedbackDC(view))
        dc->DrawFocusRect(&m_BandShownAt);
    m_bBandShown = false;
}

void CSelectTool::DrawBand(CDesignView* view, const CLpoint& from, const CLpoint& to) {
    FeedbackScope scope(*this);
    EraseBand(view);
    CJoxDC* dc = FeedbackDC(view);
    if (!dc || !m_bBandMode)
        return;
    CPoint a(from.x, from.y), b(to.x, to.y);
    view->DocToClient(a);
    view->DocToClient(b);
    CRect r(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
    dc->DrawFocusRect(&r);
    m_BandShownAt = r;
    m_bBandShown = true;
}

BOOL CSelectTool::OnSetCursor(CDesignView* view, CWnd*, UINT hitTest, UINT) {
    if (!view || m_bKeyDisplay)
        return FALSE;
    if (Holds(view))
        return m_pEcho || m_bBandMode ? TRUE : FALSE;
    if (hitTest != HTCLIENT) {
        m_HitHandle = eHandleNone;
        return TRUE;
    }
    POINT p{0, 0};
    ::GetCursorPos(&p);
    ::ScreenToClient(view->GetSafeHwnd(), &p);
    if (NumSelected(view) > 0) {
        if (const HandleType h = HitTestHandles(view, CPoint(p.x, p.y)); h != eHandleNone) {
            m_bBandMode = 0;
            SetHandleCursor(QvGetStopRescaleOn() ? eHandleCentre : h, 0);
            return TRUE;
        }
    }
    if (Held(VK_MENU)) {
        m_bBandMode = 1;
        SetResourceCursor(IDC_SELECT_BAND);
    } else if (Held('S') && !fnGetProperty(kPropNoSelfSelect)) {
        SetResourceCursor(IDC_SELECT_SELF);
    } else if (Held('N')) {
        SetResourceCursor(IDC_SELECT_COLOUR);
    } else if (Held('G')) {
        SetResourceCursor(IDC_SELECT_GROUP);
    } else {
        return FALSE;
    }
    return TRUE;
}

void CSelectTool::RefreshCursor(CDesignView* view) {
    if (view && ::IsWindow(view->GetSafeHwnd()))
        view->SendMessage(WM_SETCURSOR, WPARAM(view->GetSafeHwnd()), MAKELPARAM(HTCLIENT, 0));
}

LRESULT CSelectTool::OnIdleUpdateCmdUI(CDesignView* view, WPARAM, LPARAM) {
    if (!view || Holds(view))
        return 0;
    const int alt = Held(VK_MENU) ? 1 : 0;
    if (alt != m_bBandMode) {
        m_bBandMode = alt;
        RefreshCursor(view);
    }
    return 0;
}

void CSelectTool::OnScroll(CDesignView* view, bool vertical, UINT code, UINT pos, CScrollBar* bar) {
    if (!view)
        return;
    // The feedback is erased before the view moves and drawn again after, each on a context
    // prepared for the scroll position it belongs to.
    const bool band = m_bBandMode && m_bBandShown;
    const bool echo = m_pEcho && Holds(view);
    {
        FeedbackScope scope(*this);
        if (band)
            EraseBand(view);
        if (echo)
            DrawEcho(view);
    }
    CDesignTool::OnScroll(view, vertical, code, pos, bar);
    FeedbackScope scope(*this);
    if (band)
        DrawBand(view, m_lpDown, m_lpCurrent);
    if (echo)
        DrawEcho(view);
}
