#include "pivora/framework/jox_view.h"

#include "pivora/framework/app_params.h"
#include "pivora/framework/area_hint.h"
#include "pivora/framework/jox_child_wnd.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/framework/jox_paint_dc.h"
#include "pivora/framework/jox_window_dc.h"
#include "pivora/jox_page.h"
#include "platform/framework/frame_messages.h"
#include "platform/windowing/colour_dialog.h"
#include "platform/windowing/scroll_bar.h"
#include "platform/windowing/system_metrics.h"

#include <algorithm>
#include <climits>
#include <cmath>

IMPLEMENT_DYNAMIC(CJoxView, CView)

const SIZE CJoxView::sizeDefault = {0, 0};
int CJoxView::s_bRedrawAll = 1;
int CJoxView::m_bBackColourLoaded = 0;
int CJoxView::m_bBackColourOn = 0;
COLORREF CJoxView::m_BackColour = 0x7D7D7D;

namespace {

const CSize kDefaultExtent(640, 480);

LONG Width(const CWindow& w) {
    return LONG(std::clamp<int64_t>(int64_t(w.x2) - w.x1, INT_MIN, INT_MAX));
}
LONG Height(const CWindow& w) {
    return LONG(std::clamp<int64_t>(int64_t(w.y2) - w.y1, INT_MIN, INT_MAX));
}

int ClampInt(double v) {
    if (!(v == v))
        return 0;
    return int(std::clamp(v, double(INT_MIN), double(INT_MAX)));
}

CWindow Union(const CWindow& a, const CWindow& b) {
    return CWindow(std::min(a.x1, b.x1), std::min(a.y1, b.y1), std::max(a.x2, b.x2),
                   std::max(a.y2, b.y2));
}

} // namespace

CJoxView::CJoxView() = default;

CJoxView::~CJoxView() {
    delete m_pDeferredRgn;
}

CJoxPage* CJoxView::GetDocument() const {
    return dynamic_cast<CJoxPage*>(m_pDocument);
}

// Extents and zoom ---------------------------------------------------------------------------

void CJoxView::SetOriginOffset(const CPoint& p) {
    const LONG dx = m_ptOriginOffset.x - p.x, dy = m_ptOriginOffset.y - p.y;
    m_ScrollExtents.x1 += dx;
    m_ScrollExtents.x2 += dx;
    m_ScrollExtents.y1 += dy;
    m_ScrollExtents.y2 += dy;
    m_ptOriginOffset = p;
}

void CJoxView::SetMinimumScrollExtents(const CWindow& w) {
    CWindow extents = w;
    if (CJoxPage* page = GetDocument()) {
        if (!page->Extents().fnIsEmptyExtent())
            extents = Union(extents, page->Extents());
        if (page->DeviceExtentsKnown()) {
            const CWindow& d = page->DeviceExtents();
            extents.fnIncludePoint(CLpoint(d.x1, d.y1));
            extents.fnIncludePoint(CLpoint(d.x2, d.y2));
        }
    }
    m_ScrollExtents = extents;
}

CWindow CJoxView::ViewExtents() {
    CRect r;
    GetClientRect(&r);
    ClientToDoc(r);
    return CWindow(r.left, r.bottom, r.right, r.top);
}

void CJoxView::PrepareExtents(CJoxDC& dc) {
    dc.SetMapMode(1);
    dc.SetWindowExt(m_sizeWindow);
    dc.SetViewportExt(m_sizeViewport);
    dc.SetViewportOrg(0, 0);
}

void CJoxView::ExpandExtents(CWindow& window, int cx, int cy) {
    CJoxWindowDC dc(this);
    PrepareExtents(dc);
    CSize s(cx, cy);
    dc.DPtoLP(&s);
    window.x1 -= s.cx / 2;
    window.x2 += s.cx / 2;
    window.y1 -= s.cy / 2;
    window.y2 += s.cy / 2;
}

