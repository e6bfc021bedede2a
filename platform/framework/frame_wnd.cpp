#include "platform/framework/frame_wnd.h"

#include "platform/framework/cmd_ui.h"
#include "platform/framework/control_bar.h"
#include "platform/framework/create_context.h"
#include "platform/framework/dock_layout.h"
#include "platform/framework/document.h"
#include "platform/framework/view.h"
#include "platform/framework/win_app.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/ui_notify.h"

#include <algorithm>
#include <string>

IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)

CFrameWnd::~CFrameWnd() {
    for (CControlBar* bar : m_bars)
        bar->m_pDockSite = nullptr;
    if (AfxGetMainWnd() == this)
        AfxSetMainWnd(nullptr);
}

BOOL CFrameWnd::Create(LPCWSTR className, LPCWSTR title, DWORD style, const RECT& rect,
                       CWnd* parent, LPCWSTR, DWORD exStyle, CCreateContext* context) {
    m_strTitle = title ? title : L"";
    m_pCreateContext = context;
    BOOL ok = CreateEx(exStyle, className, title, style, rect, parent, 0, context);
    m_pCreateContext = nullptr;
    return ok;
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
    CString title;
    if (AfxLoadString(resourceId, title)) {
        int nl = title.Find(L'\n');
        if (nl >= 0)
            title = title.Left(nl);
    }
    if (!Create(nullptr, title, style, CRect(0, 0, 800, 600), parent, nullptr, 0, context))
        return FALSE;
    if (HMENU menu = LoadMenuW(nullptr, resourceId)) {
        m_hMenuDefault = menu;
        if (!(style & WS_CHILD))
            ::SetMenu(m_hWnd, menu);
    }
    m_hAccelTable = LoadAcceleratorsW(nullptr, resourceId);
    if (!context)
        SendMessage(WM_INITIALUPDATE);
    return TRUE;
}

int CFrameWnd::OnCreate(CREATESTRUCTW* cs) {
    if (Default() == -1)
        return -1;
    if (!OnCreateClient(cs, m_pCreateContext))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(CREATESTRUCTW*, CCreateContext* context) {
    if (context && context->m_pNewViewClass)
        return CreateView(context) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id) {
    if (!context || !context->m_pNewViewClass)
        return nullptr;
    CObject* made = context->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CView*>(made);
    if (!view) {
        delete made;
        return nullptr;
    }
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, id,
                      context)) {
        delete view;
        return nullptr;
    }
    return view;
}

CDocument* CFrameWnd::GetActiveDocument() {
    CView* view = GetActiveView();
    return view ? view->GetDocument() : nullptr;
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify) {
    CView* previous = m_pViewActive;
    if (view == previous)
        return;
    m_pViewActive = view;
    if (notify && previous && ::IsWindow(previous->m_hWnd))
        previous->OnActivateView(FALSE, view, previous);
    if (notify && view && ::IsWindow(view->m_hWnd))
        view->OnActivateView(TRUE, view, previous);
    m_bTitleStale = true;
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible) {
    CView* view = GetActiveView();
    if (!view)
        view = dynamic_cast<CView*>(
            CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, int(AFX_IDW_PANE_FIRST))));
    if (view && !GetActiveView())
        SetActiveView(view, FALSE);
    // Every view of this frame gets its first update.
    for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        ::SendMessageW(h, WM_INITIALUPDATE, 0, 0);
    if (view)
        view->OnActivateView(TRUE, view, nullptr);
    (void)doc;
    OnUpdateFrameTitle(TRUE);
    if (makeVisible)
        ActivateFrame();
}

