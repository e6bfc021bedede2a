#include "toolbars/jox_toolbar_frame_wnd.h"

#include "pivora/framework/jox_view.h"
#include "platform/framework/cmd_ui.h"
#include "platform/windowing/menu.h"
#include "toolbars/custom_tool_bar.h"

IMPLEMENT_DYNAMIC(CJoxToolbarFrameWnd, CJoxFrameWnd)

CJoxToolbarFrameWnd* CJoxToolbarFrameWnd::s_pFrmWnd = nullptr;

CJoxToolbarFrameWnd::CJoxToolbarFrameWnd() {
    m_nResourceIds.fill(-1);
    InitContents();
    s_pFrmWnd = this;
}

CJoxToolbarFrameWnd::~CJoxToolbarFrameWnd() {
    DeleteContents(0);
    if (s_pFrmWnd == this)
        s_pFrmWnd = nullptr;
}

CCustomToolBar* CJoxToolbarFrameWnd::GetSlot(int slot) const {
    return IsSlot(slot) ? m_pToolbars[size_t(slot)] : nullptr;
}

void CJoxToolbarFrameWnd::SetSlot(int slot, CCustomToolBar* toolbar) {
    if (IsSlot(slot))
        m_pToolbars[size_t(slot)] = toolbar;
}

const CString& CJoxToolbarFrameWnd::GetToolbarName(int slot) const {
    static const CString none;
    return IsSlot(slot) ? m_strNames[size_t(slot)] : none;
}

void CJoxToolbarFrameWnd::SetToolbarName(int slot, const wchar_t* name) {
    if (IsSlot(slot))
        m_strNames[size_t(slot)] = name ? name : L"";
}

int CJoxToolbarFrameWnd::GetToolbarResourceId(int slot) const {
    return IsSlot(slot) ? m_nResourceIds[size_t(slot)] : -1;
}

void CJoxToolbarFrameWnd::SetToolbarResourceId(int slot, int resourceId) {
    if (IsSlot(slot))
        m_nResourceIds[size_t(slot)] = resourceId;
}

void CJoxToolbarFrameWnd::InitContents() {
    m_pToolbars.fill(nullptr);
}

void CJoxToolbarFrameWnd::DeleteContents(int keepFirst) {
    for (int slot = keepFirst ? 1 : 0; slot < kSlotCount; ++slot) {
        CCustomToolBar*& bar = m_pToolbars[size_t(slot)];
        if (!bar)
            continue;
        m_docking.RemovePane(bar);
        if (::IsWindow(bar->m_hWnd))
            bar->DestroyWindow();
        delete bar;
        bar = nullptr;
    }
}

CCustomToolBar* CJoxToolbarFrameWnd::NewToolbar(int) {
    return new CCustomToolBar;
}

void CJoxToolbarFrameWnd::RecalcLayoutEx(BOOL notify) {
    CRect before;
    const bool hasClient = ::IsWindow(m_wndClientArea.m_hWnd);
    if (hasClient)
        m_wndClientArea.GetWindowRect(&before);
    CJoxView::SetRedrawAll(0);
    RecalcLayout(notify);
    if (!hasClient)
        return;
    CRect after;
    m_wndClientArea.GetWindowRect(&after);
    const bool moved = after.left != before.left || after.top != before.top ||
                       after.right != before.right || after.bottom != before.bottom;
    if (moved) {
        // Every design window moved or resized: they repaint whole, not from the queue.
        m_WindowList.RemoveAll();
        CJoxView::SetRedrawAll(1);
        ::RedrawWindow(m_wndClientArea.m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void CJoxToolbarFrameWnd::ToggleSlot(int slot) {
    CCustomToolBar* bar = GetSlot(slot);
    if (!bar || !bar->IsCreated())
        return;
    m_docking.ShowPane(bar, !bar->IsWindowVisible(), FALSE);
}

void CJoxToolbarFrameWnd::UpdateToolbarMenu(HMENU menu) {
    if (!menu || !::IsMenu(menu))
        return;
    for (UINT id = kFirstToolbarId + 1; id < kFirstToolbarId + kSlotCount; ++id)
        while (::DeleteMenu(menu, id, MF_BYCOMMAND)) {
        }
    // Listing is judged for the design window the user is looking at.
    CJoxView* saved = CCustomToolBar::s_pCustView;
    CFrameWnd* active = GetActiveFrame();
    CCustomToolBar::s_pCustView =
        active ? dynamic_cast<CJoxView*>(active->GetActiveView()) : nullptr;
    for (int slot = 1; slot < kSlotCount; ++slot) {
        CCustomToolBar* bar = GetSlot(slot);
        if (!bar || !bar->AllowShowOnList())
            continue;
        const UINT flags = MF_STRING | (bar->IsWindowVisible() ? MF_CHECKED : MF_UNCHECKED);
        ::AppendMenuW(menu, flags, kFirstToolbarId + UINT(slot), GetToolbarName(slot));
    }
    CCustomToolBar::s_pCustView = saved;
}

BOOL CJoxToolbarFrameWnd::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    const bool listed = id > kFirstToolbarId && id < kFirstToolbarId + kSlotCount;
    if (id == ID_VIEW_MAIN_TOOLBAR || listed) {
        if (IsQuery(handlerInfo))
            return TRUE;
        const int slot = listed ? int(id - kFirstToolbarId) : 0;
        if (code == CN_COMMAND) {
            ToggleSlot(slot);
            return TRUE;
        }
        if (CCmdUI* ui = UpdateUI(code, extra)) {
            CCustomToolBar* bar = GetSlot(slot);
            const bool shown = bar && bar->IsCreated() && bar->IsWindowVisible();
            if (!listed) {
                ui->SetText(GetToolbarName(0));
                ui->SetCheck(shown ? 1 : 0);
                UpdateToolbarMenu(ui->m_pMenu);
            } else {
                ui->SetCheck(shown ? 1 : 0);
            }
            return TRUE;
        }
    }
    return CJoxFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

void CJoxToolbarFrameWnd::OnDestroy() {
    // The toolbars go while their windows still exist.
    DeleteContents(0);
    CJoxFrameWnd::OnDestroy();
}