int CJoxView::SetZoomToFit(CWindow docRect, int redraw) {
    CRect client;
    GetClientRect(&client);
    const CSize c(client.Width(), client.Height());
    if (c.cx < 1 || c.cy < 1)
        return 0;
    // A rectangle without width or height has no zoom that fits it.
    const double docW = double(Width(docRect)), docH = double(Height(docRect));
    if (docW == 0 || docH == 0)
        return 0;
    auto fit = [&](const CSize& window) {
        return CSize(ClampInt(c.cx * double(window.cx) / docW),
                     -ClampInt(c.cy * double(window.cy) / docH));
    };
    m_sizeWindow = CSize(Width(m_ScrollExtents), Height(m_ScrollExtents));
    m_sizeViewport = fit(m_sizeWindow);
    CWindow expanded = m_ScrollExtents;
    ExpandExtents(expanded, c.cx, c.cy);
    m_sizeWindow = CSize(Width(expanded), Height(expanded));
    m_sizeViewport = fit(m_sizeWindow);
    m_ptOriginOffset = CPoint(-expanded.x1, -expanded.y2);
    SetScrollSizes(m_sizeWindow);
    CRect visible = client;
    ClientToDoc(visible);
    const CLpoint centre = docRect.fnCentre();
    ScrollToPosition(CPoint(centre.x - visible.Width() / 2, centre.y - visible.Height() / 2), 0);
    if (redraw)
        Invalidate(TRUE);
    return 1;
}

int CJoxView::SetSizeToFit() {
    CJoxPage* page = GetDocument();
    CArticle* root = page ? page->RootArticle() : nullptr;
    if (!root)
        return 0;
    CWindow ext = root->Extents(0);
    if (ext.fnIsEmptyExtent())
        return 0;
    if (page->AutoResize()) {
        CWindow pageExt = page->Extents();
        pageExt.fnIncludePoint(CLpoint(ext.x1, ext.y1));
        pageExt.fnIncludePoint(CLpoint(ext.x2, ext.y2));
        page->Extents(pageExt);
    }
    CWindow next = Union(m_ScrollExtents, ext);
    if (next == m_ScrollExtents)
        return 0;
    SetMinimumScrollExtents(next);
    SetZoomToFit(ViewExtents(), 1);
    return 1;
}

void CJoxView::DeferredPaintRegion(CRgn* rgn) {
    if (rgn != m_pDeferredRgn)
        delete m_pDeferredRgn;
    m_pDeferredRgn = rgn;
}

int CJoxView::UpdateDeferredPaintRegion(CRgn* rgn, int combineMode) {
    if (!m_pDeferredRgn || !rgn)
        return 0;
    if (m_pDeferredRgn->m_hObject)
        return m_pDeferredRgn->CombineRgn(m_pDeferredRgn, rgn, combineMode);
    if (combineMode != RGN_OR)
        return 0;
    m_pDeferredRgn->CreateRectRgn(0, 0, 0, 0);
    return m_pDeferredRgn->CopyRgn(rgn);
}

// Mapping ------------------------------------------------------------------------------------

void CJoxView::OnPrepareDC(CJoxDC* dc, CPrintInfo* info) {
    if (!dc)
        return;
    if (m_sizeWindow.cx == 0 || m_sizeWindow.cy == 0) {
        m_sizeWindow = kDefaultExtent;
        m_sizeViewport = kDefaultExtent;
    }
    PrepareExtents(*dc);
    CPoint p = m_ptOriginOffset;
    dc->LPtoDP(p);
    CPoint origin;
    if (dc->IsPrinting()) {
        // Pixels per micrometre of the printer, in floating point: in integers they are 0.
        CDC* attrib = dc;
        const double sx = attrib->GetDeviceCaps(LOGPIXELSX) / 25400.0;
        const double sy = attrib->GetDeviceCaps(LOGPIXELSY) / 25400.0;
        const CSize window(Width(m_ScrollExtents), Height(m_ScrollExtents));
        dc->SetWindowExt(window);
        dc->SetViewportExt(ClampInt(window.cx * sx), -ClampInt(window.cy * sy));
        dc->SetViewportOrg(0, 0);
        origin = CPoint(-m_ScrollExtents.x1, -m_ScrollExtents.y2);
        dc->LPtoDP(origin);
    } else {
        CPoint o = -GetDeviceScrollPosition();
        if (m_bCentred) {
            CRect client;
            GetClientRect(&client);
            if (m_totalDev.cx < client.Width())
                o.x = (client.Width() - m_totalDev.cx) / 2;
            if (m_totalDev.cy < client.Height())
                o.y = (client.Height() - m_totalDev.cy) / 2;
        }
        origin = o + p + m_sizeRuler;
    }
    dc->SetViewportOrg(origin);
    CView::OnPrepareDC(dc, info);
}

