#include "pivora/framework/jox_tab_ctrl.h"

IMPLEMENT_DYNCREATE(CJoxTabCtrl, CMFCTabCtrl)

void CJoxTabCtrl::MoveTab(int from, int to) {
    const int before = m_iLastActiveTab;
    HWND moved = GetTabHwnd(from);
    CMFCTabCtrl::MoveTab(from, to);
    if (m_iLastActiveTab != before || from == to || !moved || GetTabHwnd(to) != moved)
        return;
    // The tabs between the two places shift by one towards the place the moved tab left.
    if (m_iLastActiveTab == from)
        m_iLastActiveTab = to;
    else if (to < from && m_iLastActiveTab >= to && m_iLastActiveTab < from)
        ++m_iLastActiveTab;
    else if (from < to && m_iLastActiveTab > from && m_iLastActiveTab <= to)
        --m_iLastActiveTab;
}

void CJoxTabCtrl::PreDeleteTab(int index) {
    if (index != GetActiveTab())
        m_iLastActiveTab = GetActiveTab();
}

bool CJoxTabCtrl::StopSplitOrResize() {
    if (!m_bTrackSplitter && !m_bTrackResize)
        return false;
    m_bTrackSplitter = false;
    m_bTrackResize = false;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    UpdateWindow();
    return true;
}
