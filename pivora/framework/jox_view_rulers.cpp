// The rulers of the base view: bands along the left and top edges with the page strip, ticks
// and labels in millimetres or inches, and XOR marks that follow the mouse.
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/framework/jox_view.h"
#include "pivora/grid.h"
#include "pivora/jox_page.h"
#include "platform/windowing/cursor.h"
#include "platform/windowing/system_metrics.h"

#include <cmath>
#include <cstdint>
#include <locale>
#include <sstream>

namespace {

constexpr int kInchSpacing = 63; // minimum label spacing in pixels
constexpr int kMetricSpacing = 100;
constexpr double kInchStep = 63.5; // 1/400 inch in micrometres
constexpr int kFontHeight = 12;
constexpr COLORREF kMarkColour = 0xC0C0C0;

// "%g" in the C locale, whatever the process locale is.
CString Label(double value, const wchar_t* unit) {
    std::wostringstream s;
    s.imbue(std::locale::classic());
    s.precision(6);
    s << value << L' ' << unit;
    std::wstring text = s.str();
    if (text.size() > 50)
        text.resize(50);
    return CString(text.c_str());
}

struct MapOff {
    CJoxDC* dc;
    int old;
    explicit MapOff(CJoxDC* d) : dc(d), old(d->SetMapMode(0)) {}
    ~MapOff() { dc->SetMapMode(old); }
};

} // namespace

void CJoxView::SetRuler(int on, int redraw) {
    m_bRuler = on ? 1 : 0;
    m_sizeRuler = on ? CSize(int(GetSystemMetrics(SM_CXVSCROLL) * 1.5),
                             int(GetSystemMetrics(SM_CYHSCROLL) * 1.5))
                     : CSize(0, 0);
    if (redraw)
        Invalidate(TRUE);
}

void CJoxView::ExcludeClipClient(CJoxDC* dc, ClientRegion region) const {
    if (!m_bRuler || !dc)
        return;
    CRect client;
    CWnd::GetClientRect(&client);
    const int w = m_sizeRuler.cx, h = m_sizeRuler.cy;
    if (region == eClientDocument) {
        dc->CDC::ExcludeClipRect(0, 0, w, client.bottom);
        dc->CDC::ExcludeClipRect(w, 0, client.right, h);
    } else if (region == eClientRulers) {
        dc->CDC::ExcludeClipRect(w, h, client.right, client.bottom);
    }
}

void CJoxView::DrawRuler(CJoxDC* dc) {
    if (!dc || !m_bRuler)
        return;
    CRect client;
    CWnd::GetClientRect(&client);
    const int w = m_sizeRuler.cx, h = m_sizeRuler.cy;
    // The page as device rectangle, through the document mapping.
    CRect page(0, 0, 0, 0);
    bool hasPage = false;
    if (CJoxPage* doc = GetDocument(); doc && !doc->Extents().fnIsEmptyExtent()) {
        CJoxClientDC map(this, eClientDocument);
        OnPrepareDC(&map, nullptr);
        const CWindow& e = doc->Extents();
        page = CRect(e.x1, e.y2, e.x2, e.y1);
        map.LPtoDP(static_cast<RECT*>(&page));
        page.NormalizeRect();
        hasPage = true;
    }
    MapOff off(dc);
    dc->FillSolidRect(0, 0, w, client.bottom, GetSysColor(COLOR_BTNFACE));
    dc->FillSolidRect(0, 0, client.right, h, GetSysColor(COLOR_BTNFACE));
    CPen light(PS_SOLID, 0, GetSysColor(COLOR_BTNHIGHLIGHT));
    CPen shadow(PS_SOLID, 0, GetSysColor(COLOR_BTNSHADOW));
    CPen black(PS_SOLID, 0, RGB(0, 0, 0));
    CPen* old = dc->SelectObject(&light);
    // Outer top and left edges, and the inner frame from (4, 4).
    dc->CDC::MoveTo(0, 0);
    dc->CDC::LineTo(client.right, 0);
    dc->CDC::MoveTo(0, 0);
    dc->CDC::LineTo(0, client.bottom);
    dc->CDC::MoveTo(w - 4, client.bottom);
    dc->CDC::LineTo(w - 4, 4);
    dc->CDC::LineTo(client.right, 4);
    dc->SelectObject(&shadow);
    dc->CDC::MoveTo(w - 3, h - 3);
    dc->CDC::LineTo(w - 3, client.bottom);
    dc->CDC::MoveTo(w - 3, h - 3);
    dc->CDC::LineTo(client.right, h - 3);
    dc->SelectObject(&black);
    dc->CDC::MoveTo(w - 1, h - 1);
    dc->CDC::LineTo(w - 1, client.bottom);
    dc->CDC::MoveTo(w - 1, h - 1);
    dc->CDC::LineTo(client.right, h - 1);
    // The corner box.
    dc->SelectObject(&shadow);
    dc->CDC::MoveTo(3, h - 5);
    dc->CDC::LineTo(3, 3);
    dc->CDC::LineTo(w - 5, 3);
    dc->SelectObject(&light);
    dc->CDC::LineTo(w - 5, h - 5);
    dc->CDC::LineTo(3, h - 5);
    if (m_bRelativeRulers)
        dc->FillSolidRect(4, 4, w - 9, h - 9, RGB(0, 0, 0));
    if (hasPage) {
        const COLORREF white = GetSysColor(COLOR_WINDOW);
        // The page strip in the top band, then in the left band.
        LONG l = std::max<LONG>(page.left, w), r = std::min<LONG>(page.right, client.right);
        if (l < r)
            dc->FillSolidRect(l, 4, r - l, h - 9, white);
        LONG t = std::max<LONG>(page.top, h), b = std::min<LONG>(page.bottom, client.bottom);
        if (t < b)
            dc->FillSolidRect(4, t, w - 9, b - t, white);
        dc->SelectObject(&black);
        for (LONG x : {page.left, page.right})
            if (x >= w && x < client.right) {
                dc->CDC::MoveTo(x, 4);
                dc->CDC::LineTo(x, h - 5);
            }
        for (LONG y : {page.top, page.bottom})
            if (y >= h && y < client.bottom) {
                dc->CDC::MoveTo(4, y);
                dc->CDC::LineTo(w - 5, y);
            }
    }
    dc->SelectObject(old);
    dc->CDC::ExcludeClipRect(0, 0, w, h);
}

