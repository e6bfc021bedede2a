#include "platform/framework/mdi_frame_wnd_ex.h"

#include "platform/framework/document.h"
#include "platform/framework/mdi_child_wnd_ex.h"
#include "platform/framework/view.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/ui_notify.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CMDIFrameWndEx, CFrameWnd)

CMDIFrameWndEx::~CMDIFrameWndEx() {
    for (CMDIChildWndEx* c : m_children)
        c->m_pMDIFrame = nullptr;
    for (CMFCTabCtrl* g : m_groups)
        delete g;
}

BOOL CMDIFrameWndEx::OnCreateClient(CREATESTRUCTW*, CCreateContext*) {
    return m_wndClientArea.Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                  CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST);
}

CMDIChildWndEx* CMDIFrameWndEx::MDIGetActive(BOOL* maximized) const {
    if (maximized)
        *maximized = TRUE; // tabbed children always fill their group
    for (CMDIChildWndEx* c : m_children)
        if (c->m_hWnd == m_hActiveChild)
            return c;
    return nullptr;
}

CFrameWnd* CMDIFrameWndEx::GetActiveFrame() {
    CMDIChildWndEx* child = MDIGetActive();
    return child ? static_cast<CFrameWnd*>(child) : this;
}

CMFCTabCtrl* CMDIFrameWndEx::GetTabGroup(int index) const {
    return index >= 0 && index < GetTabGroupCount() ? m_groups[size_t(index)] : nullptr;
}

CMFCTabCtrl* CMDIFrameWndEx::FindTabGroup(HWND child) const {
    if (!child)
        return nullptr;
    for (CMFCTabCtrl* g : m_groups)
        if (g->GetTabFromHwnd(child) >= 0)
            return g;
    return nullptr;
}

CMFCTabCtrl* CMDIFrameWndEx::NewTabGroup(int at) {
    CObject* made = m_pTabCtrlClass ? m_pTabCtrlClass->CreateObject() : nullptr;
    auto* group = dynamic_cast<CMFCTabCtrl*>(made);
    if (!group) {
        delete made;
        group = new CMFCTabCtrl;
    }
    group->Create(CRect(0, 0, 0, 0), &m_wndClientArea, 0);
    at = std::clamp(at, 0, GetTabGroupCount());
    m_groups.insert(m_groups.begin() + at, group);
    return group;
}

void CMDIFrameWndEx::RemoveEmptyGroups() {
    for (size_t i = 0; i < m_groups.size();) {
        if (m_groups[i]->GetTabsNum() == 0) {
            CMFCTabCtrl* g = m_groups[i];
            m_groups.erase(m_groups.begin() + ptrdiff_t(i));
            g->DestroyWindow();
            delete g;
        } else {
            ++i;
        }
    }
}

void CMDIFrameWndEx::AddMDIChild(CMDIChildWndEx* child) {
    if (!child || std::find(m_children.begin(), m_children.end(), child) != m_children.end())
        return;
    m_children.push_back(child);
    CMFCTabCtrl* group = GetActiveTabGroup();
    if (!group)
        group = m_groups.empty() ? NewTabGroup(0) : m_groups.front();
    CString label;
    child->GetWindowText(label);
    group->AddTab(child, label);
    platform::NotifyUi(platform::UiChange::TabsChanged, m_hWnd, this);
}

void CMDIFrameWndEx::RemoveMDIChild(CMDIChildWndEx* child) {
    auto it = std::find(m_children.begin(), m_children.end(), child);
    if (it == m_children.end())
        return;
    m_children.erase(it);
    HWND h = child->m_hWnd;
    const bool wasActive = h == m_hActiveChild;
    if (wasActive)
        m_hActiveChild = nullptr;
    CMFCTabCtrl* group = FindTabGroup(h);
    if (group) {
        m_bActivating = true; // the group's own choice of the next tab is applied below
        group->RemoveTab(group->GetTabFromHwnd(h));
        m_bActivating = false;
    }
    RemoveEmptyGroups();
    platform::NotifyUi(platform::UiChange::TabsChanged, m_hWnd, this);
    if (wasActive) {
        CWnd* next = nullptr;
        if (group && std::find(m_groups.begin(), m_groups.end(), group) != m_groups.end())
            next = group->GetActiveWnd();
        else if (!m_groups.empty())
            next = m_groups.front()->GetActiveWnd();
        // The closing child hears that it is no longer the active one, and which follows.
        if (::IsWindow(h))
            child->SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(h),
                               reinterpret_cast<LPARAM>(next ? next->m_hWnd : nullptr));
        if (next) {
            // The next one learns whom it follows: a closing window of its own kind changes
            // nothing for it.
            m_hDeparting = ::IsWindow(h) ? h : nullptr;
            MDIActivate(next);
            m_hDeparting = nullptr;
        } else {
            ShowMenuOf(nullptr);
            platform::NotifyUi(platform::UiChange::ActiveChild, m_hWnd, this);
            OnUpdateFrameTitle(TRUE);
        }
    }
    RecalcLayout();
}