void CJoxView::GetClientRect(RECT* rect) {
    CWnd::GetClientRect(rect);
    if (m_bRuler) {
        rect->left += m_sizeRuler.cx;
        rect->top += m_sizeRuler.cy;
    }
}

void CJoxView::ClientToDoc(CPoint& p) {
    CJoxClientDC dc(this, eClientDocument);
    OnPrepareDC(&dc, nullptr);
    dc.DPtoLP(p);
}

void CJoxView::ClientToDoc(CRect& r) {
    CJoxClientDC dc(this, eClientDocument);
    OnPrepareDC(&dc, nullptr);
    dc.DPtoLP(static_cast<RECT*>(&r));
}

void CJoxView::ClientToDoc(CWindow& w) {
    CJoxClientDC dc(this, eClientDocument);
    OnPrepareDC(&dc, nullptr);
    POINT pts[2] = {{w.x1, w.y1}, {w.x2, w.y2}};
    dc.DPtoLP(pts, 2);
    w = CWindow(pts[0].x, pts[0].y, pts[1].x, pts[1].y);
}

void CJoxView::DocToClient(CPoint& p) {
    CJoxClientDC dc(this, eClientDocument);
    OnPrepareDC(&dc, nullptr);
    dc.LPtoDP(p);
}

void CJoxView::DocToClient(CRect& r) {
    CJoxClientDC dc(this, eClientDocument);
    OnPrepareDC(&dc, nullptr);
    dc.LPtoDP(static_cast<RECT*>(&r));
    r.NormalizeRect();
}

void CJoxView::DocToClient(CWindow& w) {
    CJoxClientDC dc(this, eClientDocument);
    OnPrepareDC(&dc, nullptr);
    POINT pts[2] = {{w.x1, w.y1}, {w.x2, w.y2}};
    dc.LPtoDP(pts, 2);
    w = CWindow(pts[0].x, pts[0].y, pts[1].x, pts[1].y);
}

// Scrolling ----------------------------------------------------------------------------------

void CJoxView::OnSize(UINT type, int cx, int cy) {
    CView::OnSize(type, cx, cy);
    // A window extent of 0 (nothing prepared yet) has no ratio: the default extents do.
    if (m_sizeWindow.cx == 0 || m_sizeWindow.cy == 0) {
        m_sizeWindow = kDefaultExtent;
        m_sizeViewport = kDefaultExtent;
    }
    const double rx = double(m_sizeViewport.cx) / m_sizeWindow.cx;
    const double ry = double(m_sizeViewport.cy) / m_sizeWindow.cy;
    CWindow expanded = m_ScrollExtents;
    ExpandExtents(expanded, cx - m_sizeRuler.cx, cy - m_sizeRuler.cy);
    m_sizeWindow = CSize(Width(expanded), Height(expanded));
    m_sizeViewport = CSize(ClampInt(m_sizeWindow.cx * rx), ClampInt(m_sizeWindow.cy * ry));
    m_ptOriginOffset = CPoint(-expanded.x1, -expanded.y2);
    SetScrollSizes(m_sizeWindow);
    Invalidate(TRUE);
}

