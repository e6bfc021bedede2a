#include "platform/framework/docking_manager.h"

#include "platform/framework/frame_wnd.h"
#include "platform/framework/pane_frame_wnd.h"
#include "platform/system/app_registry.h"
#include "platform/windowing/system_metrics.h"
#include "platform/windowing/window.h"

#include <cstdlib>

#include <algorithm>
#include <cstdint>

namespace {

constexpr uint32_t kStateVersion = 1;
constexpr size_t kHeaderBytes = 8;
constexpr size_t kRecordBytes = 4 * 8; // id, bar, order, left, top, right, bottom, visible
constexpr int kMaxCoordinate = 1 << 20;
constexpr UINT kBars[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT,
                          AFX_IDW_DOCKBAR_BOTTOM};

bool IsDockBar(UINT id) {
    return id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM;
}

// The side a dock bar holds its panes on.
DWORD AlignOf(UINT bar) {
    switch (bar) {
    case AFX_IDW_DOCKBAR_LEFT:
        return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT:
        return CBRS_ALIGN_RIGHT;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return CBRS_ALIGN_BOTTOM;
    default:
        return CBRS_ALIGN_TOP;
    }
}

void Put32(std::vector<BYTE>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(BYTE(v >> (8 * i)));
}

uint32_t Get32(const std::vector<BYTE>& in, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(in[at + size_t(i)]) << (8 * i);
    return v;
}

} // namespace

CDockingManager::~CDockingManager() {
    // The panes may be gone already: only the windows are looked at.
    for (Entry& e : m_entries)
        if (e.miniFrame && ::IsWindow(e.miniFrame))
            ::DestroyWindow(e.miniFrame);
}

CDockingManager::Entry* CDockingManager::Find(const CControlBar* pane) {
    for (Entry& e : m_entries)
        if (e.pane == pane)
            return &e;
    return nullptr;
}

const CDockingManager::Entry* CDockingManager::Find(const CControlBar* pane) const {
    for (const Entry& e : m_entries)
        if (e.pane == pane)
            return &e;
    return nullptr;
}

CDockingManager::Entry& CDockingManager::Ensure(CControlBar* pane) {
    if (Entry* e = Find(pane))
        return *e;
    m_entries.push_back(Entry{pane, CBRS_ALIGN_ANY, 0, 0, CRect(), 0});
    return m_entries.back();
}

void CDockingManager::EnableDocking(CControlBar* pane, DWORD align) {
    if (pane)
        Ensure(pane).align = align & CBRS_ALIGN_ANY;
}

DWORD CDockingManager::GetEnabledAlignment(const CControlBar* pane) const {
    const Entry* e = Find(pane);
    return e ? e->align : 0;
}

void CDockingManager::Renumber(UINT bar) {
    std::vector<Entry*> row;
    for (Entry& e : m_entries)
        if (e.bar == bar)
            row.push_back(&e);
    std::sort(row.begin(), row.end(), [](Entry* a, Entry* b) { return a->order < b->order; });
    int n = 0;
    for (Entry* e : row)
        e->order = 2 * n++;
    m_nextOrder = 2 * n;
}

BOOL CDockingManager::DockPane(CControlBar* pane, UINT dockBarId) {
    if (!pane || !IsDockBar(dockBarId))
        return FALSE;
    Entry& e = Ensure(pane);
    if (!(e.align & AlignOf(dockBarId)))
        return FALSE; // not a side the pane may dock on
    Renumber(dockBarId);
    e.bar = dockBarId;
    e.recentBar = dockBarId;
    e.order = m_nextOrder;
    Renumber(dockBarId);
    ApplyToFrame();
    return TRUE;
}

BOOL CDockingManager::DockPaneLeftOf(CControlBar* pane, CControlBar* neighbour) {
    const Entry* n = Find(neighbour);
    if (!pane || pane == neighbour || !n || !IsDockBar(n->bar))
        return FALSE;
    const UINT bar = n->bar;
    if (const Entry* own = Find(pane); own && !(own->align & AlignOf(bar)))
        return FALSE;
    Renumber(bar);
    const int before = Find(neighbour)->order - 1;
    Entry& e = Ensure(pane);
    e.bar = bar;
    e.recentBar = bar;
    e.order = before;
    Renumber(bar);
    ApplyToFrame();
    return TRUE;
}

BOOL CDockingManager::FloatPane(CControlBar* pane, const CRect& rect, int method, BOOL show) {
    if (!pane)
        return FALSE;
    CRect where = rect;
    if (!pane->OnBeforeFloat(where, method))
        return FALSE;
    Entry& e = Ensure(pane);
    e.bar = AFX_IDW_DOCKBAR_FLOAT;
    e.floatRect = where;
    if (::IsWindow(pane->m_hWnd))
        pane->ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
    ApplyToFrame();
    return TRUE;
}