void CMDIFrameWndEx::MDIActivate(CWnd* child) {
    auto* next = dynamic_cast<CMDIChildWndEx*>(child);
    if (!next || std::find(m_children.begin(), m_children.end(), next) == m_children.end() ||
        m_bActivating)
        return;
    CMDIChildWndEx* previous = MDIGetActive();
    m_bActivating = true;
    if (CMFCTabCtrl* group = FindTabGroup(next->m_hWnd))
        group->SetActiveTab(group->GetTabFromHwnd(next->m_hWnd));
    m_bActivating = false;
    if (previous == next) {
        // A child activated while it was being made loads its menu afterwards.
        ShowMenuOf(next);
        return;
    }
    m_hActiveChild = next->m_hWnd;
    if (previous && ::IsWindow(previous->m_hWnd)) {
        previous->SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous->m_hWnd),
                              reinterpret_cast<LPARAM>(next->m_hWnd));
        if (CView* v = previous->GetActiveView())
            v->OnActivateView(FALSE, next->GetActiveView(), v);
    }
    next->SendMessage(WM_MDIACTIVATE,
                      reinterpret_cast<WPARAM>(previous ? previous->m_hWnd : m_hDeparting),
                      reinterpret_cast<LPARAM>(next->m_hWnd));
    if (CView* v = next->GetActiveView())
        v->OnActivateView(TRUE, v, previous ? previous->GetActiveView() : nullptr);
    ShowMenuOf(next);
    RecalcLayout();
    platform::NotifyUi(platform::UiChange::ActiveChild, m_hWnd, this);
    OnUpdateFrameTitle(TRUE);
}

void CMDIFrameWndEx::ShowMenuOf(CMDIChildWndEx* child) {
    HMENU menu = child && child->m_hMenuShared && ::IsMenu(child->m_hMenuShared)
                     ? child->m_hMenuShared
                     : m_hMenuDefault;
    // A frame whose menu bar was taken away keeps it away.
    if (::IsWindow(m_hWnd) && ::GetMenu(m_hWnd) && ::GetMenu(m_hWnd) != menu)
        ::SetMenu(m_hWnd, menu);
}

void CMDIFrameWndEx::MDINext() {
    if (m_children.empty())
        return;
    auto it = std::find(m_children.begin(), m_children.end(), MDIGetActive());
    it = (it == m_children.end() || it + 1 == m_children.end()) ? m_children.begin() : it + 1;
    MDIActivate(*it);
}

void CMDIFrameWndEx::MDIPrev() {
    if (m_children.empty())
        return;
    auto it = std::find(m_children.begin(), m_children.end(), MDIGetActive());
    it = (it == m_children.end() || it == m_children.begin()) ? m_children.end() - 1 : it - 1;
    MDIActivate(*it);
}

BOOL CMDIFrameWndEx::MDITabNewGroup() {
    CMDIChildWndEx* child = MDIGetActive();
    CMFCTabCtrl* from = child ? FindTabGroup(child->m_hWnd) : nullptr;
    if (!from || from->GetTabsNum() < 2)
        return FALSE;
    int at = int(std::find(m_groups.begin(), m_groups.end(), from) - m_groups.begin()) + 1;
    return MoveToTabGroup(child, NewTabGroup(at));
}

BOOL CMDIFrameWndEx::MoveToTabGroup(CWnd* child, CMFCTabCtrl* to) {
    if (!child)
        return FALSE;
    CMFCTabCtrl* from = FindTabGroup(child->m_hWnd);
    if (!from)
        return FALSE;
    if (!to) {
        auto it = std::find(m_groups.begin(), m_groups.end(), from);
        if (it + 1 == m_groups.end())
            return FALSE;
        to = *(it + 1);
    }
    if (to == from || std::find(m_groups.begin(), m_groups.end(), to) == m_groups.end())
        return FALSE;
    CString label;
    from->GetTabLabel(from->GetTabFromHwnd(child->m_hWnd), label);
    HWND fromWnd = from->m_hWnd, toWnd = to->m_hWnd;
    m_bActivating = true;
    from->RemoveTab(from->GetTabFromHwnd(child->m_hWnd));
    int index = to->AddTab(child, label);
    to->SetActiveTab(index);
    m_bActivating = false;
    SendMessage(AFX_WM_ON_MOVETOTABGROUP, reinterpret_cast<WPARAM>(fromWnd),
                reinterpret_cast<LPARAM>(toWnd));
    RemoveEmptyGroups();
    platform::NotifyUi(platform::UiChange::TabsChanged, m_hWnd, this);
    MDIActivate(child);
    RecalcLayout();
    return TRUE;
}