void CJoxView::SetScrollSizes(SIZE total, const SIZE&, const SIZE&) {
    if (total.cx < 1 || total.cy < 1)
        return;
    const CSize oldWindow = m_sizeWindow, oldTotal = m_totalDev;
    m_sizeWindow = total;
    m_totalDev = total;
    {
        CJoxWindowDC dc(this);
        PrepareExtents(dc);
        CSize unit(1, 1);
        dc.LPtoDP(&unit);
        // A zoom this deep would wrap the device arithmetic: the view stays as it was.
        if (int64_t(unit.cx) * total.cx > kMaxDeviceSize ||
            int64_t(unit.cy) * total.cy > kMaxDeviceSize) {
            m_sizeWindow = oldWindow;
            m_totalDev = oldTotal;
            return;
        }
        CSize device = total;
        dc.LPtoDP(&device);
        m_totalDev = device;
    }
    const int larger = std::max(m_totalDev.cx, m_totalDev.cy);
    m_nBarScale = larger > kMaxBarRange ? larger / kMaxBarRange + 1 : 1;
    CRect client;
    CWnd::GetClientRect(&client);
    m_pageDev = CSize(client.Width() / 2, std::abs(client.Height() / 2));
    m_lineDev = CSize(client.Width() / 10, std::abs(client.Height() / 10));
    if (m_pageDev.cx == 0)
        m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0)
        m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx == 0)
        m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0)
        m_lineDev.cy = m_pageDev.cy / 10;
    if (m_hWnd)
        UpdateBars();
}

void CJoxView::GetScrollBarSizes(CSize& bars) {
    const int border = (GetStyle() & WS_BORDER) ? 1 : 0;
    bars = CSize(GetSystemMetrics(SM_CXVSCROLL) - border, GetSystemMetrics(SM_CYHSCROLL) - border);
}

int CJoxView::GetTrueClientSize(CSize& client, CSize& bars) {
    CRect r;
    CWnd::GetClientRect(&r);
    client = CSize(r.Width(), r.Height());
    GetScrollBarSizes(bars);
    const DWORD style = GetStyle();
    if (style & WS_VSCROLL)
        client.cx += bars.cx;
    if (style & WS_HSCROLL)
        client.cy += bars.cy;
    return client.cx > bars.cx && client.cy > bars.cy;
}

void CJoxView::GetScrollBarState(CSize client, CSize& needBars, CSize& range, CPoint& move,
                                 BOOL insideClient) {
    CSize bars;
    GetScrollBarSizes(bars);
    if (insideClient)
        client = CSize(client.cx + bars.cx, client.cy + bars.cy);
    needBars = CSize(1, 1);
    const CSize visible(client.cx - bars.cx, client.cy - bars.cy);
    range = CSize(std::max(0, m_totalDev.cx - visible.cx), std::max(0, m_totalDev.cy - visible.cy));
    move = CPoint(std::clamp(m_nHPos, 0, int(range.cx)), std::clamp(m_nVPos, 0, int(range.cy)));
}

void CJoxView::UpdateBars() {
    if (m_bInsideUpdate || !m_hWnd)
        return;
    m_bInsideUpdate = 1;
    CSize size, bars;
    RECT parent{0, 0, 0, 0};
    CWnd* up = GetParent();
    if (up && up->SendMessage(WM_RECALCPARENT, 0, reinterpret_cast<LPARAM>(&parent)) != 0) {
        size = CSize(parent.right - parent.left, parent.bottom - parent.top);
        GetScrollBarSizes(bars);
    } else if (!GetTrueClientSize(size, bars)) {
        if (size.cx > 0 && size.cy > 0)
            ::ShowScrollBar(m_hWnd, SB_BOTH, FALSE);
        m_bInsideUpdate = 0;
        return;
    }
    // Both bars are always shown.
    const CSize visible(size.cx - bars.cx, size.cy - bars.cy);
    m_bCentred = m_totalDev.cx < visible.cx || m_totalDev.cy < visible.cy;
    // A document smaller than the window has nothing to scroll: the maxima stay at 0, so that
    // positions never clamp to an inverted range.
    m_nHMax = std::max(0, m_totalDev.cx - visible.cx);
    m_nVMax = std::max(0, m_totalDev.cy - visible.cy);
    m_nHPos = std::clamp(m_nHPos, 0, m_nHMax);
    m_nVPos = std::clamp(m_nVPos, 0, m_nVMax);
    ::ShowScrollBar(m_hWnd, SB_BOTH, TRUE);
    const int scale = std::max(1, m_nBarScale);
    const int totals[2] = {m_totalDev.cx, m_totalDev.cy};
    const int pages[2] = {visible.cx, visible.cy};
    for (int bar : {SB_HORZ, SB_VERT}) {
        ::EnableScrollBar(m_hWnd, bar, ESB_ENABLE_BOTH);
        SCROLLINFO info{sizeof(SCROLLINFO),
                        SIF_RANGE | SIF_PAGE,
                        0,
                        totals[bar] / scale,
                        UINT(std::max(0, pages[bar] / scale)),
                        0,
                        0};
        ::SetScrollInfo(m_hWnd, bar, &info, TRUE);
        ::SetScrollPos(m_hWnd, bar, (bar == SB_HORZ ? m_nHPos : m_nVPos) / scale, TRUE);
    }
    m_bInsideUpdate = 0;
}