void CFrameWnd::ActivateFrame(int cmdShow) {
    ShowWindow(cmdShow == -1 ? SW_SHOW : cmdShow);
    ::SetActiveWindow(m_hWnd);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
    CDocument* doc = GetActiveDocument();
    if (addToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc)
        UpdateFrameTitleForDocument(doc->GetTitle());
    else
        UpdateFrameTitleForDocument(nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCWSTR docName) {
    CString text = m_strTitle;
    if (docName && *docName) {
        text = m_strTitle.IsEmpty() ? CString(docName) : m_strTitle + L" - " + docName;
    }
    CString current;
    GetWindowText(current);
    if (current != text) {
        SetWindowText(text);
        platform::NotifyUi(platform::UiChange::FrameTitle, m_hWnd, this);
    }
    m_bTitleStale = false;
}

void CFrameWnd::AddControlBar(CControlBar* bar) {
    if (bar && std::find(m_bars.begin(), m_bars.end(), bar) == m_bars.end()) {
        m_bars.push_back(bar);
        bar->m_pDockSite = this;
    }
}

void CFrameWnd::RemoveControlBar(CControlBar* bar) {
    m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), bar), m_bars.end());
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const {
    for (CControlBar* bar : m_bars)
        if (UINT(bar->GetDlgCtrlID()) == id)
            return bar;
    return nullptr;
}

void CFrameWnd::RecalcLayout(BOOL notify) {
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    // Bars share rows (or columns) in the order of the list while they fit.
    std::vector<CControlBar*> shown;
    std::vector<platform::DockedBar> sizes;
    for (CControlBar* bar : m_bars) {
        if (!::IsWindow(bar->m_hWnd) || !bar->IsWindowVisible())
            continue;
        const DWORD style = bar->GetBarStyle();
        platform::DockedBar d;
        d.side = style & CBRS_ALIGN_BOTTOM  ? platform::DockSide::Bottom
                 : style & CBRS_ALIGN_LEFT  ? platform::DockSide::Left
                 : style & CBRS_ALIGN_RIGHT ? platform::DockSide::Right
                                            : platform::DockSide::Top;
        d.size = bar->CalcFixedLayout(FALSE, bar->IsHorizontal());
        shown.push_back(bar);
        sizes.push_back(d);
    }
    const platform::DockLayout layout = platform::LayoutDockedBars(client, sizes);
    for (size_t i = 0; i < shown.size(); ++i)
        shown[i]->MoveWindow(&layout.bars[i]);
    const CRect& rest = layout.rest;
    if (HWND pane = ::GetDlgItem(m_hWnd, int(AFX_IDW_PANE_FIRST)))
        ::MoveWindow(pane, rest.left, rest.top, rest.Width(), rest.Height(), TRUE);
    if (notify)
        platform::NotifyUi(platform::UiChange::FrameLayout, m_hWnd, this);
}

CWnd* CFrameWnd::GetMessageBar() {
    return GetControlBar(AFX_IDW_STATUS_BAR);
}

void CFrameWnd::SetMessageText(LPCWSTR text) {
    CWnd* bar = GetMessageBar();
    if (!bar)
        return;
    CString idle;
    if (!text) {
        AfxLoadString(AFX_IDS_IDLEMESSAGE, idle);
        text = idle;
    }
    bar->SetWindowText(text);
}

void CFrameWnd::SetMessageText(UINT id) {
    CString text;
    AfxLoadString(id, text);
    SetMessageText(text);
}