void CJoxView::DrawRulerText(CJoxDC* dc) {
    if (!dc || !m_bRuler)
        return;
    CJoxClientDC map(this, eClientDocument);
    OnPrepareDC(&map, nullptr);
    const bool inches = QvGetAppParam(L"Display Inches", 0) != 0;
    CSize spacing(inches ? kInchSpacing : kMetricSpacing, 0);
    map.DPtoLP(&spacing);
    const double s = spacing.cx;
    double step = inches ? kInchStep : 1.0;
    while (s > step && step < 1e12)
        step *= 10;
    bool halves = false;
    if (s < step / 5) {
        step /= 5;
    } else if (s < step / 2) {
        step /= 2;
        halves = true;
    }
    const int64_t t = std::max<int64_t>(1, int64_t(step));

    CRect area;
    GetClientRect(&area);
    CPoint lo(area.left, area.bottom), hi(area.right, area.top);
    map.DPtoLP(lo);
    map.DPtoLP(hi);
    const int w = m_sizeRuler.cx, h = m_sizeRuler.cy;
    CSize whole(int(std::min<int64_t>(t, INT32_MAX)), 0);
    map.LPtoDP(&whole);
    const bool extra = whole.cx > 100;

    CFont horizontal, vertical;
    LOGFONTW lf{};
    lf.lfHeight = kFontHeight;
    lf.lfWeight = 100;
    lf.lfCharSet = 0;           // ANSI
    lf.lfPitchAndFamily = 0x20; // FF_SWISS
    wcscpy(lf.lfFaceName, L"Arial");
    horizontal.CreateFontIndirect(&lf);
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    vertical.CreateFontIndirect(&lf);
    MapOff off(dc);
    const int oldBk = dc->SetBkMode(TRANSPARENT);
    CPen black(PS_SOLID, 0, RGB(0, 0, 0));
    CPen* oldPen = dc->SelectObject(&black);
    CFont* oldFont = dc->SelectObject(&horizontal);
    const wchar_t* unit = inches ? L"in" : L"mm";
    const double factor = inches ? 0.00003937007874015748 : 0.001;

    auto tickEnd = [&](int f, int i, bool isExtra) {
        int k = isExtra ? 8 : halves ? (i % 2 == 0 ? 3 : 4) : (i == 5 ? 2 : 4);
        return f - (f - 9) / k - 6;
    };
    // One axis: edge values from..to in document units, origin the relative rulers' zero.
    auto axis = [&](int64_t from, int64_t to, int64_t zero, bool horizontalBand) {
        const int64_t a = std::min(from, to) - zero, b = std::max(from, to) - zero;
        const int64_t start = (a / t) * t - t, end = (b / t) * t + t;
        // Far too many ticks means a mapping nobody can read: draw none.
        if ((end - start) / t > 100000)
            return;
        for (int64_t v = start; v < end; v += t) {
            for (int i = 0; i < 10; ++i) {
                for (int pass = 0; pass < (extra && i >= 0 ? 2 : 1); ++pass) {
                    const bool isExtra = pass == 1;
                    const int64_t pos = v + i * t / 10 + (isExtra ? t / 20 : 0) + zero;
                    if (pos < INT32_MIN || pos > INT32_MAX)
                        continue;
                    CPoint p(horizontalBand ? LONG(pos) : 0, horizontalBand ? 0 : LONG(pos));
                    map.LPtoDP(p);
                    if (horizontalBand) {
                        if (p.x < w)
                            continue;
                        dc->CDC::MoveTo(p.x, h - 6);
                        if (i == 0 && !isExtra) {
                            dc->CDC::LineTo(p.x, 3);
                            CString text = Label(double(v) * factor, unit);
                            dc->CDC::TextOut(p.x + 4, 4, text);
                        } else {
                            dc->CDC::LineTo(p.x, tickEnd(h, i, isExtra));
                        }
                    } else {
                        if (p.y < h)
                            continue;
                        dc->CDC::MoveTo(w - 6, p.y);
                        if (i == 0 && !isExtra) {
                            dc->CDC::LineTo(3, p.y);
                            CString text = Label(double(v) * factor, unit);
                            dc->CDC::TextOut(3, p.y - 4, text);
                        } else {
                            dc->CDC::LineTo(tickEnd(w, i, isExtra), p.y);
                        }
                    }
                }
            }
        }
    };
    axis(lo.x, hi.x, m_bRelativeRulers ? lo.x : 0, true);
    dc->SelectObject(&vertical);
    axis(lo.y, hi.y, m_bRelativeRulers ? lo.y : 0, false);
    dc->SelectObject(oldFont);
    dc->SelectObject(oldPen);
    dc->SetBkMode(oldBk);
}