CPoint CJoxView::GetDeviceScrollPosition() const {
    CPoint pos(std::max(0, m_nHPos), std::max(0, m_nVPos));
    if (m_bCentred) {
        CRect client;
        const_cast<CJoxView*>(this)->GetClientRect(&client);
        if (m_totalDev.cx < client.Width())
            pos.x = -(client.Width() - m_totalDev.cx) / 2;
        if (m_totalDev.cy < client.Height())
            pos.y = -(client.Height() - m_totalDev.cy) / 2;
    }
    return pos;
}

void CJoxView::GetDeviceScrollSizes(int&, SIZE& total, SIZE& page, SIZE& line) const {
    total = m_totalDev;
    page = m_pageDev;
    line = m_lineDev;
}

void CJoxView::ScrollToPosition(POINT docPoint, int scroll) {
    CPoint device = docPoint;
    {
        CJoxWindowDC dc(this);
        PrepareExtents(dc);
        CPoint origin = m_ptOriginOffset;
        dc.LPtoDP(origin);
        dc.SetViewportOrg(origin);
        dc.LPtoDP(device);
    }
    device.x = std::clamp<LONG>(device.x, 0, std::max(0, m_nHMax));
    device.y = std::clamp<LONG>(device.y, 0, std::max(0, m_nVMax));
    ScrollToDevicePosition(device, scroll);
}

void CJoxView::ScrollToDevicePosition(POINT devicePoint, int scroll) {
    const int oldX = m_nHPos, oldY = m_nVPos;
    m_nHPos = devicePoint.x;
    m_nVPos = devicePoint.y;
    const int scale = std::max(1, m_nBarScale);
    ::SetScrollPos(m_hWnd, SB_VERT, m_nVPos / scale, TRUE);
    ::SetScrollPos(m_hWnd, SB_HORZ, m_nHPos / scale, TRUE);
    if (scroll)
        DoScrollWindow(oldX - m_nHPos, oldY - m_nVPos);
}

void CJoxView::OnHScroll(UINT code, UINT pos) {
    OnScroll(MAKEWORD(BYTE(code), 0xFF), pos, 1);
}

void CJoxView::OnVScroll(UINT code, UINT pos) {
    OnScroll(MAKEWORD(0xFF, BYTE(code)), pos, 1);
}

