// The select tool's keys, commands, activation, painting and prompt.
#include "design/design_page.h"
#include "design/design_view.h"
#include "design/document/move_dlg.h"
#include "design/item_echo.h"
#include "design/select_tool.h"
#include "design/tools/select_keys.h"
#include "design/tools/tool_text.h"
#include "pivora/framework/app_params.h"
#include "pivora/select.h"
#include "platform/framework/cmd_ui.h"
#include "platform/windowing/resources.h"
#include "qvutils/qv_utils.h"

using namespace select_keys;

namespace {

template <class Fn> void ForEachEntry(CDesignPage* page, Fn fn) {
    const CSelectList& list = page->GetObjectSelectionList();
    for (POSITION pos = list.GetHeadPosition(); pos;)
        fn(list.GetNext(pos));
}

} // namespace

void CSelectTool::OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) {
    if (!view || m_bKeyDisplay)
        return;
    const bool autoRepeat = (flags & kKeyRepeatFlag) != 0;
    const bool ctrl = Held(VK_CONTROL);
    switch (key) {
    case VK_TAB:
        TabToNextHit(view);
        StartKeyDisplay(view);
        return;
    case VK_SPACE:
        StartKeyDisplay(view);
        return;
    case VK_RETURN: {
        CDesignPage* page = view->GetDocument();
        const CSelectList& list = page->GetObjectSelectionList();
        for (POSITION pos = list.GetTailPosition(); pos;)
            if (CArticle* a = list.GetPrev(pos)->Article()) {
                if (const int id = a->GetDefaultToolId())
                    view->PostMessage(WM_COMMAND, WPARAM(id), 0);
                break;
            }
        return;
    }
    case VK_ESCAPE: {
        POINT p{0, 0};
        ::GetCursorPos(&p);
        ::ScreenToClient(view->GetSafeHwnd(), &p);
        OnMouseMove(view, 0, CPoint(p.x, p.y));
        OnRButtonDown(view, 0, CPoint(p.x, p.y));
        return;
    }
    case 'K': {
        POINT p{0, 0};
        ::GetCursorPos(&p);
        ::ScreenToClient(view->GetSafeHwnd(), &p);
        OnMButtonDown(view, MK_MBUTTON, CPoint(p.x, p.y));
        OnMButtonUp(view, 0, CPoint(p.x, p.y));
        return;
    }
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        const int nudgeByKeys = QvGetSetAppParam(L"Use left-right-up-down Nudge", 1);
        const bool horizontal = key == VK_LEFT || key == VK_RIGHT;
        if (horizontal && ctrl == (nudgeByKeys != 0))
            fnMoveSelection(view, key == VK_RIGHT ? 1 : 2);
        else if (horizontal || ctrl == (nudgeByKeys == 0))
            NudgeSelection(view, key);
        return;
    }
    case 'T':
        RepeatTransform(view);
        return;
    case 'M':
        RunMoveDialog(view);
        return;
    case VK_SHIFT:
        if (!autoRepeat && m_HitHandle != eHandleNone && m_pEcho) {
            FeedbackScope scope(*this);
            DrawEcho(view);
            SetTransform(view, CPoint(kDataLimit, 0), MK_SHIFT);
            DrawEcho(view);
            DisplayPrompt(view);
        }
        return;
    case VK_CONTROL:
    case 'G':
    case 'N':
    case 'S':
        if (CWnd::GetCapture() != view)
            RefreshCursor(view);
        return;
    default:
        CDesignTool::OnKeyDown(view, key, repeat, flags);
    }
}

void CSelectTool::OnKeyUp(CDesignView* view, UINT key, UINT, UINT) {
    if (!view)
        return;
    switch (key) {
    case VK_SPACE:
    case VK_TAB:
        EndKeyDisplay(view);
        return;
    case VK_SHIFT:
        if (m_HitHandle != eHandleNone && m_pEcho && !m_bKeyDisplay) {
            FeedbackScope scope(*this);
            DrawEcho(view);
            SetTransform(view, CPoint(kDataLimit, 0), 0);
            DrawEcho(view);
            DisplayPrompt(view);
        }
        return;
    case VK_CONTROL:
    case 'G':
    case 'N':
    case 'S':
        if (CWnd::GetCapture() != view)
            RefreshCursor(view);
        return;
    default:
        return;
    }
}

