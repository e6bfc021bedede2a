#include "toolbars/custom_tool_bar.h"

#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_view.h"
#include "platform/framework/frame_wnd.h"

#include <algorithm>

IMPLEMENT_SERIAL(CCustomToolBar, CJoxToolbar, 1)

CJoxView* CCustomToolBar::s_pCustView = nullptr;

namespace {
constexpr int kButtonStyleCount = 3; // image, text, image and text
}

BOOL CCustomToolBar::Create(CWnd* parent, DWORD style, UINT id) {
    if (IsCreated())
        return TRUE;
    m_bCreated = CJoxToolbar::Create(parent, style & ~CBRS_HIDE_INPLACE, id);
    if (m_bCreated && IsCustomizeMode()) {
        // A toolbar the user makes while customising belongs to every context.
        SetView(dynamic_cast<CJoxView*>(s_pCustView));
        m_dwContextMask = kAllContexts;
    }
    return m_bCreated;
}

BOOL CCustomToolBar::Create(CWnd* parent, DWORD style, UINT id, UINT resourceId) {
    if (!Create(parent, style, id))
        return FALSE;
    return LoadToolBar(resourceId) ? TRUE : FALSE;
}

void CCustomToolBar::SetView(CJoxView* view) {
    m_pView = view;
    m_hViewWnd = view ? view->m_hWnd : nullptr;
}

void CCustomToolBar::UnsetView(CJoxView* view) {
    if (view && view == m_pView)
        SetView(nullptr);
}

CJoxView* CCustomToolBar::GetView() const {
    return m_hViewWnd && ::IsWindow(m_hViewWnd) ? m_pView : nullptr;
}

int CCustomToolBar::fnGetButtonStyle() {
    static const int style = [] {
        const int v = QvGetAppParam(L"Tool Bar Button Style", 0);
        return v >= 0 && v < kButtonStyleCount ? v : 0;
    }();
    return style;
}

CRect CCustomToolBar::DefaultFloatRect() const {
    CRect rect;
    auto* main = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    CFrameWnd* frame = main ? main->GetActiveFrame() : nullptr;
    if (!frame || !::IsWindow(frame->m_hWnd))
        return rect;
    CView* view = frame->GetActiveView();
    if (view && ::IsWindow(view->m_hWnd)) {
        view->GetClientRect(&rect);
        POINT origin{0, 0};
        ::ClientToScreen(view->m_hWnd, &origin);
        rect.OffsetRect(origin.x, origin.y);
    } else {
        frame->GetWindowRect(&rect);
    }
    rect.OffsetRect(2 * m_sizeButton.cx, 2 * m_sizeButton.cy);
    return rect;
}

BOOL CCustomToolBar::AllowShowOnList() const {
    if (!IsCreated())
        return FALSE;
    if (m_dwContextMask == kAllContexts)
        return TRUE;
    return s_pCustView && s_pCustView == GetView();
}

int CCustomToolBar::GetRowHeight() const {
    return std::max(CJoxToolbar::GetRowHeight(), kMinRowHeight);
}

BOOL CCustomToolBar::RestoreOriginalstate() {
    // Without a live view there is no window to tell.
    if (!GetView())
        return FALSE;
    return ::PostMessageW(m_hViewWnd, WM_RESET_CONTEXT_TOOLBARS, 0, 0) ? TRUE : FALSE;
}

BOOL CCustomToolBar::OnBeforeFloat(CRect& rect, int method) {
    if (rect.IsRectEmpty())
        rect = DefaultFloatRect();
    if (!CJoxToolbar::OnBeforeFloat(rect, method))
        return FALSE;
    m_rectDefaultFloat = rect; // floated again, it comes back here
    return TRUE;
}

void CCustomToolBar::AdjustLocations() {
    CJoxToolbar::AdjustLocations();
}

BOOL CCustomToolBar::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_RBUTTONDOWN) {
        if (result)
            *result = 0;
        return TRUE;
    }
    if (msg == WM_RBUTTONUP) {
        POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ::ClientToScreen(m_hWnd, &pt);
        if (CWnd* main = AfxGetMainWnd(); main && ::IsWindow(main->m_hWnd))
            main->SendMessage(WM_TOOLBAR_MENU, 0, MAKELPARAM(WORD(pt.x), WORD(pt.y)));
        if (result)
            *result = 0;
        return TRUE;
    }
    return CJoxToolbar::OnWndMsg(msg, wp, lp, result);
}