void CDockingManager::PlaceFloating(Entry& e) {
    auto* mini = e.miniFrame && ::IsWindow(e.miniFrame)
                     ? dynamic_cast<CPaneFrameWnd*>(CWnd::FromHandlePermanent(e.miniFrame))
                     : nullptr;
    const bool floating = e.bar == AFX_IDW_DOCKBAR_FLOAT && ::IsWindow(e.pane->m_hWnd) &&
                          m_pFrame && ::IsWindow(m_pFrame->m_hWnd);
    if (!floating) {
        if (mini)
            mini->ReleasePane(m_pFrame);
        e.miniFrame = nullptr;
        return;
    }
    if (!mini) {
        mini = new CPaneFrameWnd;
        if (!mini->Create(m_pFrame, e.pane, e.floatRect.TopLeft())) {
            if (!::IsWindow(mini->m_hWnd))
                delete mini;
            e.miniFrame = nullptr;
            return;
        }
        e.miniFrame = mini->m_hWnd;
    } else {
        mini->Place(e.floatRect.TopLeft());
    }
    const bool shown = (e.pane->GetStyle() & WS_VISIBLE) != 0;
    if (bool(mini->GetStyle() & WS_VISIBLE) != shown)
        mini->ShowWindow(shown ? SW_SHOWNOACTIVATE : SW_HIDE);
}

CWnd* CDockingManager::GetMiniFrame(const CControlBar* pane) const {
    const Entry* e = Find(pane);
    return e && e->miniFrame && ::IsWindow(e->miniFrame) ? CWnd::FromHandlePermanent(e->miniFrame)
                                                         : nullptr;
}

void CDockingManager::ShowPane(CControlBar* pane, BOOL show, BOOL delay) {
    if (!pane || !::IsWindow(pane->m_hWnd))
        return;
    pane->ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (Entry* e = Find(pane); e && e->bar == AFX_IDW_DOCKBAR_FLOAT)
        PlaceFloating(*e);
    if (delay)
        m_bLayoutPending = TRUE;
    else
        RecalcLayout();
}

void CDockingManager::RemovePane(CControlBar* pane) {
    if (Entry* e = Find(pane)) {
        e->bar = 0;
        PlaceFloating(*e);
    }
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [pane](const Entry& e) { return e.pane == pane; }),
                    m_entries.end());
    if (m_pFrame && pane)
        m_pFrame->RemoveControlBar(pane);
}

BOOL CDockingManager::IsDocked(const CControlBar* pane) const {
    const Entry* e = Find(pane);
    return e && IsDockBar(e->bar);
}

BOOL CDockingManager::IsFloating(const CControlBar* pane) const {
    const Entry* e = Find(pane);
    return e && e->bar == AFX_IDW_DOCKBAR_FLOAT;
}

UINT CDockingManager::GetDockBarId(const CControlBar* pane) const {
    const Entry* e = Find(pane);
    return e ? e->bar : 0;
}

CRect CDockingManager::GetFloatRect(const CControlBar* pane) const {
    const Entry* e = Find(pane);
    return e ? e->floatRect : CRect();
}

std::vector<CControlBar*> CDockingManager::GetDockedPanes(UINT dockBarId) const {
    std::vector<const Entry*> row;
    for (const Entry& e : m_entries)
        if (e.bar == dockBarId && IsDockBar(dockBarId))
            row.push_back(&e);
    std::stable_sort(row.begin(), row.end(),
                     [](const Entry* a, const Entry* b) { return a->order < b->order; });
    std::vector<CControlBar*> panes;
    for (const Entry* e : row)
        panes.push_back(e->pane);
    return panes;
}

std::vector<CControlBar*> CDockingManager::GetFloatingPanes() const {
    std::vector<CControlBar*> panes;
    for (const Entry& e : m_entries)
        if (e.bar == AFX_IDW_DOCKBAR_FLOAT)
            panes.push_back(e.pane);
    return panes;
}

std::vector<CControlBar*> CDockingManager::GetPanes() const {
    std::vector<CControlBar*> panes;
    for (UINT bar : kBars)
        for (CControlBar* p : GetDockedPanes(bar))
            panes.push_back(p);
    for (CControlBar* p : GetFloatingPanes())
        panes.push_back(p);
    return panes;
}

UINT CDockingManager::GetRecentDockBarId(const CControlBar* pane) const {
    const Entry* e = Find(pane);
    return e ? e->recentBar : 0;
}