void CSelectTool::TabToNextHit(CDesignView* view) {
    CDesignPage* page = view->GetDocument();
    const CArticleList& hits = page->HitList();
    const int n = int(hits.GetCount());
    if (n == 0)
        return;
    // Entries may have been deleted or undone since the click: each is asked for by its
    // address alone, and read only once the page knows it.
    std::vector<CArticle*> entries;
    entries.reserve(size_t(n));
    for (POSITION pos = hits.GetHeadPosition(); pos;)
        entries.push_back(hits.GetNext(pos));
    CArticle* previous = nullptr;
    if (m_nHitIndex >= 0 && m_nHitIndex < n && page->IsInActiveTree(entries[size_t(m_nHitIndex)]))
        previous = TopLevel(view, entries[size_t(m_nHitIndex)]);
    int next = -1;
    for (int step = 1; step <= n; ++step) {
        const int i = ((m_nHitIndex < 0 ? -1 : m_nHitIndex) + step) % n;
        if (page->IsInActiveTree(entries[size_t(i)])) {
            next = i;
            break;
        }
    }
    if (next < 0)
        return;
    m_nHitIndex = next;
    CArticle* top = TopLevel(view, entries[size_t(next)]);
    if (!top)
        return;
    const UINT shiftFlag = Held(VK_SHIFT) ? MK_SHIFT : 0;
    if (Held('N')) {
        SelectColour(view, shiftFlag, top);
    } else if (Held('G')) {
        SelectGroup(view, shiftFlag, top);
    } else {
        FeedbackScope scope(*this);
        if (previous && previous != top)
            Deselect(view, previous, 0);
        Select(view, top, CSelect::kSelectArticle, 1);
    }
}

void CSelectTool::RunMoveDialog(CDesignView* view) {
    if (NumSelected(view) == 0)
        return;
    m_bBandMode = 0;
    m_HitHandle = eHandleBody;
    SetHandleCursor(eHandleBody, 0);
    CMoveDlg dlg(view);
    if (dlg.DoModal() != IDOK)
        return;
    const double units = QvGetInchDisplayOn() ? kDataUnitsPerInch : kDataUnitsPerMm;
    MoveSelectionBy(view, dlg.m_dX * units, dlg.m_dY * units, dlg.m_bAbsolute != 0);
}

void CSelectTool::OnActivate(CDesignView* view, BOOL active, CView*, CView*) {
    DrawSelection(view, active != FALSE);
}

void CSelectTool::OnInit(CDesignView* view, int reason) {
    CDesignTool::OnInit(view, reason);
    TKeyOverride rows[] = {
        {FVIRTKEY | FSHIFT, WORD(VK_LEFT), WORD(ID_NUDGE_LEFT), 0},
        {FVIRTKEY | FSHIFT, WORD(VK_UP), WORD(ID_NUDGE_UP), 0},
        {FVIRTKEY | FSHIFT, WORD(VK_RIGHT), WORD(ID_NUDGE_RIGHT), 0},
        {FVIRTKEY | FSHIFT, WORD(VK_DOWN), WORD(ID_NUDGE_DOWN), 0},
        {FVIRTKEY | FSHIFT, WORD(VK_DIVIDE), WORD(ID_NUDGE_DIVIDE), 0},
        {FVIRTKEY | FSHIFT, WORD(VK_OEM_2), WORD(ID_NUDGE_DIVIDE), 0},
    };
    OverrideKeyAccelerators(view, rows, int(std::size(rows)));
    DrawSelection(view, true);
    SelectionChanged(view, "Init");
}

void CSelectTool::OnExit(CDesignView* view, int reason) {
    if (reason) {
        // Whatever is under way ends with the tool.
        if (m_pEcho)
            CancelDrag(view);
        EraseBand(view);
        m_bBandMode = 0;
        m_bKeyDisplay = 0;
    }
    DrawSelection(view, false);
    SelectionChanged(view, "Exit");
    if (reason)
        DestroyKeyAccelerators();
    CDesignTool::OnExit(view, reason);
}

void CSelectTool::OnDraw(CDesignView* view, CJoxDC* dc) {
    CDesignTool::OnDraw(view, dc);
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || !dc)
        return;
    if (m_pEcho && (m_bKeyDisplay || m_HitHandle != eHandleNone)) {
        OnDrawExtents(dc);
        m_pEcho->Draw(view, dc);
        return;
    }
    if (!m_bShown)
        return;
    ForEachEntry(page, [&](CSelect* s) {
        CWindow w = CWindow::EmptyExtent();
        s->GetExtents(w);
        if (w.x2 >= w.x1 && w.y2 >= w.y1)
            OnDrawExtents(dc, w);
    });
    if (m_bBandShown && CWnd::GetCapture() == view && DynamicDrawingAllowed()) {
        dc->DrawFocusRect(&m_BandShownAt);
    } else if (m_bHandlesShown) {
        const CWindow keep = m_Extents;
        m_Extents = m_HandlesAt;
        OnDrawHandles(dc);
        m_Extents = keep;
    }
}