void CJoxView::DrawMarks(CJoxDC& dc, const CPoint& p) {
    const int w = m_sizeRuler.cx, h = m_sizeRuler.cy;
    dc.CDC::MoveTo(p.x, h - 6);
    dc.CDC::LineTo(p.x, 3);
    dc.CDC::MoveTo(w - 6, p.y);
    dc.CDC::LineTo(3, p.y);
}

void CJoxView::DrawRulerPos(CJoxDC* dc, const CPoint& clientPoint) {
    if (!dc)
        return;
    MapOff off(dc);
    CPen pen(PS_DOT, 0, kMarkColour);
    CPen* old = dc->SelectObject(&pen);
    const int oldBk = dc->SetBkMode(TRANSPARENT);
    const int oldRop = dc->SetROP2(R2_XORPEN);
    if (m_bRulerMarks)
        DrawMarks(*dc, m_ptRulerMark);
    if (clientPoint.x > m_sizeRuler.cx && clientPoint.y > m_sizeRuler.cy) {
        DrawMarks(*dc, clientPoint);
        m_ptRulerMark = clientPoint;
        m_bRulerMarks = 1;
    } else {
        m_bRulerMarks = 0;
    }
    dc->SetROP2(oldRop);
    dc->SetBkMode(oldBk);
    dc->SelectObject(old);
}

void CJoxView::DrawRulerPos(const CPoint& clientPoint) {
    if (!m_bRuler || !m_hWnd)
        return;
    CJoxClientDC dc(this, eClientRulers);
    DrawRulerPos(&dc, clientPoint);
}

int CJoxView::OnMouseMove(UINT, CPoint point) {
    if (!m_bRuler)
        return 0;
    DrawRulerPos(point);
    if (::GetCapture() == m_hWnd)
        return 0;
    if (point.x >= m_sizeRuler.cx && point.y >= m_sizeRuler.cy)
        return 0;
    CJoxPage* page = GetDocument();
    return page && page->Grid() && page->Grid()->showGuides ? 1 : 0;
}

BOOL CJoxView::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (::GetCapture() == m_hWnd)
        return 0;
    POINT screen;
    ::GetCursorPos(&screen);
    CPoint p = screen;
    ::ScreenToClient(m_hWnd, &p);
    CRect client;
    CWnd::GetClientRect(&client);
    if (client.PtInRect(p)) {
        CJoxPage* page = GetDocument();
        CGrid* grid = page ? page->Grid() : nullptr;
        if (!m_bRuler || !grid || !grid->showGuides)
            return 0;
        int kind = 0, index = 0;
        if (grid->HitTest(this, p, kind, index)) {
            const UINT id = kind == 0 ? IDC_GUIDE_VERTICAL : IDC_GUIDE_OTHER;
            ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(id)));
            return 1;
        }
        if (p.x >= m_sizeRuler.cx && p.y >= m_sizeRuler.cy)
            return 0;
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_ARROW)));
        return 1;
    }
    CSize bars;
    GetScrollBarSizes(bars);
    CRect grown = client;
    grown.right += bars.cx;
    grown.bottom += bars.cy;
    if (grown.PtInRect(p)) {
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_ARROW)));
        return 1;
    }
    (void)wnd, (void)hitTest, (void)message;
    return 0;
}
