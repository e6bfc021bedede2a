#include "platform/framework/mfc_tab_ctrl.h"

#include "platform/windowing/ui_notify.h"

IMPLEMENT_DYNCREATE(CMFCTabCtrl, CWnd)

BOOL CMFCTabCtrl::Create(const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(nullptr, L"", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

CWnd* CMFCTabCtrl::GetTabWnd(int index) const {
    return CWnd::FromHandle(GetTabHwnd(index));
}

HWND CMFCTabCtrl::GetTabHwnd(int index) const {
    if (index < 0 || index >= GetTabsNum())
        return nullptr;
    return m_tabs[size_t(index)].wnd;
}

int CMFCTabCtrl::GetTabFromHwnd(HWND wnd) const {
    for (size_t i = 0; i < m_tabs.size(); ++i)
        if (m_tabs[i].wnd == wnd)
            return int(i);
    return -1;
}

BOOL CMFCTabCtrl::GetTabLabel(int index, CString& label) const {
    if (index < 0 || index >= GetTabsNum())
        return FALSE;
    label = m_tabs[size_t(index)].label;
    return TRUE;
}

BOOL CMFCTabCtrl::SetTabLabel(int index, LPCWSTR label) {
    if (index < 0 || index >= GetTabsNum())
        return FALSE;
    m_tabs[size_t(index)].label = label ? label : L"";
    platform::NotifyUi(platform::UiChange::TabsChanged, m_hWnd, this);
    return TRUE;
}

void CMFCTabCtrl::Tell(UINT msg, WPARAM wp, LPARAM lp) {
    if (CWnd* top = GetTopLevelParent(); top && top->m_hWnd != m_hWnd)
        top->SendMessage(msg, wp, lp);
}

int CMFCTabCtrl::AddTab(CWnd* wnd, LPCWSTR label, int index) {
    if (!wnd || GetTabFromHwnd(wnd->m_hWnd) >= 0)
        return -1;
    if (index < 0 || index > GetTabsNum())
        index = GetTabsNum();
    m_tabs.insert(m_tabs.begin() + index, Tab{wnd->m_hWnd, CString(label ? label : L"")});
    if (m_iActiveTab >= index)
        ++m_iActiveTab;
    platform::NotifyUi(platform::UiChange::TabsChanged, m_hWnd, this);
    if (m_iActiveTab < 0)
        SetActiveTab(index);
    return index;
}

BOOL CMFCTabCtrl::RemoveTab(int index) {
    if (index < 0 || index >= GetTabsNum())
        return FALSE;
    PreDeleteTab(index);
    const bool wasActive = index == m_iActiveTab;
    m_tabs.erase(m_tabs.begin() + index);
    if (m_iActiveTab > index)
        --m_iActiveTab;
    platform::NotifyUi(platform::UiChange::TabsChanged, m_hWnd, this);
    if (wasActive) {
        m_iActiveTab = -1;
        if (!m_tabs.empty())
            SetActiveTab(std::min(index, GetTabsNum() - 1));
    }
    return TRUE;
}

BOOL CMFCTabCtrl::SetActiveTab(int index) {
    if (index < 0 || index >= GetTabsNum())
        return FALSE;
    if (index == m_iActiveTab)
        return TRUE;
    m_iActiveTab = index;
    platform::NotifyUi(platform::UiChange::ActiveTab, m_hWnd, this);
    Tell(AFX_WM_CHANGE_ACTIVE_TAB, WPARAM(index), reinterpret_cast<LPARAM>(this));
    return TRUE;
}

void CMFCTabCtrl::MoveTab(int from, int to) {
    const int n = GetTabsNum();
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    HWND active = GetTabHwnd(m_iActiveTab);
    Tab moved = m_tabs[size_t(from)];
    m_tabs.erase(m_tabs.begin() + from);
    m_tabs.insert(m_tabs.begin() + to, moved);
    if (active)
        m_iActiveTab = GetTabFromHwnd(active);
    platform::NotifyUi(platform::UiChange::TabsChanged, m_hWnd, this);
    Tell(AFX_WM_ON_MOVE_TAB, WPARAM(from), LPARAM(to));
}

void CMFCTabCtrl::BeginTracking(bool splitter) {
    (splitter ? m_bTrackSplitter : m_bTrackResize) = true;
}
