#include "platform/framework/mdi_child_wnd_ex.h"

#include "platform/framework/document.h"
#include "platform/framework/mdi_frame_wnd_ex.h"
#include "platform/framework/view.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/ui_notify.h"

IMPLEMENT_DYNAMIC(CMDIChildWndEx, CFrameWnd)

CMDIChildWndEx::~CMDIChildWndEx() {
    if (m_pMDIFrame)
        m_pMDIFrame->RemoveMDIChild(this);
    FreeSharedMenu();
}

// The menu of the child's resource id is its own: nobody else destroys it.
void CMDIChildWndEx::FreeSharedMenu() {
    if (m_hMenuShared && ::IsMenu(m_hMenuShared))
        ::DestroyMenu(m_hMenuShared);
    m_hMenuShared = nullptr;
}

BOOL CMDIChildWndEx::LoadFrame(UINT resourceId, DWORD style, CWnd* parent,
                               CCreateContext* context) {
    auto* frame = dynamic_cast<CMDIFrameWndEx*>(parent ? parent : AfxGetMainWnd());
    if (!frame || !::IsWindow(frame->GetClientArea()->m_hWnd))
        return FALSE;
    m_pMDIFrame = frame;
    CString title;
    if (AfxLoadString(resourceId, title)) {
        int nl = title.Find(L'\n');
        if (nl >= 0)
            title = title.Left(nl);
    }
    if (!Create(nullptr, title, (style | WS_CHILD) & ~WS_VISIBLE, CRect(0, 0, 0, 0),
                frame->GetClientArea(), nullptr, 0, context)) {
        m_pMDIFrame = nullptr;
        return FALSE;
    }
    FreeSharedMenu();
    m_hMenuShared = LoadMenuW(nullptr, resourceId);
    m_hAccelTable = LoadAcceleratorsW(nullptr, resourceId);
    return TRUE;
}

int CMDIChildWndEx::OnCreate(CREATESTRUCTW* cs) {
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    if (m_pMDIFrame)
        m_pMDIFrame->AddMDIChild(this);
    return 0;
}

void CMDIChildWndEx::OnDestroy() {
    if (m_pMDIFrame) {
        CMDIFrameWndEx* frame = m_pMDIFrame;
        m_pMDIFrame = nullptr;
        frame->RemoveMDIChild(this);
    }
    FreeSharedMenu();
    CFrameWnd::OnDestroy();
}

void CMDIChildWndEx::MDIActivate() {
    if (m_pMDIFrame)
        m_pMDIFrame->MDIActivate(this);
}

void CMDIChildWndEx::ActivateFrame(int cmdShow) {
    if (cmdShow == SW_HIDE) {
        ShowWindow(SW_HIDE);
        return;
    }
    MDIActivate();
    if (m_pMDIFrame)
        m_pMDIFrame->RecalcLayout();
}

void CMDIChildWndEx::OnUpdateFrameTitle(BOOL addToTitle) {
    CDocument* doc = GetActiveDocument();
    CString text = m_strTitle;
    if (addToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc)
        text = doc->GetTitle();
    CString current;
    GetWindowText(current);
    if (current != text) {
        SetWindowText(text);
        platform::NotifyUi(platform::UiChange::FrameTitle, m_hWnd, this);
    }
    if (m_pMDIFrame) {
        if (CMFCTabCtrl* group = m_pMDIFrame->FindTabGroup(m_hWnd)) {
            int index = group->GetTabFromHwnd(m_hWnd);
            CString label;
            group->GetTabLabel(index, label);
            if (label != text)
                group->SetTabLabel(index, text);
        }
        if (m_pMDIFrame->MDIGetActive() == this)
            m_pMDIFrame->OnUpdateFrameTitle(TRUE);
    }
    m_bTitleStale = false;
}

void CMDIChildWndEx::OnClose() {
    CDocument* doc = GetActiveDocument();
    if (doc) {
        // Only the last frame of the document asks about saving and closes the document
        // with it; another window on it just goes.
        bool elsewhere = false;
        for (POSITION pos = doc->GetFirstViewPosition(); pos;)
            if (doc->GetNextView(pos)->GetParentFrame() != this)
                elsewhere = true;
        if (!elsewhere) {
            if (doc->SaveModified())
                doc->OnCloseDocument();
            return;
        }
    }
    DestroyWindow();
}
