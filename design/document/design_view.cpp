#include "design/design_view.h"
#include "design/document/route_frames.h"

#include "design/design_page.h"
#include "design/design_tool.h"
#include "design/document/undo_transaction_names.h"
#include "design/sub_tool.h"
#include "pivora/article.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/area_hint.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_win_app_ex.h"
#include "pivora/select.h"
#include "pivora/selection_request.h"
#include "platform/core/exceptions.h"
#include "platform/framework/cmd_ui.h"
#include "platform/framework/context_menu_manager.h"
#include "platform/framework/frame_messages.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/menu.h"
#include "platform/framework/wait_cursor.h"
#include "platform/system/clock.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/message.h"
#include "platform/windowing/message_box.h"
#include "platform/windowing/resources.h"
#include "qvutils/qv_utils.h"
#include "qvutils/tavrin_dialog.h"
#include "toolbars/jox_toolbar_frame_wnd.h"
#include "toolbars/toolbar_registry.h"
#include "toolbars/undo_bar.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CDesignView, CJoxView)

namespace {

// The template registered for a context; a context beyond the table has none, and is told.
CJoxDocTemplate* TemplateOfContext(int context) {
    try {
        return ::GetDocTemplate(context);
    } catch (const CInvalidArgException& e) {
        AfxMessageBox(e.GetMessageText(), MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
}

// The text after the last line feed of a string resource.
CString PromptOf(UINT id) {
    CString text;
    AfxLoadString(id, text);
    const int nl = text.ReverseFind(L'\n');
    return nl >= 0 ? text.Mid(nl + 1) : text;
}

} // namespace

CDesignView::CDesignView() {
    m_strUndoPrompt = PromptOf(IDS_UNDO);
    m_strRedoPrompt = PromptOf(IDS_REDO);
}

CDesignView::~CDesignView() {
    FnMarkViewGone(this);
    QvUnsetViewForToolbars(this);
    fnDeleteAllModelessDialogs();
}

CDesignPage* CDesignView::GetDocument() const {
    return dynamic_cast<CDesignPage*>(m_pDocument);
}

int CDesignView::IsCDesignView(const CObject* o) {
    return o && o->IsKindOf(RUNTIME_CLASS(CDesignView));
}

// Tools ----------------------------------------------------------------------------------------

CDesignTool* CDesignView::GetDesignTool() const {
    CDesignPage* page = GetDocument();
    if (!page)
        return nullptr;
    if (CSubTool* sub = page->GetSubTool())
        return sub;
    return page->GetDesignTool();
}

CDesignTool* CDesignView::SelectDesignTool(CDesignTool* tool, int now) {
    CDesignPage* page = GetDocument();
    if (!page) {
        delete tool;
        return nullptr;
    }
    return page->SelectDesignTool(tool, this, now);
}

CSubTool* CDesignView::SelectSubTool(CSubTool* tool, int now) {
    CDesignPage* page = GetDocument();
    if (!page) {
        delete tool;
        return nullptr;
    }
    return page->SelectSubTool(tool, this, now);
}

void CDesignView::SelectNullTool(int now) {
    CString prompt;
    fnGetReadyPrompt(prompt);
    QvSetStatusText(0, prompt);
    SelectDesignTool(new CDesignTool(0), now);
}

void CDesignView::fnGetReadyPrompt(CString& prompt) {
    AfxLoadString(IDS_IDLE_PROMPT, prompt);
}

void CDesignView::SelectDefaultTool(int now) {
    m_nRightClickMenu = IDR_RIGHT_CLICK_MENU;
    if (now)
        SendMessage(WM_COMMAND, ID_SELECT_TOOL);
    else
        PostMessage(WM_COMMAND, ID_SELECT_TOOL);
}

void CDesignView::SendSelectionChangedMsg(bool post) {
    CDesignPage* page = GetDocument();
    if (page && page->AreUpdatesLocked())
        return;
    if (post)
        PostMessage(WM_COMMAND, ID_SELECTION_CHANGED);
    else
        SendMessage(WM_COMMAND, ID_SELECTION_CHANGED);
}

BOOL CDesignView::ReleaseCapture(int keepFlag) {
    if (!keepFlag)
        m_bReCapture = false;
    return ::ReleaseCapture();
}

namespace {

HWND StatusBarOf(CWnd* view) {
    CWnd* top = view->GetTopLevelParent();
    if (!top)
        return nullptr;
    // A breadth-first search keeps the nearest match.
    std::vector<HWND> level{top->m_hWnd};
    while (!level.empty()) {
        std::vector<HWND> next;
        for (HWND h : level)
            for (HWND c = ::GetWindow(h, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
                if (::GetDlgCtrlID(c) == int(CDesignView::kStatusBarId))
                    return c;
                next.push_back(c);
            }
        level.swap(next);
    }
    return nullptr;
}

} // namespace

void CDesignView::NotifyProcessStart() {
    if (CDesignTool* tool = GetDesignTool())
        tool->OnExit(this, 0);
    if (CDesignPage* page = GetDocument())
        page->LockUpdates();
    if (HWND bar = StatusBarOf(this))
        ::SendMessageW(bar, WM_SETREDRAW, FALSE, 0);
}

void CDesignView::NotifyProcessEnd() {
    if (HWND bar = StatusBarOf(this))
        ::SendMessageW(bar, WM_SETREDRAW, TRUE, 0);
    if (CDesignPage* page = GetDocument())
        page->UnlockUpdates();
    if (CDesignTool* tool = GetDesignTool())
        tool->OnInit(this, 0);
}

void CDesignView::MarkMenuItemHidden(CMenu* menu, UINT item, int byPosition) {
    if (!menu)
        return;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    info.dwItemData = 1;
    ::SetMenuItemInfoW(menu->m_hMenu, item, byPosition, &info);
}

BOOL CDesignView::RemoveKeyDownMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, m_hWnd, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
    }
    return ::PeekMessageW(&msg, m_hWnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE);
}

void CDesignView::OrthogonalPoint(CPoint& point, const CPoint& reference) {
    CPoint p = point;
    ClientToDoc(p);
    const int64_t dx = int64_t(p.x) - reference.x, dy = int64_t(p.y) - reference.y;
    if ((dx < 0 ? -dx : dx) < (dy < 0 ? -dy : dy))
        p.x = reference.x;
    else
        p.y = reference.y;
    m_ptExactDoc = p;
    DocToClient(p);
    point = p;
}

int CDesignView::ContextMenuID() {
    CDesignTool* tool = GetDesignTool();
    return tool ? tool->ContextMenuID(this) : 0;
}

void CDesignView::ShowContextMenu(int menuId, CPoint clientPoint) {
    CContextMenuManager* manager = AfxGetContextMenuManager();
    if (!manager || menuId < 1)
        return;
    HMENU menu = ::LoadMenuW(nullptr, UINT(menuId));
    if (!menu)
        return;
    HMENU popup = ::GetSubMenu(menu, 0);
    CWnd* main = AfxGetMainWnd();
    if (popup && main) {
        POINT screen = clientPoint;
        ::ClientToScreen(m_hWnd, &screen);
        manager->ShowPopupMenu(popup, screen.x, screen.y, main, TRUE);
    }
    ::DestroyMenu(menu);
}

void CDesignView::InvalRect(CWindow* w) {
    if (!w)
        return;
    CRect r(w->x1, w->y2, w->x2, w->y1);
    DocToClient(r);
    r.InflateRect(kInvalRectMargin, kInvalRectMargin);
    InvalidateRect(&r, TRUE);
}

void CDesignView::InvalArticle(CArticle* a) {
    if (!a)
        return;
    CJoxClientDC dc(this, eClientDocument);
    OnPrepareDC(&dc, nullptr);
    CRect r = a->CalcClientExtents(&dc);
    r.InflateRect(kInvalArticleMargin, kInvalArticleMargin);
    InvalidateRect(&r, TRUE);
}

BOOL CDesignView::GetViewTitleName(CString& name) {
    CJoxDocTemplate* tmpl = TemplateOfContext(Context());
    if (!tmpl)
        return FALSE;
    for (auto index :
         {CDocTemplate::windowTitle, CDocTemplate::docName, CDocTemplate::fileNewName}) {
        CString text;
        if (tmpl->GetDocString(text, index) && !text.IsEmpty()) {
            name = text;
            return TRUE;
        }
    }
    return FALSE;
}

void CDesignView::OnToolBarCmdMsg(UINT id) {
    QvCmdMsgToContextToolbars(id, m_dwContextMask);
}

int CDesignView::RefreshSelectionProperties() {
    OnToolBarCmdMsg(ID_SELECTION_CHANGED);
    m_bGluedInSelection = 0;
    m_bGroupedInSelection = 0;
    CDesignPage* page = GetDocument();
    if (!page)
        return 0;
    for (POSITION pos = page->GetFirstObjectSelection(nullptr); pos;) {
        CSelect* s = page->GetNextObjectSelection(pos, nullptr);
        CArticle* a = s ? s->Article() : nullptr;
        if (!a)
            continue;
        if (a->GetProperty(kGluedProperty))
            m_bGluedInSelection = 1;
        if (a->GetEffect(L"Group", nullptr))
            m_bGroupedInSelection = 1;
    }
    return 0;
}

BOOL CDesignView::SetUpToolbar(UINT slot, UINT resource, UINT dockBar, int after) {
    if (!QvCreateToolbar(int(slot), resource, m_dwContextMask))
        return FALSE;
    QvPlaceToolbar(int(slot), dockBar, after, TRUE);
    return TRUE;
}

// Modeless dialogs ------------------------------------------------------------------------------

void CDesignView::fnAddModelessDlg(CTavrinDialog* dlg) {
    m_ModelessDialogs.push_back(dlg);
}

CTavrinDialog* CDesignView::fnFindModelessDlg(UINT dialogId) {
    for (CTavrinDialog* d : m_ModelessDialogs)
        if (d && d->DialogID() == dialogId)
            return d;
    return nullptr;
}

int CDesignView::fnRemoveModelessDialog(CTavrinDialog* dlg, int destroy) {
    auto it = std::find(m_ModelessDialogs.begin(), m_ModelessDialogs.end(), dlg);
    if (it == m_ModelessDialogs.end())
        return 0;
    m_ModelessDialogs.erase(it);
    if (destroy && dlg && ::IsWindow(dlg->m_hWnd))
        dlg->DestroyWindow();
    return 1;
}

void CDesignView::fnShowAllModelessDialogs(int show) {
    for (CTavrinDialog* d : m_ModelessDialogs)
        if (d && ::IsWindow(d->m_hWnd))
            d->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CDesignView::fnDeleteAllModelessDialogs() {
    // Taken first: a dialog may remove itself from the list while it is destroyed.
    std::vector<CTavrinDialog*> dialogs;
    dialogs.swap(m_ModelessDialogs);
    for (CTavrinDialog* d : dialogs)
        if (d && ::IsWindow(d->m_hWnd))
            d->DestroyWindow();
}

// Command-UI handlers ---------------------------------------------------------------------------

void CDesignView::OnUpdateProhibitedItem(CCmdUI* ui) {
    if (!ui)
        return;
    if (ui->m_pMenu && !ui->m_pOther) {
        CMenu menu;
        menu.m_hMenu = ui->m_pMenu;
        MarkMenuItemHidden(&menu, ui->m_nIndex, TRUE);
        menu.m_hMenu = nullptr;
    }
    ui->Enable(FALSE);
}

void CDesignView::OnUpdateDisabledItem(CCmdUI* ui) {
    if (ui)
        ui->Enable(FALSE);
}

void CDesignView::OnUpdateUncheckedItem(CCmdUI* ui) {
    if (!ui)
        return;
    ui->Enable(TRUE);
    ui->SetCheck(0);
}

// Selection notices and update hints
// ----------------------------------------------------------------

void CDesignView::UpdateSelection(UINT code, void* data) {
    switch (code) {
    case kSelDrawSelection:
        if (CDesignPage* page = GetDocument())
            if (CDesignTool* tool = page->GetDesignTool())
                tool->DrawSelection(this, data ? *static_cast<BYTE*>(data) != 0 : false);
        break;
    case kSelTakeFocus:
        if (::IsWindow(m_hWnd))
            SetFocus();
        break;
    case kSelRefreshProperties:
        RefreshSelectionProperties();
        break;
    default:
        break;
    }
}

void CDesignView::OnUpdate(CView*, LPARAM hint, CObject* hintObject) {
    CDesignPage* page = GetDocument();
    switch (hint) {
    case kHintAll:
        Invalidate(FALSE);
        break;
    case kHintRect:
        if (auto* area = dynamic_cast<CAreaHint*>(hintObject))
            InvalidateDocRect(area->Area(), TRUE);
        break;
    case kHintArticle:
        if (auto* a = dynamic_cast<CArticle*>(hintObject))
            a->InvalidateView(this);
        break;
    case kHintSelection:
        if (page)
            for (POSITION pos = page->GetFirstObjectSelection(nullptr); pos;) {
                CSelect* s = page->GetNextObjectSelection(pos, nullptr);
                if (s && s->Article())
                    s->Article()->InvalidateView(this);
            }
        break;
    case kHintPalette:
        // Surfaces here are true colour: a realised palette changes no pixel.
        break;
    case kHintRulers: {
        CRect client;
        CWnd::GetClientRect(&client);
        const CSize ruler = GetRulerSize();
        CRect left(1, 1, ruler.cx - 1, client.bottom - 1);
        CRect top(1, 1, client.right - 1, ruler.cy - 1);
        InvalidateRect(&left, TRUE);
        InvalidateRect(&top, TRUE);
        break;
    }
    case kHintPageFrame: {
        auto* area = dynamic_cast<CAreaHint*>(hintObject);
        if (!area || !QvGetAppParam(L"Draw Page Frame", 0))
            break;
        const CWindow& w = area->Area();
        CRect r(w.x1, w.y2, w.x2, w.y1);
        DocToClient(r);
        r.InflateRect(2, 2);
        const CRect strips[4] = {{r.left - 1, r.top - 1, r.left + 1, r.bottom + 1},
                                 {r.left - 1, r.top - 1, r.right + 1, r.top + 1},
                                 {r.right - 1, r.top - 1, r.right + 1, r.bottom + 1},
                                 {r.left - 1, r.bottom - 1, r.right + 1, r.bottom + 1}};
        for (const CRect& s : strips)
            InvalidateRect(&s, TRUE);
        if (!QvGetAppParam(L"Draw Page Frame Dashed", 0)) {
            CRect shadow(r.left + 1, r.bottom, r.right + 5, r.bottom + 5);
            InvalidateRect(&shadow, TRUE);
        }
        break;
    }
    default:
        break;
    }
}

// Activation and set-up -------------------------------------------------------------------------

void CDesignView::OnInitialUpdate() {
    SetRuler(QvGetAppParam(L"Ruler", 1) != 0, FALSE);
    SendMessage(WM_REALISE_PALETTE, 0, 0);
    SelectDefaultTool(0);
}

void CDesignView::OnActivateView(BOOL activate, CView* activated, CView* deactivated) {
    CJoxView::OnActivateView(activate, activated, deactivated);
    if ((activate != 0) == (m_bActive != 0))
        return;
    m_bActive = activate ? 1 : 0;
    CArticle::fnSetRightClickMenu(activate ? m_nRightClickMenu : 0);
    CDesignPage* page = GetDocument();
    if (activate && page) {
        CJoxDocTemplate* tmpl = TemplateOfContext(Context());
        if (tmpl && page->GetDocTemplate() != tmpl) {
            if (CDocTemplate* old = page->GetDocTemplate())
                old->RemoveDocument(page);
            tmpl->AddDocument(page);
        }
        page->Context(Context());
        page->AutoResize(QvGetResizeOn());
        SendMessage(WM_REALISE_PALETTE, 0, 0);
    }
    if (CDesignTool* tool = GetDesignTool())
        tool->OnActivate(this, activate, activated, deactivated);
    if (activate) {
        QvSetViewForContextToolbars(this, m_dwContextMask);
        QvPaintAllToolBars();
        if (m_bReCapture) {
            SendMessage(WM_SETCURSOR, WPARAM(m_hWnd), 0);
            SetCapture();
        }
    } else if (::GetCapture() == m_hWnd) {
        ReleaseCapture(1);
    }
    fnShowAllModelessDialogs(activate);
    CUndoBar::SetUndoTransactionNamesCallback(activate ? &UndoTransactionNames : nullptr);
}

LRESULT CDesignView::OnContextActivated() {
    MSG msg;
    if (::PeekMessageW(&msg, m_hWnd, WM_CONTEXT_ACTIVATED, WM_CONTEXT_DEACTIVATED, PM_NOREMOVE))
        return 1;
    CWaitCursor wait;
    CWnd* main = AfxGetMainWnd();
    if (main)
        main->SendMessage(WM_SETREDRAW, FALSE);
    QvHideAllToolBars(0);
    SetUpToolbars(true);
    if (CJoxToolbarFrameWnd* frame = CJoxToolbarFrameWnd::s_pFrmWnd)
        frame->LoadSaveContext(m_dwContextMask);
    QvSetViewForContextToolbars(this, m_dwContextMask);
    if (main)
        main->SendMessage(WM_SETREDRAW, TRUE);
    if (CJoxToolbarFrameWnd* frame = CJoxToolbarFrameWnd::s_pFrmWnd)
        frame->RecalcLayoutEx(TRUE);
    QvPaintAllToolBars();
    CDesignTool* tool = GetDesignTool();
    if (tool && tool->GetRuntimeClass() == RUNTIME_CLASS(CDesignTool))
        SelectDefaultTool(0);
    return 1;
}

LRESULT CDesignView::OnContextDeactivated(WPARAM flags) {
    if (flags & kDeactivateNullTool)
        SelectNullTool(1);
    if (CJoxToolbarFrameWnd* frame = CJoxToolbarFrameWnd::s_pFrmWnd)
        frame->LoadSaveContext(m_dwContextMask);
    if (flags & kDeactivateNoContext)
        QvSetupToolbarsForNoKnownContext(0);
    return 1;
}

namespace {
// Kept across all views: a burst of resets from several windows rebuilds once.
bool g_resetSeen = false;
DWORD g_lastReset = 0;
} // namespace

LRESULT CDesignView::OnResetContextToolbars() {
    const DWORD now = ::GetTickCount();
    if (g_resetSeen && now - g_lastReset <= kResetGuardMs)
        return 0;
    g_resetSeen = true;
    g_lastReset = now;
    SendMessage(WM_CONTEXT_ACTIVATED, 0, 0);
    return 0;
}

LRESULT CDesignView::OnRealisePalette(WPARAM) {
    // Surfaces here are true colour: realising the page's palette changes no entry, so the
    // views never need hint 5 from here.
    return 0;
}
