// The design view's paint order and its zoom operations.
#include "design/design_page.h"
#include "design/design_tool.h"
#include "design/design_view.h"
#include "design/sub_tool.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_paint_dc.h"
#include "pivora/framework/screen.h"
#include "pivora/select.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Sides beyond this are the empty value of a window.
constexpr LONG kEmptySide = 99999998;
// Zoom refuses rectangles narrower or lower than this many data units.
constexpr LONG kMinZoomSide = 4;
// ... and those this many times the page on both sides.
constexpr int64_t kMaxZoomFactor = 10;

int64_t Width(const CWindow& w) {
    return int64_t(w.x2) - w.x1;
}
int64_t Height(const CWindow& w) {
    return int64_t(w.y2) - w.y1;
}

bool IsEmpty(const CWindow& w) {
    return (w.x1 == w.x2 && w.y1 == w.y2) || Width(w) > kEmptySide || Height(w) > kEmptySide ||
           Width(w) < 0 || Height(w) < 0;
}

CWindow Union(const CWindow& a, const CWindow& b) {
    return CWindow(std::min(a.x1, b.x1), std::min(a.y1, b.y1), std::max(a.x2, b.x2),
                   std::max(a.y2, b.y2));
}

} // namespace

// Paint ----------------------------------------------------------------------------------------

void CDesignView::OnPaint() {
    CDesignPage* page = GetDocument();
    if (m_bFirstPaint) {
        m_bFirstPaint = 0;
        ZoomFirst();
        SetSizeToFit();
        if (page)
            page->ViewExtents(ViewExtents(), false);
    }
    if (page) {
        if (CDesignTool* tool = page->GetDesignTool(); tool && tool->OnPaint(this))
            return;
        if (CSubTool* sub = page->GetSubTool(); sub && sub->OnPaint(this))
            return;
    }
    CJoxPaintDC dc(this);
    if (!GetRedrawAll() || !page || page->AreUpdatesLocked())
        return;
    // Surfaces are true colour: the page's palette needs no realising here.
    OnPrepareDC(&dc, nullptr);
    fnPrepareRenderBackground(&dc);
    CJoxView::OnDraw(&dc);
    dc.SetDrawMode(0);
    page->OnDraw(this, &dc);
    if (dc.EraseBackground()) {
        DrawGrid(&dc);
        DrawExtents(&dc);
    }
    DrawGuides(&dc);
    if (m_bActive)
        page->OnDrawTool(this, &dc);
    if (dc.GetCurrentStatus() == 0) {
        UpdateDeferredPaintRegion(dc.GetClipRgn(), RGN_DIFF);
        CRgn* left = DeferredPaintRegion();
        CRect box;
        if (left && left->m_hObject && left->GetRgnBox(&box) == NULLREGION)
            DeferredPaintRegion(nullptr);
    }
    CheckZoomViews(&dc);
}

// Zoom -----------------------------------------------------------------------------------------

void CDesignView::ZoomToFit(const CWindow& w, int flag) {
    SetZoomToFit(w, flag);
}

int CDesignView::PageExtentsLimit(const CWindow& r) const {
    CDesignPage* page = GetDocument();
    if (!page)
        return 0;
    const CWindow& e = page->Extents();
    // Extents without size set no upper limit.
    if (IsEmpty(e) || Width(e) <= 0 || Height(e) <= 0)
        return 0;
    return Width(r) >= kMaxZoomFactor * Width(e) && Height(r) >= kMaxZoomFactor * Height(e);
}

void CDesignView::Zoom(const CWindow& r) {
    if (Width(r) < kMinZoomSide || Height(r) < kMinZoomSide || PageExtentsLimit(r))
        return;
    m_ZoomHistory.push_back(ViewExtents());
    ZoomToFit(r, 1);
}

void CDesignView::Zoom(const CRect& client) {
    CRect r(client.left, client.bottom, client.right, client.top);
    ClientToDoc(r);
    Zoom(CWindow(r.left, r.top, r.right, r.bottom));
}

void CDesignView::ZoomOut() {
    if (!m_ZoomHistory.empty()) {
        const CWindow w = m_ZoomHistory.back();
        m_ZoomHistory.pop_back();
        ZoomToFit(w, 1);
        return;
    }
    CRect client;
    GetClientRect(&client);
    client.InflateRect(client.Width() / 4, client.Height() / 4);
    CRect r(client.left, client.bottom, client.right, client.top);
    ClientToDoc(r);
    const CWindow w(r.left, r.top, r.right, r.bottom);
    if (!PageExtentsLimit(w))
        ZoomToFit(w, 1);
}

void CDesignView::ZoomSelected() {
    CDesignPage* page = GetDocument();
    if (!page || page->GetObjectSelectionCount() == 0)
        return;
    CWindow w = CWindow::EmptyExtent();
    bool any = false;
    for (POSITION pos = page->GetFirstObjectSelection(nullptr); pos;) {
        CSelect* s = page->GetNextObjectSelection(pos, nullptr);
        if (!s || !s->Article())
            continue;
        const CWindow e = s->Article()->Extents(0);
        if (IsEmpty(e))
            continue;
        w = any ? Union(w, e) : e;
        any = true;
    }
    if (!any)
        return;
    ApplyMarginAroundZoom(w);
    Zoom(w);
}

