#include "platform/framework/view.h"

#include "platform/framework/create_context.h"
#include "platform/framework/document.h"
#include "platform/framework/frame_messages.h"
#include "platform/framework/frame_wnd.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

CView::~CView() {
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const {
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h))
        if (auto* f = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(h)))
            return f;
    return nullptr;
}

BOOL CView::Create(LPCWSTR className, LPCWSTR name, DWORD style, const RECT& rect, CWnd* parent,
                   UINT id, CCreateContext* context) {
    if (!CWnd::Create(className, name, style, rect, parent, id))
        return FALSE;
    if (context && context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(this);
    return TRUE;
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView* sender, LPARAM, CObject*) {
    if (sender != this)
        Invalidate(TRUE);
}

void CView::OnActivateView(BOOL activate, CView* activateView, CView*) {
    if (activate && activateView == this && ::IsWindow(m_hWnd))
        SetFocus();
}

void CView::OnPrepareDC(CDC*, CPrintInfo*) {}

BOOL CView::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CView::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_INITIALUPDATE) {
        OnInitialUpdate();
        if (result)
            *result = 0;
        return TRUE;
    }
    return CWnd::OnWndMsg(msg, wp, lp, result);
}

void CView::OnPaint() {
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    if (!hdc)
        return;
    CDC dc;
    dc.Attach(hdc);
    OnPrepareDC(&dc);
    OnDraw(&dc);
    dc.Detach();
    ::EndPaint(m_hWnd, &ps);
}