void CDockingManager::ResetRecentDockInfo(CControlBar* pane) {
    if (Entry* e = Find(pane))
        e->recentBar = 0;
}

void CDockingManager::ApplyToFrame() {
    if (!m_pFrame)
        return;
    // The frame stacks its bars in its own list's order: docked panes follow the rows; a
    // floating pane takes no room in the frame.
    for (Entry& e : m_entries) {
        m_pFrame->RemoveControlBar(e.pane);
        if (e.bar == AFX_IDW_DOCKBAR_FLOAT) // a floating pane lies in its window
            e.pane->SetBarStyle((e.pane->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_BORDER_TOP)) |
                                CBRS_TOP);
        PlaceFloating(e);
    }
    for (UINT bar : kBars)
        for (CControlBar* p : GetDockedPanes(bar)) {
            DWORD style = p->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_BORDER_TOP);
            style |= bar == AFX_IDW_DOCKBAR_BOTTOM ? CBRS_BOTTOM
                     : bar == AFX_IDW_DOCKBAR_TOP  ? CBRS_TOP
                                                   : AlignOf(bar);
            p->SetBarStyle(style);
            m_pFrame->AddControlBar(p);
        }
    RecalcLayout();
}

void CDockingManager::RecalcLayout() {
    m_bLayoutPending = FALSE;
    if (m_pFrame && ::IsWindow(m_pFrame->m_hWnd))
        m_pFrame->RecalcLayout();
}

BOOL CDockingManager::SaveState(const wchar_t* section) const {
    CAppRegistry* app = CAppRegistry::Current();
    if (!app || !section)
        return FALSE;
    std::vector<BYTE> data;
    Put32(data, kStateVersion);
    Put32(data, uint32_t(m_entries.size()));
    for (const Entry& e : m_entries) {
        Put32(data, uint32_t(::IsWindow(e.pane->m_hWnd) ? e.pane->GetDlgCtrlID() : 0));
        Put32(data, e.bar);
        Put32(data, uint32_t(e.order));
        Put32(data, uint32_t(e.floatRect.left));
        Put32(data, uint32_t(e.floatRect.top));
        Put32(data, uint32_t(e.floatRect.right));
        Put32(data, uint32_t(e.floatRect.bottom));
        Put32(data, uint32_t(::IsWindow(e.pane->m_hWnd) && e.pane->IsWindowVisible()));
    }
    return app->WriteProfileBinary(section, L"DockState", data.data(), UINT(data.size()));
}

BOOL CDockingManager::LoadState(const wchar_t* section) {
    CAppRegistry* app = CAppRegistry::Current();
    std::vector<BYTE> data;
    if (!app || !section || !app->GetProfileBinary(section, L"DockState", data) ||
        data.size() < kHeaderBytes || Get32(data, 0) != kStateVersion)
        return FALSE;
    const size_t stored = Get32(data, 4);
    const size_t whole = (data.size() - kHeaderBytes) / kRecordBytes;
    const size_t count = std::min(stored, whole); // a truncated tail is left out
    CRect screen(0, 0, ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                 ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    for (size_t i = 0; i < count; ++i) {
        const size_t at = kHeaderBytes + i * kRecordBytes;
        const int id = int(Get32(data, at));
        const UINT bar = Get32(data, at + 4);
        const int order = int(Get32(data, at + 8));
        CRect r(int(Get32(data, at + 12)), int(Get32(data, at + 16)), int(Get32(data, at + 20)),
                int(Get32(data, at + 24)));
        const BOOL visible = Get32(data, at + 28) != 0;
        Entry* e = nullptr;
        for (Entry& candidate : m_entries)
            if (::IsWindow(candidate.pane->m_hWnd) && candidate.pane->GetDlgCtrlID() == id)
                e = &candidate;
        if (!e || id == 0)
            continue; // a pane this frame does not have
        bool sound = true;
        if (IsDockBar(bar) && (e->align & AlignOf(bar))) {
            e->bar = bar;
            e->recentBar = bar;
            e->order = order;
        } else if (bar == AFX_IDW_DOCKBAR_FLOAT) {
            CRect onScreen;
            sound = std::abs(r.left) < kMaxCoordinate && std::abs(r.top) < kMaxCoordinate &&
                    r.Width() > 0 && r.Height() > 0 && r.Width() < kMaxCoordinate &&
                    r.Height() < kMaxCoordinate && onScreen.IntersectRect(&r, &screen);
            if (sound) {
                e->bar = bar;
                e->floatRect = r;
            }
        } else {
            sound = false;
        }
        e->pane->ShowWindow(sound && visible ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
    for (UINT bar : kBars)
        Renumber(bar);
    ApplyToFrame();
    return TRUE;
}