void CDesignView::ApplyMarginAroundZoom(CWindow& r) {
    const int64_t m = Width(r) / 40;
    auto clamp = [](int64_t v) { return LONG(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); };
    r = CWindow(clamp(r.x1 - m), clamp(r.y1 - m), clamp(r.x2 + m), clamp(r.y2 + m));
}

void CDesignView::ZoomResize(int recalc, unsigned flags) {
    CDesignPage* page = GetDocument();
    if (!page)
        return;
    CWindow w = page->Extents();
    if (recalc) {
        const CWindow old = w;
        page->RecalcExtents(flags);
        if (!(page->Extents() == old)) {
            page->AddDesignSizeUndo(old, -1);
            page->SetModifiedFlag();
        }
        w = page->Extents();
    } else if (QvGetAppParam(L"Zoom To Fit Include Data", 1)) {
        const CWindow data = page->RootArticle()->Extents(0);
        if (!IsEmpty(data))
            w = IsEmpty(w) ? data : Union(w, data);
    }
    ApplyMarginAroundZoom(w);
    SetMinimumScrollExtents(w);
    m_ZoomHistory.clear();
    ZoomToFit(w, 1);
    if (recalc)
        page->UpdateAllViews(this, kHintAll, nullptr);
}

void CDesignView::ZoomAllData(int withPage) {
    CDesignPage* page = GetDocument();
    if (!page)
        return;
    CWindow w = page->RootArticle()->Extents(0);
    if (withPage && !IsEmpty(page->Extents()))
        w = IsEmpty(w) ? page->Extents() : Union(w, page->Extents());
    if (IsEmpty(w))
        return;
    ApplyMarginAroundZoom(w);
    SetMinimumScrollExtents(w);
    m_ZoomHistory.clear();
    ZoomToFit(w, 1);
}

void CDesignView::ZoomFirst() {
    CDesignPage* page = GetDocument();
    if (!page)
        return;
    CWindow w = page->ViewExtents();
    if (IsEmpty(w)) {
        w = page->Extents();
        const CWindow data = page->RootArticle()->Extents(0);
        if (!IsEmpty(data))
            w = IsEmpty(w) ? data : Union(w, data);
        ApplyMarginAroundZoom(w);
    }
    if (IsEmpty(w))
        return;
    SetMinimumScrollExtents(w);
    m_ZoomHistory.clear();
    ZoomToFit(w, 0);
}

void CDesignView::CheckZoomViews(CJoxDC* dc) {
    if (!m_bActive || !dc)
        return;
    if (dc->IsPrinting() && !dc->GetDrawOption(16))
        return;
    const CWindow visible = ViewExtents();
    while (!m_ZoomHistory.empty()) {
        const CWindow& w = m_ZoomHistory.back();
        if (Width(w) > Width(visible) && Height(w) > Height(visible))
            break;
        m_ZoomHistory.pop_back();
    }
    if (CDesignPage* page = GetDocument())
        page->ViewExtents(visible, true);
}

void CDesignView::ScreenWidths(int32_t& s, int32_t& p) {
    if (s && p)
        return;
    long mm = 0, pixels = 0;
    ::ScreenWidths(mm, pixels);
    mm = std::clamp<long>(mm, 0, INT_MAX / 100);
    pixels = std::clamp<long>(pixels, 0, INT_MAX);
    if (!s)
        s = int32_t(mm) * 100;
    if (!p)
        p = int32_t(pixels);
}

void CDesignView::fnZoomToScale(double factor) {
    CDesignPage* page = GetDocument();
    if (!page || !(factor > 0))
        return;
    int32_t s = QvGetAppParam(L"ScreenWidth", 0);
    int32_t p = QvGetAppParam(L"ScreenWidthPixels", 0);
    // A width out of all reason is taken as not set.
    if (s < 0 || s > 10000000)
        s = 0;
    if (p < 0 || p > 1000000)
        p = 0;
    ScreenWidths(s, p);
    // A monitor that reports no size leaves the zoom as it is.
    if (s <= 0 || p <= 0)
        return;
    const double u = double(s) * 10 / p / factor;
    CRect client;
    GetClientRect(&client);
    const double w = client.Width() * u, h = client.Height() * u;
    if (!(w < double(INT_MAX) && h < double(INT_MAX)))
        return;
    const CWindow& e = page->Extents();
    const CLpoint c = IsEmpty(e) ? CLpoint(0, 0) : e.fnCentre();
    const LONG iw = LONG(w), ih = LONG(h);
    const int64_t x1 = int64_t(c.x) - iw / 2, y1 = int64_t(c.y) - ih / 2;
    auto clamp = [](int64_t v) { return LONG(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); };
    Zoom(CWindow(clamp(x1), clamp(y1), clamp(x1 + iw), clamp(y1 + ih)));
}