int CSelectTool::ContextMenuID(CDesignView* view) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || CWnd::GetCapture() == view || NumSelected(view) == 0 ||
        !QvGetAppParam(L"Enable Right-Click Menu", 1) ||
        GetRuntimeClass() != RUNTIME_CLASS(CSelectTool))
        return 0;
    int result = 0;
    bool first = true;
    const CSelectList& list = page->GetObjectSelectionList();
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CArticle* a = list.GetNext(pos)->Article();
        if (!a)
            continue;
        const int id = a->fnGetRightClickMenu();
        if (first && id != 0) {
            result = id;
            first = false;
            continue;
        }
        if (id == 0 || id != result) {
            result = a->CArticle::fnGetRightClickMenu();
            break;
        }
    }
    return result;
}

void CSelectTool::CreatePrompt(CDesignView* view) {
    CDesignPage* page = view ? view->GetDocument() : m_pDocument;
    if (!page) {
        m_strPrompt = L" ";
        return;
    }
    const int n = page->GetObjectSelectionCount();
    if (n == 0) {
        m_strPrompt = L" ";
        return;
    }
    bool agree = true;
    bool haveName = false;
    CString name, kind;
    ForEachEntry(page, [&](CSelect* s) {
        CArticle* a = s->Article();
        if (!a || !agree)
            return;
        CString itemName, itemKind, detail, special;
        const int info = a->GetInfo(itemName, itemKind, detail);
        if (a->fnGetString(L"Morvell Name", special))
            itemName = special;
        else if (!info) {
            agree = false;
            return;
        }
        if (haveName && itemName != name)
            agree = false;
        if (!haveName) {
            name = itemName;
            kind = itemKind;
            haveName = true;
        }
    });
    RecalcExtents(view);
    CString size, part;
    size.Format(ToolText(IDS_RESIZE_WIDTH), (double(m_Extents.x2) - m_Extents.x1) * 0.001);
    part.Format(ToolText(IDS_RESIZE_HEIGHT), (double(m_Extents.y2) - m_Extents.y1) * 0.001);
    size += part;
    size.TrimRight();
    if (n == 1) {
        if (agree && haveName)
            m_strPrompt.Format(L"%s %s  %s", name.GetString(), kind.GetString(), size.GetString());
        else
            m_strPrompt.Format(L"%s  %s", ToolText(IDS_AN_OBJECT).GetString(), size.GetString());
    } else if (agree && haveName) {
        m_strPrompt.Format(L"%d x %s  %s", n, name.GetString(), size.GetString());
    } else {
        m_strPrompt.Format(L"%d %s  %s", n, ToolText(IDS_OBJECTS).GetString(), size.GetString());
    }
    if (QvGetInchDisplayOn())
        QvConvertDisplayPrompt(m_strPrompt);
}

void CSelectTool::DisplayPrompt(CDesignView* view) {
    if (!view)
        return;
    CString ready;
    view->fnGetReadyPrompt(ready);
    QvSetStatusText(0, ready);
    if (m_pEcho && !m_bKeyDisplay && m_HitHandle != eHandleNone && CWnd::GetCapture() == view) {
        if (m_HitHandle == eHandleCentre)
            DisplayMove();
        else
            DisplayResize();
    } else {
        QvSetStatusText(1, m_strPrompt.IsEmpty() ? L" " : m_strPrompt.GetString());
    }
}

void CSelectTool::OnSelectionChanged() {
    CDesignView* view = m_pViewForLastMessage;
    RecalcExtents(view);
    CreatePrompt(view);
    if (view && view->IsActive())
        DisplayPrompt(view);
}

BOOL CSelectTool::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    CCmdUI* ui = UpdateUI(code, extra);
    switch (id) {
    case ID_SELECTION_CHANGED:
        if (code == CN_COMMAND && !IsQuery(handlerInfo))
            OnSelectionChanged();
        return FALSE;
    case ID_UNITS_CHANGED:
        if (code == CN_COMMAND && !IsQuery(handlerInfo)) {
            CreatePrompt(m_pViewForLastMessage);
            DisplayPrompt(m_pViewForLastMessage);
        }
        return FALSE;
    case ID_EDIT_CLEAR:
        if (IsQuery(handlerInfo))
            return TRUE;
        if (ui)
            ui->Enable(NumSelected(m_pViewForLastMessage) > 0);
        else if (code == CN_COMMAND)
            OnEditClear();
        return TRUE;
    case ID_SELECT_ALL:
    case ID_INVERT_SELECTION:
        if (IsQuery(handlerInfo))
            return TRUE;
        if (ui)
            ui->Enable(TRUE);
        else if (code == CN_COMMAND)
            id == ID_SELECT_ALL ? OnSelectAll() : OnInvertSelection();
        return TRUE;
    default: {
        BOOL handled = FALSE;
        if (OnArrangeCmdMsg(id, code, extra, handlerInfo, handled) ||
            OnClipboardCmdMsg(id, code, extra, handlerInfo, handled))
            return handled;
        return CDesignTool::OnCmdMsg(id, code, extra, handlerInfo);
    }
    }
}
