#include "pivora/framework/jox_paint_dc.h"

#include "pivora/framework/jox_view.h"
#include "platform/core/exceptions.h"
#include "platform/framework/wnd.h"

IMPLEMENT_DYNAMIC(CJoxPaintDC, CJoxDC)

namespace {

// Old device paths wrap beyond 16 bits: a huge rectangle is cut down to a safe band first.
void ClampSpan(LONG& low, LONG& high, LONG limit) {
    if (int64_t(high) - low <= 32767)
        return;
    if (low < -limit) {
        low = -limit;
        high = std::max(high, -limit + 1);
    }
    if (high > limit) {
        high = limit;
        low = std::min(low, limit - 1);
    }
}

} // namespace

CJoxPaintDC::CJoxPaintDC(const CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    m_clipRgn.CreateRectRgn(0, 0, 0, 0);
    ::GetUpdateRgn(m_hWnd, m_clipRgn.m_hObject, FALSE);
    m_eraseRgn.CreateRectRgn(0, 0, 0, 0);
    m_eraseRgn.CopyRgn(&m_clipRgn);
    HDC hdc = ::BeginPaint(m_hWnd, &m_ps);
    if (!hdc)
        AfxThrowResourceException();
    Attach(hdc);
    if (auto* view = dynamic_cast<CJoxView*>(const_cast<CWnd*>(wnd))) {
        m_pView = view;
        view->PaintDC(this);
    }
}

CJoxPaintDC::~CJoxPaintDC() {
    if (m_pView && m_pView->PaintDC() == this)
        m_pView->PaintDC(nullptr);
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

void CJoxPaintDC::ExcludeEraseRect(CRect& rect) {
    CRect r = rect;
    ClampSpan(r.left, r.right, 16380);
    ClampSpan(r.top, r.bottom, 16370);
    CRgn part;
    part.CreateRectRgnIndirect(&r);
    m_eraseRgn.CombineRgn(&m_eraseRgn, &part, RGN_DIFF);
}

int CJoxPaintDC::EraseBackground() {
    if (!m_erasePending)
        return 0;
    COLORREF colour = GetDrawOption(OPTION_BACKGROUND) ? m_backColour : GetSysColor(COLOR_WINDOW);
    CBrush brush;
    if (!brush.CreateSolidBrush(colour))
        return 0;
    CDC::FillRgn(&m_eraseRgn, &brush);
    m_erasePending = false;
    return 1;
}