int CJoxView::OnScroll(UINT code, UINT pos, int scroll) {
    const int scale = std::max(1, m_nBarScale);
    auto step = [&](UINT c, int current, int line, int page) -> int64_t {
        switch (c) {
        case SB_LINEUP:
            return int64_t(current) - line;
        case SB_LINEDOWN:
            return int64_t(current) + line;
        case SB_PAGEUP:
            return int64_t(current) - page;
        case SB_PAGEDOWN:
            return int64_t(current) + page;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            return int64_t(pos) * scale;
        case SB_TOP:
            return 0;
        case SB_BOTTOM:
            return INT_MAX;
        default:
            return current;
        }
    };
    int64_t x = step(LOBYTE(code), m_nHPos, m_lineDev.cx, m_pageDev.cx);
    int64_t y = m_nVPos;
    if (code <= 0x7FF)
        y = step(HIBYTE(code), m_nVPos, m_lineDev.cy, m_pageDev.cy);
    const CSize delta(int(std::clamp<int64_t>(x - m_nHPos, INT_MIN, INT_MAX)),
                      int(std::clamp<int64_t>(y - m_nVPos, INT_MIN, INT_MAX)));
    return OnScrollBy(delta, scroll);
}

int CJoxView::OnScrollBy(CSize delta, int scroll) {
    const DWORD style = GetStyle();
    if (!(style & WS_HSCROLL) || !::IsScrollBarEnabled(m_hWnd, SB_HORZ))
        delta.cx = 0;
    if (!(style & WS_VSCROLL) || !::IsScrollBarEnabled(m_hWnd, SB_VERT))
        delta.cy = 0;
    const int x = int(std::clamp<int64_t>(int64_t(m_nHPos) + delta.cx, 0, std::max(0, m_nHMax)));
    const int y = int(std::clamp<int64_t>(int64_t(m_nVPos) + delta.cy, 0, std::max(0, m_nVMax)));
    if (x == m_nHPos && y == m_nVPos)
        return 0;
    if (!scroll)
        return 1;
    DoScrollWindow(m_nHPos - x, m_nVPos - y);
    const int scale = std::max(1, m_nBarScale);
    if (x != m_nHPos) {
        m_nHPos = x;
        ::SetScrollPos(m_hWnd, SB_HORZ, x / scale, TRUE);
    }
    if (y != m_nVPos) {
        m_nVPos = y;
        ::SetScrollPos(m_hWnd, SB_VERT, y / scale, TRUE);
    }
    return 1;
}