void CFrameWnd::OnInitMenuPopup(HMENU popup, UINT, BOOL sysMenu) {
    if (sysMenu || !IsMenu(popup))
        return;
    if (CWinApp* app = AfxGetApp())
        app->UpdateRecentFileMenu(popup);
    CCmdUI ui;
    ui.m_pMenu = popup;
    ui.m_nIndexMax = UINT(GetMenuItemCount(popup));
    for (ui.m_nIndex = 0; ui.m_nIndex < ui.m_nIndexMax; ++ui.m_nIndex) {
        ui.m_nID = GetMenuItemID(popup, int(ui.m_nIndex));
        if (ui.m_nID == 0 || ui.m_nID == 0xFFFFFFFF)
            continue; // separators and sub-menus
        ui.m_pSubMenu = nullptr;
        ui.DoUpdate(this, TRUE);
    }
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    if (CView* view = GetActiveView(); view && view->OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    // The bars' items: checked while the bar shows; the command shows or hides it.
    if (id == AFX_IDW_STATUS_BAR || id == AFX_IDW_TOOLBAR) {
        HWND bar = ::GetDlgItem(m_hWnd, int(id));
        if (!bar)
            return FALSE;
        if (CCmdUI* ui = UpdateUI(code, extra)) {
            if (!IsQuery(handlerInfo))
                ui->SetCheck(::IsWindowVisible(bar) ? 1 : 0);
            return TRUE;
        }
        if (code != CN_COMMAND)
            return FALSE;
        if (!IsQuery(handlerInfo)) {
            ::ShowWindow(bar, ::IsWindowVisible(bar) ? SW_HIDE : SW_SHOW);
            RecalcLayout();
        }
        return TRUE;
    }
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CFrameWnd::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    LRESULT r = 0;
    switch (msg) {
    case WM_IDLEUPDATECMDUI:
        OnIdleUpdateCmdUI();
        break;
    case WM_SETMESSAGESTRING:
        if (lp)
            SetMessageText(reinterpret_cast<LPCWSTR>(lp));
        else
            SetMessageText(UINT(wp));
        break;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wp), LOWORD(DWORD_PTR(lp)), HIWORD(DWORD_PTR(lp)));
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wp));
        break;
    case WM_INITIALUPDATE:
        // A frame made without a document: its bars and views get their first update.
        for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            ::SendMessageW(h, WM_INITIALUPDATE, 0, 0);
        break;
    default:
        return CWnd::OnWndMsg(msg, wp, lp, result);
    }
    if (result)
        *result = r;
    return TRUE;
}

void CFrameWnd::OnDropFiles(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::wstring> paths;
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
        DragQueryFileW(drop, i, path.data(), UINT(path.size() + 1));
        paths.push_back(std::move(path));
    }
    // Freed before opening: an open may run a modal message box.
    DragFinish(drop);
    if (CWinApp* app = AfxGetApp())
        for (const std::wstring& path : paths)
            app->OpenDocumentFile(path.c_str());
}

HACCEL CFrameWnd::GetDefaultAccelerator() {
    if (CDocument* doc = GetActiveDocument())
        if (HACCEL table = doc->GetDefaultAccelerator())
            return table;
    return m_hAccelTable;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg) {
    if (!msg ||
        (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN && msg->message != WM_CHAR))
        return FALSE;
    HACCEL table = GetDefaultAccelerator();
    return table ? TranslateAcceleratorW(m_hWnd, table, msg) : FALSE;
}

void CFrameWnd::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    RecalcLayout();
}

void CFrameWnd::OnClose() {
    CWinApp* app = AfxGetApp();
    if (app && AfxGetMainWnd() == this) {
        if (!app->SaveAllModified())
            return;
        app->CloseAllDocuments(FALSE);
        if (!::IsWindow(m_hWnd))
            return;
    } else if (CDocument* doc = GetActiveDocument()) {
        if (!doc->SaveModified())
            return;
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy() {
    m_pViewActive = nullptr;
    // The window's own menu goes with the window; a default menu it does not show (a child
    // frame's, or one swapped out) would be left behind.
    if (m_hMenuDefault && ::IsMenu(m_hMenuDefault) && ::GetMenu(m_hWnd) != m_hMenuDefault)
        ::DestroyMenu(m_hMenuDefault);
    m_hMenuDefault = nullptr;
    if (AfxGetMainWnd() == this) {
        AfxSetMainWnd(nullptr);
        ::PostQuitMessage(0);
    }
    CWnd::OnDestroy();
}

void CFrameWnd::OnIdleUpdateCmdUI() {
    if (m_bTitleStale)
        OnUpdateFrameTitle(TRUE);
}