BOOL CMDIFrameWndEx::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    if (CMDIChildWndEx* child = MDIGetActive())
        if (child->OnCmdMsg(id, code, extra, handlerInfo))
            return TRUE;
    return CFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CMDIFrameWndEx::PreTranslateMessage(MSG* msg) {
    // Only keys meant for this frame: a dialog's Ctrl+Tab turns its own pages.
    if (msg && msg->message == WM_KEYDOWN && ::GetKeyState(VK_CONTROL) < 0 &&
        ::GetKeyState(VK_MENU) >= 0 && (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        if (msg->wParam == WPARAM(VK_TAB) || msg->wParam == WPARAM(VK_F6)) {
            if (m_children.size() > 1) {
                if (::GetKeyState(VK_SHIFT) < 0)
                    MDIPrev();
                else
                    MDINext();
            }
            return TRUE;
        }
        if (msg->wParam == WPARAM(VK_F4)) {
            if (CMDIChildWndEx* child = MDIGetActive())
                child->PostMessage(WM_CLOSE);
            return TRUE;
        }
    }
    return CFrameWnd::PreTranslateMessage(msg);
}

BOOL CMDIFrameWndEx::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == AFX_WM_CHANGE_ACTIVE_TAB) {
        // The user picked a tab: its child becomes the active one.
        auto* group = reinterpret_cast<CMFCTabCtrl*>(lp);
        if (!m_bActivating && group &&
            std::find(m_groups.begin(), m_groups.end(), group) != m_groups.end())
            MDIActivate(group->GetTabWnd(int(wp)));
        if (result)
            *result = 0;
        return TRUE;
    }
    if (msg == AFX_WM_ON_MOVE_TAB || msg == AFX_WM_ON_MOVETOTABGROUP) {
        if (result)
            *result = 0;
        return TRUE;
    }
    return CFrameWnd::OnWndMsg(msg, wp, lp, result);
}

void CMDIFrameWndEx::OnUpdateFrameTitle(BOOL addToTitle) {
    CMDIChildWndEx* child = MDIGetActive();
    CDocument* doc = child ? child->GetActiveDocument() : nullptr;
    if (addToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc)
        UpdateFrameTitleForDocument(doc->GetTitle());
    else
        UpdateFrameTitleForDocument(nullptr);
}

void CMDIFrameWndEx::RecalcLayout(BOOL notify) {
    CFrameWnd::RecalcLayout(FALSE);
    AdjustClientArea();
    if (notify)
        platform::NotifyUi(platform::UiChange::FrameLayout, m_hWnd, this);
}

void CMDIFrameWndEx::AdjustClientArea() {
    if (!::IsWindow(m_wndClientArea.m_hWnd) || m_groups.empty())
        return;
    CRect area;
    m_wndClientArea.GetClientRect(&area);
    const int n = GetTabGroupCount();
    for (int i = 0; i < n; ++i) {
        CMFCTabCtrl* g = m_groups[size_t(i)];
        int left = area.left + area.Width() * i / n;
        int right = area.left + area.Width() * (i + 1) / n;
        g->MoveWindow(left, area.top, right - left, kTabStripHeight);
        for (int t = 0; t < g->GetTabsNum(); ++t) {
            HWND h = g->GetTabHwnd(t);
            ::MoveWindow(h, left, area.top + kTabStripHeight, right - left,
                         std::max(0, area.Height() - kTabStripHeight), TRUE);
            ::ShowWindow(h, t == g->GetActiveTab() ? SW_SHOWNA : SW_HIDE);
        }
    }
}

BOOL CMDIFrameWndEx::ShowTabContextMenu(CMFCTabCtrl* tabs, int index, POINT screen) {
    CWnd* child = tabs ? tabs->GetTabWnd(index) : nullptr;
    if (!child)
        return FALSE;
    MDIActivate(child);
    return OnShowMDITabContextMenu(screen);
}
