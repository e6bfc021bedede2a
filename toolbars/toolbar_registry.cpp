#include "toolbars/toolbar_registry.h"

#include "platform/windowing/cursor.h"
#include "toolbars/custom_tool_bar.h"
#include "toolbars/jox_toolbar_frame_wnd.h"

namespace {

using Frame = CJoxToolbarFrameWnd;

// Child, visible, clipping, gripper, top, flyby, tooltips, dynamic size, hide in place.
constexpr DWORD kToolbarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                CBRS_GRIPPER | CBRS_TOP | CBRS_FLYBY | CBRS_TOOLTIPS |
                                CBRS_SIZE_DYNAMIC | CBRS_HIDE_INPLACE;
constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;

// The created toolbar of a slot, or null.
CCustomToolBar* Created(int slot) {
    Frame* frame = Frame::s_pFrmWnd;
    CCustomToolBar* bar = frame ? frame->GetSlot(slot) : nullptr;
    return bar && bar->IsCreated() ? bar : nullptr;
}

template <typename Fn> void ForEachCreated(Fn fn) {
    for (int slot = 0; slot < Frame::kSlotCount; ++slot)
        if (CCustomToolBar* bar = Created(slot))
            fn(slot, bar);
}

} // namespace

CCustomToolBar* QvGetToolBar(int slot, DWORD mask) {
    CCustomToolBar* bar = Created(slot);
    if (!bar || (mask != 0 && (bar->GetContextMask() & mask) == 0))
        return nullptr;
    return bar;
}

CCustomToolBar* QvCreateToolbar(int slot, UINT resourceId, DWORD mask) {
    Frame* frame = Frame::s_pFrmWnd;
    if (!frame || !Frame::IsSlot(slot))
        return nullptr;
    CCustomToolBar* bar = frame->GetSlot(slot);
    if (!bar) {
        bar = frame->NewToolbar(slot);
        if (!bar)
            return nullptr;
        frame->SetSlot(slot, bar);
    }
    if (!bar->IsCreated()) {
        // A resource that does not load leaves an empty toolbar, still usable.
        bar->Create(frame, kToolbarStyle, Frame::kFirstToolbarId + UINT(slot), resourceId);
        if (bar->IsCreated()) {
            bar->SetWindowText(frame->GetToolbarName(slot));
            frame->GetDockingManager()->EnableDocking(bar, CBRS_ALIGN_ANY);
        }
    }
    if (!bar->IsCreated())
        return nullptr;
    bar->AddContextMask(mask);
    return bar;
}

void QvPlaceToolbar(int slot, UINT dockBarId, int neighbourSlot, BOOL show) {
    Frame* frame = Frame::s_pFrmWnd;
    CCustomToolBar* bar = Created(slot);
    if (!bar)
        return;
    CDockingManager* docking = frame->GetDockingManager();
    if (dockBarId == AFX_IDW_DOCKBAR_FLOAT) {
        docking->FloatPane(bar, bar->GetDefaultFloatRect(), DM_SHOW, show);
        return;
    }
    if (dockBarId >= AFX_IDW_DOCKBAR_TOP && dockBarId <= AFX_IDW_DOCKBAR_BOTTOM) {
        docking->ResetRecentDockInfo(bar);
        bar->SetDefaultFloatRect(CRect());
        CCustomToolBar* neighbour = Created(neighbourSlot);
        // Before a neighbour that is not on a bar there is nowhere to go: the end of the bar.
        if (!neighbour || neighbour == bar || !docking->DockPaneLeftOf(bar, neighbour))
            docking->DockPane(bar, dockBarId);
    }
    docking->ShowPane(bar, show, TRUE);
}

void QvSetViewForContextToolbars(CJoxView* view, DWORD mask) {
    ForEachCreated([&](int, CCustomToolBar* bar) {
        if (bar->GetContextMask() & mask)
            bar->SetView(view);
    });
}

void QvUnsetViewForToolbars(CJoxView* view) {
    ForEachCreated([&](int, CCustomToolBar* bar) {
        if (bar->GetView() == view)
            bar->SetView(nullptr);
    });
}

void QvCmdMsgToContextToolbars(UINT commandId, DWORD mask) {
    ForEachCreated([&](int, CCustomToolBar* bar) {
        if (bar->GetContextMask() & mask)
            bar->OnCmdMsg(commandId, CN_COMMAND, nullptr, nullptr);
    });
}

void QvHideAllToolBars(BOOL keepFirst) {
    Frame* frame = Frame::s_pFrmWnd;
    if (!frame)
        return;
    const BOOL delay = frame->IgnoreMessage(WM_PAINT) ? TRUE : FALSE;
    ForEachCreated([&](int slot, CCustomToolBar* bar) {
        if ((slot > 0 || !keepFirst) && bar->IsWindowVisible())
            frame->GetDockingManager()->ShowPane(bar, FALSE, delay);
    });
}

void QvPaintAllToolBars() {
    Frame* frame = Frame::s_pFrmWnd;
    if (!frame)
        return;
    for (CControlBar* pane : frame->GetDockingManager()->GetPanes())
        if (::IsWindow(pane->m_hWnd) && pane->IsWindowVisible())
            ::RedrawWindow(pane->m_hWnd, nullptr, nullptr, kRedrawNow);
}

void QvSetupToolbarsForNoKnownContext(BOOL force) {
    Frame* frame = Frame::s_pFrmWnd;
    if (!frame || !::IsWindow(frame->m_hWnd) || (!frame->IsWindowVisible() && !force))
        return;
    HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_WAIT)));
    frame->SendMessage(WM_SETREDRAW, FALSE, 0);
    QvHideAllToolBars(FALSE);
    int placed = Frame::kSlotCount; // none yet: the end of the bar
    for (int slot = Frame::kSlotCount - 1; slot >= 0; --slot) {
        CCustomToolBar* bar = Created(slot);
        if (!bar || bar->GetContextMask() != CCustomToolBar::kAllContexts)
            continue;
        QvPlaceToolbar(slot, AFX_IDW_DOCKBAR_TOP, placed, TRUE);
        placed = slot;
    }
    frame->SendMessage(WM_SETREDRAW, TRUE, 0);
    frame->RecalcLayoutEx(1);
    QvPaintAllToolBars();
    ::SetCursor(previous);
}

BOOL QvSaveAllToolbars(const wchar_t* section) {
    Frame* frame = Frame::s_pFrmWnd;
    if (!frame)
        return FALSE;
    return frame->GetDockingManager()->SaveState(section ? section : L"Toolbars");
}

BOOL QvLoadAllToolbars(const wchar_t* section) {
    Frame* frame = Frame::s_pFrmWnd;
    if (!frame)
        return FALSE;
    return frame->GetDockingManager()->LoadState(section ? section : L"Toolbars");
}