void CJoxView::DoScrollWindow(int dx, int dy) {
    if (!IsWindowVisible()) {
        for (HWND c = ::GetWindow(m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            RECT r;
            ::GetWindowRect(c, &r);
            POINT tl{r.left, r.top};
            ::ScreenToClient(m_hWnd, &tl);
            ::SetWindowPos(c, nullptr, tl.x + dx, tl.y + dy, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return;
    }
    const CPoint marks = m_ptRulerMark;
    const int shown = m_bRulerMarks;
    if (shown)
        DrawRulerPos(CPoint(-1, -1)); // erases, draws nothing
    CRect client;
    CWnd::GetClientRect(&client);
    if (m_bRuler) {
        if (dx) {
            CRect band(m_sizeRuler.cx, 0, client.right, m_sizeRuler.cy);
            if (m_bRelativeRulers)
                InvalidateRect(&band, TRUE);
            else
                ::ScrollWindow(m_hWnd, dx, 0, &band, &band);
        }
        if (dy) {
            CRect band(0, m_sizeRuler.cy, m_sizeRuler.cx, client.bottom);
            if (m_bRelativeRulers)
                InvalidateRect(&band, TRUE);
            else
                ::ScrollWindow(m_hWnd, 0, dy, &band, &band);
        }
    }
    CRect area;
    GetClientRect(&area);
    ::ScrollWindow(m_hWnd, dx, dy, &area, &area);
    if (m_pDeferredRgn && m_pDeferredRgn->m_hObject) {
        m_pDeferredRgn->OffsetRgn(dx, dy);
        InvalidateRgn(m_pDeferredRgn, TRUE);
        CRgn strip, moved;
        strip.CreateRectRgnIndirect(&area);
        CRect shifted = area;
        shifted.OffsetRect(dx, dy);
        moved.CreateRectRgnIndirect(&shifted);
        strip.CombineRgn(&strip, &moved, RGN_DIFF);
        m_pDeferredRgn->CombineRgn(m_pDeferredRgn, &strip, RGN_OR);
    }
    if (shown)
        DrawRulerPos(marks);
}

void CJoxView::CalcWindowRect(RECT* rect, UINT adjustType) {
    if (!rect)
        return;
    const DWORD exStyle = DWORD(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    if (adjustType == 0) { // inside
        ::AdjustWindowRectEx(rect, GetStyle(), FALSE, exStyle & ~WS_EX_CLIENTEDGE);
        return;
    }
    ::AdjustWindowRectEx(rect, 0, FALSE, exStyle);
    CSize bars;
    GetScrollBarSizes(bars);
    if (m_totalDev.cy > rect->bottom - rect->top)
        rect->right += bars.cx;
    if (m_totalDev.cx > rect->right - rect->left)
        rect->bottom += bars.cy;
}

// Drawing ------------------------------------------------------------------------------------

void CJoxView::OnDraw(CJoxDC* dc) {
    if (m_bRuler) {
        DrawRuler(dc);
        DrawRulerText(dc);
        DrawGuidesPos(dc);
        m_bRulerMarks = 0;
        DrawRulerPos(dc, m_ptRulerMark);
        ExcludeClipClient(dc, eClientDocument);
    }
    DrawExtents(dc);
}

void CJoxView::OnDraw(CDC* dc) {
    if (auto* jdc = dynamic_cast<CJoxDC*>(dc))
        OnDraw(jdc);
}

void CJoxView::OnPaint() {
    CJoxPaintDC dc(this);
    OnPrepareDC(&dc, nullptr);
    fnPrepareRenderBackground(&dc);
    // Everything goes to the back buffer first, so the whole damaged area is erased at once.
    dc.EraseBackground();
    OnDraw(&dc);
}

void CJoxView::DrawExtents(CJoxDC* dc) {
    CJoxPage* page = GetDocument();
    if (!page || !QvGetAppParam(L"Draw Page Frame", 0) || !page->DeviceExtentsKnown())
        return;
    const CWindow& d = page->DeviceExtents();
    CPoint p0(0, 0), p1(Width(d), Height(d));
    dc->LPtoDP(p0);
    dc->LPtoDP(p1);
    const int oldMode = dc->SetMapMode(0);
    const bool dashed = QvGetAppParam(L"Draw Page Frame Dashed", 0) != 0;
    CPen pen;
    pen.CreatePen(dashed ? PS_DASH : PS_SOLID, 0, dashed ? RGB(200, 200, 200) : RGB(0, 0, 0));
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(p0.x - 2, p0.y + 2);
    dc->LineTo(p1.x + 2, p0.y + 2);
    dc->LineTo(p1.x + 2, p1.y - 2);
    dc->LineTo(p0.x - 2, p1.y - 2);
    dc->LineTo(p0.x - 2, p0.y + 2);
    dc->SelectObject(old);
    if (!dashed) {
        CRect shadow(p0.x, p0.y + 3, p1.x + 6, p0.y + 6);
        shadow.NormalizeRect();
        dc->CDC::FillRect(&shadow, CBrush::FromHandle(HBRUSH(::GetStockObject(GRAY_BRUSH))));
    }
    dc->SetMapMode(oldMode);
}

void CJoxView::DrawGrid(CJoxDC* dc) {
    if (CJoxPage* page = GetDocument())
        page->DrawGrid(this, dc);
}

void CJoxView::DrawGuides(CJoxDC* dc) {
    if (CJoxPage* page = GetDocument())
        page->DrawGuides(this, dc, 0);
}

void CJoxView::DrawGuidesPos(CJoxDC* dc) {
    if (CJoxPage* page = GetDocument())
        page->DrawGuides(this, dc, 1);
}

void CJoxView::InvalidateDocRect(const CWindow& w, int erase) {
    CRect r(w.x1, w.y2, w.x2, w.y1);
    DocToClient(r);
    r.InflateRect(7, 7);
    InvalidateRect(&r, erase);
}

// Background ---------------------------------------------------------------------------------

namespace {
void LoadBackColour(int& loaded, int& on, COLORREF& colour) {
    if (loaded)
        return;
    on = QvGetAppParam(L"BackColourOn", 0);
    colour = COLORREF(QvGetAppParam(L"BackColourValue", int(0x7D7D7D)));
    loaded = 1;
}
} // namespace

int CJoxView::fnGetBackColourOn() {
    LoadBackColour(m_bBackColourLoaded, m_bBackColourOn, m_BackColour);
    return m_bBackColourOn;
}

COLORREF CJoxView::fnGetBackColour() {
    LoadBackColour(m_bBackColourLoaded, m_bBackColourOn, m_BackColour);
    return m_BackColour;
}

void CJoxView::fnSetBackColourOn(int on) {
    LoadBackColour(m_bBackColourLoaded, m_bBackColourOn, m_BackColour);
    m_bBackColourOn = on;
    QvSetAppParam(L"BackColourOn", on);
}

void CJoxView::fnSetBackColour(COLORREF colour) {
    LoadBackColour(m_bBackColourLoaded, m_bBackColourOn, m_BackColour);
    m_BackColour = colour;
    QvSetAppParam(L"BackColourValue", int(colour));
}

int CJoxView::fnChooseBackColour() {
    static COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    CWnd* main = AfxGetMainWnd();
    cc.hwndOwner = main ? main->m_hWnd : nullptr;
    cc.rgbResult = fnGetBackColour();
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (::ChooseColorW(&cc)) {
        fnSetBackColour(cc.rgbResult);
        fnSetBackColourOn(1);
    }
    return fnGetBackColourOn();
}

void CJoxView::fnPrepareRenderBackground(CJoxDC* dc) {
    if (dc && !dc->IsPrinting() && fnGetBackColourOn()) {
        dc->SetDrawOption(1, CJoxDC::OPTION_BACKGROUND);
        dc->fnSetBackColour(fnGetBackColour());
    }
}

void CJoxView::fnRenderBackground(CJoxDC* dc, int left, int top, int right, int bottom) {
    if (!dc || !fnGetBackColourOn())
        return;
    const int oldMode = dc->SetMapMode(0);
    CBrush brush;
    brush.CreateSolidBrush(fnGetBackColour());
    CRect r(left, top, right, bottom);
    dc->CDC::FillRect(&r, &brush);
    dc->SetMapMode(oldMode);
}

// Messages -----------------------------------------------------------------------------------

LRESULT CJoxView::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    if (auto* frame = dynamic_cast<CJoxChildWnd*>(GetParentFrame())) {
        CDocument* doc = GetDocument();
        if (doc && (frame->ModifiedInTitle() != 0) != (doc->IsModified() != 0))
            frame->OnUpdateFrameTitle(TRUE);
    }
    if (m_pDeferredRgn && m_pDeferredRgn->m_hObject) {
        InvalidateRgn(m_pDeferredRgn, TRUE);
        // Handed to the update region: left in place, every idle would repaint it again.
        m_pDeferredRgn->SetRectRgn(0, 0, 0, 0);
    }
    return 1;
}

void CJoxView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) {
    if (auto* area = dynamic_cast<CAreaHint*>(hintObject)) {
        InvalidateDocRect(area->Area(), TRUE);
        return;
    }
    CView::OnUpdate(sender, hint, hintObject);
}

BOOL CJoxView::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    if (id == ID_VIEW_SIZE_TO_FIT && code == CN_COMMAND) {
        if (!IsQuery(handlerInfo))
            OnSizeToFit();
        return TRUE;
    }
    return CView::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CJoxView::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    LRESULT r = 0;
    switch (msg) {
    case WM_HSCROLL:
        OnHScroll(LOWORD(wp), HIWORD(wp));
        break;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wp), HIWORD(wp));
        break;
    case WM_IDLEUPDATECMDUI:
        r = OnIdleUpdateCmdUI(wp, lp);
        break;
    default:
        return CView::OnWndMsg(msg, wp, lp, result);
    }
    if (result)
        *result = r;
    return TRUE;
}
